// Where the gauge goes: the taskbar it lives in, its place there and the
// bounds of that place.
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
    FindLiveTaskbar();
    RECT rc = TaskbarClientRect();
    g_taskbarWidth = rc.right - rc.left;
    if (rc.bottom - rc.top < 32)
        g_hiRes = 0;
}

POINT PlaceGauge(const RECT &taskbarClient, int align, int position) {
    int x = align ? position : taskbarClient.right - position;
    return POINT{x, GaugeTop()};
}

PositionRange PositionBounds(int taskbarWidth, int align) {
    if (align)
        return PositionRange{0, taskbarWidth - GaugeWidth()};
    return PositionRange{GaugeWidth(), taskbarWidth};
}

bool FindLiveTaskbar() {
    if (!g_taskbar || !IsWindow(g_taskbar))
        g_taskbar = FindWindowW(kShellTaskbarClass, nullptr);
    return g_taskbar != nullptr;
}

void ClampPosition() {
    // A taskbar that is gone has no width to clamp against.
    if (!FindLiveTaskbar())
        return;
    RECT rc = TaskbarClientRect();
    PositionRange bounds = PositionBounds(rc.right - rc.left, g_align);
    // On a taskbar narrower than the gauge the range is empty: the gauge
    // keeps to the end its position counts from.
    if (g_align) {
        if (g_position > bounds.high)
            g_position = bounds.high;
        if (g_position < bounds.low)
            g_position = bounds.low;
    } else {
        if (g_position < bounds.low)
            g_position = bounds.low;
        if (g_position > bounds.high)
            g_position = bounds.high;
    }
}

void MoveGauge() {
    POINT at = PlaceGauge(TaskbarClientRect(), g_align, g_position);
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
    POINT at = PlaceGauge(rc, g_align, g_position);
    SetWindowPos(g_gauge, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return true;
}
