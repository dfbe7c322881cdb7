#include "driver.h"

#include "gauge/gauge.h"
#include "info/info.h"
#include "pocketpc_emulation/seams.h"
#include "settings/colors.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

bool UseDesktop(const std::wstring &name) {
    HDESK desktop = CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    return desktop && SetThreadDesktop(desktop);
}

bool HiResScreen() {
    return DeviceDpi() > USER_DEFAULT_SCREEN_DPI;
}

void ClickControl(HWND control) {
    RECT r = ScreenRect(control);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

HWND WaitForDialog(const wchar_t *title, DWORD timeoutMs) {
    HWND dlg = nullptr;
    char what[96];
    std::snprintf(what, sizeof(what), "the dialog \"%ls\" to show", title);
    bool shown = WaitFor(
        [&] { return (dlg = FindWindowW(L"#32770", title)) != nullptr && IsWindowVisible(dlg); },
        timeoutMs, what);
    return shown ? dlg : nullptr;
}

bool PageShown(HWND page, bool shown) {
    return WAIT_UNTIL((IsWindowVisible(page) != FALSE) == shown &&
                          (!shown || GetForegroundWindow() == page),
                      5000);
}

// The program's resolution mode, as its own start settles it from the live
// taskbar.
void SettleResolutionMode() {
    ResetStateValues();
    DiscoverTaskbar();
}

POINT InfoRowOutline(HWND page, int row) {
    SettleResolutionMode();
    RECT r = ScreenRect(page);
    RECT bar = MemoryBarOutline(r.left, InfoRowTop(r, row), r.right);
    return {bar.left, bar.top};
}

bool OutlineDrawnAt(POINT p) {
    return ScreenPixel(p.x, p.y) == kBlack && ScreenPixel(p.x, p.y - 1) == kWhite;
}

bool MemoryBarShown(HWND page) {
    return IsWindowVisible(page) && OutlineDrawnAt(InfoRowOutline(page, 0));
}

bool OpenInfoPage(HWND gauge, HWND page) {
    ClickControl(gauge);
    return PageShown(page, true);
}

// The prefix's card folder, from the host's side (drive Z: is the host's
// root; scripts/wine-env.sh links drive E: to it).
StorageCardOut::StorageCardOut() {
    wchar_t prefix[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"WINEPREFIX", prefix, ARRAYSIZE(prefix));
    if (length == 0 || length >= ARRAYSIZE(prefix))
        return;
    card_ = L"Z:" + std::wstring(prefix) + L"/storage-card";
    for (wchar_t &c : card_)
        if (c == L'/')
            c = L'\\';
    aside_ = card_ + L".out";
    out_ = MoveFileW(card_.c_str(), aside_.c_str()) != FALSE;
}

StorageCardOut::~StorageCardOut() {
    if (out_)
        MoveFileW(aside_.c_str(), card_.c_str());
}

HWND OpenSetup() {
    HWND bar = FindWindowW(kSoftKeyBarClass, nullptr);
    RECT b = ScreenRect(bar);
    ClickAt(b.left + (b.right - b.left) / 4, (b.top + b.bottom) / 2);
    if (!WAIT_UNTIL(FindWindowW(L"#32768", nullptr) != nullptr, 3000))
        return nullptr;
    PressKey(VK_UP);
    PressKey(VK_RETURN);
    return WaitForDialog(L"Setup", 5000);
}

std::vector<RECT> ColorRowRects() {
    SettleResolutionMode();
    ColorElementTable table = {};
    LayoutColorElements(&table, g_hiRes);
    std::vector<RECT> rects;
    for (ColorElement *&e : table.elements) {
        rects.push_back(e->labelRect);
        rects.push_back(e->swatchRect);
        std::free(e);
        e = nullptr;
    }
    return rects;
}

bool SwatchPoint(const wchar_t *element, POINT *point) {
    for (int i = 0; i < kColorElementCount; ++i) {
        if (std::wcscmp(kColorElementDefaults[i].name, element) == 0) {
            const RECT s = ColorRowRects()[2 * i + 1];
            *point = {(s.left + s.right) / 2, (s.top + s.bottom) / 2};
            return true;
        }
    }
    return false;
}

HWND OpenChooser(HWND setup, const wchar_t *element) {
    POINT swatch;
    if (!SwatchPoint(element, &swatch))
        return nullptr;
    ClientToScreen(setup, &swatch);
    ClickAt(swatch.x, swatch.y);
    return WaitForDialog(L"Color", 5000);
}

void TypeColour(HWND chooser, COLORREF colour) {
    SetDlgItemInt(chooser, COLOR_RED, GetRValue(colour), FALSE);
    SetDlgItemInt(chooser, COLOR_GREEN, GetGValue(colour), FALSE);
    SetDlgItemInt(chooser, COLOR_BLUE, GetBValue(colour), FALSE);
}

bool ChooserGone() {
    return WAIT_UNTIL(FindWindowW(L"#32770", L"Color") == nullptr, 5000);
}

bool SetupGone() {
    return WAIT_UNTIL(FindWindowW(L"#32770", L"Setup") == nullptr, 3000);
}

bool EndChooser(HWND chooser, int button) {
    ClickControl(GetDlgItem(chooser, button));
    return ChooserGone();
}

bool TapTaskbarOk() {
    HWND taskbar = FindWindowW(kShellTaskbarClass, nullptr);
    RECT client;
    if (!taskbar || !GetClientRect(taskbar, &client))
        return false;
    RECT ok = ShellTaskbarOkRect(client);
    MapWindowPoints(taskbar, nullptr, reinterpret_cast<POINT *>(&ok), 2);
    // The middle of its top edge shows once it is drawn.
    POINT top = {(ok.left + ok.right) / 2, ok.top};
    if (!WAIT_UNTIL(ScreenPixel(top.x, top.y) == kWhite, 3000))
        return false;
    ClickAt(top.x, (client.top + client.bottom) / 2);
    return true;
}
