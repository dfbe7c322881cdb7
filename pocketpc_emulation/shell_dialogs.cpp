// The CE shell's dialog and activation helpers on desktop Windows.
#include "internal.h"
#include "subclass.h"

namespace {

// The window property that marks a shell dialog, with its flags.
constexpr wchar_t kShellDialogProp[] = L"ZbShellDialog";
constexpr ULONG_PTR kShellDialogFullScreen = 1;
constexpr ULONG_PTR kShellDialogDone = 2;

int s_fullScreenDialogs = 0;
HHOOK s_topmostBoxHook = nullptr;

ULONG_PTR ShellDialogFlags(HWND hwnd) {
    return reinterpret_cast<ULONG_PTR>(GetPropW(hwnd, kShellDialogProp));
}

BOOL CALLBACK FindShellDialog(HWND hwnd, LPARAM found) {
    ULONG_PTR flags = ShellDialogFlags(hwnd);
    if (!ThisProcessWindow(hwnd) || !(flags & kShellDialogFullScreen) || !IsWindowVisible(hwnd))
        return TRUE;
    *reinterpret_cast<HWND *>(found) = hwnd;
    return FALSE;
}

// The full-screen shell dialog of this process in front, or nullptr. Walking
// the windows costs a server request for each, so none is walked while no
// full-screen shell dialog exists.
HWND ShellDialogInFront() {
    if (s_fullScreenDialogs == 0)
        return nullptr;
    HWND found = nullptr;
    EnumWindows(FindShellDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// A shell dialog came, went, moved or changed its title: the taskbar shows
// the one now in front.
void ShellDialogsChanged() {
    HWND dlg = ShellDialogInFront();
    wchar_t title[64] = L"";
    if (dlg)
        GetWindowTextW(dlg, title, ARRAYSIZE(title));
    ShowDialogInTaskbar(dlg, title, dlg && (ShellDialogFlags(dlg) & kShellDialogDone));
}

// Everything not handled here goes on to the dialog's own procedure. The
// flags also stay in a window property, where the walk for the dialog in
// front finds them.
LRESULT CALLBACK ShellDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // A full-screen shell dialog is a white page, and its labels, radio
        // buttons and check boxes are drawn on it, not in boxes of the
        // desktop's face colour.
        if (SubclassData(hwnd, ShellDialogProc) & kShellDialogFullScreen) {
            SetBkColor(reinterpret_cast<HDC>(wParam), RGB(0xff, 0xff, 0xff));
            return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        }
        break;
    case WM_CLOSE:
        // The Done button sends IDOK, never IDCANCEL; Alt+F4 and SC_CLOSE do the same.
        if (SubclassData(hwnd, ShellDialogProc) & kShellDialogDone) {
            SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return 0;
        }
        break;
    case WM_NCDESTROY: {
        if (SentFromElsewhere())
            return 0;
        if (ShellDialogFlags(hwnd) & kShellDialogFullScreen)
            --s_fullScreenDialogs;
        RemovePropW(hwnd, kShellDialogProp);
        LRESULT result = CallReplacedProc(hwnd, ShellDialogProc, msg, wParam, lParam);
        ShellDialogsChanged();
        return result;
    }
    }
    LRESULT result = CallReplacedProc(hwnd, ShellDialogProc, msg, wParam, lParam);
    if (msg == WM_SETTEXT || msg == WM_SHOWWINDOW || msg == WM_WINDOWPOSCHANGED)
        ShellDialogsChanged();
    return result;
}

// Makes the message box being opened on this thread topmost as it activates.
LRESULT CALLBACK MakeBoxTopmost(int code, WPARAM wParam, LPARAM lParam) {
    HHOOK hook = s_topmostBoxHook;
    if (code == HCBT_ACTIVATE) {
        auto box = reinterpret_cast<HWND>(wParam);
        if (IsDialogBox(box)) {
            UnhookWindowsHookEx(s_topmostBoxHook);
            s_topmostBoxHook = nullptr;
            SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

} // namespace

// A box asked with MB_TOPMOST stays above every other window, as on the
// device; under Wine a window of the program brought forward (a tap on a
// dialog the box does not disable) can cover it.
int WINAPI PlatformMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    if ((type & MB_TOPMOST) && !s_topmostBoxHook)
        s_topmostBoxHook = SetWindowsHookExW(WH_CBT, MakeBoxTopmost, nullptr, GetCurrentThreadId());
    int answer = MessageBoxW(owner, text, caption, type);
    if (s_topmostBoxHook) {
        UnhookWindowsHookEx(s_topmostBoxHook);
        s_topmostBoxHook = nullptr;
    }
    return answer;
}

void MakeShellDialog(HWND dlg, bool fullScreen, bool doneButton) {
    ULONG_PTR flags =
        (fullScreen ? kShellDialogFullScreen : 0) | (doneButton ? kShellDialogDone : 0);
    if ((ShellDialogFlags(dlg) ^ flags) & kShellDialogFullScreen)
        s_fullScreenDialogs += fullScreen ? 1 : -1;
    SetPropW(dlg, kShellDialogProp, reinterpret_cast<HANDLE>(flags));
    // A second call only changes the flags.
    RemoveSubclass(dlg, ShellDialogProc);
    SubclassWindow(dlg, ShellDialogProc, static_cast<LONG_PTR>(flags));
    if (!fullScreen)
        return;
    // A full-screen dialog has no caption or frame of its own: the taskbar
    // shows its title, and its client area starts right below the taskbar.
    LONG style = GetWindowLongW(dlg, GWL_STYLE);
    style &= ~(WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | DS_MODALFRAME);
    SetWindowLongW(dlg, GWL_STYLE, style);
    LONG exStyle = GetWindowLongW(dlg, GWL_EXSTYLE);
    exStyle &= ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);
    SetWindowLongW(dlg, GWL_EXSTYLE, exStyle);
    RECT area = ScreenBelowTaskbar();
    SetWindowPos(dlg, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ShellDialogsChanged();
}

BOOL SHInitDialog(PSHINITDLGINFO info) {
    if (!info || !(info->dwMask & SHIDIM_FLAGS) || !IsWindow(info->hDlg))
        return FALSE;
    bool fullScreen = (info->dwFlags & (SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIZEDLG)) != 0;
    bool done = (info->dwFlags & SHIDIF_DONEBUTTON) != 0;
    if (fullScreen || done)
        MakeShellDialog(info->hDlg, fullScreen, done);
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

// After a turn, a window that filled the screen below the taskbar (its top
// left corner there, as wide as the screen was) fills it again, down to its
// soft-key bar.
BOOL SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM, SHACTIVATEINFO *) {
    if (wParam != SETTINGCHANGE_RESET || !IsWindow(hwnd) ||
        (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD))
        return TRUE;
    RECT window, area = ScreenBelowTaskbar();
    GetWindowRect(hwnd, &window);
    int width = window.right - window.left;
    SIZE screen = EmulatedScreen();
    bool filled = window.left == area.left && window.top == area.top &&
                  (width == screen.cx || width == screen.cy);
    if (!filled)
        return TRUE;
    RECT bar;
    if (HWND softKeys = SoftKeyBarOf(hwnd); softKeys && GetWindowRect(softKeys, &bar))
        area.bottom = bar.top;
    if (!EqualRect(&window, &area))
        SetWindowPos(hwnd, nullptr, area.left, area.top, area.right - area.left,
                     area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}
