#include "state/state.h"

#include "base/gdi.h"

#include <cstdlib>
#include <cstring>

int g_align;
int g_position;
int g_lifeTime;
int g_style;

int g_batteryPercent;
int g_batteryLifeTime;
BYTE g_onAC;
int g_storageCount;
ULONGLONG g_freeKB[kStorageSlots];
ULONGLONG g_totalKB[kStorageSlots];
WCHAR g_storageNames[kStorageSlots][kNameUnits];
int g_taskbarWidth;

BYTE g_hiRes;

BYTE g_tapPending;
BYTE g_storageRefresh;
BYTE g_gaugeRepaint;
BYTE g_useCachedBackground;
BYTE g_firstGaugePaint;

HINSTANCE g_instance;
HWND g_mainWnd;
HWND g_menuBar;
HWND g_hideButton;
HWND g_taskbar;
HWND g_gauge;
WNDPROC g_staticProc;
HWND g_defaultsButton;
SHACTIVATEINFO g_activateInfo = {};

HBRUSH g_barBrush = nullptr;
HBRUSH g_whiteBrush = nullptr;
HBRUSH g_blackBrush = nullptr;
HBRUSH g_grayBrush = nullptr;
HFONT g_infoFont = nullptr;
HFONT g_percentFont = nullptr;
HFONT g_percentFontFull = nullptr;

// The screen is sampled through one device context, taken before WinMain and
// kept for the life of the process.
SampledBackground g_sampledBackground = {0, nullptr, GetDC(nullptr)};
GradientRow g_gradientRows[kMaxGaugeRows];

ColorElementTable *g_colorElements =
    static_cast<ColorElementTable *>(std::calloc(1, sizeof(ColorElementTable)));

void ResetStateValues() {
    g_align = 1;
    g_position = 4;
    g_lifeTime = 350;
    g_style = 1;
    g_batteryPercent = -1;
    g_batteryLifeTime = -1;
    g_onAC = 0;
    g_storageCount = 1;
    for (int i = 0; i < kStorageSlots; ++i) {
        g_freeKB[i] = ~0ull;
        g_totalKB[i] = ~0ull;
        g_storageNames[i][0] = L'\0';
    }
    g_taskbarWidth = -1;
    g_hiRes = 1;
    g_tapPending = 0;
    g_storageRefresh = 1;
    g_gaugeRepaint = 0;
    g_useCachedBackground = 1;
    g_firstGaugePaint = 1;
    g_instance = nullptr;
    g_mainWnd = nullptr;
    g_menuBar = nullptr;
    g_hideButton = nullptr;
    g_taskbar = nullptr;
    g_gauge = nullptr;
    g_staticProc = nullptr;
    g_defaultsButton = nullptr;
    ReplaceGdiObject(&g_sampledBackground.brush, nullptr);
    g_sampledBackground.color = 0;
    std::memset(g_gradientRows, 0, sizeof(g_gradientRows));
}

namespace {

// The values above are the ones a process starts with.
const bool s_initialValues = (ResetStateValues(), true);

} // namespace
