// The gauge's background: blended with the taskbar by sampling its pixels on
// the screen ("WM5", "WM6"), or the configured colour ("Custom").
#include "base/gdi.h"
#include "gauge/gauge.h"
#include "settings/colors.h"

namespace {

constexpr COLORREF kWhite = 0x00FFFFFF;

int ChannelSum(COLORREF c) {
    return GetRValue(c) + GetGValue(c) + GetBValue(c);
}

// The sampling column: the gauge's left edge on the taskbar.
int SampleColumn() {
    return PlaceGauge(TaskbarClientRect(), g_align, g_position).x;
}

void SampleSolid() {
    COLORREF color = SampleTaskbarColor(&g_sampledBackground);
    g_sampledBackground.color = color;
    ReplaceGdiObject(&g_sampledBackground.brush, CreateSolidBrush(color));
}

// Until their first sampling the caches are empty: no brush, rows all zero
// (a sampled row's right vertex lies at the gauge's width).
bool SolidCacheEmpty() {
    return g_sampledBackground.brush == nullptr;
}
bool GradientCacheEmpty() {
    return g_gradientRows[0].right.x == 0;
}

} // namespace

void RenewScreenDC() {
    if (HDC screen = GetDC(nullptr)) {
        if (g_sampledBackground.screenDC)
            ReleaseDC(nullptr, g_sampledBackground.screenDC);
        g_sampledBackground.screenDC = screen;
    }
}

COLORREF SampleTaskbarColor(SampledBackground *background) {
    int x = SampleColumn();
    int y = Res(4, 2);
    int w = GaugeWidth();
    ScreenBlock row(background->screenDC, RECT{x, y, x + w + 1, y + 1});
    COLORREF c1 = row.at(x, y);
    COLORREF c2 = row.at(x + w / 2, y);
    COLORREF c3 = row.at(x + w, y);
    int d = ChannelSum(c1) - ChannelSum(c3);
    return (d > -100 && d < 100) ? c3 : c2;
}

void SampleGradientRows(GradientRow *rows) {
    int x = SampleColumn();
    int y0 = GaugeTop();
    int w = GaugeWidth();
    // One read spanning both sample columns and the gauge between them.
    ScreenBlock block(g_sampledBackground.screenDC, RECT{x - 1, y0, x + w + 1, y0 + GaugeHeight()});
    COLORREF left[kMaxGaugeRows], right[kMaxGaugeRows];
    for (int i = 0; i < GaugeHeight(); ++i) {
        left[i] = block.at(x - 1, y0 + i);
        right[i] = block.at(x + w, y0 + i);
    }
    MakeGradientRows(left, right, rows);
}

void MakeGradientRows(const COLORREF *left, const COLORREF *right, GradientRow *rows) {
    COLORREF prevLeft = 0, prevRight = 0;
    for (int i = 0; i < GaugeHeight(); ++i) {
        COLORREF l = left[i], r = right[i];
        bool leftOff = l == CLR_INVALID, rightOff = r == CLR_INVALID;
        // The shell paints white where it has nothing of its own (the edge of
        // the screen, a highlight); the previous row's colour stands in.
        if (!leftOff)
            l = (l == kWhite) ? prevLeft : (prevLeft = l);
        if (!rightOff)
            r = (r == kWhite) ? prevRight : (prevRight = r);
        // A gauge at either end of the screen has one side off it: that row
        // takes the other side's colour rather than run to white.
        if (leftOff)
            l = rightOff ? prevLeft : r;
        if (rightOff)
            r = leftOff ? prevRight : l;
        rows[i].left = GradientVertex(0, i, l);
        rows[i].right = GradientVertex(GaugeWidth(), i + 1, r);
    }
}

void DrawGradientRows(const GradientRow *rows, HDC dc) {
    for (int i = 0; i < GaugeHeight(); ++i) {
        TRIVERTEX v[2] = {rows[i].left, rows[i].right};
        GRADIENT_RECT rect = {0, 1};
        GradientFill(dc, v, 2, &rect, 1, GRADIENT_FILL_RECT_H);
    }
}

// A sampled style whose cache was never filled (the style changed while the
// cache was in force) samples now rather than show an uninitialised bitmap.
void DrawSampledSolid(HDC dc, const RECT &rc, bool sampleAfresh) {
    if (sampleAfresh || SolidCacheEmpty())
        SampleSolid();
    FillRect(dc, &rc, g_sampledBackground.brush);
}

void DrawSampledGradient(HDC dc, const RECT &rc, bool sampleAfresh) {
    if (sampleAfresh || GradientCacheEmpty())
        SampleGradientRows(g_gradientRows);
    DrawGradientRows(g_gradientRows, dc);
}

void DrawBackgroundColor(HDC dc, const RECT &rc, bool) {
    if (const ColorElement *background = Element(kBackground); background && background->brush)
        FillRect(dc, &rc, background->brush);
    else
        FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void DrawBackground(HDC dc, const RECT &rc, bool sampleAfresh) {
    bool known = g_style >= 0 && g_style < kGaugeStyleCount;
    kGaugeStyles[known ? g_style : kStyleCustom].draw(dc, rc, sampleAfresh);
}
