// The fixture of the end-to-end tests: the program started with its default
// settings and a fake battery at 57 %, and what a user does to it.
#pragma once
#include <gtest/gtest.h>

#include "driver.h"
#include "fixed_layout.h"
#include "stored_defaults.h"

inline int Res(int hiRes, int lowRes) {
    return HiResScreen() ? hiRes : lowRes;
}

// The gauge's rows whose outer column (column 0, background on every row: the
// picture starts at column 1) has the colour of the taskbar beside it, as
// the WM6 style blends them, drawn in the gauge's picture.
inline int RowsBlendedWithTaskbar(HWND gauge) {
    RECT g = ScreenRect(gauge);
    int matching = 0;
    for (int y = g.top; y < g.bottom; ++y)
        if (GradientShows(ScreenPixel(g.left, y), ScreenPixel(g.left - 1, y)))
            ++matching;
    return matching;
}

// The program stores a setting a moment after the action that changes it.
inline bool WaitForSetting(const wchar_t *name, DWORD expected) {
    DWORD stored = 0;
    return WAIT_UNTIL(ReadProgramSetting(name, &stored) && stored == expected, 5000);
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
    void TapGauge() { ClickControl(program_.gauge()); }
    // One poll, as the program's timer makes it, answered before this returns.
    void PollNow() {
        DWORD_PTR result;
        ASSERT_TRUE(SendMessageTimeoutW(program_.mainWindow(), WM_TIMER, 1, 0, SMTO_NORMAL,
                                        DeadlineMs(3000), &result));
    }
    // Shown, the page is also in front (PageShown).
    bool MainWindowShown(bool shown) { return PageShown(program_.mainWindow(), shown); }
    // Taps the gauge; the page shows.
    bool ShowPage() { return OpenInfoPage(program_.gauge(), program_.mainWindow()); }
    // Where a row's bar has its black outline, once the row is drawn.
    COLORREF RowOutline(int row) {
        POINT p = InfoRowOutline(program_.mainWindow(), row);
        return ScreenPixel(p.x, p.y);
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
        ASSERT_TRUE(ShowPage());
        setup_ = OpenSetup();
        ASSERT_NE(setup_, nullptr);
    }
    void TearDown() override {
        if (setup_ && IsWindow(setup_))
            PostMessageW(setup_, WM_SYSCOMMAND, SC_CLOSE, 0);
    }

    HWND setup_ = nullptr;
};
