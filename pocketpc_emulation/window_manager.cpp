// The system's window manager: the screen's size as the windows are laid out
// for it, the area below the shell's taskbar, the soft-key bars' place, and
// the windows following a screen that turned.
//
// Wine's virtual desktop lists its sizes in one orientation plus a few of its
// own; the portrait size it was set up with (its Default desktop) is the
// registry's mode, which ChangeDisplaySettingsEx without a mode restores
// even where the list does not name it.
//
// On the device the window manager follows a turn, not the shell: the shell's
// taskbar is one window among those it resizes, and it may be away for a
// restart while the screen turns. Here a hidden window of the process stands
// in for it. The new size is the one the change carries: the metrics read
// while it is handled can already or still show another. When two processes
// turn the screen at once, Wine can deliver their changes out of order, so
// once the changes have stopped for a moment the screen is measured again.
#include "internal.h"

namespace {

constexpr wchar_t kWindowManagerClass[] = L"ZbWindowManager";
HWND s_windowManager = nullptr;
constexpr UINT_PTR kSettleTimer = 1;
constexpr UINT kSettleMs = 250;
SIZE s_screen = {}; // the screen's size the windows were last laid out for

struct FollowContext {
    HWND taskbar;
    RECT oldArea;
    RECT newArea;
};

// A box (a message box, any dialog that does not fill the screen) is centred
// on the screen again, as the device's window manager places it.
void CentreOnScreen(HWND hwnd, const RECT &window) {
    int width = window.right - window.left, height = window.bottom - window.top;
    int x = (s_screen.cx - width) / 2, y = (s_screen.cy - height) / 2;
    SetWindowPos(hwnd, nullptr, x > 0 ? x : 0, y > 0 ? y : 0, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CALLBACK FollowTurn(HWND hwnd, LPARAM param) {
    const auto *context = reinterpret_cast<const FollowContext *>(param);
    if (hwnd == context->taskbar || hwnd == s_windowManager || !ThisProcessWindow(hwnd) ||
        PlaceSoftKeyBar(hwnd))
        return TRUE;
    RECT window;
    if (!GetWindowRect(hwnd, &window))
        return TRUE;
    if (EqualRect(&window, &context->oldArea)) {
        const RECT &area = context->newArea;
        SetWindowPos(hwnd, nullptr, area.left, area.top, area.right - area.left,
                     area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (IsWindowVisible(hwnd) && IsDialogBox(hwnd)) {
        CentreOnScreen(hwnd, window);
    }
    return TRUE;
}

BOOL CALLBACK TellSettingChange(HWND hwnd, LPARAM param) {
    if (hwnd != reinterpret_cast<HWND>(param) && hwnd != s_windowManager && ThisProcessWindow(hwnd))
        SendMessageW(hwnd, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
    return TRUE;
}

// The taskbar takes the new width, the soft-key bars go to the new bottom,
// this process's windows that filled the screen below the taskbar fill the
// new one (and get WM_SIZE), boxes are centred again, and the top-level
// windows get WM_SETTINGCHANGE with SETTINGCHANGE_RESET.
void FollowScreenChange(SIZE now) {
    if (now.cx <= 0 || now.cy <= 0 || (now.cx == s_screen.cx && now.cy == s_screen.cy))
        return;
    RECT oldArea = ScreenBelowTaskbar();
    s_screen = now;
    HWND taskbar = FindWindowW(kShellTaskbarClass, nullptr);
    RECT bar;
    if (taskbar && ThisProcessWindow(taskbar) && GetWindowRect(taskbar, &bar))
        SetWindowPos(taskbar, nullptr, 0, 0, now.cx, bar.bottom - bar.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    else
        taskbar = nullptr;
    FollowContext context = {taskbar, oldArea, ScreenBelowTaskbar()};
    EnumWindows(FollowTurn, reinterpret_cast<LPARAM>(&context));
    EnumWindows(TellSettingChange, reinterpret_cast<LPARAM>(taskbar));
}

LRESULT CALLBACK WindowManagerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DISPLAYCHANGE:
        FollowScreenChange(SIZE{LOWORD(lParam), HIWORD(lParam)});
        SetTimer(hwnd, kSettleTimer, kSettleMs, nullptr);
        return 0;
    case WM_TIMER:
        if (wParam == kSettleTimer) {
            KillTimer(hwnd, kSettleTimer);
            FollowScreenChange(SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
        }
        return 0;
    case WM_CLOSE:
        return 0; // the system's own window is not closed
    case WM_NCDESTROY:
        if (SentFromElsewhere())
            return 0;
        if (hwnd == s_windowManager)
            s_windowManager = nullptr;
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool RegistryModeIs(int width, int height) {
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    return EnumDisplaySettingsW(nullptr, ENUM_REGISTRY_SETTINGS, &mode) &&
           static_cast<int>(mode.dmPelsWidth) == width &&
           static_cast<int>(mode.dmPelsHeight) == height;
}

BOOL CALLBACK PlaceIfSoftKeyBar(HWND hwnd, LPARAM) {
    if (ThisProcessWindow(hwnd))
        PlaceSoftKeyBar(hwnd);
    return TRUE;
}

} // namespace

void StartWindowManager() {
    if (s_windowManager)
        return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowManagerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowManagerClass;
    RegisterClassW(&wc);
    // A top-level window, hidden: a message-only one gets no WM_DISPLAYCHANGE.
    s_windowManager =
        CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kWindowManagerClass, L"", WS_POPUP, 0,
                        0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    // Read once the window exists: a change made before then is in the
    // metrics, one made after comes as a message.
    s_screen = SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

SIZE EmulatedScreen() {
    if (s_windowManager)
        return s_screen;
    return SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

LONG SetEmulatedScreen(int width, int height) {
    if (GetSystemMetrics(SM_CXSCREEN) == width && GetSystemMetrics(SM_CYSCREEN) == height)
        return DISP_CHANGE_SUCCESSFUL;
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    LONG result = ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
    if (result == DISP_CHANGE_BADMODE && RegistryModeIs(width, height))
        result = ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);
    return result;
}

// Both sides from one reading: two metrics read apart may straddle another
// process's turn, and their mix (640x640 from 480x640 turning) is a size the
// X screen offers.
LONG TurnEmulatedScreen() {
    DEVMODEW current = {};
    current.dmSize = sizeof(current);
    if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &current))
        return DISP_CHANGE_FAILED;
    return SetEmulatedScreen(static_cast<int>(current.dmPelsHeight),
                             static_cast<int>(current.dmPelsWidth));
}

int ShellTaskbarHeight(int dpi) {
    return MulDiv(26, dpi, 96);
}

RECT ScreenBelowTaskbar() {
    SIZE screen = EmulatedScreen();
    int width = screen.cx, height = screen.cy;
    int top = ShellTaskbarHeight();
    RECT bar;
    HWND taskbar = FindWindowW(kShellTaskbarClass, nullptr);
    if (taskbar && GetWindowRect(taskbar, &bar))
        top = bar.bottom;
    return RECT{0, top, width, height};
}

RECT SoftKeyBarRect() {
    SIZE screen = EmulatedScreen();
    int height = ShellTaskbarHeight();
    return RECT{0, screen.cy - height, screen.cx, screen.cy};
}

bool PlaceSoftKeyBar(HWND hwnd) {
    wchar_t name[32];
    if (!GetClassNameW(hwnd, name, ARRAYSIZE(name)) || lstrcmpW(name, kSoftKeyBarClass) != 0)
        return false;
    RECT rc = SoftKeyBarRect();
    SetWindowPos(hwnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void PlaceSoftKeyBars() {
    EnumWindows(PlaceIfSoftKeyBar, 0);
}
