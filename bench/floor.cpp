// The floors of the running program's costs for `make bench`: the least a
// Win32 program does for the same visible effect, with the same stand-in
// taskbar and clock as the program has, so that the difference is the
// program's own.
//   --timer      a hidden window with the gauge's poll timer;
//   --power      each tick also reads the host's power status once, as the
//                program's poll must;
//   --discharge  each tick also reads the block of the gauge's size beside
//                the gauge's place and puts one picture of that size there:
//                what a repaint of the gauge with sampling needs at the least.
// Always with the program's facts on this screen (bench.exe --facts prints
// them): --box=LEFT,TOP,WIDTH,HEIGHT, the gauge's default box, and
// --period=MS, the poll's period.
#include "pocketpc_emulation/seams.h"

#include <cwchar>

namespace {

int s_width = 0, s_height = 0; // the gauge's box, from --box
POINT s_place = {};

bool s_power = false;
bool s_discharge = false;
HWND s_picture = nullptr;

void ReadBlockAndPutPicture() {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = s_width;
    info.bmiHeader.biHeight = -s_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HBITMAP block = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, block);
    BitBlt(memory, 0, 0, s_width, s_height, screen, s_place.x + s_width, s_place.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    HDC target = GetDC(s_picture);
    BitBlt(target, 0, 0, s_width, s_height, memory, 0, 0, SRCCOPY);
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
    const wchar_t *box = std::wcsstr(cmdLine, L"--box=");
    const wchar_t *period = std::wcsstr(cmdLine, L"--period=");
    unsigned periodMs = 0;
    if (!box || !period ||
        std::swscanf(box, L"--box=%ld,%ld,%d,%d", &s_place.x, &s_place.y, &s_width, &s_height) !=
            4 ||
        std::swscanf(period, L"--period=%u", &periodMs) != 1)
        return 2;
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
        s_picture = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, s_place.x, s_place.y,
                                    s_width, s_height, taskbar, nullptr, instance, nullptr);
    SetTimer(hwnd, 1, periodMs, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
