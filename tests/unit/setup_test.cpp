// Setup's controls, its start, and what its commands, OK and the nudges
// change and store.
#include "setup_fixture.h"

#include <string>

namespace {

// What the template gives the user, full screen: every control inside the
// page, the defaults button among them; a radio button per style, named as
// the style, exclusive among themselves and apart from the alignment radios;
// a lifetime field that takes digits alone.
TEST_F(SetupTest, ControlsLieApartAndBehaveAsTheirKinds) {
    Open();
    RECT client, window;
    GetClientRect(dlg_, &client);
    GetWindowRect(dlg_, &window);
    EXPECT_EQ(window.right - window.left, GetSystemMetrics(SM_CXSCREEN)) << "full screen";
    std::vector<HWND> controls = Controls();
    for (HWND c : controls) {
        RECT r = RectIn(c, dlg_), inside;
        EXPECT_TRUE(IntersectRect(&inside, &r, &client) && EqualRect(&inside, &r))
            << "control " << GetDlgCtrlID(c) << " inside the page";
    }
    EXPECT_EQ(controls.size(),
              TemplateControls(FindDialogTemplate(g_instance, IDD_SETUP)).size() + 1)
        << "the template's controls and the defaults button";
    EXPECT_EQ(GetParent(g_defaultsButton), dlg_);

    for (const GaugeStyleEntry &style : kGaugeStyles) {
        wchar_t caption[16] = L"";
        GetDlgItemTextW(dlg_, style.radioId, caption, ARRAYSIZE(caption));
        EXPECT_STREQ(caption, style.name) << "the button names its style";
        Click(style.radioId);
        for (const GaugeStyleEntry &other : kGaugeStyles)
            EXPECT_EQ(Checked(other.radioId), other.radioId == style.radioId);
        EXPECT_TRUE(Checked(IDC_ALIGN_LEFT) != Checked(IDC_ALIGN_RIGHT)) << "alignment kept";
    }
    Click(IDC_ALIGN_RIGHT);
    EXPECT_TRUE(Checked(kGaugeStyles[kGaugeStyleCount - 1].radioId)) << "the last style kept";
    EXPECT_FALSE(Checked(IDC_ALIGN_LEFT));

    HWND lifetime = GetDlgItem(dlg_, IDC_LIFETIME);
    SetWindowTextW(lifetime, L"");
    SendMessageW(lifetime, WM_CHAR, L'x', 0);
    SendMessageW(lifetime, WM_CHAR, L'7', 0);
    wchar_t text[8] = L"";
    GetWindowTextW(lifetime, text, ARRAYSIZE(text));
    EXPECT_STREQ(text, L"7");
}

// Every style and numbers that name none; both alignments and a number that
// names neither.
TEST_F(SetupTest, InitialisationSetsFieldRadiosAndDefaultsButton) {
    const int aligns[] = {1, 0, 5};
    std::vector<int> styles = {kGaugeStyleCount, -1};
    for (int style = 0; style < kGaugeStyleCount; ++style)
        styles.push_back(style);
    for (size_t i = 0; i < styles.size(); ++i) {
        int align = aligns[i % std::size(aligns)];
        g_style = styles[i];
        g_align = align;
        g_lifeTime = 420;
        Open(); // the first one loads the settings: a missing key keeps them
        SCOPED_TRACE(testing::Message() << "style " << styles[i] << " align " << align);
        for (int style = 0; style < kGaugeStyleCount; ++style)
            EXPECT_EQ(Checked(kGaugeStyles[style].radioId), style == styles[i]) << style;
        EXPECT_EQ(Checked(IDC_ALIGN_LEFT), align == 1);
        EXPECT_EQ(Checked(IDC_ALIGN_RIGHT), align == 0);
        EXPECT_EQ(GetDlgItemInt(dlg_, IDC_LIFETIME, nullptr, FALSE), 420u);
        EXPECT_EQ(GetParent(g_defaultsButton), dlg_);
        DestroyWindow(dlg_);
        dlg_ = nullptr;
        g_defaultsButton = nullptr;
    }
}

// Only the dialog's own start initialises it: a WM_INITDIALOG sent to it later
// leaves what the user has changed and the defaults button alone.
TEST_F(SetupTest, SecondInitialisationLeavesTheUsersChangesAlone) {
    g_style = kStyleWM6;
    g_align = 1;
    Open();
    HWND button = g_defaultsButton;
    SetDlgItemInt(dlg_, IDC_LIFETIME, 123, FALSE); // read at OK only
    Click(kGaugeStyles[kStyleCustom].radioId);
    Click(IDC_ALIGN_RIGHT);
    g_lifeTime = 999; // what an initialisation would show now
    SendMessageW(dlg_, WM_INITDIALOG, 0, 0);
    EXPECT_EQ(GetDlgItemInt(dlg_, IDC_LIFETIME, nullptr, FALSE), 123u);
    for (int style = 0; style < kGaugeStyleCount; ++style)
        EXPECT_EQ(Checked(kGaugeStyles[style].radioId), style == kStyleCustom) << style;
    EXPECT_TRUE(Checked(IDC_ALIGN_RIGHT));
    EXPECT_EQ(g_defaultsButton, button);
    EXPECT_EQ(GetParent(button), dlg_);
}

// In the swatches' column, a row above the first, of a swatch's size; neither
// the button nor a colour row covers a control of the template.
TEST_F(SetupTest, DefaultsButtonStandsAboveTheFirstSwatch) {
    Open();
    ASSERT_NE(g_defaultsButton, nullptr);
    RECT rc = RectIn(g_defaultsButton, dlg_);
    RECT slot = Element(0)->swatchRect;
    OffsetRect(&slot, 0, -g_colorElements->rowPitch);
    EXPECT_TRUE(EqualRect(&rc, &slot)) << "one row above the first swatch";
    wchar_t caption[8];
    GetWindowTextW(g_defaultsButton, caption, ARRAYSIZE(caption));
    EXPECT_STREQ(caption, L"--");

    std::vector<RECT> rows = {rc};
    for (int i = 0; i < kColorElementCount; ++i) {
        rows.push_back(Element(i)->labelRect);
        rows.push_back(Element(i)->swatchRect);
    }
    for (HWND c : Controls()) {
        RECT control = RectIn(c, dlg_), overlap;
        for (const RECT &row : rows)
            EXPECT_TRUE(c == g_defaultsButton || !IntersectRect(&overlap, &control, &row))
                << "control " << GetDlgCtrlID(c);
    }
}

TEST_F(SetupTest, RightOnLowResTaskbarClampsAndMovesAtOnce) {
    Open(240, 26);
    ASSERT_EQ(g_position, 2);
    g_position = 4;
    Click(IDC_ALIGN_RIGHT);
    EXPECT_EQ(g_align, 0);
    EXPECT_EQ(g_position, 22);
    EXPECT_EQ(GaugeOrigin().x, 218) << "flush with the right end";
    EXPECT_TRUE(GaugeHasUpdate());
    EXPECT_EQ(Stored(kValueAlign), 1u) << "Align waits for OK";
    EXPECT_EQ(Stored(kValuePosition), 2u) << "Position waits for a nudge";
}

TEST_F(SetupTest, AnyCommandReadsRadiosMovesAndInvalidates) {
    Open();
    Click(IDC_STYLE_WM5);
    EXPECT_EQ(g_style, kStyleWM5);
    EXPECT_TRUE(GaugeHasUpdate());
    ValidateGauge();
    int lifeTime = g_lifeTime;
    SetDlgItemInt(dlg_, IDC_LIFETIME, 999, FALSE); // EN_CHANGE reaches the dialog
    EXPECT_TRUE(GaugeHasUpdate());
    EXPECT_EQ(g_lifeTime, lifeTime) << "the field is read at OK only";
}

TEST_F(SetupTest, OkSavesTheSettingsEndsAndRepaintsInTheSameCall) {
    Open();
    Store(kValuePosition, 77);
    SetDlgItemInt(dlg_, IDC_LIFETIME, 480, FALSE);
    Click(IDC_STYLE_CUSTOM);
    Click(IDC_ALIGN_RIGHT);
    ValidateGauge();
    SendMessageW(dlg_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(Stored(kValueLifeTime), 480u);
    EXPECT_EQ(Stored(kValueStyle), 2u);
    EXPECT_EQ(Stored(kValueAlign), 0u);
    EXPECT_EQ(Stored(kValuePosition), 77u) << "OK never saves the position";
    EXPECT_EQ(g_defaultsButton, nullptr);
    EXPECT_EQ(g_gaugeRepaint, 0) << "the poll ran inside OK";
    EXPECT_TRUE(GaugeHasUpdate());
    EXPECT_FALSE(IsWindowVisible(dlg_)) << "the dialog has ended";

    DestroyWindow(dlg_);
    Open();
    EXPECT_NE(g_defaultsButton, nullptr) << "reopening makes a new defaults button";
    EXPECT_EQ(GetParent(g_defaultsButton), dlg_);
}

// Read as GetDlgItemInt reads an unsigned number, the whole text.
TEST_F(SetupTest, LifetimeFieldIsReadAsAnUnsignedNumber) {
    const struct {
        std::wstring text;
        DWORD saved;
    } cases[] = {{L"", 0},
                 {L"12 ", 12},
                 {L"12a", 12},
                 {L"  7", 7},
                 {std::wstring(40, L'0') + L"350", 350},
                 {L"4294967295", 0xFFFFFFFF},
                 {L"4294967296", 0},
                 {L"-5", 0}};
    for (const auto &c : cases) {
        Open();
        SetDlgItemTextW(dlg_, IDC_LIFETIME, c.text.c_str());
        SendMessageW(dlg_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_EQ(Stored(kValueLifeTime), c.saved) << testing::PrintToString(c.text);
        EXPECT_EQ(static_cast<DWORD>(g_lifeTime), c.saved);
        DestroyWindow(dlg_);
    }
}

TEST_F(SetupTest, UneditedLifetimeStoresBackWhatItShowed) {
    Store(kValueLifeTime, 0xFFFFFEA2);
    Open();
    wchar_t shown[16];
    GetDlgItemTextW(dlg_, IDC_LIFETIME, shown, ARRAYSIZE(shown));
    EXPECT_STREQ(shown, L"4294966946");
    SendMessageW(dlg_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(Stored(kValueLifeTime), 0xFFFFFEA2u);
}

TEST_F(SetupTest, OkAfterTheKeyWentAwayEndsRepaintsAndStores) {
    Open();
    DeleteSettingsKey();
    SendMessageW(dlg_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindowVisible(dlg_));
    EXPECT_TRUE(GaugeHasUpdate());
    EXPECT_EQ(Stored(kValueLifeTime), static_cast<DWORD>(g_lifeTime));
    EXPECT_EQ(Stored(kValueStyle), static_cast<DWORD>(g_style));
    EXPECT_EQ(Stored(kValueAlign), static_cast<DWORD>(g_align));
}

TEST_F(SetupTest, ScrollCodesNudgeByOnePixelAndAlwaysSavePosition) {
    Open();
    const struct {
        WPARAM code;
        int leftDelta; // with Left alignment; Right alignment moves the other way
    } cases[] = {{SB_LINELEFT, -1},     {SB_LINERIGHT, 1},  {SB_PAGELEFT, -1}, {SB_PAGERIGHT, 1},
                 {SB_THUMBPOSITION, 0}, {SB_THUMBTRACK, 0}, {SB_LEFT, -1},     {SB_RIGHT, 1},
                 {SB_ENDSCROLL, 0},     {0x10000, 0},       {0x10001, 0}};
    for (int align : {1, 0}) {
        g_align = align;
        for (const auto &c : cases) {
            g_position = 100;
            Store(kValuePosition, 12345);
            ValidateGauge();
            Scroll(c.code);
            int expected = 100 + (align ? c.leftDelta : -c.leftDelta);
            EXPECT_EQ(g_position, expected) << "align " << align << " code " << c.code;
            EXPECT_EQ(Stored(kValuePosition), static_cast<DWORD>(expected));
            EXPECT_TRUE(GaugeHasUpdate());
            EXPECT_EQ(GaugeOrigin().x, PlaceGauge(TaskbarClientRect(), g_align, g_position).x);
        }
    }
}

TEST_F(SetupTest, NudgesStopAtTheBounds) {
    Open();
    g_align = 1;
    g_position = 0;
    Scroll(SB_LINELEFT);
    EXPECT_EQ(g_position, 0);
    g_position = 480 - 44;
    Scroll(SB_LINERIGHT);
    EXPECT_EQ(g_position, 436);
    g_align = 0;
    g_position = 480;
    Scroll(SB_LINELEFT);
    EXPECT_EQ(g_position, 480);
    EXPECT_EQ(GaugeOrigin().x, 0);
    g_position = 44;
    Scroll(SB_LINERIGHT);
    EXPECT_EQ(g_position, 44);
}

} // namespace
