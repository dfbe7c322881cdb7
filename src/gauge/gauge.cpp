#include "gauge/gauge.h"

#include "state/state.h"

int GaugeWidth() {
    return Res(44, 22);
}
int GaugeHeight() {
    return Res(36, 18);
}
int GaugeTop() {
    return Res(8, 4);
}

RECT TaskbarClientRect() {
    RECT rc = {};
    if (!g_taskbar || !GetClientRect(g_taskbar, &rc))
        SetRectEmpty(&rc);
    return rc;
}

void DiscoverTaskbar() {
    g_taskbar = FindWindowW(L"HHTaskBar", nullptr);
    RECT rc = TaskbarClientRect();
    g_taskbarWidth = rc.right - rc.left;
    if (rc.bottom - rc.top < 32)
        g_hiRes = 0;
}

POINT PlaceGauge(const RECT &taskbarClient) {
    int x = g_align ? g_position : taskbarClient.right - g_position;
    return POINT{x, GaugeTop()};
}

bool FindLiveTaskbar() {
    if (!g_taskbar || !IsWindow(g_taskbar))
        g_taskbar = FindWindowW(L"HHTaskBar", nullptr);
    return g_taskbar != nullptr;
}

void ClampPosition() {
    // A taskbar that is gone has no width to clamp against.
    if (!FindLiveTaskbar())
        return;
    RECT rc = TaskbarClientRect();
    int w = rc.right - rc.left;
    int gauge = GaugeWidth();
    if (g_align) {
        if (g_position > w - gauge)
            g_position = w - gauge;
        if (g_position < 0)
            g_position = 0;
    } else {
        if (g_position < gauge)
            g_position = gauge;
        if (g_position > w)
            g_position = w;
    }
}

void CreateGauge() {
    ClampPosition();
    POINT at = PlaceGauge(TaskbarClientRect());
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
    g_taskbar = FindWindowW(L"HHTaskBar", nullptr);
    if (!g_taskbar)
        return false;
    RECT rc = TaskbarClientRect();
    g_taskbarWidth = rc.right - rc.left;
    // A new window: its first paint samples the new taskbar.
    g_firstGaugePaint = 1;
    CreateGauge();
    return g_gauge != nullptr;
}

void MoveGauge() {
    POINT at = PlaceGauge(TaskbarClientRect());
    SetWindowPos(g_gauge, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void InvalidateGauge() {
    RECT rc;
    if (g_gauge && GetClientRect(g_gauge, &rc))
        InvalidateRect(g_gauge, &rc, TRUE);
}

bool TrackTaskbarWidth() {
    RECT rc = TaskbarClientRect();
    int w = rc.right - rc.left;
    if (w == g_taskbarWidth)
        return false;
    g_taskbarWidth = w;
    POINT at = PlaceGauge(rc);
    SetWindowPos(g_gauge, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return true;
}

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
