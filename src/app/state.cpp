#include "app/state.h"

int g_align = 1;
int g_position = 4;
int g_lifeTime = 350;
int g_style = 1;

int g_batteryPercent = -1;
int g_batteryLifeTime = -1;
BYTE g_onAC = 0;
int g_storageCount = 1;
ULONGLONG g_freeKB[kStorageSlots];
ULONGLONG g_totalKB[kStorageSlots];
WCHAR g_storageNames[kStorageSlots][kNameUnits];
int g_taskbarWidth = -1;

BYTE g_hiRes = 1;

BYTE g_tapPending = 0;
BYTE g_storageRefresh = 1;
BYTE g_gaugeRepaint = 0;
BYTE g_useCachedBackground = 1;
BYTE g_firstGaugePaint = 1;

HINSTANCE g_instance = nullptr;
HWND g_mainWnd = nullptr;
HWND g_menuBar = nullptr;
HWND g_hideButton = nullptr;
HWND g_taskbar = nullptr;
HWND g_gauge = nullptr;
WNDPROC g_staticProc = nullptr;
HWND g_defaultsButton = nullptr;
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
