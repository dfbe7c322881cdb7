// What other processes can do to the running program: commands it would not
// get from its own user at that moment, messages that lie about a window's
// life, objects under its instance name, its settings key deleted. Run on one
// screen: none of it depends on the resolution.
#include "program_test.h"

#include "res/resource.h"

namespace {

// The name by which instances of the program find each other, and the one
// it used before, which any program may have taken.
constexpr wchar_t kInstanceName[] = L"Local\\tavrel.ZemloBattery.Instance";
constexpr wchar_t kOldInstanceName[] = L"ZemloBattery";

class OtherProcessTest : public ProgramTest {};
class OtherProcessSetupTest : public SetupTest {};

// A window of this process, in front.
class ForegroundWindow {
  public:
    ForegroundWindow() {
        hwnd_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                nullptr, nullptr, nullptr);
        SetForegroundWindow(hwnd_);
    }
    ~ForegroundWindow() { DestroyWindow(hwnd_); }
    HWND get() const { return hwnd_; }

  private:
    HWND hwnd_;
};

// Clicks "WM5", which only OK saves, and waits until the click has landed: a
// message posted meanwhile would be handled before it.
bool ClickWm5(HWND setup) {
    HWND wm5 = GetDlgItem(setup, IDC_STYLE_WM5);
    ClickControl(wm5);
    return WAIT_UNTIL(SendMessageW(wm5, BM_GETCHECK, 0, 0) == BST_CHECKED, 3000);
}

TEST_F(OtherProcessSetupTest, SetupRequestedAgainComesToTheFrontOnce) {
    ASSERT_TRUE(ClickWm5(setup_));
    ForegroundWindow other;
    ASSERT_EQ(GetForegroundWindow(), other.get());
    for (int i = 0; i < 3; ++i)
        PostMessageW(program_.mainWindow(), WM_COMMAND, IDM_SETUP, 0);
    PostMessageW(program_.mainWindow(), WM_COMMAND, IDM_ABOUT, 0);
    EXPECT_TRUE(WAIT_UNTIL(GetForegroundWindow() == setup_, 3000));
    ASSERT_TRUE(Settled(program_.mainWindow())) << "a second dialog shows by now, were one opened";
    EXPECT_EQ(CountWindows(L"#32770", L"Setup"), 1);
    EXPECT_EQ(CountWindows(L"#32770", L"About"), 0);

    PostMessageW(setup_, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(SetupGone());
    EXPECT_TRUE(WaitForSetting(L"Style", 0)) << "as the user left it";
}

TEST_F(OtherProcessSetupTest, OkStoresTheSettingsAfterTheKeyWentAway) {
    ASSERT_TRUE(ClickWm5(setup_));
    DeleteProgramSettings();
    PostMessageW(setup_, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(SetupGone());
    EXPECT_TRUE(WaitForSetting(L"LifeTime", 350));
    EXPECT_TRUE(WaitForSetting(L"Style", 0));
    EXPECT_TRUE(WaitForSetting(L"Align", 1));
}

TEST_F(OtherProcessTest, ForeignNcDestroyLeavesTheProgramWorking) {
    if (!HaveFakeBattery())
        GTEST_SKIP() << "no fake battery (needs a private mount namespace)";
    SendMessageW(program_.mainWindow(), WM_NCDESTROY, 0, 0);
    SetFakeBattery(57, true);
    RECT g = ScreenRect(program_.gauge());
    EXPECT_TRUE(WAIT_UNTIL(ScreenPixel(g.left + 3, g.top + 1) == kRed, 5000))
        << "the gauge follows the battery";

    ASSERT_TRUE(ShowPage());
    HWND setup = OpenSetup();
    ASSERT_NE(setup, nullptr);
    SendMessageW(setup, WM_NCDESTROY, 0, 0);
    ASSERT_TRUE(TapTaskbarOk());
    EXPECT_TRUE(SetupGone());
    EXPECT_EQ(Program::RunSecondInstance(15000), 0u) << "the main window is still found";
}

TEST_F(OtherProcessTest, ForeignCloseLeavesTheTaskbar) {
    SendMessageW(program_.taskbar(), WM_CLOSE, 0, 0);
    SendMessageW(program_.taskbar(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(IsWindow(program_.taskbar()));
    EXPECT_EQ(CountGauges(program_.taskbar()), 1);
    EXPECT_EQ(program_.WaitExit(0), STILL_ACTIVE);
}

TEST_F(OtherProcessSetupTest, ChooserIgnoresAForeignInitialisation) {
    HWND chooser = OpenChooser(setup_);
    ASSERT_NE(chooser, nullptr);
    SendMessageW(chooser, WM_INITDIALOG, 0, 0);
    ASSERT_TRUE(EndChooser(chooser, IDCANCEL)) << "Cancel still ends it";

    chooser = OpenChooser(setup_);
    ASSERT_NE(chooser, nullptr);
    SendMessageW(chooser, WM_INITDIALOG, 0, 0x12345678); // no request of the chooser's
    SetDlgItemInt(chooser, COLOR_GREEN, 255, FALSE);
    ASSERT_TRUE(EndChooser(chooser, IDOK));
    EXPECT_TRUE(WaitForSetting(L"Full_Part", RGB(0, 255, 255)));
    EXPECT_EQ(program_.WaitExit(0), STILL_ACTIVE);
}

TEST_F(OtherProcessSetupTest, PastedComponentsAreClampedAndShown) {
    HWND chooser = OpenChooser(setup_);
    ASSERT_NE(chooser, nullptr);
    const struct {
        int field;
        const wchar_t *pasted, *shown;
    } cases[] = {
        {COLOR_RED, L"999", L"255"}, {COLOR_GREEN, L"-1", L"0"}, {COLOR_BLUE, L"12a", L"12"}};
    for (const auto &c : cases) {
        SetDlgItemTextW(chooser, c.field, c.pasted);
        wchar_t shown[16] = L"";
        GetDlgItemTextW(chooser, c.field, shown, ARRAYSIZE(shown));
        EXPECT_STREQ(shown, c.shown) << "pasted " << c.pasted;
    }
    ASSERT_TRUE(EndChooser(chooser, IDOK));
    EXPECT_TRUE(WaitForSetting(L"Full_Part", RGB(255, 0, 12)));
}

TEST_F(OtherProcessTest, SetupOpensAfterAForeignDisable) {
    EnableWindow(program_.mainWindow(), FALSE);
    PostMessageW(program_.mainWindow(), WM_COMMAND, IDM_SETUP, 0);
    HWND setup = WaitForDialog(L"Setup", 5000);
    ASSERT_NE(setup, nullptr);
    PostMessageW(setup, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(SetupGone());
}

TEST_F(OtherProcessSetupTest, ForeignEnableLetsNoSecondSetupNest) {
    ASSERT_TRUE(ClickWm5(setup_));
    EnableWindow(program_.mainWindow(), TRUE);
    PostMessageW(program_.mainWindow(), WM_COMMAND, IDM_SETUP, 0);
    ASSERT_TRUE(Settled(program_.mainWindow())) << "a second dialog shows by now, were one opened";
    EXPECT_EQ(CountWindows(L"#32770", L"Setup"), 1);
    PostMessageW(setup_, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(SetupGone());
    EXPECT_TRUE(WaitForSetting(L"Style", 0)) << "as the user left it";
}

TEST_F(OtherProcessSetupTest, SwatchTapPostedDuringTheChooserOpensNoSecond) {
    HWND chooser = OpenChooser(setup_);
    ASSERT_NE(chooser, nullptr);
    POINT swatch = {};
    SwatchPoint(L"Full_Part", &swatch);
    PostMessageW(setup_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(swatch.x, swatch.y));
    ASSERT_TRUE(Settled(setup_)) << "Setup took the tap";
    EXPECT_EQ(CountWindows(L"#32770", L"Color"), 1);
    PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(ChooserGone());
}

TEST_F(OtherProcessSetupTest, ForeignInitialisationKeepsATypedLifetime) {
    SetDlgItemInt(setup_, IDC_LIFETIME, 999, FALSE);
    SendMessageW(setup_, WM_INITDIALOG, 0, 0);
    EXPECT_EQ(GetDlgItemInt(setup_, IDC_LIFETIME, nullptr, FALSE), 999u);
}

// A key that can be read and not written: what it holds still counts, and a
// change lasts for the run without being stored.
class ReadOnlySettingsTest : public OtherProcessSetupTest {
    void BeforeLaunch() override {
        WriteProgramSetting(L"Position", 100);
        WriteProgramSetting(L"Style", 2);
        ASSERT_TRUE(MakeProgramSettingsReadOnly());
    }
};

TEST_F(ReadOnlySettingsTest, StoredSettingsCountAndANudgeLastsTheRun) {
    auto gaugeOffset = [&] {
        return ScreenRect(program_.gauge()).left - ScreenRect(program_.taskbar()).left;
    };
    EXPECT_EQ(gaugeOffset(), 100);
    EXPECT_EQ(SendDlgItemMessageW(setup_, IDC_STYLE_CUSTOM, BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageW(setup_, WM_HSCROLL, SB_LINERIGHT,
                 reinterpret_cast<LPARAM>(GetDlgItem(setup_, IDC_POSITION)));
    ASSERT_TRUE(TapTaskbarOk());
    ASSERT_TRUE(SetupGone());
    EXPECT_EQ(gaugeOffset(), 101);
    EXPECT_EQ(program_.WaitExit(0), STILL_ACTIVE);
    EXPECT_TRUE(WaitForSetting(L"Position", 100));
    EXPECT_TRUE(WaitForSetting(L"Style", 2));
    DWORD lifeTime = 0;
    EXPECT_FALSE(ReadProgramSetting(L"LifeTime", &lifeTime)) << "nothing written";
}

// A mutex or an event under one of the names, held by this process.
class OtherProcessStartTest : public ::testing::TestWithParam<bool> {
  protected:
    void Squat(const wchar_t *name) {
        squatter_ = GetParam() ? CreateMutexW(nullptr, TRUE, name)
                               : CreateEventW(nullptr, TRUE, FALSE, name);
    }
    void TearDown() override {
        if (squatter_)
            CloseHandle(squatter_);
    }
    HANDLE squatter_ = nullptr;
};

TEST_P(OtherProcessStartTest, StartsWhileTheOldNameIsTakenLeaveOneInstance) {
    DeleteProgramSettings();
    Squat(kOldInstanceName);
    ASSERT_NE(squatter_, nullptr);
    Burst burst = StartBurst(8);
    ASSERT_EQ(burst.startErrors, std::vector<DWORD>()) << "starts that could not be made";
    EXPECT_EQ(burst.mainWindows, 1);
    EXPECT_EQ(burst.taskbars, 1);
    EXPECT_EQ(burst.running, 1);
    EXPECT_EQ(burst.exitCodes, std::vector<DWORD>(7, 0)) << "no start crashed";
}

TEST_P(OtherProcessStartTest, NameHeldWithoutAnInstanceSaysWhyAndFails) {
    Squat(kInstanceName);
    ASSERT_NE(squatter_, nullptr);
    Program program;
    ASSERT_TRUE(program.Start());
    HWND box = WaitForDialog(L"ZemloBattery", 15000);
    ASSERT_NE(box, nullptr) << "no word to the user";

    HMODULE exe = LoadLibraryExW(ProgramResources().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    wchar_t expected[256] = L"", shown[256] = L"";
    LoadStringW(exe, IDS_START_BLOCKED, expected, ARRAYSIZE(expected));
    FreeLibrary(exe);
    GetDlgItemTextW(box, 0xFFFF, shown, ARRAYSIZE(shown)); // the message box's text
    EXPECT_STRNE(expected, L"");
    EXPECT_STREQ(shown, expected);
    EXPECT_EQ(CountWindows(kMainWindowClass), 0);

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    DWORD code = program.WaitExit(10000);
    EXPECT_NE(code, 0u);
    EXPECT_NE(code, STILL_ACTIVE);
}

INSTANTIATE_TEST_SUITE_P(MutexOrEvent, OtherProcessStartTest, ::testing::Bool());

} // namespace
