#include "app/startup.h"

#include "base/gdi.h"
#include "base/strings.h"
#include "gauge/gauge.h"
#include "monitor/monitor.h"
#include "res/resource.h"
#include "settings/colors.h"
#include "settings/registry.h"
#include "state/state.h"

namespace {

constexpr UINT_PTR kPollTimer = 1;

bool ColorRecordsReady() {
    for (ColorElement *element : g_colorElements->elements)
        if (!element)
            return false;
    return true;
}

} // namespace

RECT HideButtonRect(const RECT &client) {
    int width = Res(300, 200);
    int height = Res(45, 30);
    int x = (client.right - width - client.left) / 2;
    int y = client.bottom - Res(100, 60);
    return RECT{x, y, x + width, y + height};
}

HWND CreateAppMenuBar(HWND hwnd) {
    SHMENUBARINFO info = {};
    info.cbSize = sizeof(info);
    info.hwndParent = hwnd;
    info.nToolBarId = IDR_MAINMENU;
    info.hInstRes = g_instance;
    if (!SHCreateMenuBar(&info))
        return nullptr;
    return info.hwndMB;
}

void StartMenuBar(HWND mainWnd) {
    HWND menuBar = CreateAppMenuBar(mainWnd);
    g_activateInfo = {};
    g_activateInfo.cbSize = sizeof(g_activateInfo);
    g_menuBar = menuBar;
}

void StartTaskbar() {
    ResetStorageTable();
    DiscoverTaskbar();
}

void StartHideButton(HWND mainWnd) {
    RECT client;
    GetClientRect(mainWnd, &client);
    RECT button = HideButtonRect(client);
    WCHAR caption[32];
    LoadStringOrEmpty(g_instance, IDS_HIDE, caption);
    g_hideButton =
        CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON,
                        button.left, button.top, button.right - button.left,
                        button.bottom - button.top, mainWnd, nullptr, g_instance, nullptr);
}

void StartSettings() {
    LoadSettings(TaskbarClientRect());
}

void StartGauge() {
    CreateGauge();
}

void StartBrushes() {
    ReplaceGdiObject(&g_barBrush, CreateSolidBrush(0xC00000));
    ReplaceGdiObject(&g_whiteBrush, CreateSolidBrush(0xFFFFFF));
    ReplaceGdiObject(&g_blackBrush, CreateSolidBrush(0x000000));
    ReplaceGdiObject(&g_grayBrush, CreateSolidBrush(0xC0C0C0));
}

bool StartColors() {
    if (!g_colorElements)
        return false;
    LayoutColorElements(g_colorElements, g_hiRes);
    if (!ColorRecordsReady())
        return false;
    LoadColors();
    return true;
}

void StartInfoFont() {
    ReplaceGdiObject(&g_infoFont, CreateTahomaFont(Res(-20, -14), FW_NORMAL));
}

void StartPolling(HWND mainWnd) {
    SetTimer(mainWnd, kPollTimer, kPollPeriodMs, nullptr);
    SendMessageW(mainWnd, WM_TIMER, 0, 0);
}

bool StartProgram(HWND mainWnd) {
    StartMenuBar(mainWnd);
    StartTaskbar();
    StartHideButton(mainWnd);
    StartSettings();
    StartGauge();
    StartBrushes();
    if (!StartColors()) {
        if (g_gauge)
            DestroyWindow(g_gauge);
        return false;
    }
    StartInfoFont();
    StartPolling(mainWnd);
    return true;
}
