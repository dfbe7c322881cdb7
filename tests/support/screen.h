// What every kind of test reads from outside the code under test: the
// screen's pixels, the colours they are compared with, and a process's
// private memory as the host counts it. Nothing here knows the program.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Colours as GetPixel returns them (0x00BBGGRR).
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kGray = 0xC0C0C0;
constexpr COLORREF kBarBlue = 0xC00000; // the info page's used part

// A deadline of baseMs on the development machine, on this host: scaled by
// the factor the scripts measure (ZB_DEADLINE_SCALE; 1 without it), so that
// a wait that takes its time on a slow host still holds there.
DWORD DeadlineMs(DWORD baseMs);

COLORREF ScreenPixel(int x, int y);
// A colour as the screen holds it once drawn there: at 16 bits per pixel (the
// Pocket PC's RGB 565) a channel keeps its top 5 or 6 bits.
COLORREF ScreenColor(COLORREF color);
// A colour as a picture of the program shows it: each is composed in a bitmap
// compatible with the screen, which may hold fewer bits still (Wine's 16-bit
// ones hold 5 of green), then copied to the screen.
COLORREF PictureColor(COLORREF color);
// Whether a pixel of a gradient in a picture shows a colour: at 16 bits per
// pixel gradients are dithered, a pixel's channel up to one step of the
// screen's off the colour.
bool GradientShows(COLORREF pixel, COLORREF color);
RECT ScreenRect(HWND hwnd);

// The screen's pixels in a rectangle, read in one go; at() takes screen
// coordinates inside it.
class ScreenCapture {
  public:
    explicit ScreenCapture(const RECT &rc);
    COLORREF at(int x, int y) const;

  private:
    RECT rc_;
    std::vector<DWORD> pixels_;
};

// A path of the host as Wine names it: the Unix root is drive Z:.
std::wstring WindowsPath(const char *unixPath);

// RssAnon of a Linux process status file read through Wine (for this
// process, "Z:\proc\self\status"), in KiB; -1 when it cannot be read.
long long RssAnonKB(const wchar_t *statusPath);
