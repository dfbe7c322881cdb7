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
        controls.push_back({item->id, item->style,
                            RECT{item->x, item->y, item->x + item->cx, item->y + item->cy}});
        p = SkipField(SkipField(reinterpret_cast<const WORD *>(item + 1))); // class, caption
        p += 1 + (*p + 1) / 2; // creation data, after its size in bytes
    }
    return controls;
}
