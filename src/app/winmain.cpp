#include "app/app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int cmdShow) {
    if (!InitInstance(instance, cmdShow))
        return 0;
    return RunMessageLoop();
}
