#include "app/app.h"

#include "state/state.h"
#include "base/gdi.h"
#include "base/strings.h"
#include "gauge/gauge.h"
#include "info/info.h"
#include "monitor/monitor.h"
#include "res/resource.h"
#include "settings/colors.h"
#include "settings/registry.h"
#include "setup/setup.h"

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollPeriodMs = 2300;

void CreateBrushes() {
    g_barBrush = CreateSolidBrush(0xC00000);
    g_whiteBrush = CreateSolidBrush(0xFFFFFF);
    g_blackBrush = CreateSolidBrush(0x000000);
    g_grayBrush = CreateSolidBrush(0xC0C0C0);
}

void CreateInfoFont() {
    g_infoFont = CreateTahomaFont(Res(-20, -14), FW_NORMAL);
}

bool ColorRecordsReady() {
    for (ColorElement *element : g_colorElements->elements)
        if (!element)
            return false;
    return true;
}

void CreateHideButton(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    RECT button = HideButtonRect(client);
    WCHAR caption[32];
    LoadStringOrEmpty(g_instance, IDS_HIDE, caption);
    g_hideButton = CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON,
                                   button.left, button.top, button.right - button.left,
                                   button.bottom - button.top, hwnd, nullptr, g_instance, nullptr);
}

// Builds the running program, in the order its parts depend on each other.
LRESULT OnCreate(HWND hwnd) {
    HWND menuBar = CreateAppMenuBar(hwnd);
    g_activateInfo = {};
    g_activateInfo.cbSize = sizeof(g_activateInfo);
    g_menuBar = menuBar;
    ResetStorageTable();
    DiscoverTaskbar();
    CreateHideButton(hwnd);
    LoadSettings(TaskbarClientRect());
    CreateGauge();
    CreateBrushes();
    if (g_colorElements)
        LayoutColorElements(g_colorElements, g_hiRes);
    if (!g_colorElements || !ColorRecordsReady()) {
        // Without its colours the program has nothing to draw with.
        if (g_gauge)
            DestroyWindow(g_gauge);
        return -1;
    }
    LoadColors();
    CreateInfoFont();
    SetTimer(hwnd, kPollTimer, kPollPeriodMs, nullptr);
    SendMessageW(hwnd, WM_TIMER, 0, 0);
    return 0;
}

void RunDialog(HWND owner, int id, DLGPROC proc) {
    HRSRC res = FindResourceW(g_instance, MAKEINTRESOURCEW(id), RT_DIALOG);
    HGLOBAL loaded = res ? LoadResource(g_instance, res) : nullptr;
    auto *dialog = loaded ? static_cast<LPCDLGTEMPLATEW>(LockResource(loaded)) : nullptr;
    if (dialog)
        DialogBoxIndirectParamW(g_instance, dialog, owner, proc, 0);
}

LRESULT OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (g_hideButton && reinterpret_cast<HWND>(lParam) == g_hideButton) {
        ShowWindow(g_mainWnd, SW_HIDE);
        return 0;
    }
    switch (LOWORD(wParam)) {
    case IDM_QUIT:
        PostQuitMessage(0);
        return 0;
    case IDM_SETUP:
        RunDialog(hwnd, IDD_SETUP, SetupDlgProc);
        return 0;
    case IDOK:
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case IDM_ABOUT:
        RunDialog(hwnd, IDD_ABOUT, AboutDlgProc);
        return 0;
    }
    return DefWindowProcW(hwnd, WM_COMMAND, wParam, lParam);
}

LRESULT OnDestroy() {
    if (g_menuBar)
        DestroyWindow(g_menuBar);
    PostQuitMessage(0);
    return 0;
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

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        // Only CreateWindow on this thread creates the window; a WM_CREATE
        // that another thread or process sends must not build it again.
        return InSendMessage() ? 0 : OnCreate(hwnd);
    case WM_DESTROY:
        return OnDestroy();
    case WM_ACTIVATE:
        SHHandleWMActivate(hwnd, wParam, lParam, &g_activateInfo, 0);
        return 0;
    case WM_PAINT:
        PaintInfoPage(hwnd);
        return 0;
    case WM_SETTINGCHANGE:
        SHHandleWMSettingChange(hwnd, wParam, lParam, &g_activateInfo);
        g_gaugeRepaint = 1;
        return 0;
    case WM_COMMAND:
        return OnCommand(hwnd, wParam, lParam);
    case WM_TIMER:
        PollStatus(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

INT_PTR CALLBACK AboutDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: {
        SHINITDLGINFO info = {SHIDIM_FLAGS, dlg,
                              SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
        SHInitDialog(&info);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dlg, IDOK);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

BOOL InitInstance(HINSTANCE instance, int /*cmdShow*/) {
    g_instance = instance;
    WCHAR className[100], title[100];
    if (!LoadStringW(instance, IDS_CLASS, className, ARRAYSIZE(className)) ||
        !LoadStringW(instance, IDS_TITLE, title, ARRAYSIZE(title)))
        return FALSE;

    // Two starts close together can both miss each other's window, which
    // comes only later: the mutex named after the class tells them apart at
    // once. It is held until the process ends.
    static HANDLE instanceMutex = nullptr;
    bool anotherInstance = false;
    if (!instanceMutex) {
        instanceMutex = CreateMutexW(nullptr, FALSE, className);
        anotherInstance = instanceMutex && GetLastError() == ERROR_ALREADY_EXISTS;
        if (anotherInstance) {
            CloseHandle(instanceMutex);
            instanceMutex = nullptr;
        }
    }
    HWND running = FindWindowW(className, title);
    if (running) {
        // The low bit brings the window's owned popups forward with it.
        SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<ULONG_PTR>(running) | 1));
    }
    if (running || anotherInstance)
        return FALSE;

    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ZEMLO));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = className;
    RegisterClassW(&wc);

    g_mainWnd = CreateWindowExW(0, className, title, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!g_mainWnd)
        return FALSE;

    if (g_menuBar) {
        RECT window, bar;
        GetWindowRect(g_mainWnd, &window);
        GetWindowRect(g_menuBar, &bar);
        int height = (window.bottom - (bar.bottom - bar.top)) - window.top;
        MoveWindow(g_mainWnd, window.left, window.top, window.right - window.left, height, FALSE);
    }
    ShowWindow(g_mainWnd, SW_HIDE);
    UpdateWindow(g_mainWnd);
    return TRUE;
}

int RunMessageLoop() {
    HACCEL accelerators = LoadAcceleratorsW(g_instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
