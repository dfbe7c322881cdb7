// Turning the emulated screen, and the shell following a screen that turned.
//
// Wine's virtual desktop lists its sizes in one orientation plus a few of its
// own; the portrait size it was set up with (its Default desktop) is the
// registry's mode, which ChangeDisplaySettingsEx without a mode restores
// even where the list does not name it.
#include "internal.h"

namespace {

struct FollowContext {
    HWND taskbar;
    RECT oldArea;
    RECT newArea;
};

BOOL CALLBACK ResizeFullScreen(HWND hwnd, LPARAM param) {
    const auto *context = reinterpret_cast<const FollowContext *>(param);
    if (hwnd == context->taskbar || !ThisProcessWindow(hwnd) || PlaceSoftKeyBar(hwnd))
        return TRUE;
    RECT window;
    if (GetWindowRect(hwnd, &window) && EqualRect(&window, &context->oldArea)) {
        const RECT &area = context->newArea;
        SetWindowPos(hwnd, nullptr, area.left, area.top, area.right - area.left,
                     area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

BOOL CALLBACK TellSettingChange(HWND hwnd, LPARAM param) {
    if (hwnd != reinterpret_cast<HWND>(param) && ThisProcessWindow(hwnd))
        SendMessageW(hwnd, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
    return TRUE;
}

bool RegistryModeIs(int width, int height) {
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    return EnumDisplaySettingsW(nullptr, ENUM_REGISTRY_SETTINGS, &mode) &&
           static_cast<int>(mode.dmPelsWidth) == width &&
           static_cast<int>(mode.dmPelsHeight) == height;
}

} // namespace

void FollowScreenChange(HWND taskbar, const RECT &oldArea) {
    FollowContext context = {taskbar, oldArea, ScreenBelowTaskbar()};
    EnumWindows(ResizeFullScreen, reinterpret_cast<LPARAM>(&context));
    EnumWindows(TellSettingChange, reinterpret_cast<LPARAM>(taskbar));
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

LONG TurnEmulatedScreen() {
    return SetEmulatedScreen(GetSystemMetrics(SM_CYSCREEN), GetSystemMetrics(SM_CXSCREEN));
}
