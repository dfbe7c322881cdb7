// The CE system font on desktop Windows.
//
// On the device the system font, which a new device context starts with and
// a control draws in until it is given another, is Tahoma regular at the
// screen's density. The desktop's is a bold "System", so the program's memory
// contexts and controls get the CE font here.
#include "base/gdi.h"
#include "internal.h"

namespace {

// Created once for the process and never freed, like a stock object.
HFONT s_systemFont = nullptr;

} // namespace

HFONT CeSystemFont() {
    if (!s_systemFont) {
        WindowDC screen;
        int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
        s_systemFont = CreateTahomaFont(-MulDiv(kCeSystemFontPoints, dpi, 72), FW_NORMAL,
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
