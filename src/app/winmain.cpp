#include "app/mainwnd.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int cmdShow) {
    int exitCode = 0;
    if (!InitInstance(instance, cmdShow, &exitCode))
        return exitCode;
    return RunMessageLoop();
}
