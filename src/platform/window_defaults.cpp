// CE window defaults on desktop Windows.
//
// On CE a top-level window that is neither a popup nor a child has no caption
// or border, and CW_USEDEFAULT gives it the screen below the taskbar. Desktop
// Windows gives such a window a caption and a cascaded size, so the program's
// CreateWindowExW calls come through here.
#define ZB_PLATFORM_IMPL
#include "platform/seams.h"

namespace {

BOOL CALLBACK RaiseOwnedPopup(HWND hwnd, LPARAM owner) {
    if (GetWindow(hwnd, GW_OWNER) == reinterpret_cast<HWND>(owner) && IsWindowVisible(hwnd))
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

} // namespace

HWND PlatformCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                             int x, int y, int width, int height, HWND parent, HMENU menu,
                             HINSTANCE instance, LPVOID param) {
    bool topLevel = !(style & WS_CHILD) && parent == nullptr;
    if (topLevel && !(style & WS_POPUP)) {
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

// CE's form with the low bit set brings the window's owned popups (its menu
// bar, an open dialog) forward with it.
BOOL PlatformSetForegroundWindow(HWND hwnd) {
    auto bits = reinterpret_cast<ULONG_PTR>(hwnd);
    bool withPopups = (bits & 1) != 0;
    HWND target = reinterpret_cast<HWND>(bits & ~static_cast<ULONG_PTR>(1));
    BOOL result = SetForegroundWindow(target);
    if (withPopups) {
        EnumWindows(RaiseOwnedPopup, reinterpret_cast<LPARAM>(target));
        if (HWND popup = GetLastActivePopup(target); popup && popup != target)
            SetForegroundWindow(popup);
    }
    return result;
}
