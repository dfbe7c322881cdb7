// Every Pocket PC screen, portrait, landscape and square, and turning it while
// the program runs: the screen is the session's (scripts/screen-session.sh
// names it in ZB_SCREEN).
#include "program_test.h"

#include "stored_defaults.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

SIZE Screen() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int BarHeight() {
    return Res(52, 26);
}

// The screen below the taskbar, where the program's pages go.
RECT PageArea() {
    return {0, BarHeight(), Screen().cx, Screen().cy};
}

bool Inside(const RECT &inner, const RECT &outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Describe(const RECT &r) {
    char text[64];
    std::snprintf(text, sizeof(text), "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

// Right-aligned gauges stand this far from the taskbar's right end: clear of
// the end, so that a wrong width shows.
int RightPosition() {
    return Res(100, 50);
}

// A dialog every visible control of which lies inside it, none over another;
// how many it shows.
size_t ExpectLaidOut(HWND dlg) {
    RECT area = ScreenRect(dlg);
    EXPECT_TRUE(Inside(area, RECT{0, 0, Screen().cx, Screen().cy})) << Describe(area);
    std::vector<RECT> shown;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c))
            continue;
        RECT r = ScreenRect(c);
        EXPECT_TRUE(Inside(r, area)) << "control " << GetDlgCtrlID(c) << " " << Describe(r);
        for (const RECT &other : shown) {
            RECT both;
            EXPECT_FALSE(IntersectRect(&both, &r, &other))
                << "control " << GetDlgCtrlID(c) << " " << Describe(r) << " over "
                << Describe(other);
        }
        shown.push_back(r);
    }
    return shown.size();
}

// Setup's visible controls and its colour rows lie inside its window.
void ExpectSetupFits(HWND setup) {
    RECT window = ScreenRect(setup);
    for (HWND c = GetWindow(setup, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r = ScreenRect(c);
        EXPECT_TRUE(!IsWindowVisible(c) || Inside(r, window))
            << "control " << GetDlgCtrlID(c) << " " << Describe(r);
    }
    for (RECT row : ColorRowRects()) {
        MapWindowPoints(setup, HWND_DESKTOP, reinterpret_cast<POINT *>(&row), 2);
        EXPECT_TRUE(Inside(row, window)) << "colour row " << Describe(row);
    }
}

// The info page fills the screen below the taskbar down to its soft-key bar,
// which ends at the screen's bottom; the Hide button lies on the page.
void ExpectPageFillsScreen(HWND page) {
    HWND keys = FindWindowW(kSoftKeyBarClass, nullptr);
    ASSERT_NE(keys, nullptr);
    RECT area = PageArea();
    EXPECT_TRUE(WAIT_UNTIL(ScreenRect(page).right == area.right, 3000));
    RECT k = ScreenRect(keys), p = ScreenRect(page);
    EXPECT_EQ(Describe(k), Describe(RECT{0, area.bottom - BarHeight(), area.right, area.bottom}));
    EXPECT_EQ(Describe(p), Describe(RECT{0, area.top, area.right, k.top}));
    HWND hide = FindWindowExW(page, nullptr, L"Button", L"Hide");
    ASSERT_NE(hide, nullptr);
    EXPECT_TRUE(Inside(ScreenRect(hide), p)) << Describe(ScreenRect(hide));
}

class ScreenTest : public ProgramTest {
  protected:
    void Relaunch(DWORD align, DWORD position) {
        program_.Stop();
        WriteProgramSetting(L"Align", align);
        WriteProgramSetting(L"Position", position);
        ASSERT_TRUE(program_.Launch());
    }
};

TEST_F(ScreenTest, EveryPartOfTheProgramFitsTheScreen) {
    const char *asked = std::getenv("ZB_SCREEN");
    ASSERT_NE(asked, nullptr) << "runs on the screen scripts/screen-session.sh gives";
    // Wine may start the desktop at the X screen's size and give it the
    // asked one a moment later.
    SIZE s;
    char size[32];
    auto sized = [&] {
        s = Screen();
        std::snprintf(size, sizeof(size), "%ldx%ld", s.cx, s.cy);
        return std::strcmp(size, asked) == 0;
    };
    ASSERT_TRUE(WaitFor(sized, 5000, "the screen scripts/screen-session.sh asked for"))
        << size << ", asked " << asked;
    const char *depth = std::getenv("ZB_DEPTH");
    ASSERT_NE(depth, nullptr) << "the screen's bits per pixel, as screens.txt gives them";
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), std::atoi(depth)) << "bits per pixel";
    ReleaseDC(nullptr, screen);

    RECT bar = ScreenRect(program_.taskbar());
    EXPECT_EQ(Describe(bar), Describe(RECT{0, 0, s.cx, BarHeight()}));
    RECT g = ScreenRect(program_.gauge());
    EXPECT_EQ(g.left, static_cast<LONG>(kDefaultPosition[HiResScreen()])) << "aligned left";
    EXPECT_TRUE(Inside(g, bar)) << Describe(g);

    ASSERT_TRUE(ShowPage());
    ExpectPageFillsScreen(program_.mainWindow());

    HWND setup = OpenSetup();
    ASSERT_NE(setup, nullptr);
    RECT client;
    GetClientRect(setup, &client);
    MapWindowPoints(setup, HWND_DESKTOP, reinterpret_cast<POINT *>(&client), 2);
    EXPECT_EQ(Describe(client), Describe(PageArea())) << "no frame: a full-screen dialog";
    ExpectSetupFits(setup);
    HWND chooser = OpenChooser(setup);
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(ScreenRect(chooser).top, BarHeight()) << "right below the taskbar";
    EXPECT_GE(ExpectLaidOut(chooser), 11) << "labels, colour fields, Add, OK and Cancel";
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(ChooserGone());

    Relaunch(0, RightPosition());
    g = ScreenRect(program_.gauge());
    EXPECT_EQ(g.left, s.cx - RightPosition()) << "aligned right";
    EXPECT_TRUE(Inside(g, ScreenRect(program_.taskbar()))) << Describe(g);
}

// Right-aligned, in the WM6 style, the screen turned and turned back.
class TurnTest : public ProgramTest {
  protected:
    void BeforeLaunch() override {
        WriteProgramSetting(L"Align", 0);
        WriteProgramSetting(L"Position", RightPosition());
    }
    void TearDown() override {
        if (Screen().cx != start_.cx)
            TurnScreen();
    }

    // Turns the screen by the command, or by the device's rotation key;
    // afterwards the taskbar is the new width and the gauge as far from its
    // right end as before, blended with it.
    void Turn(bool byKey = false) {
        SIZE before = Screen();
        if (byKey)
            PressCtrlKey('R', true);
        else
            ASSERT_TRUE(TurnScreen());
        ASSERT_TRUE(WAIT_UNTIL(Screen().cx == before.cy, 3000)) << "the screen turned";
        ASSERT_EQ(Screen().cy, before.cx);
        HWND bar = program_.taskbar();
        EXPECT_TRUE(WAIT_UNTIL(ScreenRect(bar).right == Screen().cx, 3000));
        // The program's poll follows the taskbar's width.
        EXPECT_TRUE(
            WAIT_UNTIL(ScreenRect(program_.gauge()).left == Screen().cx - RightPosition(), 6000))
            << Describe(ScreenRect(program_.gauge()));
        RECT g = ScreenRect(program_.gauge());
        EXPECT_TRUE(
            WAIT_UNTIL(RowsBlendedWithTaskbar(program_.gauge()) >= g.bottom - g.top - 2, 6000))
            << "the background sampled beside the gauge's new place";
    }

    SIZE start_ = Screen();
};

TEST_F(TurnTest, InfoPageFillsTheTurnedScreen) {
    auto stored = ProgramSettings();
    ASSERT_TRUE(ShowPage());
    for (bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "turned back by the rotation key" : "turned by the command");
        Turn(byKey);
        ExpectPageFillsScreen(program_.mainWindow());
    }
    EXPECT_TRUE(ProgramSettings() == stored) << "a turn stores nothing";
}

TEST_F(TurnTest, SetupFillsTheTurnedScreenAndItsOkEndsIt) {
    auto stored = ProgramSettings();
    ASSERT_TRUE(ShowPage());
    for (const char *turn : {"turned", "turned back"}) {
        SCOPED_TRACE(turn);
        HWND setup = OpenSetup();
        ASSERT_NE(setup, nullptr);
        Turn();
        EXPECT_TRUE(WAIT_UNTIL(Describe(ScreenRect(setup)) == Describe(PageArea()), 3000))
            << Describe(ScreenRect(setup));
        ExpectSetupFits(setup);
        HWND chooser = OpenChooser(setup);
        ASSERT_NE(chooser, nullptr);
        ExpectLaidOut(chooser);
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(ChooserGone());
        ASSERT_TRUE(TapTaskbarOk());
        EXPECT_TRUE(WAIT_UNTIL(!IsWindow(setup), 5000)) << "ok ends Setup";
    }
    EXPECT_TRUE(ProgramSettings() == stored) << "a turn stores nothing";
}

// The system turns the screen, not the taskbar: a turn made while the shell
// restarts reaches every window, and the taskbar that comes back takes it.
TEST_F(TurnTest, ATurnDuringAShellRestartReachesEveryWindow) {
    ASSERT_TRUE(ShowPage());
    HWND setup = OpenSetup();
    ASSERT_NE(setup, nullptr);
    UINT restart = RegisterWindowMessageW(kShellRestartMessage);
    PostMessageW(program_.taskbar(), restart, 1500, 0);
    ASSERT_TRUE(WAIT_UNTIL(!IsWindow(program_.taskbar()), 3000));
    SIZE before = Screen();
    ASSERT_TRUE(TurnScreen());
    ASSERT_EQ(Screen().cx, before.cy);

    HWND gauge = nullptr;
    ASSERT_TRUE(WAIT_UNTIL((gauge = FindGauge()) != nullptr, 8000));
    HWND bar = GetParent(gauge);
    EXPECT_EQ(Describe(ScreenRect(bar)), Describe(RECT{0, 0, Screen().cx, BarHeight()}));
    EXPECT_TRUE(WAIT_UNTIL(ScreenRect(gauge).left == Screen().cx - RightPosition(), 6000))
        << Describe(ScreenRect(gauge));
    RECT g = ScreenRect(gauge);
    EXPECT_TRUE(WAIT_UNTIL(RowsBlendedWithTaskbar(gauge) >= g.bottom - g.top - 2, 6000))
        << "the background sampled from the turned screen";
    EXPECT_EQ(Describe(ScreenRect(setup)), Describe(PageArea()));
    ExpectPageFillsScreen(program_.mainWindow());
}

// Thirty times the command's turn and the rotation key's close together, the
// key handled while another process sends to the taskbar: after each pair
// the bars and the page are the screen's width.
TEST_F(TurnTest, TurnsByKeyAndCommandTogetherLeaveBarsAndPageTheScreensWidth) {
    ASSERT_TRUE(ShowPage());
    HWND keys = FindWindowW(kSoftKeyBarClass, nullptr);
    ASSERT_NE(keys, nullptr);
    HWND bar = program_.taskbar(), page = program_.mainWindow();
    for (int i = 0; i < 30; ++i) {
        HANDLE command = StartScreenTurn();
        ASSERT_NE(command, nullptr);
        // The key at another moment of the command's turn each time, while
        // its change reaches the program.
        Sleep(50 + 5 * (i % 10));
        PostMessageW(bar, WM_HOTKEY, kTurnHotKey, MAKELPARAM(kTurnKeyModifiers, kTurnKey));
        Settled(bar);
        WaitForSingleObject(command, DeadlineMs(15000));
        CloseHandle(command);
        LONG width = 0;
        EXPECT_TRUE(WaitFor(
            [&] {
                width = Screen().cx;
                return ScreenRect(bar).right == width && ScreenRect(page).right == width &&
                       ScreenRect(keys).right == width;
            },
            2000, "the taskbar, the page and the soft keys as wide as the screen"))
            << "turns " << 2 * i << " and " << 2 * i + 1 << ": screen " << width << ", taskbar "
            << ScreenRect(bar).right << ", page " << ScreenRect(page).right << ", soft keys "
            << ScreenRect(keys).right;
    }
}

// A message box asked before a turn lies inside the turned screen.
TEST_F(TurnTest, AQuestionAskedBeforeATurnLiesInsideTheTurnedScreen) {
    ASSERT_TRUE(ShowPage());
    HWND setup = OpenSetup();
    ASSERT_NE(setup, nullptr);
    ASSERT_TRUE(TurnScreen());
    ASSERT_TRUE(WAIT_UNTIL(Describe(ScreenRect(setup)) == Describe(PageArea()), 3000));
    ClickControl(FindWindowExW(setup, nullptr, L"Button", L"--"));
    HWND question = WaitForDialog(L"Defaults", 5000);
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(TurnScreen());
    ASSERT_TRUE(WAIT_UNTIL(Screen().cx == start_.cx, 3000));
    RECT screen = {0, 0, Screen().cx, Screen().cy};
    EXPECT_TRUE(WAIT_UNTIL(Inside(ScreenRect(question), screen), 3000))
        << Describe(ScreenRect(question));
    PostMessageW(question, WM_COMMAND, IDNO, 0);
}

} // namespace
