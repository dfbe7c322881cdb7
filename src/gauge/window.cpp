// The gauge's window: created as a child of the taskbar, subclassed for its
// painting and its tap.
#include "gauge/gauge.h"

#include "state/state.h"

namespace {

// A tap shows the info page with figures measured now.
LRESULT OnGaugeTap() {
    g_tapPending = 1;
    ShowWindow(g_mainWnd, SW_SHOW);
    SendMessageW(g_mainWnd, WM_TIMER, 0, 0);
    SetForegroundWindow(g_mainWnd);
    return 0;
}

} // namespace

void CreateGauge() {
    ClampPosition();
    POINT at = PlaceGauge(TaskbarClientRect(), g_align, g_position);
    g_gauge = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, at.x, at.y, GaugeWidth(),
                              GaugeHeight(), g_taskbar, nullptr, nullptr, nullptr);
    if (!g_gauge)
        return;
    g_staticProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(g_gauge, GWLP_WNDPROC));
    SetWindowLongPtrW(g_gauge, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GaugeWndProc));
}

bool EnsureGauge() {
    if (g_gauge && IsWindow(g_gauge))
        return true;
    g_gauge = nullptr;
    if (!FindLiveTaskbar())
        return false;
    RECT rc = TaskbarClientRect();
    g_taskbarWidth = rc.right - rc.left;
    // A new window: its first paint samples the new taskbar.
    g_firstGaugePaint = 1;
    CreateGauge();
    return g_gauge != nullptr;
}

LRESULT CALLBACK GaugeWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        PaintGauge();
        break;
    case WM_LBUTTONDOWN:
        return OnGaugeTap();
    }
    return CallWindowProcW(g_staticProc, hwnd, msg, wParam, lParam);
}
