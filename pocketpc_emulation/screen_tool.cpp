// zbscreen: the emulated device's screen from a script.
//   zbscreen turn     portrait to landscape or back, as the rotation key does
//   zbscreen WxH      the screen becomes W x H
// Exit code 0 when the screen has the size asked for.
#include "pocketpc_emulation/seams.h"

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t **argv) {
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: zbscreen turn | WxH\n");
        return 2;
    }
    LONG result;
    if (std::wcscmp(argv[1], L"turn") == 0) {
        result = TurnEmulatedScreen();
    } else {
        int width = 0, height = 0;
        wchar_t rest = 0;
        if (std::swscanf(argv[1], L"%dx%d%lc", &width, &height, &rest) != 2 || width <= 0 ||
            height <= 0) {
            std::fwprintf(stderr, L"zbscreen: not a size: %ls\n", argv[1]);
            return 2;
        }
        result = SetEmulatedScreen(width, height);
    }
    std::wprintf(L"%dx%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (result != DISP_CHANGE_SUCCESSFUL)
        std::fwprintf(stderr, L"zbscreen: the screen did not change (%ld)\n", result);
    return result == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
}
