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
#include "pocketpc_emulation/dialog_template.h"

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

const BYTE *AlignToDword(const WORD *p) {
    return reinterpret_cast<const BYTE *>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR{3});
}

} // namespace

// CE draws a template's "System" face in the system font. The desktop's
// "System" is a bitmap font of another size, which newer Wines pick over any
// substitute the prefix names, so the dialog gets a copy of its template
// that names the CE face instead.
INT_PTR PlatformDialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW tmpl, HWND owner,
                                        DLGPROC proc, LPARAM param) {
    TemplateLayout layout = tmpl ? ReadDialogTemplate(tmpl) : TemplateLayout{};
    if (!layout.face || lstrcmpiW(reinterpret_cast<const wchar_t *>(layout.face), L"System") != 0)
        return DialogBoxIndirectParamW(instance, tmpl, owner, proc, param);

    auto *start = reinterpret_cast<const BYTE *>(tmpl);
    auto *faceAt = reinterpret_cast<const BYTE *>(layout.face);
    auto *itemsAt = AlignToDword(layout.afterFace);
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
