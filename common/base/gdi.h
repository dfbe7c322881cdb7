// Small owners for GDI work: a selection that is undone, an object or a
// screen DC released on scope exit, the one off-screen buffer through which
// every picture reaches the screen in a single BitBlt, and the few drawing
// helpers more than one window needs. Nothing here knows the program.
//
// The memory DCs are made in gdi.cpp, where CreateCompatibleDC is the routed
// one: one definition, whichever file includes this header.
#pragma once
#include "platform/platform.h"

#include <type_traits>

// Selects an object into a DC and selects the previous one back on scope exit.
class SelectGdi {
  public:
    SelectGdi(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectGdi() {
        if (old_)
            SelectObject(dc_, old_);
    }
    SelectGdi(const SelectGdi &) = delete;
    SelectGdi &operator=(const SelectGdi &) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// A GDI object (font, brush, pen, bitmap) deleted on scope exit.
template <typename Handle> class GdiObject {
  public:
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() {
        if (handle_)
            DeleteObject(handle_);
    }
    GdiObject(const GdiObject &) = delete;
    GdiObject &operator=(const GdiObject &) = delete;
    Handle get() const { return handle_; }

  private:
    Handle handle_;
};

// A window's DC (the screen's for nullptr), released on scope exit.
class WindowDC {
  public:
    explicit WindowDC(HWND hwnd = nullptr) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC &) = delete;
    WindowDC &operator=(const WindowDC &) = delete;
    HDC get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// Puts a new GDI object (a brush, a font) into a long-lived slot and deletes
// the one it replaces, after the slot holds the new one.
template <typename Handle> void ReplaceGdiObject(Handle *slot, std::type_identity_t<Handle> fresh) {
    Handle old = *slot;
    *slot = fresh;
    if (old)
        DeleteObject(old);
}

// Tahoma, the face of every text the device's shell and this program draw.
inline HFONT CreateTahomaFont(LONG height, LONG weight, BYTE charSet = ANSI_CHARSET,
                              BYTE quality = DEFAULT_QUALITY) {
    LOGFONTW lf = {};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = charSet;
    lf.lfQuality = quality;
    StringCchCopyW(lf.lfFaceName, ARRAYSIZE(lf.lfFaceName), L"Tahoma");
    return CreateFontIndirectW(&lf);
}

// A corner of a GradientFill rectangle.
inline TRIVERTEX GradientVertex(LONG x, LONG y, COLORREF c) {
    TRIVERTEX v = {};
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>(GetRValue(c) << 8);
    v.Green = static_cast<COLOR16>(GetGValue(c) << 8);
    v.Blue = static_cast<COLOR16>(GetBValue(c) << 8);
    return v;
}

// A gradient from the top colour in the first row to the bottom colour in the
// last.
inline void FillVerticalGradient(HDC dc, const RECT &rc, COLORREF top, COLORREF bottom) {
    TRIVERTEX v[2] = {GradientVertex(rc.left, rc.top, top),
                      GradientVertex(rc.right, rc.bottom, bottom)};
    GRADIENT_RECT gr = {0, 1};
    GradientFill(dc, v, 2, &gr, 1, GRADIENT_FILL_RECT_V);
}

// A memory DC with a bitmap compatible with the target, of the rectangle's
// size. Draw into dc() at (0, 0); Present() copies it to the target at the
// rectangle's top-left corner. Everything is released on scope exit.
class OffscreenBuffer {
  public:
    OffscreenBuffer(HDC target, const RECT &rc);
    ~OffscreenBuffer() {
        if (old_)
            SelectObject(dc_, old_);
        if (dc_)
            DeleteDC(dc_);
        if (bitmap_)
            DeleteObject(bitmap_);
    }
    OffscreenBuffer(const OffscreenBuffer &) = delete;
    OffscreenBuffer &operator=(const OffscreenBuffer &) = delete;

    bool ok() const { return old_ != nullptr; }
    HDC dc() const { return dc_; }
    // The buffer's own rectangle, with its origin at (0, 0).
    RECT bounds() const { return RECT{0, 0, rc_.right - rc_.left, rc_.bottom - rc_.top}; }
    void Present() const {
        if (ok())
            BitBlt(target_, rc_.left, rc_.top, rc_.right - rc_.left, rc_.bottom - rc_.top, dc_, 0,
                   0, SRCCOPY);
    }

  private:
    HDC target_;
    RECT rc_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

// A block of the screen copied in one read into a DIB section of its own.
// One GetPixel per sample would be a round trip to the display each. The read
// is clipped to what the DC shows: beyond it a block read is not defined
// (it may come back black), so those samples give what GetPixel gives there.
class ScreenBlock {
  public:
    ScreenBlock(HDC screen, const RECT &area);
    ~ScreenBlock() {
        if (old_)
            SelectObject(dc_, old_);
        if (bitmap_)
            DeleteObject(bitmap_);
        if (dc_)
            DeleteDC(dc_);
    }
    ScreenBlock(const ScreenBlock &) = delete;
    ScreenBlock &operator=(const ScreenBlock &) = delete;

    // The colour at a point of the screen, or CLR_INVALID where the read did
    // not reach.
    COLORREF at(int x, int y) const {
        // Compared here: on the device PtInRect is a call into the system,
        // and a paint samples two points a row.
        if (!bits_ || x < area_.left || x >= area_.right || y < area_.top || y >= area_.bottom)
            return CLR_INVALID;
        DWORD bgrx = bits_[(y - area_.top) * (area_.right - area_.left) + (x - area_.left)];
        return RGB(GetBValue(bgrx), GetGValue(bgrx), GetRValue(bgrx));
    }

  private:
    HDC dc_;
    RECT area_ = {};
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    const DWORD *bits_ = nullptr;
};

// BeginPaint/EndPaint as a scope.
class PaintScope {
  public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope &) = delete;
    PaintScope &operator=(const PaintScope &) = delete;
    HDC dc() const { return dc_; }

  private:
    HWND hwnd_;
    PAINTSTRUCT ps_;
    HDC dc_;
};

// The WM_PAINT of a window whose whole client area is drawn by draw(dc, rc):
// composed off screen, then one BitBlt. A draw(dc, rc, screen) also gets the
// window's own DC, to look at what is on the screen now.
template <typename Draw> void PaintOffscreen(HWND hwnd, Draw draw) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    PaintScope paint(hwnd);
    OffscreenBuffer buffer(paint.dc(), rc);
    if constexpr (std::is_invocable_v<Draw, HDC, const RECT &, HDC>)
        draw(buffer.dc(), buffer.bounds(), paint.dc());
    else
        draw(buffer.dc(), buffer.bounds());
    buffer.Present();
}
