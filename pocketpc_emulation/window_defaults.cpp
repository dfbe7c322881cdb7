// CE window defaults on desktop Windows.
//
// On CE a top-level window that is neither a popup nor a child has no caption
// or border, and CW_USEDEFAULT gives it the screen below the taskbar. Desktop
// Windows gives such a window a caption and a cascaded size, so the program's
// CreateWindowExW calls come through here.
#include "internal.h"

#include <memory>
#include <new>

namespace {

HWND (*s_shellStarter)() = nullptr;

struct OwnedPopups {
    HWND owner;
    HWND popups[16];
    int count;
};

BOOL CALLBACK CollectOwnedPopup(HWND hwnd, LPARAM param) {
    auto *list = reinterpret_cast<OwnedPopups *>(param);
    if (GetWindow(hwnd, GW_OWNER) == list->owner && IsWindowVisible(hwnd) &&
        list->count < static_cast<int>(ARRAYSIZE(list->popups)))
        list->popups[list->count++] = hwnd;
    return TRUE;
}

// Owned windows stay in front of their owner, in the order they had among
// themselves; Wine can leave them behind an owner brought forward.
void RaiseOwnedPopups(HWND owner) {
    OwnedPopups list = {owner, {}, 0};
    EnumWindows(CollectOwnedPopup, reinterpret_cast<LPARAM>(&list));
    for (int i = list.count - 1; i >= 0; --i)
        SetWindowPos(list.popups[i], HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace

void SetShellStarter(HWND (*starter)()) {
    s_shellStarter = starter;
}

HWND PlatformCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                             int x, int y, int width, int height, HWND parent, HMENU menu,
                             HINSTANCE instance, LPVOID param) {
    StartWindowManager();
    bool topLevel = !(style & WS_CHILD) && parent == nullptr;
    if (topLevel && !(style & WS_POPUP)) {
        if (s_shellStarter)
            s_shellStarter();
        style |= WS_POPUP;
        style &= ~(WS_CAPTION | WS_THICKFRAME);
        if (x == CW_USEDEFAULT || width == CW_USEDEFAULT) {
            RECT area = ScreenBelowTaskbar();
            if (x == CW_USEDEFAULT) {
                x = area.left;
                y = area.top;
            }
            if (width == CW_USEDEFAULT) {
                width = area.right - area.left;
                height = area.bottom - area.top;
            }
        }
    }
    HWND hwnd = CreateWindowExW(exStyle, className, windowName, style, x, y, width, height, parent,
                                menu, instance, param);
    // A control draws in the system font until it is given another.
    if (hwnd && (style & WS_CHILD))
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(CeSystemFont()), FALSE);
    return hwnd;
}

// The window comes forward with its owned popups (its menu bar, an open
// dialog) still in front of it. CE's form with the low bit set, and any window
// that a modal dialog has disabled, hands the foreground on to the popup last
// active.
BOOL PlatformSetForegroundWindow(HWND hwnd) {
    auto bits = reinterpret_cast<ULONG_PTR>(hwnd);
    bool withPopups = (bits & 1) != 0;
    HWND target = reinterpret_cast<HWND>(bits & ~static_cast<ULONG_PTR>(1));
    // Asked before the target's own activation makes it its last active popup.
    HWND popup = GetLastActivePopup(target);
    BOOL result = SetForegroundWindow(target);
    RaiseOwnedPopups(target);
    if ((withPopups || !IsWindowEnabled(target)) && popup && popup != target &&
        IsWindowVisible(popup))
        SetForegroundWindow(popup);
    return result;
}

// GetDlgItemInt over the control's whole text: blanks skipped, an optional
// minus sign when signed, digits up to the first other character; no digits,
// or a number beyond 32 bits, gives 0 and FALSE. Wine's own reads only the
// first 29 characters, so a long field of leading zeros came out as 0.
UINT PlatformGetDlgItemInt(HWND dlg, int id, BOOL *translated, BOOL isSigned) {
    if (translated)
        *translated = FALSE;
    HWND control = GetDlgItem(dlg, id);
    int length = control ? GetWindowTextLengthW(control) : 0;
    if (length <= 0)
        return 0;
    std::unique_ptr<WCHAR[]> text(new (std::nothrow) WCHAR[length + 1]);
    if (!text || !GetWindowTextW(control, text.get(), length + 1))
        return 0;
    const WCHAR *c = text.get();
    while (*c == L' ' || *c == L'\t')
        ++c;
    bool negative = isSigned && *c == L'-';
    if (negative)
        ++c;
    if (*c < L'0' || *c > L'9')
        return 0;
    unsigned long long value = 0;
    for (; *c >= L'0' && *c <= L'9'; ++c) {
        value = value * 10 + (*c - L'0');
        if (value > (isSigned ? 0x80000000ull : 0xFFFFFFFFull))
            return 0;
    }
    if (isSigned && !negative && value > 0x7FFFFFFFull)
        return 0;
    if (translated)
        *translated = TRUE;
    return negative ? static_cast<UINT>(0u - static_cast<UINT>(value)) : static_cast<UINT>(value);
}
