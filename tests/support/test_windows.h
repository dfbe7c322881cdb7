// Window helpers of the in-process tests that know nothing of the program:
// the emulation's tests use them as the program's do.
#pragma once
#include "platform/platform.h"

// A window of a class of the test's own (registered on first use) with the
// given procedure, style and place.
HWND CreateTestWindow(const wchar_t *className, WNDPROC proc, DWORD style, int x, int y, int width,
                      int height, HWND parent = nullptr);
// A window's rectangle in the client coordinates of another (nullptr: the
// screen's).
RECT RectIn(HWND window, HWND other);
// Pumps pending messages of this thread (paints among them).
void PumpMessages();
// Lets Wine put what windows painted onto the screen that GetDC(NULL) reads.
void FlushScreen();

// A 32-bit memory bitmap that GetPixel reads back exactly.
class Dib {
  public:
    Dib(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void *bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        rc_ = {0, 0, width, height};
    }
    ~Dib() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    const RECT &rect() const { return rc_; }
    COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }
    int Count(COLORREF color, const RECT &area) const {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += at(x, y) == color;
        return n;
    }

  private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    RECT rc_;
};
