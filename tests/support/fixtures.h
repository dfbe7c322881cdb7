// The fixture of the in-process tests, on the shared harness.
#pragma once
#include <gtest/gtest.h>

#include "harness.h"

// Taskbar, shared brushes, colour elements with their default colours, and a
// gauge created at the current settings, as the main window's creation makes
// them.
class GaugeTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Discovers the taskbar, lays out the colours and creates the gauge; its
    // first paint waits for the caller, as it waits for the first poll.
    void Build(int taskbarWidth, int taskbarHeight, TestTaskbar::Painter painter = nullptr);
    static void Pump() { PumpMessages(); }
    // A DWORD value under the program's key, stored as a registry editor
    // would; and one read back, which must be there as four bytes of
    // REG_DWORD.
    static void Store(const wchar_t *name, DWORD value);
    static DWORD Stored(const wchar_t *name);

    std::unique_ptr<TestTaskbar> taskbar_;
};
