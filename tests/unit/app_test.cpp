// Start-up and the main window, in process against a test taskbar: the
// creation sequence, the Hide button, commands, the single instance rule.
#include "fixtures.h"

#include "app/app.h"
#include "gauge/gauge.h"
#include "res/resource.h"
#include "settings/colors.h"
#include "settings/registry.h"

namespace {

TEST(HideButtonGeometry, CentredAboveTheBottomTruncatingTowardZero) {
    g_hiRes = 1;
    RECT rc = HideButtonRect(RECT{0, 0, 480, 536});
    EXPECT_EQ(rc.left, 90);
    EXPECT_EQ(rc.right - rc.left, 300);
    EXPECT_EQ(rc.bottom - rc.top, 45);
    EXPECT_EQ(rc.top, 436);

    g_hiRes = 0;
    EXPECT_EQ(HideButtonRect(RECT{0, 0, 241, 294}).left, 20);
    rc = HideButtonRect(RECT{0, 0, 199, 294});
    EXPECT_EQ(rc.left, 0) << "(199 - 200) / 2 truncates to 0, not -1";
    EXPECT_EQ(rc.top, 294 - 60);
    EXPECT_EQ(rc.right - rc.left, 200);
    EXPECT_EQ(rc.bottom - rc.top, 30);
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
    RECT button;
    GetWindowRect(g_hideButton, &button);
    MapWindowPoints(HWND_DESKTOP, g_mainWnd, reinterpret_cast<POINT *>(&button), 2);
    EXPECT_EQ(button.right - button.left, 200);
    EXPECT_EQ(button.bottom - button.top, 30);
    // The button was placed before the window was shortened by the menu bar.
    RECT bar;
    GetWindowRect(g_menuBar, &bar);
    EXPECT_EQ(button.top, client.bottom + (bar.bottom - bar.top) - 60);

    LOGFONTW lf;
    ASSERT_EQ(GetObjectW(g_infoFont, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
    EXPECT_EQ(lf.lfHeight, -14);
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma");

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
// 0xFFFF, and the icon control at 7,7 of 20x20 units.
TEST(AboutDialog, SixteenBitIdsAndTheIconsSize) {
    const DLGTEMPLATE *tmpl = DialogTemplate(IDD_ABOUT);
    ASSERT_NE(tmpl, nullptr);
    ASSERT_NE(reinterpret_cast<const WORD *>(tmpl)[1], 0xFFFF) << "not a DIALOGEX";
    EXPECT_EQ(tmpl->dwExtendedStyle, static_cast<DWORD>(WS_EX_CAPTIONOKBTN));
    const WORD *p = reinterpret_cast<const WORD *>(tmpl + 1);
    TemplateField(p); // menu
    TemplateField(p); // class
    TemplateField(p); // caption
    ++p;              // points
    TemplateField(p); // font
    p = reinterpret_cast<const WORD *>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR(3));
    auto *icon = reinterpret_cast<const DLGITEMTEMPLATE *>(p);
    EXPECT_EQ(icon->style & SS_TYPEMASK, static_cast<DWORD>(SS_ICON));
    EXPECT_EQ(icon->x, 7);
    EXPECT_EQ(icon->y, 7);
    EXPECT_EQ(icon->cx, 20);
    EXPECT_EQ(icon->cy, 20);

    HWND dlg =
        CreateDialogIndirectParamW(GetModuleHandleW(nullptr), tmpl, nullptr, AboutDlgProc, 0);
    ASSERT_NE(dlg, nullptr);
    int controls = 0;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT), ++controls)
        EXPECT_EQ(GetDlgCtrlID(c), 0xFFFF);
    EXPECT_EQ(controls, 9);
    DestroyWindow(dlg);
}

TEST(Resources, MenuBarDefinitionAndAccelerators) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(instance, MAKEINTRESOURCEW(IDR_MAINMENU), RT_RCDATA);
    ASSERT_NE(res, nullptr);
    ASSERT_EQ(SizeofResource(instance, res), 18u);
    auto *words = static_cast<const WORD *>(LockResource(LoadResource(instance, res)));
    const WORD expected[9] = {102, 1, 0xFFFE, 40001, 4, 0x18, 104, 0, 0};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(words[i], expected[i]) << "word " << i;

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
