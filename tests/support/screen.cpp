#include "screen.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

DWORD DeadlineMs(DWORD baseMs) {
    static const DWORD scale = [] {
        const char *text = std::getenv("ZB_DEADLINE_SCALE");
        long value = text ? std::strtol(text, nullptr, 10) : 1;
        return static_cast<DWORD>(value < 1 ? 1 : (value > 50 ? 50 : value));
    }();
    return baseMs * scale;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

namespace {

int ScreenBits() {
    HDC screen = GetDC(nullptr);
    int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return bits;
}

} // namespace

COLORREF ScreenColor(COLORREF color) {
    if (ScreenBits() != 16)
        return color & 0xFFFFFF;
    // A pixel in RGB 565, a Pocket PC's 16-bit format and Xvfb's at depth 16,
    // read back as GetPixel reads the screen.
    struct {
        BITMAPINFOHEADER header;
        DWORD masks[3];
    } info = {};
    info.header.biSize = sizeof(info.header);
    info.header.biWidth = 1;
    info.header.biHeight = 1;
    info.header.biPlanes = 1;
    info.header.biBitCount = 16;
    info.header.biCompression = BI_BITFIELDS;
    info.masks[0] = 0xF800;
    info.masks[1] = 0x07E0;
    info.masks[2] = 0x001F;
    HDC memory = CreateCompatibleDC(nullptr);
    void *bits565 = nullptr;
    HBITMAP pixel = CreateDIBSection(memory, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS,
                                     &bits565, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, pixel);
    SetPixelV(memory, 0, 0, color & 0xFFFFFF);
    COLORREF held = GetPixel(memory, 0, 0);
    SelectObject(memory, old);
    DeleteObject(pixel);
    DeleteDC(memory);
    return held;
}

COLORREF PictureColor(COLORREF color) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP pixel = CreateCompatibleBitmap(screen, 1, 1);
    HGDIOBJ old = SelectObject(memory, pixel);
    SetPixelV(memory, 0, 0, color & 0xFFFFFF);
    COLORREF held = GetPixel(memory, 0, 0);
    SelectObject(memory, old);
    DeleteObject(pixel);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ScreenColor(held);
}

bool GradientShows(COLORREF pixel, COLORREF color) {
    COLORREF shown = PictureColor(color);
    if (ScreenBits() != 16)
        return pixel == shown;
    // A step of 5 bits is 8 or 9 of 8 bits.
    auto withinStep = [](int a, int b) { return a - b <= 9 && b - a <= 9; };
    return withinStep(GetRValue(pixel), GetRValue(shown)) &&
           withinStep(GetGValue(pixel), GetGValue(shown)) &&
           withinStep(GetBValue(pixel), GetBValue(shown));
}

RECT ScreenRect(HWND hwnd) {
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    return rc;
}

ScreenCapture::ScreenCapture(const RECT &rc) : rc_(rc) {
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    pixels_.resize(static_cast<size_t>(w) * h);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    GetDIBits(memory, bitmap, 0, h, pixels_.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

COLORREF ScreenCapture::at(int x, int y) const {
    DWORD bgr = pixels_[static_cast<size_t>(y - rc_.top) * (rc_.right - rc_.left) + (x - rc_.left)];
    return RGB(GetBValue(bgr), GetGValue(bgr), GetRValue(bgr)); // 0x00RRGGBB in the DIB
}

long long RssAnonKB(const wchar_t *statusPath) {
    FILE *f = _wfopen(statusPath, L"r");
    if (!f)
        return -1;
    char line[256];
    long long kb = -1;
    while (std::fgets(line, sizeof(line), f))
        if (std::strncmp(line, "RssAnon:", 8) == 0)
            kb = std::atoll(line + 8);
    std::fclose(f);
    return kb;
}

std::wstring WindowsPath(const char *unixPath) {
    std::wstring path = unixPath[0] == '/' ? L"Z:" : L"";
    for (const char *c = unixPath; *c; ++c)
        path += (*c == '/') ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}
