// The gauge window in the taskbar: discovery and resolution mode, the
// placement rule and its bounds, width tracking, the tap and message routing.
#include "fixtures.h"
#include "fixed_layout.h"
#include "stored_defaults.h"

#include "gauge/gauge.h"
#include "monitor/monitor.h"

#include <algorithm>
#include <vector>

namespace {

class GaugeWindowTest : public GaugeTest {};

// A taskbar of 32 pixels or more keeps the hi-res layout, a lower one gives
// the low-res layout: the gauge, a child of the taskbar, in the mode's box.
TEST_F(GaugeWindowTest, TaskbarHeightSettlesTheResolutionMode) {
    struct Case {
        int width, height;
        BYTE hiRes;
    };
    for (const Case &c : {Case{480, 32, 1}, Case{240, 31, 0}}) {
        SCOPED_TRACE(testing::Message() << "taskbar of " << c.height << " pixels");
        TearDown();
        g_position = kDefaultPosition[c.hiRes];
        Build(c.width, c.height);
        EXPECT_EQ(g_hiRes, c.hiRes);
        EXPECT_EQ(g_taskbarWidth, c.width);
        EXPECT_EQ(GetParent(g_gauge), taskbar_->hwnd());
        RECT rc = RectIn(g_gauge, GetParent(g_gauge));
        EXPECT_TRUE(EqualRect(&rc, &kDefaultGaugeBox[c.hiRes]));
    }
}

// On a low-res taskbar, and on one narrower than the gauge (at zero either
// way); any non-zero alignment counts as left.
TEST_F(GaugeWindowTest, ClampKeepsThePositionInsideTheTaskbar) {
    struct Case {
        int width, height, align, position, expected, x;
    };
    const Case cases[] = {
        {240, 26, 1, -3, 0, 0},      {240, 26, 1, 230, 218, 218}, {240, 26, 1, 218, 218, 218},
        {240, 26, 1, 100, 100, 100}, {240, 26, 0, 10, 22, 218},   {240, 26, 0, 250, 240, 0},
        {240, 26, 0, 30, 30, 210},   {240, 26, 0, 240, 240, 0},   {30, 52, 1, 10, 0, 0},
        {30, 52, 0, 10, 30, 0},      {480, 52, 5, 12, 12, 12},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " align " << c.align
                                        << " position " << c.position);
        TearDown();
        Build(c.width, c.height);
        g_align = c.align;
        g_position = c.position;
        ClampPosition();
        EXPECT_EQ(g_position, c.expected);
        POINT at = PlaceGauge(TaskbarClientRect(), g_align, g_position);
        EXPECT_TRUE(at.x == c.x && at.y == GaugeTop());
    }
}

// A shell restart destroys the taskbar g_taskbar names: nothing is measured
// against it, and a new taskbar is found when there is one.
TEST_F(GaugeWindowTest, ClampLeavesPositionAloneWhileTheTaskbarIsGone) {
    Build(480, 52);
    g_align = 1;
    g_position = 100;
    taskbar_.reset();
    ClampPosition();
    EXPECT_EQ(g_position, 100);
    taskbar_ = std::make_unique<TestTaskbar>(120, 52);
    ClampPosition();
    EXPECT_EQ(g_taskbar, taskbar_->hwnd());
    EXPECT_EQ(g_position, 120 - 44);
}

// A taskbar whose width changes: the same poll moves a right-aligned gauge
// with the taskbar's end and leaves a left-aligned one (only ClampPosition
// reduces a position), and repaints either; the same width again is no change.
TEST_F(GaugeWindowTest, AWidthChangeIsFollowedInTheSamePoll) {
    const struct {
        int align, position, width, before, after;
    } cases[] = {{0, 30, 320, 210, 290}, {1, 200, 230, 200, 200}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "align " << c.align);
        TearDown();
        FakePower power;
        g_align = c.align;
        g_position = c.position;
        Build(240, 26);
        PollStatus(nullptr);
        EXPECT_EQ(GaugeOrigin().x, c.before);
        ValidateGauge();
        taskbar_->Resize(c.width, 26);
        PollStatus(nullptr);
        EXPECT_EQ(g_taskbarWidth, c.width);
        EXPECT_EQ(GaugeOrigin().x, c.after);
        EXPECT_EQ(g_position, c.position);
        EXPECT_TRUE(GaugeHasUpdate());
        ValidateGauge();
        PollStatus(nullptr);
        EXPECT_FALSE(GaugeHasUpdate());
    }
}

// Records what reaches the STATIC procedure behind the gauge.
std::vector<UINT> s_passedOn;
LRESULT CALLBACK RecordingStaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    s_passedOn.push_back(msg);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Stands in for the main window: records the polls that the tap sends.
struct TapProbe {
    int polls = 0;
    bool visibleAtPoll = false;
    bool tapPendingAtPoll = false;
};
TapProbe s_probe;
LRESULT CALLBACK ProbeMainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER) {
        ++s_probe.polls;
        s_probe.visibleAtPoll = IsWindowVisible(hwnd) != FALSE;
        s_probe.tapPendingAtPoll = g_tapPending != 0;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST_F(GaugeWindowTest, TapShowsMainWindowRunsPollAndIsNotPassedOn) {
    Build(480, 52);
    g_mainWnd = CreateTestWindow(L"TapProbeMain", ProbeMainProc, WS_POPUP, 0, 52, 480, 500);
    ASSERT_NE(g_mainWnd, nullptr);
    WNDPROC staticProc = g_staticProc;
    g_staticProc = RecordingStaticProc;
    s_passedOn.clear();
    s_probe = {};

    for (int tap = 1; tap <= 2; ++tap) {
        EXPECT_EQ(SendMessageW(g_gauge, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)), 0);
        EXPECT_EQ(s_probe.polls, tap) << "each tap runs all its steps, shown or not";
        EXPECT_TRUE(s_probe.visibleAtPoll);
        EXPECT_TRUE(s_probe.tapPendingAtPoll);
    }
    EXPECT_TRUE(IsWindowVisible(g_mainWnd));
    EXPECT_TRUE(s_passedOn.empty()) << "WM_LBUTTONDOWN never reaches the STATIC procedure";

    SendMessageW(g_gauge, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageW(g_gauge, WM_ERASEBKGND, 0, 0);
    EXPECT_EQ(s_passedOn, (std::vector<UINT>{WM_LBUTTONUP, WM_ERASEBKGND}));

    g_staticProc = staticProc;
    DestroyWindow(g_mainWnd);
    g_mainWnd = nullptr;
}

TEST_F(GaugeWindowTest, PaintIsPassedOnAfterTheGaugeHasValidatedItself) {
    FakePower power;
    Build(480, 52);
    PollStatus(nullptr);
    WNDPROC staticProc = g_staticProc;
    g_staticProc = RecordingStaticProc;
    s_passedOn.clear();
    InvalidateGauge();
    UpdateWindow(g_gauge);
    g_staticProc = staticProc;
    EXPECT_NE(std::find(s_passedOn.begin(), s_passedOn.end(), WM_PAINT), s_passedOn.end());
    EXPECT_FALSE(GaugeHasUpdate());
}

} // namespace
