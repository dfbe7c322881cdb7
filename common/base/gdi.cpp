#include "base/gdi.h"

OffscreenBuffer::OffscreenBuffer(HDC target, const RECT &rc)
    : target_(target), rc_(rc), dc_(CreateCompatibleDC(target)),
      bitmap_(CreateCompatibleBitmap(target, rc.right - rc.left, rc.bottom - rc.top)),
      old_(dc_ && bitmap_ ? SelectObject(dc_, bitmap_) : nullptr) {}

ScreenBlock::ScreenBlock(HDC screen, const RECT &area) : dc_(CreateCompatibleDC(screen)) {
    RECT visible;
    if (!dc_ || GetClipBox(screen, &visible) == ERROR || !IntersectRect(&area_, &area, &visible))
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
        FlushGdiBatch();
        bits_ = static_cast<const DWORD *>(bits);
    }
}
