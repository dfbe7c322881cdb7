// The real program on an emulated Pocket PC screen (480x640 or 240x320, by
// the virtual desktop this test runs in), looked at from outside.
#include "program_test.h"

#include "res/resource.h"

namespace {

TEST_F(ProgramTest, FirstStartPlacesTheGaugeAndStoresTheDefaults) {
    int width = GetSystemMetrics(SM_CXSCREEN);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), width * 4 / 3) << "a Pocket PC screen, not the host's";
    EXPECT_TRUE(width == 480 || width == 240);
    RECT g = ScreenRect(program_.gauge());
    EXPECT_TRUE(EqualRect(&g, &kDefaultGaugeBox[HiResScreen()])) << "from the left end";
    EXPECT_FALSE(IsWindowVisible(program_.mainWindow()));

    // The first run wrote every setting with its default.
    EXPECT_TRUE(WaitForSetting(L"Position", kDefaultPosition[HiResScreen()]));
    for (const StoredDefault &expected : kStoredDefaults)
        EXPECT_TRUE(WaitForSetting(expected.name, expected.value)) << expected.name;
}

TEST_F(ProgramTest, TapShowsInfoWindowAndHideHidesIt) {
    ASSERT_TRUE(ShowPage());
    HWND hide = FindWindowExW(program_.mainWindow(), nullptr, L"Button", L"Hide");
    ASSERT_NE(hide, nullptr);
    RECT h = ScreenRect(hide);
    EXPECT_EQ(h.right - h.left, Res(300, 200));
    ClickAt((h.left + h.right) / 2, (h.top + h.bottom) / 2);
    EXPECT_TRUE(MainWindowShown(false));
    EXPECT_TRUE(IsWindow(program_.mainWindow())) << "hiding never destroys the page";
}

TEST_F(ProgramTest, SecondStartExitsZeroAndLeavesOneMainWindow) {
    EXPECT_EQ(Program::RunSecondInstance(15000), 0u);
    EXPECT_EQ(CountWindows(kMainWindowClass), 1);
    EXPECT_EQ(program_.WaitExit(0), STILL_ACTIVE) << "the first instance runs on";
}

TEST_F(ProgramTest, CtrlQEndsTheProgramWithZero) {
    ASSERT_TRUE(ShowPage());
    PressCtrlKey('Q');
    EXPECT_EQ(program_.WaitExit(10000), 0u);
}

TEST_F(ProgramTest, QuitFromToolsMenuEndsTheProgramWithZero) {
    ASSERT_TRUE(ShowPage());
    HWND bar = FindWindowW(kSoftKeyBarClass, nullptr);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(WAIT_UNTIL(IsWindowVisible(bar) != FALSE, 3000))
        << "the soft-key bar shows with the page";
    RECT b = ScreenRect(bar);
    EXPECT_EQ(b.bottom, GetSystemMetrics(SM_CYSCREEN));
    // The "Tools" key is the left soft key; its popup opens upward with
    // "Quit" as its first item.
    ClickAt(b.left + (b.right - b.left) / 4, (b.top + b.bottom) / 2);
    ASSERT_TRUE(WAIT_UNTIL(FindWindowW(L"#32768", nullptr) != nullptr, 3000));
    HWND popup = FindWindowW(L"#32768", nullptr);
    EXPECT_LE(ScreenRect(popup).bottom, b.top + 1) << "the popup opens above the bar";
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_EQ(program_.WaitExit(10000), 0u);
}

TEST_F(ProgramTest, GaugeFollowsTheBatteryWithinOnePoll) {
    if (!HaveFakeBattery())
        GTEST_SKIP() << "no fake battery (needs a private mount namespace)";
    RECT g = ScreenRect(program_.gauge());
    auto pixel = [&](int x, int y) { return ScreenPixel(g.left + x, g.top + y); };
    auto chargeEdge = [&](int percent) { return 2 + Res(38, 16) * percent / 100; };

    ASSERT_TRUE(WAIT_UNTIL(pixel(3, 1) == kWhite, 5000)) << "frame in the not-charging colour";
    int edge = chargeEdge(57);
    EXPECT_EQ(pixel(edge - 1, 3), kBlue);
    EXPECT_EQ(pixel(edge, 3), PictureColor(kEmptyPartDefault));

    SetFakeBattery(63, true);
    EXPECT_TRUE(WAIT_UNTIL(pixel(3, 1) == kRed, 4000))
        << "frame turns to the charging colour within one poll";
    edge = chargeEdge(63);
    EXPECT_TRUE(WAIT_UNTIL(pixel(edge - 1, 3) == kBlue, 1000));
    EXPECT_EQ(pixel(edge, 3), PictureColor(kEmptyPartDefault));
}

TEST_F(ProgramTest, Wm6BackgroundBlendsWithTheTaskbarRows) {
    RECT g = ScreenRect(program_.gauge());
    // Once the first paint and the poll after it have settled. The text of a
    // full battery is the only thing that may reach column 0.
    EXPECT_TRUE(WAIT_UNTIL(RowsBlendedWithTaskbar(program_.gauge()) >= g.bottom - g.top - 2, 3000));
}

} // namespace

namespace {

TEST_F(ProgramTest, TapShowsDeviceMemoryAndTheStorageCardWhileItIsIn) {
    ASSERT_TRUE(ShowPage());
    EXPECT_TRUE(WAIT_UNTIL(MemoryBarShown(program_.mainWindow()), 3000)) << "Device Memory";
    // As in BigRootTest: a scan may miss the card once; the next poll shows it.
    EXPECT_TRUE(WAIT_UNTIL(RowOutline(1) == kBlack, 5000))
        << "the removable drive as a storage card";
    EXPECT_NE(RowOutline(2), kBlack) << "nothing more";

    StorageCardOut card;
    ASSERT_TRUE(card.out());
    TapGauge();
    EXPECT_TRUE(WAIT_UNTIL(RowOutline(1) != kBlack, 3000)) << "the card taken out, at the next tap";
}

TEST_F(SetupTest, SetupMovesTheGaugeAtOnceAndSavesOnDone) {
    int width = GetSystemMetrics(SM_CXSCREEN), gauge = Res(44, 22);

    ClickControl(GetDlgItem(setup_, IDC_ALIGN_RIGHT));
    EXPECT_TRUE(WAIT_UNTIL(ScreenRect(program_.gauge()).left == width - gauge, 3000))
        << "clamped to the right end and moved at once";

    // The scroll bar's left arrow: one pixel further from the right end.
    RECT s = ScreenRect(GetDlgItem(setup_, IDC_POSITION));
    ClickAt(s.left + 2, (s.top + s.bottom) / 2);
    EXPECT_TRUE(WAIT_UNTIL(ScreenRect(program_.gauge()).left == width - gauge - 1, 3000));
    EXPECT_TRUE(WaitForSetting(L"Position", gauge + 1));
    EXPECT_TRUE(WaitForSetting(L"Align", 1)) << "Align waits for Done";

    // Done: the caption's button, which sends OK.
    PostMessageW(setup_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(SetupGone());
    EXPECT_TRUE(WaitForSetting(L"Align", 0));
    EXPECT_EQ(ScreenRect(program_.gauge()).left, width - gauge - 1);
}

// Nudged to the far end with Right alignment, "Position" is the screen's
// width; the next start must keep it and put the gauge at x 0.
TEST_F(SetupTest, RightAlignedFarEndSurvivesARestart) {
    DWORD width = GetSystemMetrics(SM_CXSCREEN);
    ClickControl(GetDlgItem(setup_, IDC_ALIGN_RIGHT));
    ASSERT_TRUE(WAIT_UNTIL(
        ScreenRect(program_.gauge()).left == static_cast<LONG>(width) - Res(44, 22), 3000));
    for (DWORD i = 0; i < width; ++i)
        PostMessageW(setup_, WM_HSCROLL, SB_LINELEFT, 0);
    DWORD position = 0;
    EXPECT_TRUE(WAIT_UNTIL(ReadProgramSetting(L"Position", &position) && position == width, 10000));
    PostMessageW(setup_, WM_SYSCOMMAND, SC_CLOSE, 0); // Done saves "Align"
    ASSERT_TRUE(SetupGone());

    program_.Stop();
    ASSERT_TRUE(program_.Launch());
    EXPECT_EQ(ScreenRect(program_.gauge()).left, 0);
    EXPECT_TRUE(WaitForSetting(L"Position", width));
}

// Opens the "Full_Part" chooser and picks green in it.
HWND OpenChooserAndPickGreen(HWND setup) {
    HWND chooser = OpenChooser(setup);
    if (!chooser)
        return nullptr;
    TypeColour(chooser, kGreen);
    Settled(chooser);
    return chooser;
}

TEST_F(SetupTest, ChosenColourReachesTheGaugeAndTheRegistry) {
    HWND chooser = OpenChooserAndPickGreen(setup_);
    ASSERT_NE(chooser, nullptr);
    ASSERT_TRUE(EndChooser(chooser, IDOK));
    EXPECT_TRUE(WaitForSetting(L"Full_Part", kGreen));
    RECT g = ScreenRect(program_.gauge());
    EXPECT_TRUE(WAIT_UNTIL(ScreenPixel(g.left + 4, g.top + 3) == kGreen, 5000))
        << "the gauge's charge in the new colour";
}

TEST_F(SetupTest, CancelledChooserChangesNothing) {
    HWND chooser = OpenChooserAndPickGreen(setup_);
    ASSERT_NE(chooser, nullptr);
    ASSERT_TRUE(EndChooser(chooser, IDCANCEL));
    EXPECT_TRUE(WaitForSetting(L"Full_Part", kBlue)) << "the colour it had, written again";
    RECT g = ScreenRect(program_.gauge());
    EXPECT_EQ(ScreenPixel(g.left + 4, g.top + 3), kBlue) << "the gauge keeps its colour";
}

// The taskbar shows a full-screen dialog's "ok" at its right end; a tap
// there is IDOK.
TEST_F(SetupTest, TheTaskbarsOkEndsSetup) {
    ClickControl(GetDlgItem(setup_, IDC_STYLE_WM5)); // saved only by OK
    ASSERT_TRUE(TapTaskbarOk()) << "an \"ok\" in the taskbar";
    EXPECT_TRUE(SetupGone());
    EXPECT_TRUE(WaitForSetting(L"Style", 0)) << "ended through IDOK";
    EXPECT_EQ(program_.WaitExit(0), STILL_ACTIVE);
}

// The Setup template's controls, read from the program's own resources.
std::vector<TemplateControl> SetupTemplate() {
    std::vector<TemplateControl> controls;
    HMODULE program = LoadLibraryExW(ProgramResources().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (const DLGTEMPLATE *dialog = program ? FindDialogTemplate(program, IDD_SETUP) : nullptr)
        controls = TemplateControls(dialog);
    if (program)
        FreeLibrary(program);
    return controls;
}

// Labels and radio buttons are drawn on the page's white, as on the device:
// the top row of each, above its text, is white from end to end.
TEST_F(SetupTest, LabelsAndRadiosLieOnThePagesWhite) {
    std::vector<RECT> boxes;
    for (HWND c = GetWindow(setup_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[16] = L"";
        GetClassNameW(c, cls, ARRAYSIZE(cls));
        LONG type = GetWindowLongW(c, GWL_STYLE) & 0xF;
        if ((lstrcmpiW(cls, L"Static") == 0 && type != SS_ICON) ||
            (lstrcmpiW(cls, L"Button") == 0 && type == BS_AUTORADIOBUTTON))
            boxes.push_back(ScreenRect(c));
    }
    size_t expected = 0;
    for (const TemplateControl &t : SetupTemplate()) {
        expected += (t.classAtom == kStaticAtom && (t.style & SS_TYPEMASK) != SS_ICON) ||
                    (t.classAtom == kButtonAtom && (t.style & 0xF) == BS_AUTORADIOBUTTON);
    }
    ASSERT_EQ(boxes.size(), expected) << "the template's labels and radio buttons";
    auto whiteTopRows = [&] {
        for (const RECT &r : boxes) {
            ScreenCapture row(RECT{r.left, r.top, r.right, r.top + 1});
            for (int x = r.left; x < r.right; ++x)
                if (row.at(x, r.top) != kWhite)
                    return false;
        }
        return true;
    };
    EXPECT_TRUE(WaitFor(whiteTopRows, 3000, "the top rows to be white"));
}

// The device's dialog units: from the template's 8-point font at 96 dpi,
// Tahoma of 11 pixels, doubled on the 192-dpi VGA screen.
struct DialogUnit {
    double x, y;
};
DialogUnit DeviceDialogUnit(HWND taskbar) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font =
        CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    SIZE letters;
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                          &letters);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    int averageWidth = (letters.cx / 26 + 1) / 2; // as the dialog manager rounds it
    int scale = ScreenRect(taskbar).bottom >= 32 ? 2 : 1;
    return {averageWidth / 4.0 * scale, tm.tmHeight / 8.0 * scale};
}

TEST_F(SetupTest, SetupTemplateScalesWithTheScreenDensity) {
    DialogUnit unit = DeviceDialogUnit(program_.taskbar());
    POINT origin = {0, 0};
    ClientToScreen(setup_, &origin);
    std::vector<TemplateControl> controls = SetupTemplate();
    ASSERT_FALSE(controls.empty());
    for (const TemplateControl &t : controls) {
        if (t.id == 0xFFFF)
            continue;
        RECT r = ScreenRect(GetDlgItem(setup_, t.id));
        const RECT &u = t.units;
        double expected[4] = {u.left * unit.x, u.top * unit.y, (u.right - u.left) * unit.x,
                              (u.bottom - u.top) * unit.y};
        double actual[4] = {double(r.left - origin.x), double(r.top - origin.y),
                            double(r.right - r.left), double(r.bottom - r.top)};
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(actual[i], expected[i], expected[i] * 0.08 + 1)
                << "control " << t.id << ", field " << i;
    }
}

// A label box on the screen holds its name whole: ink inside, none in the
// box's last three columns.
bool HoldsItsNameWhole(const RECT &box) {
    ScreenCapture shot(box);
    int ink = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            if (shot.at(x, y) == kWhite)
                continue;
            if (x >= box.right - 3)
                return false;
            ++ink;
        }
    }
    return ink > 20;
}

// No colour name is cut short. Until the page is painted, Wine 10 shows black
// where it will be: the rows are read until they all hold their names.
TEST_F(SetupTest, NoColourNameIsCutShort) {
    POINT origin = {0, 0};
    ClientToScreen(setup_, &origin);
    std::vector<RECT> rects = ColorRowRects();
    size_t row = 0;
    auto allWhole = [&] {
        for (row = 0; row < rects.size() / 2; ++row) {
            RECT label = rects[2 * row];
            OffsetRect(&label, origin.x, origin.y);
            if (!HoldsItsNameWhole(label))
                return false;
        }
        return true;
    };
    EXPECT_TRUE(WaitFor(allWhole, 3000, "every colour row to hold its name whole"))
        << "row " << row;
}

} // namespace

namespace {

TEST_F(ProgramTest, AboutOpensWithCtrlAAndClosesWithItsOk) {
    ASSERT_TRUE(ShowPage());
    PressCtrlKey('A');
    HWND about = WaitForDialog(L"About", 3000); // full-screen by then
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(ScreenRect(about).right - ScreenRect(about).left, GetSystemMetrics(SM_CXSCREEN));
    PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(Settled(about));
    EXPECT_TRUE(IsWindow(about)) << "only OK closes About";
    PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0); // the caption's OK
    EXPECT_TRUE(WAIT_UNTIL(FindWindowW(L"#32770", L"About") == nullptr, 3000));
    EXPECT_EQ(program_.WaitExit(0), STILL_ACTIVE);
}

TEST_F(ProgramTest, GaugeComesBackAfterAShellRestart) {
    RECT before = ScreenRect(program_.gauge());
    UINT restart = RegisterWindowMessageW(kShellRestartMessage);
    PostMessageW(program_.taskbar(), restart, 3000, 0);
    ASSERT_TRUE(WAIT_UNTIL(!IsWindow(program_.gauge()), 3000)) << "the gauge goes with its taskbar";
    PollNow();
    EXPECT_EQ(program_.WaitExit(0), STILL_ACTIVE) << "the program keeps polling meanwhile";
    HWND gauge = nullptr;
    ASSERT_TRUE(WAIT_UNTIL((gauge = FindGauge()) != nullptr, 8000))
        << "the next poll after the restart puts a new gauge in";
    HWND taskbar = GetParent(gauge);
    RECT after = ScreenRect(gauge);
    EXPECT_TRUE(EqualRect(&before, &after)) << "same settings, same place";
    PollNow();
    PollNow();
    EXPECT_EQ(CountGauges(taskbar), 1) << "once, also after the next polls";
    EXPECT_TRUE(WAIT_UNTIL(ScreenPixel(after.left + 3, after.top + 1) == kWhite, 5000))
        << "and it paints";
}

} // namespace
