#include "test_windows.h"

HWND CreateTestWindow(const wchar_t *className, WNDPROC proc, DWORD style, int x, int y, int width,
                      int height, HWND parent) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    return CreateWindowExW(0, className, L"", style, x, y, width, height, parent, nullptr,
                           wc.hInstance, nullptr);
}

RECT RectIn(HWND window, HWND other) {
    RECT r = {};
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, other, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Wine copies window surfaces to the screen at most every 50 ms, from its
// message functions.
void FlushScreen() {
    GdiFlush();
    PumpMessages();
    Sleep(80);
    PumpMessages();
}
