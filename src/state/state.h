// The program state: every global of ZemloBattery and the records they hold,
// shared by all window and dialog procedures on the one thread. It knows none
// of the parts that use it.
#pragma once
#include "platform/platform.h"

constexpr int kStorageSlots = 10; // device memory and up to nine cards
constexpr int kNameUnits = 100;   // UTF-16 units per storage name, terminator included
constexpr int kMaxGaugeRows = 36;

// Settings, persisted in the registry.
extern int g_align;    // 1: position counts from the left end of the taskbar, 0: right
extern int g_position; // pixels from the aligned end
extern int g_lifeTime; // minutes a full battery lasts
extern int g_style;    // the background style, by its stored number

// Measurements.
extern int g_batteryPercent;  // 0..100, -1 before the first poll
extern int g_batteryLifeTime; // seconds, -1 when the platform does not know
extern BYTE g_onAC;
extern int g_storageCount;
extern ULONGLONG g_freeKB[kStorageSlots]; // all ones: never measured
extern ULONGLONG g_totalKB[kStorageSlots];
extern WCHAR g_storageNames[kStorageSlots][kNameUnits];
extern int g_taskbarWidth;

// Display mode.
extern BYTE g_hiRes;

// Requests between the parts of the program, cleared by the poll that acts.
extern BYTE g_tapPending;
extern BYTE g_storageRefresh;
extern BYTE g_gaugeRepaint;
extern BYTE g_useCachedBackground;
extern BYTE g_firstGaugePaint;

// Windows and instance.
extern HINSTANCE g_instance;
extern HWND g_mainWnd;
extern HWND g_menuBar;
extern HWND g_hideButton;
extern HWND g_taskbar;
extern HWND g_gauge;
extern WNDPROC g_staticProc;
extern HWND g_defaultsButton;
extern SHACTIVATEINFO g_activateInfo;

// Drawing objects that live as long as the process.
extern HBRUSH g_barBrush;
extern HBRUSH g_whiteBrush;
extern HBRUSH g_blackBrush;
extern HBRUSH g_grayBrush;
extern HFONT g_infoFont;
extern HFONT g_percentFont;
extern HFONT g_percentFontFull;

// The colour elements: what each colours (its index), its name (the Setup
// label and the registry value) and its default. Table order is also the
// order of the rows in the Setup dialog.
enum ColorElementIndex {
    kBackground,       // the gauge's background in the "Custom" style
    kPercentage,       // the figure below the battery
    kFrameCharging,    // the battery's frame on external power
    kFrameNotCharging, // the frame on battery power
    kFullPart,         // the charged part
    kEmptyPart,        // the rest
    kColorElementCount
};
struct ColorElementDefault {
    const wchar_t *name;
    COLORREF color;
};
inline constexpr ColorElementDefault kColorElementDefaults[] = {
    {L"Background", 0xFF0000},         {L"Percentage", 0xFFFFFF}, {L"Frame_charging", 0x0000FF},
    {L"Frame_not_charging", 0xFFFFFF}, {L"Full_Part", 0xFF0000},  {L"Empty_Part", 0x400080},
};
static_assert(ARRAYSIZE(kColorElementDefaults) == kColorElementCount,
              "one default per colour element");
constexpr int kElementNameUnits = 100;

struct ColorElement {
    COLORREF defaultColor;
    RECT swatchRect; // Setup dialog client coordinates
    RECT labelRect;
    WCHAR name[kElementNameUnits]; // label text and registry value name
    COLORREF color;
    HBRUSH brush; // solid brush of color, owned by the element
};

struct ColorElementTable {
    int left;
    int top;
    int labelWidth;
    int swatchWidth;
    int rowHeight;
    int rowPitch;
    BYTE hiResMode;
    ColorElement *elements[kColorElementCount];
    RECT labelTemplate;
    RECT swatchTemplate;
    int rowCount;
};

struct SampledBackground {
    COLORREF color;
    HBRUSH brush;
    HDC screenDC;
};
struct GradientRow {
    TRIVERTEX left;
    TRIVERTEX right;
};
extern ColorElementTable *g_colorElements;
extern SampledBackground g_sampledBackground;
extern GradientRow g_gradientRows[kMaxGaugeRows];

// The storage entries as measured: device memory first, then the cards.
struct StorageTable {
    int count;
    const ULONGLONG *freeKB; // all ones: never measured
    const ULONGLONG *totalKB;
    const WCHAR (*names)[kNameUnits];
};
inline StorageTable ProgramStorage() {
    return StorageTable{g_storageCount, g_freeKB, g_totalKB, g_storageNames};
}

// The values a process starts with, for the settings, measurements, requests,
// window handles and sampled background. The drawing objects that live as long
// as the process, the screen DC and the colour table are kept.
void ResetStateValues();

inline int Res(int hiRes, int lowRes) {
    return g_hiRes ? hiRes : lowRes;
}
