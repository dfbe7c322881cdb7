// The fixture of the end-to-end tests: the program started with its default
// settings and a fake battery at 57 %, and what a user does to it.
#pragma once
#include <gtest/gtest.h>

#include "program.h"
#include "stored_defaults.h"

inline bool HiResScreen() {
    return GetSystemMetrics(SM_CXSCREEN) >= 480;
}
inline int Res(int hiRes, int lowRes) {
    return HiResScreen() ? hiRes : lowRes;
}

inline void ClickControl(HWND control) {
    RECT r = ScreenRect(control);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// The dialog of that title once it shows: a dialog is made visible only after
// its initialisation (its place, its fields) is done. nullptr when it has not
// shown in time.
inline HWND WaitForDialog(const wchar_t *title, DWORD timeoutMs) {
    HWND dlg = nullptr;
    bool shown = WaitFor(
        [&] { return (dlg = FindWindowW(L"#32770", title)) != nullptr && IsWindowVisible(dlg); },
        timeoutMs);
    return shown ? dlg : nullptr;
}

// Taps the taskbar's "ok" of a full-screen Done dialog, once it shows as a
// user would see it; false when it has not shown in time.
inline bool TapTaskbarOk() {
    int bar = Res(52, 26), width = GetSystemMetrics(SM_CXSCREEN);
    POINT ok = {width - bar / 8 - bar * 3 / 4, bar / 5}; // the middle of its top edge
    if (!WaitFor([&] { return ScreenPixel(ok.x, ok.y) == kWhite; }, 3000))
        return false;
    ClickAt(ok.x, bar / 2);
    return true;
}

// The gauge's rows whose outer column (column 0, background on every row: the
// picture starts at column 1) has the colour of the taskbar beside it, as
// the WM6 style blends them.
inline int RowsBlendedWithTaskbar(HWND gauge) {
    RECT g = ScreenRect(gauge);
    int matching = 0;
    for (int y = g.top; y < g.bottom; ++y)
        if (ScreenPixel(g.left - 1, y) == ScreenPixel(g.left, y))
            ++matching;
    return matching;
}

// The colour chooser's red, green and blue fields.
constexpr int kChooserRed = 706, kChooserGreen = 707, kChooserBlue = 708;

// The "Full_Part" swatch in Setup's client area: the fifth row (x 278 / 149,
// y 150 / 75 + 4 rows).
inline POINT FullPartSwatch() {
    return {Res(278, 149) + 5, Res(150, 75) + 4 * Res(36, 18) + 5};
}

// Taps the "Full_Part" swatch and returns the chooser once it shows: its
// initialisation has then filled the fields, which would otherwise overwrite
// what a test types.
inline HWND OpenChooser(HWND setup) {
    POINT swatch = FullPartSwatch();
    ClientToScreen(setup, &swatch);
    ClickAt(swatch.x, swatch.y);
    return WaitForDialog(L"Color", 5000);
}

// The program stores a setting a moment after the action that changes it.
inline bool WaitForSetting(const wchar_t *name, DWORD expected) {
    DWORD stored = 0;
    return WaitFor([&] { return ReadProgramSetting(name, &stored) && stored == expected; }, 5000);
}

inline bool ChooserGone() {
    return WaitFor([] { return FindWindowW(L"#32770", L"Color") == nullptr; }, 5000);
}

// Opens Setup through the soft-key bar: "Setup" is the last item of "Tools".
inline HWND OpenSetup() {
    HWND bar = FindWindowW(L"ZbSoftKeyBar", nullptr);
    RECT b = ScreenRect(bar);
    ClickAt(b.left + (b.right - b.left) / 4, (b.top + b.bottom) / 2);
    if (!WaitFor([] { return FindWindowW(L"#32768", nullptr) != nullptr; }, 3000))
        return nullptr;
    PressKey(VK_UP);
    PressKey(VK_RETURN);
    return WaitForDialog(L"Setup", 5000);
}

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteProgramSettings();
        if (HaveFakeBattery())
            SetFakeBattery(57, false);
        BeforeLaunch();
        ASSERT_TRUE(program_.Launch(currentDir_)) << "the gauge never appeared in the taskbar";
    }
    // Settings and the like that the start must find.
    virtual void BeforeLaunch() {}

    // Taps the middle of the gauge, as the stylus would.
    void TapGauge() {
        RECT g = ScreenRect(program_.gauge());
        ClickAt((g.left + g.right) / 2, (g.top + g.bottom) / 2);
    }
    // Shown, the page is also in front: the program has then answered the
    // tap in full, and a tap on the page is not taken by that answer.
    bool MainWindowShown(bool shown) {
        HWND page = program_.mainWindow();
        return WaitFor(
            [&] {
                return (IsWindowVisible(page) != FALSE) == shown &&
                       (!shown || GetForegroundWindow() == page);
            },
            5000);
    }
    // The page's rows start 50 / 30 pixels below its top, 85 / 50 apart; each
    // bar's black outline begins 35 / 30 below the row's top, 10 pixels in.
    COLORREF RowOutline(int row) {
        RECT page = ScreenRect(program_.mainWindow());
        int y = page.top + Res(50, 30) + row * Res(85, 50) + Res(35, 30);
        return ScreenPixel(page.left + 10, y);
    }

    Program program_;
    const wchar_t *currentDir_ = nullptr;
};

// The program with Setup opened from the page (a tap on the gauge, then
// "Tools" > "Setup"); a Setup still open at the end is closed with its Done.
class SetupTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        TapGauge();
        ASSERT_TRUE(MainWindowShown(true));
        setup_ = OpenSetup();
        ASSERT_NE(setup_, nullptr);
    }
    void TearDown() override {
        if (setup_ && IsWindow(setup_))
            PostMessageW(setup_, WM_SYSCOMMAND, SC_CLOSE, 0);
    }

    HWND setup_ = nullptr;
};
