// The gauge window inside the shell's taskbar: placement, painting and the
// background styles.
#pragma once
#include "res/resource.h"
#include "state/state.h"

// Size and top edge of the gauge for the current resolution mode.
int GaugeWidth();
int GaugeHeight();
int GaugeTop();

// Finds the taskbar, records its width and settles the resolution mode.
void DiscoverTaskbar();
// The taskbar's client rectangle now (empty when there is no taskbar).
RECT TaskbarClientRect();
// The gauge's top-left corner in taskbar client coordinates, for an alignment
// (1: position from the left end, 0: from the right end) and a position.
POINT PlaceGauge(const RECT &taskbarClient, int align, int position);
// The positions that keep the whole gauge on a taskbar of a width.
struct PositionRange {
    int low;
    int high;
};
PositionRange PositionBounds(int taskbarWidth, int align);
// After a shell restart g_taskbar may name a window that is gone: finds the
// new taskbar; false while there is none.
bool FindLiveTaskbar();
// Brings g_position into the valid range for g_align and the taskbar's width;
// leaves it alone while there is no taskbar.
void ClampPosition();
// Clamps, creates the gauge as a child of the taskbar and subclasses it.
void CreateGauge();
// The shell may restart, and its taskbar takes the gauge along. Puts a new
// gauge into a taskbar that exists again; false while there is none.
bool EnsureGauge();
// Moves the gauge where PlaceGauge puts it now.
void MoveGauge();
// Marks the whole gauge for repainting, with erase.
void InvalidateGauge();
// Follows a change of the taskbar's width; true when the gauge was moved.
bool TrackTaskbarWidth();

LRESULT CALLBACK GaugeWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Painting. PaintGauge is the WM_PAINT handling: probes, cache protocol and
// one BitBlt. DrawGauge composes the picture into any DC.
void PaintGauge();
void DrawGauge(HDC dc, const RECT &rc, bool sampleAfresh);
// The battery at a charge (nothing outside 0..100) in the colours of a table,
// framed for the power state.
void DrawBattery(HDC dc, const RECT &rc, int percent, bool onAC, const ColorElementTable *colors);

// Background styles, by their stored numbers: the name the Setup radio button
// shows, the button and how the style draws into rc.
enum GaugeStyle { kStyleWM5, kStyleWM6, kStyleCustom, kGaugeStyleCount };
void DrawSampledSolid(HDC dc, const RECT &rc, bool sampleAfresh);    // one colour sampled above
void DrawSampledGradient(HDC dc, const RECT &rc, bool sampleAfresh); // a gradient per row
void DrawBackgroundColor(HDC dc, const RECT &rc, bool sampleAfresh); // "Background"
struct GaugeStyleEntry {
    const wchar_t *name;
    int radioId;
    void (*draw)(HDC dc, const RECT &rc, bool sampleAfresh);
};
inline constexpr GaugeStyleEntry kGaugeStyles[] = {
    {L"WM5", IDC_STYLE_WM5, DrawSampledSolid},
    {L"WM6", IDC_STYLE_WM6, DrawSampledGradient},
    {L"Custom", IDC_STYLE_CUSTOM, DrawBackgroundColor},
};
static_assert(ARRAYSIZE(kGaugeStyles) == kGaugeStyleCount, "one entry per style");
// The stored style's drawing; a style outside the table draws as "Custom".
void DrawBackground(HDC dc, const RECT &rc, bool sampleAfresh);
COLORREF SampleTaskbarColor(SampledBackground *background);
// Takes the sampling's screen device context again, at the screen's size now.
void RenewScreenDC();
void SampleGradientRows(GradientRow *rows);
// The rows in use from the samples left and right of the gauge, one per row;
// CLR_INVALID marks a sample off the screen.
void MakeGradientRows(const COLORREF *left, const COLORREF *right, GradientRow *rows);
void DrawGradientRows(const GradientRow *rows, HDC dc);
