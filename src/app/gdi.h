// Small owners for GDI work: a selection that is undone, and the one
// off-screen buffer through which every picture of the program reaches the
// screen in a single BitBlt.
#pragma once
#include "platform/platform.h"

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

// A memory DC with a bitmap compatible with the target, of the rectangle's
// size. Draw into dc() at (0, 0); Present() copies it to the target at the
// rectangle's top-left corner. Everything is released on scope exit.
class OffscreenBuffer {
  public:
    OffscreenBuffer(HDC target, const RECT &rc)
        : target_(target), rc_(rc), dc_(CreateCompatibleDC(target)),
          bitmap_(CreateCompatibleBitmap(target, rc.right - rc.left, rc.bottom - rc.top)),
          old_(dc_ && bitmap_ ? SelectObject(dc_, bitmap_) : nullptr) {}
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
// (Wine fills it black), so those samples give what GetPixel gives there.
class ScreenBlock {
  public:
    ScreenBlock(HDC screen, const RECT &area) : dc_(CreateCompatibleDC(screen)) {
        RECT visible;
        if (!dc_ || GetClipBox(screen, &visible) == ERROR ||
            !IntersectRect(&area_, &area, &visible))
            return;
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = area_.right - area_.left;
        bi.bmiHeader.biHeight = -(area_.bottom - area_.top); // top-down rows
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void *bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap_)
            return;
        old_ = SelectObject(dc_, bitmap_);
        if (BitBlt(dc_, 0, 0, bi.bmiHeader.biWidth, -bi.bmiHeader.biHeight, screen, area_.left,
                   area_.top, SRCCOPY)) {
            GdiFlush();
            bits_ = static_cast<const DWORD *>(bits);
        }
    }
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
        POINT pt = {x, y};
        if (!bits_ || !PtInRect(&area_, pt))
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
// composed off screen, then one BitBlt.
template <typename Draw> void PaintOffscreen(HWND hwnd, Draw draw) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    PaintScope paint(hwnd);
    OffscreenBuffer buffer(paint.dc(), rc);
    draw(buffer.dc(), buffer.bounds());
    buffer.Present();
}
