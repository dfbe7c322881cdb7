// The CE shell's dialog and activation helpers on desktop Windows.
#define ZB_PLATFORM_IMPL
#include "platform/seams.h"
#include "platform/subclass.h"

namespace {

// The Done button of a CE dialog sends IDOK. On desktop the caption's close
// button stands in for it, and it must never send IDCANCEL.
LRESULT CALLBACK DoneButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE) {
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return 0;
    }
    return CallReplacedProc(hwnd, DoneButtonProc, msg, wParam, lParam);
}

} // namespace

BOOL SHInitDialog(PSHINITDLGINFO info) {
    if (!info || !(info->dwMask & SHIDIM_FLAGS) || !IsWindow(info->hDlg))
        return FALSE;
    if (info->dwFlags & SHIDIF_DONEBUTTON)
        SubclassWindow(info->hDlg, DoneButtonProc, 0);
    if (info->dwFlags & (SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIZEDLG)) {
        RECT area = ScreenBelowTaskbar();
        MoveWindow(info->hDlg, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   TRUE);
    }
    // SHIDIF_SIPDOWN: there is no input panel to lower.
    return TRUE;
}

BOOL SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM, SHACTIVATEINFO *info, DWORD) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        if (info) {
            HWND focus = GetFocus();
            info->hwndLastFocus = (focus && IsChild(hwnd, focus)) ? focus : nullptr;
        }
    } else {
        HWND focus = (info && info->hwndLastFocus && IsChild(hwnd, info->hwndLastFocus))
                         ? info->hwndLastFocus
                         : hwnd;
        SetFocus(focus);
    }
    return TRUE;
}

BOOL SHHandleWMSettingChange(HWND, WPARAM, LPARAM, SHACTIVATEINFO *) {
    return TRUE;
}
