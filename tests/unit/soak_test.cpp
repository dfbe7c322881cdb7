// 100,000 polls with readings, taskbar width, style, colours and the cached
// background's use changing, and the repaints they cause: the process's GDI and USER objects,
// handles and private bytes must end where they began. Run as its own CTest test.
#include "fixtures.h"

#include "gauge/gauge.h"
#include "monitor/monitor.h"
#include "settings/colors.h"

#include <cstdio>

namespace {

struct Resources {
    int gdi, user, handles;
    SIZE_T privateBytes;
};

Resources Measure() {
    return {GdiObjectCount(), WindowCount(), HandleCount(), PrivateBytes()};
}

class Soak : public GaugeTest {
  protected:
    // One tick of a busy life: the readings change every fifth tick (each
    // change a repaint), the rest now and then.
    void Tick(FakePower &power, int i) {
        int step = i / 5;
        power.Set(step % 101, (step / 7) % 3 == 0 ? 1 : (step % 2 ? 0 : 255),
                  step % 3 == 0 ? BATTERY_LIFE_UNKNOWN : 3600 + step % 5000);
        if (i % 1000 == 0)
            taskbar_->Resize(i % 2000 ? 470 : 480, 52);
        if (i % 500 == 0)
            g_style = (i / 500) % kGaugeStyleCount;
        if (i % 10 == 0)
            g_useCachedBackground = 1; // a paint from the cached background
        if (i % 250 == 0)
            SetElementColor(Element(i % 500 ? kFullPart : kFrameNotCharging),
                            RGB(i % 256, (i / 256) % 256, 128));
        PollStatus(nullptr);
        UpdateWindow(g_gauge);
        if (i % 100 == 0)
            Pump();
    }
};

// Private bytes may move by what the heap keeps for itself; 1 MiB is far
// below what a leak of one object per tick would give over 100,000 ticks.
constexpr SIZE_T kPrivateBytesTolerance = 1 << 20;

TEST_F(Soak, ALongRunOfPollsLeavesNothingBehind) {
    FakePower power;
    g_position = 300;
    Build(480, 52);
    for (int i = 0; i < 2000; ++i) // warm-up: fonts, caches, the heap's first growth
        Tick(power, i);
    Pump();
    Resources before = Measure();
    for (int i = 0; i < 100000; ++i)
        Tick(power, i);
    Pump();
    Resources after = Measure();
    std::printf("soak: GDI objects %d -> %d, windows %d -> %d, handles %d -> %d, private bytes "
                "%llu -> %llu\n",
                before.gdi, after.gdi, before.user, after.user, before.handles, after.handles,
                static_cast<unsigned long long>(before.privateBytes),
                static_cast<unsigned long long>(after.privateBytes));
    ASSERT_GT(before.gdi, 0);
    ASSERT_GT(before.handles, 0);
    ASSERT_GT(before.privateBytes, 0u);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
    EXPECT_EQ(after.handles, before.handles);
    EXPECT_LE(after.privateBytes, before.privateBytes + kPrivateBytesTolerance);
}

} // namespace
