#include "dialog_template.h"

namespace {

// A name or ordinal field: 0xFFFF and an ordinal, or a NUL-ended string.
const WORD *SkipField(const WORD *p) {
    if (*p == 0xFFFF)
        return p + 2;
    while (*p)
        ++p;
    return p + 1;
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
            return static_cast<WORD>(0x0080 + i);
    }
    return 0;
}

const WORD *AlignToDword(const WORD *p) {
    return reinterpret_cast<const WORD *>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR{3});
}

} // namespace

const DLGTEMPLATE *FindDialogTemplate(HMODULE module, int dialogId) {
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(dialogId), RT_DIALOG);
    HGLOBAL loaded = res ? LoadResource(module, res) : nullptr;
    return loaded ? static_cast<const DLGTEMPLATE *>(LockResource(loaded)) : nullptr;
}

std::vector<TemplateControl> TemplateControls(const DLGTEMPLATE *dialog) {
    std::vector<TemplateControl> controls;
    const WORD *p = reinterpret_cast<const WORD *>(dialog + 1);
    p = SkipField(SkipField(SkipField(p))); // menu, class, caption
    if (dialog->style & DS_SETFONT)
        p = SkipField(p + 1); // point size, face
    for (WORD i = 0; i < dialog->cdit; ++i) {
        auto *item = reinterpret_cast<const DLGITEMTEMPLATE *>(AlignToDword(p));
        auto *windowClass = reinterpret_cast<const WORD *>(item + 1);
        controls.push_back({item->id, item->style,
                            RECT{item->x, item->y, item->x + item->cx, item->y + item->cy},
                            ClassAtom(windowClass)});
        p = SkipField(SkipField(windowClass)); // class, caption
        p += 1 + (*p + 1) / 2;                 // creation data, after its size in bytes
    }
    return controls;
}
