// Stand-in for the CE shell's taskbar, the top-level "HHTaskBar" window.
//
// It lives in the program's own process: Wine does not draw a child window
// whose parent belongs to another process, and the gauge is such a child.
// It paints like the later shell's taskbar (a dark-blue vertical gradient, the
// start flag on the left, a clock on the right) so that the gauge's sampled
// backgrounds have real pixels to blend with. While a full-screen shell dialog
// is in front it shows the dialog's title after the flag and, for a dialog
// with the Done button, an "ok" button in place of the clock.
#include "base/gdi.h"
#include "internal.h"

#include <cwchar>

namespace {

constexpr UINT_PTR kClockTimer = 1;

HWND s_taskbar = nullptr;
HFONT s_clockFont = nullptr;
HWND s_restarter = nullptr; // brings the taskbar back after a simulated restart
constexpr UINT_PTR kRestartTimer = 2;
HWND s_okPressed = nullptr; // the dialog whose "ok" the stylus went down on

// What the shell dialogs last told: it outlives a taskbar that restarts.
struct ShownDialog {
    HWND dlg;
    wchar_t title[64];
    bool doneButton;
};
ShownDialog s_shown = {};

// The "ok" button at the right end, where the clock otherwise stands.
RECT OkButtonRect(const RECT &rc) {
    int h = rc.bottom - rc.top;
    return RECT{rc.right - h / 8 - h * 3 / 2, rc.top + h / 5, rc.right - h / 8, rc.bottom - h / 5};
}

void FillSquare(HDC dc, int x, int y, int size, COLORREF color) {
    GdiObject<HBRUSH> brush(CreateSolidBrush(color));
    RECT rc = {x, y, x + size, y + size};
    FillRect(dc, &rc, brush.get());
}

// The four-pane start flag, about two thirds of the bar's height.
void DrawStartFlag(HDC dc, int height) {
    int pane = height / 3;
    int gap = pane > 6 ? 2 : 1;
    int x = height / 6;
    int y = (height - 2 * pane - gap) / 2;
    FillSquare(dc, x, y, pane, RGB(0xf2, 0x50, 0x22));
    FillSquare(dc, x + pane + gap, y, pane, RGB(0x7f, 0xba, 0x00));
    FillSquare(dc, x, y + pane + gap, pane, RGB(0x00, 0xa4, 0xef));
    FillSquare(dc, x + pane + gap, y + pane + gap, pane, RGB(0xff, 0xb9, 0x00));
}

// Where the clock's text may stand: "23:59" is under two bar heights wide.
RECT ClockRect(const RECT &rc) {
    int h = rc.bottom - rc.top;
    return RECT{rc.right - 3 * h, rc.top, rc.right, rc.bottom};
}

// One line of the bar's white bold text, centred vertically in the box.
void DrawBarText(HDC dc, const wchar_t *text, RECT box, UINT format) {
    SelectGdi font(dc, s_clockFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0xff, 0xff, 0xff));
    DrawTextW(dc, text, -1, &box, format | DT_VCENTER | DT_SINGLELINE);
}

void DrawClock(HDC dc, const RECT &rc) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[16];
    StringCchPrintfW(text, ARRAYSIZE(text), L"%d:%02d", now.wHour, now.wMinute);
    RECT box = rc;
    box.right -= (rc.bottom - rc.top) / 4;
    DrawBarText(dc, text, box, DT_RIGHT);
}

void DrawDialogTitle(HDC dc, const RECT &rc, const wchar_t *title) {
    if (!title[0])
        return;
    int h = rc.bottom - rc.top;
    RECT box = rc;
    box.left = h;
    box.right = OkButtonRect(rc).left - h / 4;
    DrawBarText(dc, title, box, DT_LEFT | DT_END_ELLIPSIS);
}

void DrawOkButton(HDC dc, const RECT &rc) {
    RECT ok = OkButtonRect(rc);
    int h = rc.bottom - rc.top;
    {
        GdiObject<HPEN> pen(CreatePen(PS_SOLID, h >= 52 ? 2 : 1, RGB(0xff, 0xff, 0xff)));
        SelectGdi outline(dc, pen.get());
        SelectGdi hollow(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, ok.left, ok.top, ok.right, ok.bottom, h / 4, h / 4);
    }
    DrawBarText(dc, L"ok", ok, DT_CENTER);
}

void ArmClockTimer(HWND hwnd) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    UINT toNextMinute = (60 - now.wSecond) * 1000 - now.wMilliseconds;
    SetTimer(hwnd, kClockTimer, toNextMinute + 50, nullptr);
}

// CE delivers a tap to the static window under the stylus. A desktop static
// control is transparent to the mouse, so the click lands here: hand it on.
bool ForwardToChild(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    HWND child = ChildWindowFromPointEx(hwnd, pt, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
    if (!child || child == hwnd)
        return false;
    MapWindowPoints(hwnd, child, &pt, 1);
    SendMessageW(child, msg, wParam, MAKELPARAM(pt.x, pt.y));
    return true;
}

LRESULT CALLBACK RestarterWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kRestartTimer) {
        KillTimer(hwnd, kRestartTimer);
        StartShellTaskbar();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A shell restart as the device shows it: the taskbar goes away, with every
// child window in it, and a new one comes up after a while.
void SimulateShellRestart(UINT delayMs) {
    if (!s_restarter) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = RestarterWndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZbShellRestarter";
        RegisterClassW(&wc);
        s_restarter = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                      nullptr, wc.hInstance, nullptr);
    }
    StopShellTaskbar();
    SetTimer(s_restarter, kRestartTimer, delayMs ? delayMs : 1, nullptr);
}

void DrawTaskbar(HDC dc, const RECT &rc) {
    FillVerticalGradient(dc, rc, kShellTopColor, kShellBottomColor);
    DrawStartFlag(dc, rc.bottom - rc.top);
    if (s_shown.dlg)
        DrawDialogTitle(dc, rc, s_shown.title);
    if (s_shown.doneButton)
        DrawOkButton(dc, rc);
    else
        DrawClock(dc, rc);
}

void OnPaint(HWND hwnd) {
    PaintScope paint(hwnd);
    RECT rc;
    GetClientRect(hwnd, &rc);
    DrawTaskbar(paint.dc(), rc);
}

// The minute's tick draws the clock's box at once: no invalidation, no
// WM_PAINT round, each of which costs server requests under Wine.
void OnClockTick(HWND hwnd) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    RECT clock = ClockRect(rc);
    WindowDC dc(hwnd);
    // The class's own DC keeps its clip region from call to call.
    int saved = SaveDC(dc.get());
    IntersectClipRect(dc.get(), clock.left, clock.top, clock.right, clock.bottom);
    DrawTaskbar(dc.get(), rc);
    RestoreDC(dc.get(), saved);
}

bool OnOkButton(HWND hwnd, LPARAM lParam) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    RECT ok = OkButtonRect(rc);
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return PtInRect(&ok, pt) != FALSE;
}

// A tap on "ok" (down and up on it) sends IDOK to the dialog in front.
void OnTapUp(HWND hwnd, LPARAM lParam) {
    HWND pressed = s_okPressed;
    s_okPressed = nullptr;
    if (pressed && s_shown.dlg == pressed && s_shown.doneButton && OnOkButton(hwnd, lParam))
        PostMessageW(pressed, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void OnTimer(HWND hwnd, WPARAM id) {
    if (id == kClockTimer) {
        ArmClockTimer(hwnd);
        OnClockTick(hwnd);
    }
}

// A tap goes to the child under it (the gauge), or else to the "ok" of the
// dialog the taskbar shows.
void OnButtonDown(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (ForwardToChild(hwnd, WM_LBUTTONDOWN, wParam, lParam))
        return;
    if (s_shown.doneButton && OnOkButton(hwnd, lParam))
        s_okPressed = s_shown.dlg;
}

void OnButtonUp(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (!ForwardToChild(hwnd, WM_LBUTTONUP, wParam, lParam))
        OnTapUp(hwnd, lParam);
}

// False when another process sent it: the taskbar lives on.
bool OnNcDestroy(HWND hwnd) {
    if (SentFromElsewhere())
        return false;
    if (hwnd == s_taskbar) {
        UnregisterHotKey(hwnd, kTurnHotKey);
        s_taskbar = nullptr;
    }
    return true;
}

LRESULT CALLBACK TaskbarWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static const UINT restartMessage = RegisterWindowMessageW(kShellRestartMessage);
    if (msg == restartMessage) {
        SimulateShellRestart(static_cast<UINT>(wParam));
        return 0;
    }
    switch (msg) {
    case WM_PAINT:
        OnPaint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_TIMER:
        OnTimer(hwnd, wParam);
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown(hwnd, wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(hwnd, wParam, lParam);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_HOTKEY:
        if (wParam == kTurnHotKey)
            TurnEmulatedScreen();
        return 0;
    case WM_CLOSE:
        return 0; // the shell's taskbar is not closed; only a shell restart takes it away
    case WM_NCDESTROY:
        if (!OnNcDestroy(hwnd))
            return 0;
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void RegisterTaskbarClass(HINSTANCE instance) {
    WNDCLASSW wc = {};
    // A DC of its own: under Wine a cache DC is reset at each BeginPaint, and
    // the reset rereads the X resource files.
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    wc.lpfnWndProc = TaskbarWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kShellTaskbarClass;
    RegisterClassW(&wc);
}

} // namespace

void ShowDialogInTaskbar(HWND dlg, const wchar_t *title, bool doneButton) {
    ShownDialog shown = {dlg, {}, dlg && doneButton};
    if (dlg)
        StringCchCopyW(shown.title, ARRAYSIZE(shown.title), title);
    if (shown.dlg == s_shown.dlg && shown.doneButton == s_shown.doneButton &&
        std::wcscmp(shown.title, s_shown.title) == 0)
        return;
    s_shown = shown;
    if (s_taskbar)
        InvalidateRect(s_taskbar, nullptr, FALSE);
}

RECT ShellTaskbarOkRect(const RECT &taskbarClient) {
    return OkButtonRect(taskbarClient);
}

HWND StartShellTaskbar() {
    if (HWND existing = FindWindowW(kShellTaskbarClass, nullptr))
        return existing;

    StartWindowManager();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    int width = EmulatedScreen().cx;
    int height = ShellTaskbarHeight();
    // Class and font come with the first start; a restarted shell's taskbar
    // uses them again.
    if (!s_clockFont) {
        RegisterTaskbarClass(instance);
        s_clockFont = CreateShellBarFont(height);
    }
    // The shell's taskbar never takes activation or focus from a program's
    // window, also not when it comes back after a restart.
    s_taskbar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                kShellTaskbarClass, L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, width,
                                height, nullptr, nullptr, instance, nullptr);
    if (s_taskbar) {
        // A turn made while the shell was away has moved the soft-key bars
        // already; a shell that comes back lays them out all the same.
        PlaceSoftKeyBars();
        RegisterHotKey(s_taskbar, kTurnHotKey, kTurnKeyModifiers, kTurnKey);
        ShowWindow(s_taskbar, SW_SHOWNOACTIVATE);
        ArmClockTimer(s_taskbar);
        UpdateWindow(s_taskbar);
    }
    return s_taskbar;
}

void StopShellTaskbar() {
    if (s_taskbar)
        DestroyWindow(s_taskbar);
}
