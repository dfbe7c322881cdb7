// The colour rows of the Setup dialog: a label and a swatch per colour
// element, the colour chooser behind each swatch, and the reset to defaults.
#include "state/state.h"
#include "base/gdi.h"
#include "base/strings.h"
#include "gauge/gauge.h"
#include "res/resource.h"
#include "settings/colors.h"
#include "settings/registry.h"
#include "setup/setup.h"

namespace {

ColorChooser s_chooser = nullptr;
QuestionBox s_question = nullptr;
// The chooser or the reset question is open. Setup stays enabled under the
// question, which has no owner, and a tap can be posted to it under the
// chooser: meanwhile a swatch tap and "--" do nothing, so that no chooser or
// question opens inside the other, and a reset answered before a colour is
// picked never overwrites that colour.
bool s_asking = false;

// The dialog shows every swatch in its new colour at once, the gauge too.
void ShowNewColors(HWND dlg) {
    InvalidateGauge();
    InvalidateRect(dlg, nullptr, TRUE);
}

} // namespace

void SetColorChooser(ColorChooser chooser) {
    s_chooser = chooser;
}
void SetQuestionBox(QuestionBox question) {
    s_question = question;
}

void DrawColorSwatch(const ColorElement *element, HDC dc) {
    RECT rim;
    CopyRect(&rim, &element->swatchRect);
    InflateRect(&rim, 1, 1);
    FillRect(dc, &rim, g_grayBrush);
    if (element->brush)
        FillRect(dc, &element->swatchRect, element->brush);
    SetTextColor(dc, 0x000000);
    SetBkMode(dc, TRANSPARENT);
    RECT label = element->labelRect;
    DrawTextW(dc, element->name, -1, &label, DT_SINGLELINE | DT_VCENTER);
}

void DrawColorRows(HDC dc, const RECT &rc) {
    FillRect(dc, &rc, g_whiteBrush);
    for (int i = 0; i < kColorElementCount; ++i)
        if (const ColorElement *element = Element(i))
            DrawColorSwatch(element, dc);
}

BOOL PaintColorRows(HWND dlg) {
    PaintOffscreen(dlg, DrawColorRows);
    return TRUE;
}

int HitColorSwatch(int x, int y) {
    for (int i = 0; i < kColorElementCount; ++i) {
        const ColorElement *element = Element(i);
        if (!element)
            continue;
        const RECT &r = element->swatchRect;
        if (r.left < x && x < r.right && r.top < y && y < r.bottom)
            return i;
    }
    return -1;
}

COLORREF ChooseElementColor(HWND owner, const ColorElement *element) {
    COLORREF custom[16] = {};
    CHOOSECOLOR request = {};
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner;
    request.rgbResult = element->color;
    request.lpCustColors = custom;
    request.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    // A chooser may write rgbResult while the user picks: after a cancel the
    // element keeps its colour, whatever rgbResult holds.
    if (!(s_chooser ? s_chooser : ChooseColorW)(&request))
        request.rgbResult = element->color;
    SaveColor(*element, request.rgbResult);
    return request.rgbResult;
}

BOOL OnSwatchTap(HWND dlg, LPARAM lParam) {
    int hit = HitColorSwatch(LOWORD(lParam), HIWORD(lParam));
    ColorElement *element = Element(hit);
    if (!element || s_asking)
        return FALSE;
    s_asking = true;
    SetElementColor(element, ChooseElementColor(dlg, element));
    s_asking = false;
    ShowNewColors(dlg);
    return FALSE;
}

void ResetColorDefaults(HWND dlg) {
    if (s_asking)
        return;
    WCHAR question[64], caption[64];
    LoadStringOrEmpty(g_instance, IDS_DEFAULTS_QUESTION, question);
    LoadStringOrEmpty(g_instance, IDS_DEFAULTS_CAPTION, caption);
    s_asking = true;
    int answer = (s_question ? s_question : MessageBoxW)(nullptr, question, caption,
                                                         MB_YESNO | MB_ICONQUESTION | MB_TOPMOST);
    s_asking = false;
    if (answer != IDYES)
        return;
    for (int i = 0; i < kColorElementCount; ++i) {
        if (ColorElement *element = Element(i)) {
            SetElementColor(element, element->defaultColor);
            SaveColor(*element, element->defaultColor);
        }
    }
    ShowNewColors(dlg);
}
