// The CE system font, and memory contexts as the device's, on desktop Windows.
//
// On the device the system font, which a new device context starts with and
// a control draws in until it is given another, is Tahoma regular at the
// screen's density. The desktop's is a bold "System", so the program's memory
// contexts and controls get the CE font here. The device's GDI draws before a
// call returns; the desktop's may batch, so a DIB section is read after a
// flush.
#include "base/gdi.h"
#include "internal.h"

#include <vector>

namespace {

// Created once for the process and never freed, like a stock object.
HFONT s_systemFont = nullptr;

} // namespace

int DeviceDpi() {
    WindowDC screen;
    return screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
}

HFONT CeSystemFont() {
    if (!s_systemFont) {
        s_systemFont = CreateTahomaFont(-MulDiv(kCeSystemFontPoints, DeviceDpi(), 72), FW_NORMAL,
                                        DEFAULT_CHARSET, ANTIALIASED_QUALITY);
    }
    return s_systemFont;
}

HDC PlatformCreateCompatibleDC(HDC dc) {
    HDC memory = CreateCompatibleDC(dc);
    if (memory)
        SelectObject(memory, CeSystemFont());
    return memory;
}

void FlushGdiBatch() {
    GdiFlush();
}

HFONT CreateShellBarFont(int barHeight) {
    return CreateTahomaFont(-(barHeight * 9 / 20), FW_BOLD);
}

namespace {

// A dialog template as the dialog manager reads it, plain (DIALOG) or
// extended (DIALOGEX): where its font's face name lies and where it ends.
struct TemplateLayout {
    const WORD *face = nullptr; // nullptr: the template names no font
    const WORD *afterFace = nullptr;
    const BYTE *end = nullptr;
};

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

TemplateLayout ReadLayout(LPCDLGTEMPLATEW tmpl) {
    TemplateLayout layout;
    auto *words = reinterpret_cast<const WORD *>(tmpl);
    bool extended = words[0] == 1 && words[1] == 0xFFFF;
    DWORD style;
    WORD items;
    const WORD *p;
    if (extended) {
        CopyMemory(&style, words + 6, sizeof(style));
        items = words[8];
        p = words + 13;
    } else {
        style = tmpl->style;
        items = tmpl->cdit;
        p = words + 9;
    }
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
        p = AlignToDword(p) + (extended ? 12 : 9);
        p = SkipNameOrOrdinal(p); // class
        p = SkipNameOrOrdinal(p); // title
        p += 1 + (*p + 1) / 2;    // creation data, after its size in bytes
    }
    layout.end = reinterpret_cast<const BYTE *>(p);
    return layout;
}

} // namespace

// CE draws a template's "System" face in the system font. The desktop's
// "System" is a bitmap font of another size, which newer Wines pick over any
// substitute the prefix names, so the dialog gets a copy of its template
// that names the CE face instead.
INT_PTR PlatformDialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW tmpl, HWND owner,
                                        DLGPROC proc, LPARAM param) {
    TemplateLayout layout = tmpl ? ReadLayout(tmpl) : TemplateLayout{};
    if (!layout.face || lstrcmpiW(reinterpret_cast<const wchar_t *>(layout.face), L"System") != 0)
        return DialogBoxIndirectParamW(instance, tmpl, owner, proc, param);

    auto *start = reinterpret_cast<const BYTE *>(tmpl);
    auto *faceAt = reinterpret_cast<const BYTE *>(layout.face);
    auto *itemsAt = reinterpret_cast<const BYTE *>(AlignToDword(layout.afterFace));
    constexpr wchar_t kFace[] = L"Tahoma";
    size_t head = faceAt - start;
    size_t itemsOffset = (head + sizeof(kFace) + 3) & ~size_t{3};
    std::vector<DWORD> copy((itemsOffset + (layout.end - itemsAt) + 3) / 4);
    auto *out = reinterpret_cast<BYTE *>(copy.data());
    CopyMemory(out, start, head);
    CopyMemory(out + head, kFace, sizeof(kFace));
    CopyMemory(out + itemsOffset, itemsAt, layout.end - itemsAt);
    return DialogBoxIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(out), owner, proc,
                                   param);
}
