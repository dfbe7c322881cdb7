// zbscreen: the emulated device's screen from a script.
//   zbscreen turn      portrait to landscape or back, as the rotation key does
//   zbscreen WxH...    the screen becomes each size in turn
// Exit code 0 when every change was made.
#include "pocketpc_emulation/seams.h"

#include <cstdio>
#include <cwchar>

namespace {

LONG Apply(const wchar_t *arg) {
    if (std::wcscmp(arg, L"turn") == 0)
        return TurnEmulatedScreen();
    int width = 0, height = 0;
    wchar_t rest = 0;
    if (std::swscanf(arg, L"%dx%d%lc", &width, &height, &rest) != 2 || width <= 0 || height <= 0) {
        std::fwprintf(stderr, L"zbscreen: not a size: %ls\n", arg);
        return DISP_CHANGE_BADPARAM;
    }
    return SetEmulatedScreen(width, height);
}

} // namespace

int wmain(int argc, wchar_t **argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: zbscreen turn | WxH...\n");
        return 2;
    }
    bool changed = true;
    for (int i = 1; i < argc; ++i) {
        LONG result = Apply(argv[i]);
        std::wprintf(L"%dx%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        if (result == DISP_CHANGE_SUCCESSFUL)
            continue;
        changed = false;
        DEVMODEW stored = {};
        stored.dmSize = sizeof(stored);
        EnumDisplaySettingsW(nullptr, ENUM_REGISTRY_SETTINGS, &stored);
        std::fwprintf(
            stderr, L"zbscreen: %ls: the screen did not change (%ld); the stored mode is %lux%lu\n",
            argv[i], result, stored.dmPelsWidth, stored.dmPelsHeight);
    }
    return changed ? 0 : 1;
}
