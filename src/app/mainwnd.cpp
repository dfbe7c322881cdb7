#include "app/mainwnd.h"

#include "app/startup.h"
#include "base/strings.h"
#include "gauge/gauge.h"
#include "info/info.h"
#include "monitor/monitor.h"
#include "res/resource.h"
#include "settings/colors.h"
#include "settings/registry.h"
#include "setup/setup.h"
#include "state/state.h"

namespace {

// The name by which instances find each other before any window exists; in
// the session's own namespace, and qualified so that nobody takes it by
// accident.
constexpr WCHAR kInstanceName[] = SESSION_OBJECT_NAME(L"tavrel.ZemloBattery.Instance");

// Builds the running program; without its colours it has nothing to draw with.
LRESULT OnCreate(HWND hwnd) {
    return StartProgram(hwnd) ? 0 : -1;
}

// Brings a window to the front; the low bit of the handle brings its owned
// popups (an open dialog) forward with it.
void BringToFront(HWND hwnd) {
    SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<ULONG_PTR>(hwnd) | 1));
}

// One dialog at a time. While one is open the menu cannot be reached, but
// another process can still post a command, or enable the main window: the
// open dialog then comes to the front, and no second one nests inside it to
// save over what it saved. Whether one is open is known here, not read from
// the owner's state, which any process can change.
void RunDialog(HWND owner, int id, DLGPROC proc) {
    static bool open = false;
    if (open) {
        BringToFront(owner);
        return;
    }
    HRSRC res = FindResourceW(g_instance, MAKEINTRESOURCEW(id), RT_DIALOG);
    HGLOBAL loaded = res ? LoadResource(g_instance, res) : nullptr;
    auto *dialog = loaded ? static_cast<LPCDLGTEMPLATE>(LockResource(loaded)) : nullptr;
    if (!dialog)
        return;
    open = true;
    DialogBoxIndirectParamW(g_instance, dialog, owner, proc, 0);
    open = false;
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

// Two starts close together can both miss each other's window, which comes
// only later: the instance name tells them apart at once. The name is held
// until the process ends. A name that cannot be made (another kind of object
// has it) counts as held, never as free.
bool ClaimInstanceName() {
    static HANDLE instanceName = nullptr;
    if (instanceName)
        return true;
    HANDLE name = CreateMutexW(nullptr, FALSE, kInstanceName);
    if (name && GetLastError() != ERROR_ALREADY_EXISTS) {
        instanceName = name;
        return true;
    }
    if (name)
        CloseHandle(name);
    return false;
}

// The holder of the name is starting: its window comes soon. Meanwhile the
// holder may also end, and the name become free. nullptr when neither
// happened in time.
HWND AwaitFirstInstance(const WCHAR *className, const WCHAR *title, bool *first) {
    constexpr DWORD kWaitMs = 5000, kStepMs = 100;
    for (DWORD waited = 0; waited < kWaitMs; waited += kStepMs) {
        Sleep(kStepMs);
        if (HWND running = FindWindowW(className, title))
            return running;
        if (ClaimInstanceName()) {
            *first = true;
            return nullptr;
        }
    }
    return nullptr;
}

// A start that cannot tell whether another instance runs ends, and says why.
void ReportStartBlocked(const WCHAR *title) {
    WCHAR text[256];
    LoadStringOrEmpty(g_instance, IDS_START_BLOCKED, text);
    MessageBoxW(nullptr, text, title, MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
}

// The page's size changes when the screen turns: the Hide button stays where
// the page's layout puts it, within reach. The layout measures from the
// bottom of the screen, as at start-up, before the soft-key bar shortened the
// page.
LRESULT OnSize(HWND hwnd) {
    if (g_hideButton) {
        RECT client, bar;
        GetClientRect(hwnd, &client);
        if (g_menuBar && GetWindowRect(g_menuBar, &bar))
            client.bottom += bar.bottom - bar.top;
        RECT button = HideButtonRect(client);
        MoveWindow(g_hideButton, button.left, button.top, button.right - button.left,
                   button.bottom - button.top, TRUE);
    }
    return 0;
}

// A device context of the screen clips at the screen's size when it was
// taken: after a turn (SETTINGCHANGE_RESET) the gauge's new place is sampled
// through a new one.
LRESULT OnSettingChange(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    SHHandleWMSettingChange(hwnd, wParam, lParam, &g_activateInfo);
    if (wParam == SETTINGCHANGE_RESET)
        RenewScreenDC();
    g_gaugeRepaint = 1;
    return 0;
}

LRESULT OnDestroy() {
    if (g_menuBar)
        DestroyWindow(g_menuBar);
    PostQuitMessage(0);
    return 0;
}

} // namespace

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
    case WM_SIZE:
        return OnSize(hwnd);
    case WM_SETTINGCHANGE:
        return OnSettingChange(hwnd, wParam, lParam);
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

BOOL InitInstance(HINSTANCE instance, int /*cmdShow*/, int *exitCode) {
    g_instance = instance;
    if (exitCode)
        *exitCode = 0;
    WCHAR className[100], title[100];
    if (!LoadStringW(instance, IDS_CLASS, className, ARRAYSIZE(className)) ||
        !LoadStringW(instance, IDS_TITLE, title, ARRAYSIZE(title)))
        return FALSE;

    bool first = ClaimInstanceName();
    HWND running = FindWindowW(className, title);
    if (!first && !running)
        running = AwaitFirstInstance(className, title, &first);
    if (running) {
        BringToFront(running);
        return FALSE;
    }
    if (!first) {
        ReportStartBlocked(title);
        if (exitCode)
            *exitCode = kExitStartBlocked;
        return FALSE;
    }

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
