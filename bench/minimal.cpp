// The floor for start-up and idle figures: a minimal Win32 program that
// creates one window and paints it white at the gauge's place (default), or
// (with --timer) keeps a hidden window with the gauge's 2.3-second timer; with
// --power as well, each tick reads the host's power status once, as the
// program's poll must.
#include <windows.h>

#include <cwchar>

namespace {

bool s_power = false;

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_TIMER:
        if (s_power) {
            SYSTEM_POWER_STATUS status;
            GetSystemPowerStatus(&status);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int) {
    bool timer = std::wcsstr(cmdLine, L"--timer") != nullptr;
    s_power = std::wcsstr(cmdLine, L"--power") != nullptr;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"ZbMinimal";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"minimal",
                                timer ? WS_POPUP : WS_POPUP | WS_VISIBLE, 4, 8, 44, 36, nullptr,
                                nullptr, instance, nullptr);
    if (timer)
        SetTimer(hwnd, 1, 2300, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
