// The stand-in taskbar's right end: the clock, and the "ok" of a full-screen
// dialog with the Done button, as they reach the screen.
#include <gtest/gtest.h>

#include "pocketpc_emulation/seams.h"
#include "screen.h"
#include "test_windows.h"

namespace {

// Pumps this thread's messages until the condition holds or the time is up.
template <typename Condition> bool PumpUntil(Condition condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        FlushScreen();
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
    }
}

// The screen's pixels in a rectangle, read in one go.
class ScreenCopy : public Dib {
  public:
    explicit ScreenCopy(const RECT &rc) : Dib(rc.right - rc.left, rc.bottom - rc.top) {
        HDC screen = GetDC(nullptr);
        BitBlt(dc(), 0, 0, rect().right, rect().bottom, screen, rc.left, rc.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    }
    bool operator==(const ScreenCopy &other) const {
        for (int y = 0; y < rect().bottom; ++y)
            for (int x = 0; x < rect().right; ++x)
                if (at(x, y) != other.at(x, y))
                    return false;
        return true;
    }
};

// The taskbar shows an "ok" at its right end while a full-screen dialog with
// the Done button is in front, and the clock again once it ends.
TEST(ShellTaskbar, OkOfADoneDialogAndTheClockThroughTheMinutesTick) {
    HWND taskbar = StartShellTaskbar();
    ASSERT_NE(taskbar, nullptr);
    HWND dlg = CreateTestWindow(L"ZbFullScreenDialog", DefWindowProcW, WS_POPUP, 0, 0, 10, 10);
    SetWindowTextW(dlg, L"Setup");
    SHINITDLGINFO info = {SHIDIM_FLAGS, dlg, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
    ASSERT_TRUE(SHInitDialog(&info));
    ShowWindow(dlg, SW_SHOW);

    RECT r;
    GetWindowRect(taskbar, &r);
    int bar = r.bottom - r.top, width = r.right - r.left;
    POINT ok = {width - bar / 8 - bar * 3 / 4, bar / 5}; // the middle of its top edge
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(ok.x, ok.y) == kWhite; }, 3000))
        << "an \"ok\" in the taskbar";
    // The clock's minute tick draws the right end itself, as a paint would.
    SendMessageW(taskbar, WM_TIMER, 1, 0);
    FlushScreen();
    EXPECT_EQ(ScreenPixel(ok.x, ok.y), kWhite) << "the minute's tick keeps the \"ok\"";

    DestroyWindow(dlg);
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(ok.x, ok.y) != kWhite; }, 3000))
        << "the taskbar as before";
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    RECT right = {width - 3 * bar, 0, width, bar};
    ScreenCopy painted(right);
    SendMessageW(taskbar, WM_TIMER, 1, 0);
    FlushScreen();
    ScreenCopy ticked(right);
    GetLocalTime(&after);
    if (before.wMinute == after.wMinute) {
        EXPECT_TRUE(painted == ticked) << "the tick draws the clock as the paint did";
    }
    StopShellTaskbar();
}

} // namespace
