#include "fixtures.h"

#include "settings/registry.h"

void GaugeTest::SetUp() {
    ResetProgramState();
}

void GaugeTest::TearDown() {
    taskbar_.reset();
    ResetProgramState();
}

void GaugeTest::Build(int taskbarWidth, int taskbarHeight, TestTaskbar::Painter painter) {
    taskbar_ = std::make_unique<TestTaskbar>(taskbarWidth, taskbarHeight, std::move(painter));
    StartUpStages(FromRegistry::kNo);
}

void GaugeTest::Store(const wchar_t *name, DWORD value) {
    ASSERT_TRUE(StoreRawValue(name, REG_DWORD, &value, sizeof(value))) << "storing " << name;
}

DWORD GaugeTest::Stored(const wchar_t *name) {
    DWORD value = 0xDEADBEEF, type = 0, size = 0;
    EXPECT_TRUE(ReadStoredValue(name, &value, &type, &size)) << "no value " << name;
    EXPECT_TRUE(type == REG_DWORD && size == 4)
        << name << " of type " << type << ", " << size << " bytes";
    return value;
}
