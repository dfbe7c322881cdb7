// The poll: change detection case by case, seen through the gauge's update
// region, with the battery readings fed through the platform's power seam.
#include "fixtures.h"

#include "app/mainwnd.h"
#include "gauge/gauge.h"
#include "monitor/monitor.h"

namespace {

class PollTest : public GaugeTest {
  protected:
    void SetUp() override {
        GaugeTest::SetUp();
        Build(480, 52);
        PollStatus(nullptr); // the first poll of the creation sequence
        Settle();
    }
    // Lets the gauge paint and the poll after it run, so that nothing is pending.
    void Settle() {
        Pump();
        PollStatus(nullptr);
        Pump();
        ValidateGauge();
        ASSERT_EQ(g_useCachedBackground, 0);
    }
    FakePower power_{57, 0, 8208};
};

TEST_F(PollTest, FirstPollStoresReadingsAndInvalidates) {
    ResetProgramState();
    Build(480, 52);
    ValidateGauge();
    PollStatus(nullptr);
    EXPECT_EQ(g_batteryPercent, 57);
    EXPECT_EQ(g_batteryLifeTime, 8208);
    EXPECT_EQ(g_onAC, 0);
    EXPECT_TRUE(GaugeHasUpdate()) << "-1 never equals a reading";
}

TEST_F(PollTest, UnchangedTickInvalidatesNothing) {
    for (int tick = 0; tick < 3; ++tick) {
        SendMessageW(nullptr, WM_NULL, 0, 0);
        PollStatus(nullptr);
        EXPECT_FALSE(GaugeHasUpdate()) << "tick " << tick;
    }
}

TEST_F(PollTest, OneRepaintRequestGivesOneInvalidation) {
    g_gaugeRepaint = 1;
    PollStatus(nullptr);
    EXPECT_TRUE(GaugeHasUpdate());
    EXPECT_EQ(g_gaugeRepaint, 0);
    ValidateGauge();
    PollStatus(nullptr);
    EXPECT_FALSE(GaugeHasUpdate());
}

TEST_F(PollTest, APollTakesOneHostReading) {
    int before = FakePower::Reads();
    power_.Set(33, 1, 4000);
    PollStatus(nullptr);
    EXPECT_EQ(FakePower::Reads() - before, 1);
    EXPECT_EQ(g_batteryPercent, 33);
    EXPECT_EQ(g_batteryLifeTime, 4000);
    EXPECT_EQ(g_onAC, 1);

    // The long record alone reads the host again.
    power_.Set(20, 0, 3000);
    SYSTEM_POWER_STATUS_EX2 status = {};
    ASSERT_EQ(GetSystemPowerStatusEx2(&status, sizeof(status), TRUE), sizeof(status));
    EXPECT_EQ(status.BatteryLifePercent, 20);
    EXPECT_EQ(FakePower::Reads() - before, 2);
}

// Readings one after another, as the host gives them: what the program keeps,
// and whether the gauge repaints.
TEST_F(PollTest, ReadingsAreKeptAsTheDeviceShowsThem) {
    constexpr DWORD kUnknown = BATTERY_LIFE_UNKNOWN;
    const struct {
        int percent, acLine;
        DWORD lifeTime;
        bool fails;
        int shown, lifeKept, onAC;
        bool repaint;
        const char *what;
    } cases[] = {
        {255, 0, 8208, false, 100, 8208, 0, true, "a percentage above 100 shows as 100"},
        {100, 0, 8208, false, 100, 8208, 0, false, "100 after 255 is no change"},
        {100, 1, 8208, false, 100, 8208, 1, true, "ACLineStatus 1 is external power"},
        {100, 2, 8208, false, 100, 8208, 0, true, "ACLineStatus 2 is not"},
        {100, 1, 8208, false, 100, 8208, 1, true, "ACLineStatus 1 again"},
        {100, 255, 8208, false, 100, 8208, 0, true, "ACLineStatus 255 (unknown) is not"},
        {100, 0, 8208, false, 100, 8208, 0, false, "ACLineStatus 0 after 255 is no change"},
        {100, 0, kUnknown, false, 100, -1, 0, true, "a life time becoming unknown"},
        {12, 1, 100, true, 100, -1, 0, false, "a failed query keeps the last reading"},
    };
    for (const auto &c : cases) {
        power_.Set(c.percent, c.acLine, c.lifeTime);
        power_.Fail(c.fails);
        PollStatus(nullptr);
        EXPECT_EQ(g_batteryPercent, c.shown) << c.what;
        EXPECT_EQ(g_batteryLifeTime, c.lifeKept) << c.what;
        EXPECT_EQ(g_onAC, c.onAC) << c.what;
        EXPECT_EQ(GaugeHasUpdate(), c.repaint) << c.what;
        Settle();
    }
}

TEST_F(PollTest, AnyTimerIdRunsAFullPoll) {
    int percent = 60;
    for (WPARAM id : {WPARAM(0), WPARAM(1), WPARAM(77)}) {
        power_.Set(++percent, 0, 8208);
        EXPECT_EQ(MainWndProc(nullptr, WM_TIMER, id, 0), 0);
        EXPECT_EQ(g_batteryPercent, percent) << "timer id " << id;
        EXPECT_TRUE(GaugeHasUpdate());
        Settle();
    }
}

TEST_F(PollTest, CacheFlagIsClearedWithOneRepaint) {
    g_useCachedBackground = 1;
    PollStatus(nullptr);
    EXPECT_EQ(g_useCachedBackground, 0);
    EXPECT_TRUE(GaugeHasUpdate());
}

// The main window stand-in for the storage decision: hidden, so only the
// very first tap-driven poll may scan (the host's root here).
TEST_F(PollTest, TapPendingReachesTheStorageDecisionWithoutTouchingTheGauge) {
    HWND main = CreateTestWindow(L"PollTestMain", DefWindowProcW, WS_POPUP, 0, 52, 480, 500);
    g_tapPending = 1;
    PollStatus(main);
    EXPECT_EQ(g_tapPending, 0);
    EXPECT_FALSE(GaugeHasUpdate()) << "no battery change, no gauge repaint";
    EXPECT_EQ(g_storageRefresh, 0) << "the first tap-driven poll scanned";
    EXPECT_NE(g_freeKB[0], ~0ull);
    DestroyWindow(main);
}

} // namespace
