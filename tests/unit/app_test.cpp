// Start-up and the main window, in process against a test taskbar: the
// creation sequence, the Hide button, commands, the single instance rule.
#include "fixtures.h"

#include "app/mainwnd.h"
#include "app/startup.h"
#include "gauge/gauge.h"
#include "res/resource.h"
#include "settings/colors.h"
#include "settings/registry.h"

namespace {

// On a page of the mode's width or about it: centred (an odd pixel to the
// right, and a page a pixel narrower than the button starts it at the page's
// left edge, not beyond), at one distance above the bottom whatever the height.
TEST(HideButtonGeometry, CentredAboveTheBottomNeverLeftOfThePage) {
    for (BYTE mode : {1, 0}) {
        g_hiRes = mode;
        RECT first = HideButtonRect(RECT{0, 0, 480, 536});
        int button = first.right - first.left;
        for (int width : {mode ? 481 : 241, mode ? 480 : 240, button - 1}) {
            for (int height : {536, 294}) {
                SCOPED_TRACE(testing::Message()
                             << "mode " << int(mode) << ", " << width << "x" << height);
                RECT rc = HideButtonRect(RECT{0, 0, width, height});
                EXPECT_EQ(rc.right - rc.left, first.right - first.left);
                EXPECT_EQ(rc.bottom - rc.top, first.bottom - first.top);
                EXPECT_EQ(height - rc.top, 536 - first.top);
                EXPECT_GE(rc.left, 0);
                int rightMargin = width - rc.right;
                if (rightMargin >= 0) {
                    EXPECT_TRUE(rightMargin == rc.left || rightMargin == rc.left + 1);
                }
            }
        }
    }
    g_hiRes = 1;
}

class MainWindowTest : public GaugeTest {
  protected:
    void Start(int width, int height) {
        DeleteSettingsKey();
        taskbar_ = std::make_unique<TestTaskbar>(width, height);
        ASSERT_TRUE(InitInstance(GetModuleHandleW(nullptr), SW_SHOW));
        Pump();
    }
    void TearDown() override {
        if (g_mainWnd) {
            KillTimer(g_mainWnd, 1);
            DestroyWindow(g_mainWnd);
        }
        Pump();
        GaugeTest::TearDown();
    }
};

TEST_F(MainWindowTest, LowResTaskbarGivesLowResLayoutAndHiddenMainWindow) {
    FakePower power(57, 0, 8208);
    Start(240, 26);
    EXPECT_EQ(g_hiRes, 0);
    EXPECT_FALSE(IsWindowVisible(g_mainWnd));
    ASSERT_NE(g_menuBar, nullptr);
    EXPECT_FALSE(IsWindowVisible(g_menuBar)) << "the menu bar hides with its owner";

    RECT client;
    GetClientRect(g_mainWnd, &client);
    RECT button = RectIn(g_hideButton, g_mainWnd);
    // The button was placed before the window was shortened by the menu bar.
    RECT bar;
    GetWindowRect(g_menuBar, &bar);
    RECT unshortened = client;
    unshortened.bottom += bar.bottom - bar.top;
    RECT placed = HideButtonRect(unshortened);
    EXPECT_TRUE(EqualRect(&button, &placed));

    // The font by its character height; button and font are smaller than
    // the hi-resolution ones.
    auto fontHeight = [] {
        LOGFONTW lf;
        EXPECT_EQ(GetObjectW(g_infoFont, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
        EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
        return lf.lfHeight;
    };
    LONG lowResFont = fontHeight();
    g_hiRes = 1;
    StartInfoFont();
    LONG hiResFont = fontHeight();
    RECT hiResButton = HideButtonRect(unshortened);
    g_hiRes = 0;
    EXPECT_LT(lowResFont, 0);
    EXPECT_GT(lowResFont, hiResFont);
    EXPECT_LT(button.right - button.left, hiResButton.right - hiResButton.left);
    EXPECT_LT(button.bottom - button.top, hiResButton.bottom - hiResButton.top);

    // The first poll ran inside the creation.
    EXPECT_EQ(g_batteryPercent, 57);
    EXPECT_EQ(g_batteryLifeTime, 8208);
    DWORD position;
    ASSERT_TRUE(ReadStoredValue(kValuePosition, &position));
    EXPECT_EQ(position, 2u);
}

TEST_F(MainWindowTest, MainWindowFillsScreenBelowTaskbarLessMenuBar) {
    FakePower power;
    Start(480, 52);
    RECT window, bar;
    GetWindowRect(g_mainWnd, &window);
    GetWindowRect(g_menuBar, &bar);
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.top, 52);
    EXPECT_EQ(window.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(window.bottom, bar.top);
    EXPECT_EQ(bar.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(GetWindowLongW(g_mainWnd, GWL_STYLE) & WS_CAPTION, 0) << "no caption, as on CE";
}

TEST_F(MainWindowTest, HideButtonHidesAndSecondInstanceIsRefused) {
    FakePower power;
    Start(480, 52);
    ShowWindow(g_mainWnd, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(g_menuBar));
    SendMessageW(g_mainWnd, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(g_hideButton));
    EXPECT_FALSE(IsWindowVisible(g_mainWnd));
    EXPECT_FALSE(IsWindowVisible(g_menuBar));

    HWND first = g_mainWnd;
    EXPECT_FALSE(InitInstance(GetModuleHandleW(nullptr), SW_SHOW));
    EXPECT_EQ(g_mainWnd, first) << "no second main window";
}

TEST_F(MainWindowTest, SettingChangeAsksTheNextPollForARepaint) {
    FakePower power;
    Start(480, 52);
    ValidateGauge();
    SendMessageW(g_mainWnd, WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(g_gaugeRepaint, 1);
    EXPECT_FALSE(GaugeHasUpdate()) << "the request waits for the next tick";
    SendMessageW(g_mainWnd, WM_TIMER, 1, 0);
    EXPECT_TRUE(GaugeHasUpdate());
    EXPECT_EQ(g_gaugeRepaint, 0);
}

TEST_F(MainWindowTest, QuitPostsQuitWithoutDestroyingAndCtrlQCloses) {
    FakePower power;
    Start(480, 52);
    SendMessageW(g_mainWnd, WM_COMMAND, MAKEWPARAM(IDM_QUIT, 0), 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_TRUE(IsWindow(g_mainWnd));
    EXPECT_TRUE(IsWindow(g_menuBar));

    HWND bar = g_menuBar;
    SendMessageW(g_mainWnd, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    EXPECT_FALSE(IsWindow(g_mainWnd));
    EXPECT_FALSE(IsWindow(bar)) << "destruction takes the menu bar along";
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    g_mainWnd = nullptr;
}

TEST(AboutDialog, OnlyOkCloses) {
    g_instance = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(g_instance, MAKEINTRESOURCEW(IDD_ABOUT), RT_DIALOG);
    ASSERT_NE(res, nullptr);
    auto *tmpl = static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(g_instance, res)));
    HWND dlg = CreateDialogIndirectParamW(g_instance, tmpl, nullptr, AboutDlgProc, 0);
    ASSERT_NE(dlg, nullptr);
    RECT rc;
    GetWindowRect(dlg, &rc);
    EXPECT_EQ(rc.right - rc.left, GetSystemMetrics(SM_CXSCREEN)) << "sized to the full screen";
    EXPECT_FALSE(AboutDlgProc(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0));
    EXPECT_TRUE(AboutDlgProc(dlg, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0));
    DestroyWindow(dlg);
}

// A DIALOG template as on the device: 16-bit control ids, so every control is
// 0xFFFF, and the icon shown at the size its template gives it (the ICON
// statement would drop it).
TEST(AboutDialog, SixteenBitIdsAndTheIconsSize) {
    const DLGTEMPLATE *tmpl = FindDialogTemplate(GetModuleHandleW(nullptr), IDD_ABOUT);
    ASSERT_NE(tmpl, nullptr);
    ASSERT_NE(reinterpret_cast<const WORD *>(tmpl)[1], 0xFFFF) << "not a DIALOGEX";
    EXPECT_EQ(tmpl->dwExtendedStyle, static_cast<DWORD>(WS_EX_CAPTIONOKBTN));
    std::vector<TemplateControl> controls = TemplateControls(tmpl);
    HWND dlg =
        CreateDialogIndirectParamW(GetModuleHandleW(nullptr), tmpl, nullptr, AboutDlgProc, 0);
    ASSERT_NE(dlg, nullptr);
    size_t shown = 0;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT), ++shown)
        EXPECT_EQ(GetDlgCtrlID(c), 0xFFFF);
    EXPECT_EQ(shown, controls.size());
    HWND icon = GetWindow(dlg, GW_CHILD);
    ASSERT_EQ(GetWindowLongW(icon, GWL_STYLE) & SS_TYPEMASK, SS_ICON);
    RECT expected = controls.front().units, actual = RectIn(icon, dlg);
    EXPECT_FALSE(IsRectEmpty(&expected)) << "the template keeps the icon's size";
    MapDialogRect(dlg, &expected);
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    DestroyWindow(dlg);
}

// The soft-key bar's definition is read by the shell: the end-to-end tests
// open Setup through it.
TEST(Resources, Accelerators) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HACCEL accel = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ACCEL entries[4];
    ASSERT_EQ(CopyAcceleratorTableW(accel, entries, 4), 2);
    EXPECT_EQ(entries[0].key, 'A');
    EXPECT_EQ(entries[0].cmd, IDM_ABOUT);
    EXPECT_EQ(entries[1].key, 'Q');
    EXPECT_EQ(entries[1].cmd, IDOK);
    EXPECT_EQ(entries[1].fVirt & (FVIRTKEY | FCONTROL), FVIRTKEY | FCONTROL);

    HRSRC hiRes = FindResourceW(instance, L"HI_RES_AWARE", L"CEUX");
    ASSERT_NE(hiRes, nullptr);
    EXPECT_EQ(*static_cast<const WORD *>(LockResource(LoadResource(instance, hiRes))), 1);
}

} // namespace
