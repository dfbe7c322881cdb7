// The battery picture: outline with a nub in the frame colour of the power
// state, the charge as a share of the inside, and the percentage as text.
#include "base/gdi.h"
#include "gauge/gauge.h"
#include "settings/colors.h"

namespace {

HFONT CreatePercentFont(int height) {
    return CreateTahomaFont(height, FW_NORMAL);
}

void EnsureFonts() {
    if (!g_percentFont)
        g_percentFont = CreatePercentFont(Res(-16, -10));
    if (!g_percentFontFull)
        g_percentFontFull = CreatePercentFont(Res(-16, -8));
}

ColorElement *FrameElement(const ColorElementTable *colors, bool onAC) {
    return ElementOf(colors, onAC ? kFrameCharging : kFrameNotCharging);
}

void Fill(HDC dc, int left, int top, int right, int bottom, const ColorElement *element) {
    if (!element || !element->brush || right <= left || bottom <= top)
        return;
    RECT rc = {left, top, right, bottom};
    FillRect(dc, &rc, element->brush);
}

// A colour as the window shows it once the picture is copied there: the
// buffer and the screen may each hold fewer bits a channel than a COLORREF
// (16 bits per pixel on the device).
COLORREF ShownColor(HDC buffer, HDC windowDC, COLORREF color) {
    return GetNearestColor(windowDC, GetNearestColor(buffer, DrawnColor(color)));
}

// Reads the two probe points of the picture the window shows now. They match
// when the gauge's own picture is still there, so the taskbar around it can be
// sampled; otherwise the cached background must be used.
bool ProbesMatch(HDC buffer, HDC windowDC, const RECT &rc) {
    const ColorElement *full = Element(kFullPart);
    const ColorElement *frame = FrameElement(g_colorElements, g_onAC);
    if (!full || !frame)
        return false;
    COLORREF p1 = GetPixel(windowDC, rc.left + 3, rc.top + 2);
    COLORREF p2 = GetPixel(windowDC, rc.left + 3, rc.top + 1);
    return p1 == ShownColor(buffer, windowDC, full->color) &&
           p2 == ShownColor(buffer, windowDC, frame->color);
}

} // namespace

void DrawBattery(HDC dc, const RECT &rc, int percent, bool onAC, const ColorElementTable *colors) {
    // Unsigned, so that -1 before the first poll draws no battery either.
    if (static_cast<unsigned>(percent) > 100)
        return;
    const ColorElement *frame = FrameElement(colors, onAC);
    int L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    Fill(dc, R - 3, T + 3, R - 1, T + Res(13, 7), frame);
    Fill(dc, L + 1, T + 1, R - 3, T + Res(15, 9), frame);
    Fill(dc, L + 2, T + 2, R - 4, T + Res(14, 8), ElementOf(colors, kEmptyPart));
    int chargeRight = L + 2 + (R - 4 - (L + 2)) * percent / 100;
    Fill(dc, L + 2, T + 2, chargeRight, T + Res(14, 8), ElementOf(colors, kFullPart));

    const ColorElement *textColor = ElementOf(colors, kPercentage);
    if (!textColor)
        return;
    wchar_t text[8];
    StringCchPrintfW(text, ARRAYSIZE(text), L"%d%%", percent);
    SetBkMode(dc, TRANSPARENT);
    RECT box = {percent == 100 ? L : L + 1, T + Res(11, 8), R, B};
    SelectGdi font(dc, percent == 100 ? g_percentFontFull : g_percentFont);
    SetTextColor(dc, DrawnColor(textColor->color));
    DrawTextW(dc, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void DrawGauge(HDC dc, const RECT &rc, bool sampleAfresh) {
    EnsureFonts();
    DrawBackground(dc, rc, sampleAfresh);
    DrawBattery(dc, rc, g_batteryPercent, g_onAC != 0, g_colorElements);
}

void PaintGauge() {
    PaintOffscreen(g_gauge, [](HDC dc, const RECT &rc, HDC screen) {
        if (!ProbesMatch(dc, screen, rc))
            g_useCachedBackground = 1;
        if (g_firstGaugePaint) {
            g_firstGaugePaint = 0;
            g_useCachedBackground = 0;
        }
        DrawGauge(dc, rc, g_useCachedBackground == 0);
    });
}
