// The device's colour chooser on desktop Windows.
//
// The desktop's ChooseColor is a 531 x 326 window: it runs off a Pocket PC
// screen. On the device the chooser is a full-screen dialog below the
// taskbar: basic and custom colours, a way to define a colour (shown at once
// with CC_FULLOPEN), OK and Cancel. It returns TRUE with rgbResult on OK and
// FALSE with rgbResult untouched on Cancel.
#include "base/gdi.h"
#include "internal.h"

#include <algorithm>
#include <cwchar>

namespace {

// The desktop chooser's control ids (colordlg.h), so that the same hands
// drive both.
enum : int {
    kRedEdit = COLOR_RED,
    kGreenEdit = COLOR_GREEN,
    kBlueEdit = COLOR_BLUE,
    kAddCustom = COLOR_ADD,
    kDefine = COLOR_MIX,
    kRedLabel = COLOR_REDACCEL,
    kGreenLabel = COLOR_GREENACCEL,
    kBlueLabel = COLOR_BLUEACCEL,
    kBasicLabel,
    kCustomLabel,
};

constexpr int kColumns = 8;
constexpr int kBasicRows = 6;
constexpr int kCustomCount = 16;

constexpr COLORREF kBasicColors[kBasicRows * kColumns] = {
    0x8080FF, 0x80FFFF, 0x80FF80, 0x80FF00, 0xFFFF80, 0xFF8000, 0xC080FF, 0xFF80FF,
    0x0000FF, 0x00FFFF, 0x00FF80, 0x40FF00, 0xFFFF00, 0xC08000, 0xC08080, 0xFF00FF,
    0x404080, 0x4080FF, 0x00FF00, 0x808000, 0x804000, 0xFF8080, 0x400080, 0x8000FF,
    0x000080, 0x0080FF, 0x008000, 0x408000, 0xFF0000, 0xA00000, 0x800080, 0xFF0080,
    0x000040, 0x004080, 0x004000, 0x404000, 0x800000, 0x400000, 0x400040, 0x800040,
    0x000000, 0x008080, 0x408080, 0x808080, 0x808040, 0xC0C0C0, 0x404040, 0xFFFFFF,
};

struct Chooser {
    CHOOSECOLORW *request;
    COLORREF current;
    COLORREF custom[kCustomCount];
    int nextCustom;
    bool defineShown;
    bool updatingFields; // the fields are being set from a picked colour
    int scale;           // 2 at 192 dpi (VGA), 1 at 96 (QVGA)
    RECT basic, customArea, preview;
};

int Px(const Chooser &c, int v) {
    return v * c.scale;
}

// Cell i of a grid of kColumns columns laid over the area.
RECT Cell(const RECT &area, int rows, int i) {
    int w = (area.right - area.left) / kColumns, h = (area.bottom - area.top) / rows;
    int x = area.left + (i % kColumns) * w, y = area.top + (i / kColumns) * h;
    return RECT{x + 2, y + 2, x + w - 2, y + h - 2};
}

int HitCell(const RECT &area, int rows, POINT pt) {
    if (!PtInRect(&area, pt))
        return -1;
    int w = (area.right - area.left) / kColumns, h = (area.bottom - area.top) / rows;
    int i = (pt.y - area.top) / h * kColumns + (pt.x - area.left) / w;
    return i < rows * kColumns ? i : -1;
}

HWND AddControl(HWND dlg, const wchar_t *cls, const wchar_t *text, DWORD style, int id) {
    HWND control = CreateWindowExW(0, cls, text, WS_CHILD | style, 0, 0, 0, 0, dlg,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(CeSystemFont()), FALSE);
    return control;
}

void ShowDefinePart(HWND dlg, bool show) {
    constexpr int kDefineIds[] = {kRedLabel,  kGreenLabel, kBlueLabel, kRedEdit,
                                  kGreenEdit, kBlueEdit,   kAddCustom};
    for (int id : kDefineIds)
        ShowWindow(GetDlgItem(dlg, id), show ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(dlg, kDefine), show ? SW_HIDE : SW_SHOW);
}

void CreateControls(HWND dlg) {
    AddControl(dlg, L"STATIC", L"Basic colors:", WS_VISIBLE, kBasicLabel);
    AddControl(dlg, L"STATIC", L"Custom colors:", WS_VISIBLE, kCustomLabel);
    AddControl(dlg, L"BUTTON", L"Define Custom Colors >>", WS_TABSTOP | BS_PUSHBUTTON, kDefine);
    const wchar_t *names[] = {L"Red:", L"Green:", L"Blue:"};
    for (int i = 0; i < 3; ++i) {
        AddControl(dlg, L"STATIC", names[i], SS_RIGHT | SS_CENTERIMAGE, kRedLabel + i);
        AddControl(dlg, L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_NUMBER, kRedEdit + i);
        SendDlgItemMessageW(dlg, kRedEdit + i, EM_LIMITTEXT, 3, 0);
    }
    AddControl(dlg, L"BUTTON", L"Add to Custom Colors", WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE,
               kAddCustom);
    AddControl(dlg, L"BUTTON", L"OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
    AddControl(dlg, L"BUTTON", L"Cancel", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
}

void Place(HWND dlg, int id, int x, int y, int w, int h) {
    MoveWindow(GetDlgItem(dlg, id), x, y, w, h, FALSE);
}

// Every part in pixels of the client area below the taskbar: 240 x 294 on a
// QVGA screen, twice that on VGA. A landscape screen is too low for one
// column: the colours go on the left, defining one and the buttons on the
// right.
void Layout(HWND dlg, Chooser &c) {
    RECT rc;
    GetClientRect(dlg, &rc);
    bool wide = rc.right > rc.bottom;
    int m = Px(c, 4), line = Px(c, 13), cell = Px(c, 16), field = Px(c, 15);
    int w = wide ? (rc.right - 3 * m) / 2 : rc.right - 2 * m;
    int x = m, y = m;
    Place(dlg, kBasicLabel, x, y, w, line);
    y += line;
    c.basic = RECT{x, y, x + w, y + kBasicRows * cell};
    y = c.basic.bottom + Px(c, 2);
    Place(dlg, kCustomLabel, x, y, w, line);
    y += line;
    c.customArea = RECT{x, y, x + w, y + 2 * cell};
    y = c.customArea.bottom + Px(c, 4);
    if (wide) {
        x = 2 * m + w;
        y = m;
    }

    Place(dlg, kDefine, x, y, w, Px(c, 20));
    // The preview gives way where a column is narrow (a square screen's).
    int previewWidth = std::min(Px(c, 50), w - Px(c, 78));
    c.preview = RECT{x, y, x + previewWidth, y + 3 * field + Px(c, 4)};
    for (int i = 0; i < 3; ++i) {
        int fy = y + i * (field + Px(c, 2));
        Place(dlg, kRedLabel + i, c.preview.right + Px(c, 2), fy, Px(c, 40), field);
        Place(dlg, kRedEdit + i, c.preview.right + Px(c, 44), fy, Px(c, 32), field);
    }
    if (wide) {
        Place(dlg, kAddCustom, x, c.preview.bottom + Px(c, 4), w, 2 * field);
    } else {
        int addLeft = c.preview.right + Px(c, 80);
        Place(dlg, kAddCustom, addLeft, y, x + w - addLeft, 2 * field);
    }

    int buttonH = Px(c, 20), buttonW = (w - m) / 2;
    int by = rc.bottom - m - buttonH;
    Place(dlg, IDOK, x, by, buttonW, buttonH);
    Place(dlg, IDCANCEL, x + buttonW + m, by, buttonW, buttonH);
    InvalidateRect(dlg, nullptr, TRUE);
}

void ShowFields(HWND dlg, Chooser &c) {
    c.updatingFields = true;
    SetDlgItemInt(dlg, kRedEdit, GetRValue(c.current), FALSE);
    SetDlgItemInt(dlg, kGreenEdit, GetGValue(c.current), FALSE);
    SetDlgItemInt(dlg, kBlueEdit, GetBValue(c.current), FALSE);
    c.updatingFields = false;
}

// A component as the platform reads a number (the whole text, digits up to
// the first other character, so a pasted "-1" or "12a" too), at most 255.
int ReadField(HWND dlg, int id) {
    BOOL ok = FALSE;
    UINT v = PlatformGetDlgItemInt(dlg, id, &ok, FALSE);
    return ok ? static_cast<int>(v > 255 ? 255 : v) : 0;
}

// The field shows the component that is used: "999" becomes "255", "12a"
// "12". An empty field is left to the user's typing.
void ShowUsedComponent(HWND dlg, Chooser &c, int id, int used) {
    HWND field = GetDlgItem(dlg, id);
    int length = GetWindowTextLengthW(field);
    if (length == 0)
        return;
    wchar_t text[8] = L"", shown[8];
    if (length < static_cast<int>(ARRAYSIZE(text)))
        GetWindowTextW(field, text, ARRAYSIZE(text));
    StringCchPrintfW(shown, ARRAYSIZE(shown), L"%d", used);
    if (std::wcscmp(text, shown) == 0)
        return;
    c.updatingFields = true;
    SetWindowTextW(field, shown);
    int end = static_cast<int>(std::wcslen(shown));
    SendMessageW(field, EM_SETSEL, end, end);
    c.updatingFields = false;
}

void FillCell(HDC dc, const RECT &rc, COLORREF color, bool selected) {
    GdiObject<HBRUSH> brush(CreateSolidBrush(color));
    FillRect(dc, &rc, brush.get());
    RECT frame = rc;
    InflateRect(&frame, 1, 1);
    FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(selected ? BLACK_BRUSH : GRAY_BRUSH)));
}

void OnPaint(HWND dlg, Chooser &c) {
    PaintScope paint(dlg);
    HDC dc = paint.dc();
    for (int i = 0; i < kBasicRows * kColumns; ++i)
        FillCell(dc, Cell(c.basic, kBasicRows, i), kBasicColors[i], kBasicColors[i] == c.current);
    for (int i = 0; i < kCustomCount; ++i)
        FillCell(dc, Cell(c.customArea, 2, i), c.custom[i], i == c.nextCustom);
    if (c.defineShown)
        FillCell(dc, c.preview, c.current, false);
}

void Pick(HWND dlg, Chooser &c, COLORREF color) {
    c.current = color;
    ShowFields(dlg, c);
    InvalidateRect(dlg, nullptr, TRUE);
}

void OnTap(HWND dlg, Chooser &c, LPARAM lParam) {
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (int i = HitCell(c.basic, kBasicRows, pt); i >= 0) {
        Pick(dlg, c, kBasicColors[i]);
    } else if (int k = HitCell(c.customArea, 2, pt); k >= 0) {
        c.nextCustom = k; // "Add" replaces the custom colour last tapped
        Pick(dlg, c, c.custom[k]);
    }
}

void End(HWND dlg, Chooser &c, bool ok) {
    if (ok) {
        c.request->rgbResult = c.current;
        if (c.request->lpCustColors)
            CopyMemory(c.request->lpCustColors, c.custom, sizeof(c.custom));
    }
    EndDialog(dlg, ok ? TRUE : FALSE);
}

BOOL OnCommand(HWND dlg, Chooser &c, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDOK:
        End(dlg, c, true);
        return TRUE;
    case IDCANCEL:
        End(dlg, c, false);
        return TRUE;
    case kDefine:
        c.defineShown = true;
        ShowDefinePart(dlg, true);
        InvalidateRect(dlg, nullptr, TRUE);
        return TRUE;
    case kAddCustom:
        c.custom[c.nextCustom] = c.current;
        c.nextCustom = (c.nextCustom + 1) % kCustomCount;
        InvalidateRect(dlg, nullptr, TRUE);
        return TRUE;
    case kRedEdit:
    case kGreenEdit:
    case kBlueEdit:
        if (HIWORD(wParam) == EN_CHANGE && !c.updatingFields) {
            int used[3] = {ReadField(dlg, kRedEdit), ReadField(dlg, kGreenEdit),
                           ReadField(dlg, kBlueEdit)};
            ShowUsedComponent(dlg, c, LOWORD(wParam), used[LOWORD(wParam) - kRedEdit]);
            c.current = RGB(used[0], used[1], used[2]);
            InvalidateRect(dlg, nullptr, TRUE);
        }
        return TRUE;
    }
    return FALSE;
}

BOOL OnInitDialog(HWND dlg, Chooser &c) {
    c.scale = DeviceDpi() / 96;
    MakeShellDialog(dlg, true, false);
    CreateControls(dlg);
    Layout(dlg, c);
    ShowDefinePart(dlg, c.defineShown);
    ShowFields(dlg, c);
    return TRUE;
}

INT_PTR CALLBACK ChooserProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *c = reinterpret_cast<Chooser *>(GetWindowLongPtrW(dlg, DWLP_USER));
    if (msg == WM_INITDIALOG) {
        // Only DialogBoxIndirectParam's own initialisation carries the
        // request; a second one, sent from elsewhere, is ignored.
        if (c || SentFromElsewhere())
            return FALSE;
        c = reinterpret_cast<Chooser *>(lParam);
        SetWindowLongPtrW(dlg, DWLP_USER, lParam);
    }
    if (!c)
        return FALSE;
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dlg, *c);
    case WM_PAINT:
        OnPaint(dlg, *c);
        return TRUE;
    case WM_LBUTTONDOWN:
        OnTap(dlg, *c, lParam);
        return TRUE;
    case WM_SIZE:
        // The screen turned: the device resizes a full-screen dialog.
        if (GetDlgItem(dlg, IDOK))
            Layout(dlg, *c);
        return TRUE;
    case WM_COMMAND:
        return OnCommand(dlg, *c, wParam);
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(0xff, 0xff, 0xff));
        return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    }
    return FALSE;
}

// An empty dialog template: the controls are laid out in pixels at start.
static_assert(sizeof(DLGTEMPLATE) == 18, "the template's fields follow its 18 bytes");
struct ChooserTemplate {
    DLGTEMPLATE head;
    WORD menu, windowClass;
    wchar_t title[6];
};

} // namespace

BOOL WINAPI PlatformChooseColorW(LPCHOOSECOLORW request) {
    if (!request || request->lStructSize < sizeof(CHOOSECOLORW))
        return FALSE;
    Chooser c = {};
    c.request = request;
    c.current = (request->Flags & CC_RGBINIT) ? request->rgbResult : 0;
    if (request->lpCustColors)
        CopyMemory(c.custom, request->lpCustColors, sizeof(c.custom));
    c.defineShown = (request->Flags & CC_FULLOPEN) != 0;

    alignas(4) ChooserTemplate dialog = {};
    dialog.head.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    StringCchCopyW(dialog.title, ARRAYSIZE(dialog.title), L"Color");
    INT_PTR result =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &dialog.head, request->hwndOwner,
                                ChooserProc, reinterpret_cast<LPARAM>(&c));
    return result == TRUE;
}
