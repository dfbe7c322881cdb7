// The real program under what a device's user and shell do to it at awkward
// moments: a shell restart or a tap while Setup is open, starts that race,
// messages from other processes, a host root of any size.
#include "program_test.h"

#include "res/resource.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

// The Setup dialog is what a user sees in the middle of the screen, and keys
// go to it.
bool SetupInFront(HWND setup) {
    RECT r = ScreenRect(setup);
    POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return GetAncestor(WindowFromPoint(centre), GA_ROOT) == setup && GetForegroundWindow() == setup;
}

// Align 1 (left) or 0 (right), Position 100.
class ShellRestartTest : public SetupTest, public ::testing::WithParamInterface<DWORD> {
  protected:
    void BeforeLaunch() override {
        WriteProgramSetting(L"Align", GetParam());
        WriteProgramSetting(L"Position", 100);
    }
};

TEST_P(ShellRestartTest, SetupKeepsPositionAndFocusThroughAShellRestart) {
    ClickControl(GetDlgItem(setup_, IDC_LIFETIME));
    RECT before = ScreenRect(program_.gauge());

    UINT restart = RegisterWindowMessageW(kShellRestartMessage);
    PostMessageW(program_.taskbar(), restart, 1000, 0);
    ASSERT_TRUE(WAIT_UNTIL(!IsWindow(program_.gauge()), 3000));
    HWND gauge = nullptr;
    ASSERT_TRUE(WAIT_UNTIL((gauge = FindGauge()) != nullptr, 8000));
    RECT after = ScreenRect(gauge);
    EXPECT_TRUE(EqualRect(&before, &after))
        << "gauge left at " << after.left << ", was " << before.left;
    EXPECT_EQ(GetForegroundWindow(), setup_) << "the new taskbar takes no activation";

    // The next nudge starts from the saved position: the left arrow is one
    // pixel to the left, away from the right end in Right mode.
    RECT s = ScreenRect(GetDlgItem(setup_, IDC_POSITION));
    ClickAt(s.left + 2, (s.top + s.bottom) / 2);
    EXPECT_TRUE(WaitForSetting(L"Position", GetParam() ? 99 : 101));
    EXPECT_TRUE(WAIT_UNTIL(ScreenRect(gauge).left == before.left - 1, 3000));
}

INSTANTIATE_TEST_SUITE_P(BothAlignments, ShellRestartTest, ::testing::Values(1u, 0u));

TEST_F(SetupTest, TapOnTheGaugeKeepsSetupInFront) {
    ASSERT_TRUE(WAIT_UNTIL(SetupInFront(setup_), 3000));
    TapGauge();
    ASSERT_TRUE(Settled(program_.gauge())) << "the program took the tap";
    // The disabled page, once in front, hands the activation back to Setup.
    EXPECT_TRUE(WAIT_UNTIL(SetupInFront(setup_), 3000)) << "the page came over Setup";
    PostMessageW(setup_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(SetupGone());
}

TEST_F(ProgramTest, MessagesFromAnotherProcessNeitherRestartNorBreakIt) {
    CREATESTRUCTW create = {};
    HWND bar = FindWindowW(kSoftKeyBarClass, nullptr);
    ASSERT_NE(bar, nullptr);
    for (int i = 0; i < 3; ++i) {
        SendMessageW(program_.mainWindow(), WM_CREATE, 0, reinterpret_cast<LPARAM>(&create));
        SendMessageW(bar, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create));
        SendMessageW(bar, WM_NCDESTROY, 0, 0);
    }
    EXPECT_EQ(CountGauges(program_.taskbar()), 1) << "start-up ran again";
    EXPECT_EQ(CountWindows(kSoftKeyBarClass), 1);
    EXPECT_EQ(CountTaskbars(), 1);
    ASSERT_TRUE(ShowPage());
    HWND setup = OpenSetup();
    EXPECT_NE(setup, nullptr) << "the soft-key bar no longer opens its menu";
    if (setup)
        PostMessageW(setup, WM_SYSCOMMAND, SC_CLOSE, 0);
}

// The device program on the runner (its suites alone): a start whose memory
// runs out fails the main window's WM_CREATE, whose -1 must stop the window's
// creation, and the program ends having made nothing.
TEST(DeviceOnlyStart, WithoutMemoryMakesNoWindowAndEndsWithZero) {
    DeleteProgramSettings();
    SetEnvironmentVariableW(L"ZB_RUNNER_CALLOC_FAILS", L"1");
    Program program;
    bool started = program.Start();
    SetEnvironmentVariableW(L"ZB_RUNNER_CALLOC_FAILS", nullptr);
    ASSERT_TRUE(started);
    EXPECT_EQ(program.WaitExit(15000), 0u) << "ended as a start that made no window";
    EXPECT_EQ(CountWindows(kMainWindowClass), 0);
}

// The device program on the runner (its suites alone), the text it draws
// written to a file: the storage card's total on the info page, a double
// through _vsnwprintf's argument list, reads as the card's size.
class DeviceOnlyDrawnText : public ProgramTest {
  protected:
    void BeforeLaunch() override {
        wchar_t temp[MAX_PATH] = L"";
        GetTempPathW(MAX_PATH, temp);
        log_ = std::wstring(temp) + L"zb-drawn-text.txt";
        DeleteFileW(log_.c_str());
        SetEnvironmentVariableW(L"ZB_RUNNER_TEXT_LOG", log_.c_str());
    }
    std::wstring Drawn() {
        std::wstring text;
        if (FILE *file = _wfopen(log_.c_str(), L"rb")) {
            wchar_t unit;
            while (std::fread(&unit, 2, 1, file) == 1)
                text += unit;
            std::fclose(file);
        }
        return text;
    }
    std::wstring log_;
};

TEST_F(DeviceOnlyDrawnText, TheCardsTotalReadsAsItsSize) {
    SetEnvironmentVariableW(L"ZB_RUNNER_TEXT_LOG", nullptr);
    ULARGE_INTEGER total = {};
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"E:\\", nullptr, &total, nullptr));
    wchar_t expected[64];
    StringCchPrintfW(expected, ARRAYSIZE(expected), L"%.1fMb\n",
                     static_cast<double>(total.QuadPart / 1024) * (1.0 / 1024.0));
    ASSERT_TRUE(ShowPage());
    EXPECT_TRUE(WAIT_UNTIL(Drawn().find(expected) != std::wstring::npos, 3000)) << expected;
}

TEST(Starts, ManyAtOnceLeaveOneInstance) {
    DeleteProgramSettings();
    Burst burst = StartBurst(12);
    ASSERT_EQ(burst.startErrors, std::vector<DWORD>()) << "starts that could not be made";
    EXPECT_EQ(burst.mainWindows, 1);
    EXPECT_EQ(burst.taskbars, 1);
    EXPECT_EQ(burst.running, 1) << "instances still running";
    EXPECT_EQ(burst.exitCodes, std::vector<DWORD>(11, 0));
}

// scripts/big-root.sh makes a drive whose root holds 200,000 files.
class BigRootTest : public ProgramTest {
  protected:
    void SetUp() override {
        const char *root = std::getenv("ZB_BIG_ROOT");
        if (!root || !*root)
            GTEST_SKIP() << "no large root (scripts/big-root.sh makes one)";
        currentDir_ = L"R:\\";
        ProgramTest::SetUp();
    }
};

// The tap is answered with the page and its bars: the scan looks at the
// root's storage cards, not at its 200,000 files. How soon it answers is
// make bench's figure (docs/costs.md).
TEST_F(BigRootTest, TapIsAnsweredWithThePagesBars) {
    ASSERT_FALSE(MemoryBarShown(program_.mainWindow()));
    TapGauge();
    EXPECT_TRUE(WAIT_UNTIL(MemoryBarShown(program_.mainWindow()), 3000));
    // Under Wine 10 on a loaded host the tap's scan has once missed the card
    // (its drive's type comes from Wine's mount manager); the shown page's
    // next poll lists it.
    EXPECT_TRUE(WAIT_UNTIL(RowOutline(1) == kBlack, 5000)) << "the storage card's row";
}

// Setup's reset question ("--") waiting, and what a user can still tap
// meanwhile: the question stays in front, and no colour picked is lost.
class ResetQuestionTest : public SetupTest {
  protected:
    void SetUp() override {
        SetupTest::SetUp();
        if (HasFatalFailure())
            return;
        ClickControl(FindWindowExW(setup_, nullptr, L"Button", L"--"));
        question_ = WaitForDialog(L"Defaults", 5000);
        ASSERT_NE(question_, nullptr);
    }
    void TearDown() override {
        if (IsWindow(question_))
            PostMessageW(question_, WM_COMMAND, IDNO, 0);
        SetupTest::TearDown();
    }
    // The first row's swatch ("Background"), clear of the question.
    POINT BackgroundSwatch() {
        POINT swatch = {};
        SwatchPoint(L"Background", &swatch);
        ClientToScreen(setup_, &swatch);
        return swatch;
    }
    // Taps it; the chooser, if it opens.
    HWND TapBackgroundSwatch() {
        POINT swatch = BackgroundSwatch();
        ClickAt(swatch.x, swatch.y);
        return WaitForDialog(L"Color", 1000);
    }

    HWND question_ = nullptr;
};

TEST_F(ResetQuestionTest, StaysInFrontOfSetupAndItsChooser) {
    ClickControl(FindWindowExW(setup_, nullptr, L"Button", L"--"));
    if (HWND chooser = TapBackgroundSwatch()) {
        ASSERT_TRUE(EndChooser(chooser, IDOK));
    }
    EXPECT_EQ(CountWindows(L"#32770", L"Defaults"), 1) << "one question at a time";
    RECT q = ScreenRect(question_);
    POINT centre = {(q.left + q.right) / 2, (q.top + q.bottom) / 2};
    EXPECT_TRUE(WAIT_UNTIL(GetAncestor(WindowFromPoint(centre), GA_ROOT) == question_, 3000))
        << "the question is what the user sees";
}

TEST_F(ResetQuestionTest, AColourPickedWhileItWaitsIsKept) {
    constexpr COLORREF kPicked = RGB(0, 255, 0);
    HWND chooser = TapBackgroundSwatch();
    PostMessageW(question_, WM_COMMAND, IDYES, 0);
    if (chooser) {
        TypeColour(chooser, kPicked);
        PostMessageW(chooser, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(ChooserGone());
    }
    ASSERT_TRUE(WAIT_UNTIL(!IsWindow(question_), 3000));
    // The colour picked last, or the reset's when the chooser never opened;
    // Setup shows what is stored.
    COLORREF expected = chooser ? kPicked : kBlue;
    POINT swatch = BackgroundSwatch();
    DWORD stored = 0;
    EXPECT_TRUE(WAIT_UNTIL(ReadProgramSetting(L"Background", &stored) && stored == expected &&
                               ScreenPixel(swatch.x, swatch.y) == expected,
                           3000))
        << "stored " << std::hex << stored << (chooser ? ", picked " : ", reset ") << expected;
}

} // namespace
