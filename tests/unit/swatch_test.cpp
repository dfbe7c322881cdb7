// Setup's colour rows: a tap on a swatch asks the chooser, the defaults
// button asks first; what they change is stored and drawn.
#include "setup_fixture.h"

#include <atomic>
#include <string>
#include <thread>

namespace {

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
