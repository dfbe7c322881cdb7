#include "pocketpc_emulation/dialog_template.h"

namespace {

// A name or ordinal field: 0xFFFF and an ordinal, or a NUL-ended string.
const WORD *SkipNameOrOrdinal(const WORD *p) {
    if (*p == 0xFFFF)
        return p + 2;
    while (*p)
        ++p;
    return p + 1;
}

const WORD *SkipString(const WORD *p) {
    while (*p)
        ++p;
    return p + 1;
}

const WORD *AlignToDword(const WORD *p) {
    return reinterpret_cast<const WORD *>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR{3});
}

DWORD DwordAt(const WORD *p) {
    DWORD value;
    CopyMemory(&value, p, sizeof(value));
    return value;
}

// A control's class as the dialog manager takes it: an ordinal, or a name
// that may be one of the predefined classes' names.
WORD ClassAtom(const WORD *field) {
    if (*field == 0xFFFF)
        return field[1];
    static const wchar_t *const predefined[] = {L"Button",  L"Edit",      L"Static",
                                                L"ListBox", L"ScrollBar", L"ComboBox"};
    for (WORD i = 0; i < ARRAYSIZE(predefined); ++i) {
        if (lstrcmpiW(reinterpret_cast<const wchar_t *>(field), predefined[i]) == 0)
            return static_cast<WORD>(kButtonAtom + i);
    }
    return 0;
}

} // namespace

TemplateLayout ReadDialogTemplate(LPCDLGTEMPLATEW dialog, std::vector<TemplateControl> *controls) {
    TemplateLayout layout;
    auto *words = reinterpret_cast<const WORD *>(dialog);
    bool extended = words[0] == 1 && words[1] == 0xFFFF;
    DWORD style = extended ? DwordAt(words + 6) : dialog->style;
    WORD items = extended ? words[8] : dialog->cdit;
    const WORD *p = words + (extended ? 13 : 9);
    p = SkipNameOrOrdinal(p); // menu
    p = SkipNameOrOrdinal(p); // window class
    p = SkipString(p);        // title
    if (style & DS_SETFONT) {
        p += extended ? 3 : 1; // point size; weight, italic and character set
        layout.face = p;
        p = SkipString(p);
        layout.afterFace = p;
    }
    for (WORD i = 0; i < items; ++i) {
        // DIALOG: style, extended style, x, y, cx, cy, a WORD id. DIALOGEX:
        // help id, extended style, style, x, y, cx, cy, a DWORD id.
        const WORD *item = AlignToDword(p);
        const WORD *place = item + (extended ? 6 : 4);
        if (controls) {
            auto coordinate = [&](int n) { return static_cast<LONG>(static_cast<SHORT>(place[n])); };
            TemplateControl control;
            control.id = place[4];
            control.style = DwordAt(item + (extended ? 4 : 0));
            control.units = RECT{coordinate(0), coordinate(1), coordinate(0) + coordinate(2),
                                 coordinate(1) + coordinate(3)};
            control.classAtom = ClassAtom(item + (extended ? 12 : 9));
            controls->push_back(control);
        }
        p = item + (extended ? 12 : 9);
        p = SkipNameOrOrdinal(p); // class
        p = SkipNameOrOrdinal(p); // title
        p += 1 + (*p + 1) / 2;    // creation data, after its size in bytes
    }
    layout.end = reinterpret_cast<const BYTE *>(p);
    return layout;
}

std::vector<TemplateControl> TemplateControls(LPCDLGTEMPLATEW dialog) {
    std::vector<TemplateControl> controls;
    ReadDialogTemplate(dialog, &controls);
    return controls;
}

LPCDLGTEMPLATEW FindDialogTemplate(HMODULE module, int dialogId) {
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(dialogId), RT_DIALOG);
    HGLOBAL loaded = res ? LoadResource(module, res) : nullptr;
    return loaded ? static_cast<LPCDLGTEMPLATEW>(LockResource(loaded)) : nullptr;
}
