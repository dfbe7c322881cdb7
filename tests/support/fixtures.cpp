#include "fixtures.h"

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
