#include "setup/setup.h"

#include "state/state.h"
#include "base/strings.h"
#include "gauge/gauge.h"
#include "res/resource.h"
#include "settings/colors.h"
#include "settings/registry.h"

namespace {

void CreateDefaultsButton(HWND dlg) {
    const RECT &swatch = g_colorElements->swatchTemplate;
    WCHAR caption[16];
    LoadStringOrEmpty(g_instance, IDS_DEFAULTS_BUTTON, caption);
    g_defaultsButton = CreateWindowExW(
        0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, swatch.left,
        swatch.top - g_colorElements->rowPitch, swatch.right - swatch.left,
        swatch.bottom - swatch.top, dlg, nullptr, g_instance, nullptr);
}

void CheckRadio(HWND dlg, int id, bool checked) {
    SendDlgItemMessageW(dlg, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsRadioChecked(HWND dlg, int id) {
    return SendDlgItemMessageW(dlg, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

BOOL OnInitDialog(HWND dlg) {
    if (!g_defaultsButton && g_colorElements)
        CreateDefaultsButton(dlg);
    SHINITDLGINFO info = {SHIDIM_FLAGS, dlg,
                          SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
    SHInitDialog(&info);
    SetDlgItemInt(dlg, IDC_LIFETIME, static_cast<UINT>(g_lifeTime), FALSE);
    for (int style = 0; style < kGaugeStyleCount; ++style)
        CheckRadio(dlg, kGaugeStyles[style].radioId, g_style == style);
    CheckRadio(dlg, IDC_ALIGN_LEFT, g_align == 1);
    CheckRadio(dlg, IDC_ALIGN_RIGHT, g_align == 0);
    return TRUE;
}

void ReadRadios(HWND dlg) {
    for (int style = 0; style < kGaugeStyleCount; ++style) {
        if (IsRadioChecked(dlg, kGaugeStyles[style].radioId)) {
            g_style = style;
            break;
        }
    }
    if (IsRadioChecked(dlg, IDC_ALIGN_LEFT))
        g_align = 1;
    else if (IsRadioChecked(dlg, IDC_ALIGN_RIGHT))
        g_align = 0;
}

// Read as an unsigned number with no success flag: an empty or non-numeric
// field gives 0, and the 32 bits are stored as they are, so a field left as
// shown stores back what it showed.
int ReadLifeTime(HWND dlg) {
    return static_cast<int>(GetDlgItemInt(dlg, IDC_LIFETIME, nullptr, FALSE));
}

BOOL OnOk(HWND dlg) {
    g_lifeTime = ReadLifeTime(dlg);
    SaveSetupSettings();
    g_defaultsButton = nullptr;
    EndDialog(dlg, IDOK);
    g_gaugeRepaint = 1;
    SendMessageW(g_mainWnd, WM_TIMER, 0, 0);
    return TRUE;
}

// Every command re-reads the radios and shows the gauge where they put it.
BOOL OnCommand(HWND dlg, WPARAM wParam, LPARAM lParam) {
    if (g_defaultsButton && reinterpret_cast<HWND>(lParam) == g_defaultsButton)
        ResetColorDefaults(dlg);
    ReadRadios(dlg);
    ClampPosition();
    MoveGauge();
    InvalidateGauge();
    if (LOWORD(wParam) != IDOK)
        return FALSE;
    return OnOk(dlg);
}

// One pixel per request towards the side named on screen, not past the bound
// on that side. Counted from the right end, a step to the left is a larger
// position.
BOOL OnHScroll(WPARAM wParam) {
    if (!FindLiveTaskbar())
        return FALSE; // no bounds to keep while the shell restarts
    RECT rc = TaskbarClientRect();
    PositionRange bounds = PositionBounds(rc.right - rc.left, g_align);
    bool moveLeft = wParam == SB_LINELEFT || wParam == SB_PAGELEFT || wParam == SB_LEFT;
    bool moveRight = wParam == SB_LINERIGHT || wParam == SB_PAGERIGHT || wParam == SB_RIGHT;
    int step = (moveLeft ? -1 : moveRight ? 1 : 0) * (g_align ? 1 : -1);
    if (step < 0 && g_position > bounds.low)
        --g_position;
    else if (step > 0 && g_position < bounds.high)
        ++g_position;
    InvalidateGauge();
    MoveGauge();
    SavePosition();
    return FALSE;
}

} // namespace

INT_PTR CALLBACK SetupDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        // Only the dialog's own start: one sent from elsewhere would reset
        // what the user has typed.
        if (GetWindowLongPtrW(dlg, DWLP_USER))
            return FALSE;
        SetWindowLongPtrW(dlg, DWLP_USER, 1);
        return OnInitDialog(dlg);
    case WM_PAINT:
        return PaintColorRows(dlg);
    case WM_COMMAND:
        return OnCommand(dlg, wParam, lParam);
    case WM_HSCROLL:
        return OnHScroll(wParam);
    case WM_LBUTTONDOWN:
        return OnSwatchTap(dlg, lParam);
    }
    return FALSE;
}
