// The Setup dialog driven with messages, in process: the real template and
// SetupDlgProc, a test taskbar with the real gauge, Wine's real registry.
#include "fixtures.h"

#include "app/app.h"
#include "monitor/monitor.h"
#include "gauge/gauge.h"
#include "res/resource.h"
#include "settings/colors.h"
#include "settings/registry.h"
#include "setup/setup.h"

#include <atomic>
#include <string>
#include <vector>
#include <thread>

namespace {

// The main window as far as the dialog needs it: its WM_TIMER runs the poll.
LRESULT CALLBACK PollingMainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER)
        return MainWndProc(hwnd, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class SetupTest : public GaugeTest {
  protected:
    void SetUp() override {
        GaugeTest::SetUp();
        DeleteSettingsKey();
        SetColorChooser(nullptr);
        SetQuestionBox(nullptr);
    }
    void TearDown() override {
        if (dlg_)
            DestroyWindow(dlg_);
        if (g_mainWnd)
            DestroyWindow(g_mainWnd);
        SetColorChooser(nullptr);
        SetQuestionBox(nullptr);
        DeleteSettingsKey();
        GaugeTest::TearDown();
    }
    // The program as the main window's creation leaves it, with the
    // settings key in place, then the dialog opened from its template.
    void Open(int width = 480, int height = 52) {
        if (!taskbar_) {
            taskbar_ = std::make_unique<TestTaskbar>(width, height);
            StartUpStages(FromRegistry::kYes);
            g_mainWnd = CreateTestWindow(L"SetupTestMain", PollingMainProc, WS_POPUP, 0, 0, 10, 10);
            FakePower power;
            PollStatus(g_mainWnd);
        }
        HRSRC res = FindResourceW(g_instance, MAKEINTRESOURCEW(IDD_SETUP), RT_DIALOG);
        auto *tmpl = static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(g_instance, res)));
        dlg_ = CreateDialogIndirectParamW(g_instance, tmpl, g_mainWnd, SetupDlgProc, 0);
        ASSERT_NE(dlg_, nullptr);
        ShowWindow(dlg_, SW_SHOW);
        Pump();
        ValidateGauge();
    }
    bool Checked(int id) { return SendDlgItemMessageW(dlg_, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Click(int id) {
        HWND button = GetDlgItem(dlg_, id);
        SendMessageW(button, BM_CLICK, 0, 0);
    }
    void Scroll(WPARAM code) { SendMessageW(dlg_, WM_HSCROLL, code, 0); }
    static DWORD Stored(const wchar_t *name) {
        DWORD value = 0xDEADBEEF;
        ReadStoredValue(name, &value);
        return value;
    }
    static void Store(const wchar_t *name, DWORD value) {
        ASSERT_TRUE(StoreRawValue(name, REG_DWORD, &value, sizeof(value)));
    }
    HWND dlg_ = nullptr;
};

// What the template gives the user: every control inside the page; a radio
// button per style, named as the style, exclusive among themselves and apart
// from the alignment radios; a lifetime field that takes digits alone.
TEST_F(SetupTest, ControlsLieApartAndBehaveAsTheirKinds) {
    Open();
    RECT client;
    GetClientRect(dlg_, &client);
    std::vector<RECT> placed;
    for (HWND c = GetWindow(dlg_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, dlg_, reinterpret_cast<POINT *>(&r), 2);
        RECT inside;
        EXPECT_TRUE(IntersectRect(&inside, &r, &client) && EqualRect(&inside, &r))
            << "control " << GetDlgCtrlID(c) << " inside the page";
        placed.push_back(r);
    }
    EXPECT_EQ(placed.size(), TemplateControls(FindDialogTemplate(g_instance, IDD_SETUP)).size() + 1)
        << "the template's controls and the defaults button";

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

TEST_F(SetupTest, OpensFullScreenWithTheDefaultsButton) {
    Open();
    size_t controls = 0;
    for (HWND c = GetWindow(dlg_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        ++controls;
    EXPECT_EQ(controls, TemplateControls(FindDialogTemplate(g_instance, IDD_SETUP)).size() + 1)
        << "the template's controls and the defaults button";
    EXPECT_EQ(GetParent(g_defaultsButton), dlg_);
    RECT rc;
    GetWindowRect(dlg_, &rc);
    EXPECT_EQ(rc.right - rc.left, GetSystemMetrics(SM_CXSCREEN)) << "full screen";
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
    RECT rc;
    GetWindowRect(g_defaultsButton, &rc);
    MapWindowPoints(HWND_DESKTOP, dlg_, reinterpret_cast<POINT *>(&rc), 2);
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
    for (HWND c = GetWindow(dlg_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (c == g_defaultsButton)
            continue;
        RECT control, overlap;
        GetWindowRect(c, &control);
        MapWindowPoints(HWND_DESKTOP, dlg_, reinterpret_cast<POINT *>(&control), 2);
        for (const RECT &row : rows)
            EXPECT_FALSE(IntersectRect(&overlap, &control, &row)) << "control " << GetDlgCtrlID(c);
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

// The colour rows.

COLORREF s_chosen = 0;
BOOL s_confirm = TRUE;
int s_chooserRuns = 0;
bool s_customColorsBlack = true;
DWORD s_flags = 0;

BOOL WINAPI FakeChooser(LPCHOOSECOLORW request) {
    ++s_chooserRuns;
    s_flags = request->Flags;
    for (int i = 0; i < 16; ++i) {
        s_customColorsBlack &= request->lpCustColors[i] == 0;
        request->lpCustColors[i] = 0x123456; // a colour the user defined
    }
    request->rgbResult = s_chosen; // picked, then confirmed or cancelled
    return s_confirm;
}

int s_answer = IDNO;
std::wstring s_question;
UINT s_questionType = 0;
int WINAPI FakeQuestion(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    s_question = std::wstring(text) + L"|" + caption + (owner ? L"|owned" : L"");
    s_questionType = type;
    return s_answer;
}

class SwatchTest : public SetupTest {
  protected:
    void SetUp() override {
        SetupTest::SetUp();
        Open();
        s_chooserRuns = 0;
        s_customColorsBlack = true;
        SetColorChooser(FakeChooser);
        SetQuestionBox(FakeQuestion);
    }
    void Tap(int x, int y) { SendMessageW(dlg_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
};

// A cancelled chooser keeps the element's colour, one with bits above blue as
// loaded from the registry too, and writes it again over what is stored.
TEST_F(SwatchTest, CancelKeepsTheColourAndWritesItAgain) {
    s_confirm = FALSE;
    for (int element : {kFullPart, kPercentage}) {
        COLORREF held = element == kFullPart ? 0x01FF0000 : Element(element)->color;
        SetElementColor(Element(element), held);
        Store(Element(element)->name, 0x010203);
        const RECT r = Element(element)->swatchRect;
        Tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        EXPECT_EQ(Element(element)->color, held) << element;
        EXPECT_EQ(Stored(Element(element)->name), held) << element;
    }
    EXPECT_EQ(s_chooserRuns, 2);
}

TEST_F(SwatchTest, OnlyTapsStrictlyInsideASwatchOpenTheChooser) {
    const RECT r = Element(kFullPart)->swatchRect;
    int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    s_chosen = 0x00FF00;
    s_confirm = TRUE;
    Tap(r.left, midY);
    Tap(midX, r.top);
    Tap(r.left - 1, midY); // the grey rim
    Tap(100, midY);        // the label
    EXPECT_EQ(s_chooserRuns, 0);
    EXPECT_EQ(HitColorSwatch(r.right - 1, midY), kFullPart);
    EXPECT_EQ(HitColorSwatch(r.right, midY), -1);

    ValidateRect(dlg_, nullptr);
    Tap(r.left + 1, midY);
    EXPECT_EQ(s_chooserRuns, 1);
    EXPECT_EQ(s_flags, static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR));
    EXPECT_EQ(Element(kFullPart)->color, 0x00FF00u);
    EXPECT_EQ(Stored(L"Full_Part"), 0x00FF00u);
    EXPECT_TRUE(GaugeHasUpdate());
    EXPECT_TRUE(GetUpdateRect(dlg_, nullptr, FALSE)) << "the swatch shows its new colour";

    Tap(midX, r.top + 1);
    EXPECT_EQ(s_chooserRuns, 2);
    EXPECT_TRUE(s_customColorsBlack) << "every run starts with sixteen black custom colours";
}

TEST_F(SwatchTest, DefaultsAskFirstAndNoChangesNothing) {
    SetElementColor(Element(kEmptyPart), 0x00FF00);
    Store(L"Empty_Part", 0x00FF00);
    s_answer = IDNO;
    Click(IDC_STYLE_WM5);
    SendMessageW(dlg_, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(g_defaultsButton));
    EXPECT_EQ(s_question, L"Are you sure?|Defaults");
    EXPECT_EQ(s_questionType, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_TOPMOST));
    EXPECT_EQ(Element(kEmptyPart)->color, 0x00FF00u);
    EXPECT_EQ(Stored(L"Empty_Part"), 0x00FF00u);
    EXPECT_EQ(g_style, kStyleWM5) << "the command still reads the radios";
}

TEST_F(SwatchTest, DefaultsYesWritesEveryColour) {
    for (int i = 0; i < kColorElementCount; ++i) {
        SetElementColor(Element(i), 0x00FF00);
        Store(Element(i)->name, 0x00FF00);
    }
    s_answer = IDYES;
    SendMessageW(dlg_, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(g_defaultsButton));
    for (int i = 0; i < kColorElementCount; ++i) {
        EXPECT_EQ(Element(i)->color, Element(i)->defaultColor) << i;
        EXPECT_EQ(Stored(Element(i)->name), Element(i)->defaultColor) << i;
    }
    EXPECT_TRUE(GaugeHasUpdate());
}

TEST_F(SwatchTest, ColourChangesLeakNoBrushes) {
    int before = GdiObjectCount();
    s_confirm = TRUE;
    s_answer = IDYES;
    const RECT r = Element(kBackground)->swatchRect;
    for (int i = 0; i < 100; ++i) {
        s_chosen = RGB(i, 7, 9);
        Tap(r.left + 3, r.top + 3);
        if (i % 25 == 0)
            SendMessageW(dlg_, WM_COMMAND, 0, reinterpret_cast<LPARAM>(g_defaultsButton));
        Pump();
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST_F(SwatchTest, RowsAreDrawnOnAWhitePage) {
    SetElementColor(Element(kFrameCharging), 0x00FF00);
    Dib page(480, 588);
    DrawColorRows(page.dc(), page.rect());
    const RECT &s = Element(kFrameCharging)->swatchRect;
    EXPECT_EQ(page.at(0, 0), 0xFFFFFFu);
    EXPECT_EQ(page.at(s.left, s.top), 0x00FF00u);
    EXPECT_EQ(page.at(s.right - 1, s.bottom - 1), 0x00FF00u);
    EXPECT_EQ(page.at(s.left - 1, s.top - 1), 0xC0C0C0u) << "grey rim";
    EXPECT_EQ(page.at(s.right, s.bottom), 0xC0C0C0u);
    EXPECT_EQ(page.at(s.right + 1, s.bottom + 1), 0xFFFFFFu);
    EXPECT_GT(page.Count(0x000000, Element(kFrameCharging)->labelRect), 10) << "its name";
}

// The real modal windows, answered from another thread as a user would.
void AnswerWindow(const wchar_t *title, WPARAM command, std::atomic<bool> *answered) {
    for (DWORD start = GetTickCount(); !*answered && GetTickCount() - start < DeadlineMs(5000);) {
        if (HWND w = FindWindowW(L"#32770", title)) {
            PostMessageW(w, WM_COMMAND, command, 0);
            *answered = true;
        }
        Sleep(25);
    }
}

TEST_F(SwatchTest, RealQuestionBoxAndColourChooser) {
    SetColorChooser(nullptr);
    SetQuestionBox(nullptr);
    SetElementColor(Element(kFullPart), 0x00FF00);
    std::atomic<bool> answered{false};
    std::thread yes(AnswerWindow, L"Defaults", IDYES, &answered);
    SendMessageW(dlg_, WM_COMMAND, 0, reinterpret_cast<LPARAM>(g_defaultsButton));
    yes.join();
    EXPECT_TRUE(answered);
    EXPECT_EQ(Element(kFullPart)->color, kColorDefaults[kFullPart].value)
        << "Yes reset the colours";

    Store(L"Full_Part", 0x010203);
    answered = false;
    std::thread cancel(AnswerWindow, L"Color", IDCANCEL, &answered);
    EXPECT_EQ(ChooseElementColor(dlg_, Element(kFullPart)), kColorDefaults[kFullPart].value);
    cancel.join();
    EXPECT_TRUE(answered);
    EXPECT_EQ(Stored(L"Full_Part"), kColorDefaults[kFullPart].value);
}

} // namespace
