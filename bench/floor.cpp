// The floors of the running program's costs for `make bench`: the least a
// Win32 program does for the same visible effect, with the same stand-in
// taskbar and clock as the program has, so that the difference is the
// program's own.
//   --timer      a hidden window with the gauge's 2.3-second timer;
//   --power      each tick also reads the host's power status once, as the
//                program's poll must;
//   --discharge  each tick also reads the 44x36 block of the screen beside
//                the gauge's place and puts one 44x36 picture there: what a
//                repaint of the gauge with sampling needs at the least.
#include "pocketpc_emulation/seams.h"

#include <cwchar>

namespace {

constexpr int kWidth = 44, kHeight = 36;
constexpr POINT kPlace = {4, 8}; // the gauge's default place in a 52-pixel taskbar

bool s_power = false;
bool s_discharge = false;
HWND s_picture = nullptr;

void ReadBlockAndPutPicture() {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HBITMAP block = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, block);
    BitBlt(memory, 0, 0, kWidth, kHeight, screen, kPlace.x + kWidth, kPlace.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    HDC target = GetDC(s_picture);
    BitBlt(target, 0, 0, kWidth, kHeight, memory, 0, 0, SRCCOPY);
    ReleaseDC(s_picture, target);
    SelectObject(memory, old);
    DeleteObject(block);
    DeleteDC(memory);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        if (s_power) {
            SYSTEM_POWER_STATUS status;
            GetSystemPowerStatus(&status);
        }
        if (s_discharge && s_picture)
            ReadBlockAndPutPicture();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int) {
    s_discharge = std::wcsstr(cmdLine, L"--discharge") != nullptr;
    s_power = s_discharge || std::wcsstr(cmdLine, L"--power") != nullptr;
    HWND taskbar = StartShellTaskbar();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"ZbFloor";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"floor", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, instance, nullptr);
    if (s_discharge && taskbar)
        s_picture = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, kPlace.x, kPlace.y,
                                    kWidth, kHeight, taskbar, nullptr, instance, nullptr);
    SetTimer(hwnd, 1, 2300, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
