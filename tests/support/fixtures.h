// Shared helpers of the in-process tests: the program state put back to its
// start-up values, test taskbars of chosen sizes, a fake battery and the
// registry key.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "app/startup.h"
#include "state/state.h"
#include "pocketpc_emulation/seams.h"
#include "test_windows.h"

// Every global back to its initial value; the gauge of a previous test gone.
void ResetProgramState();
// Start-up's taskbar and gauge stages on the taskbar there is, with the
// default colours instead of the registry's.
void StartGaugeWithDefaultColors();

// A window of class "HHTaskBar" at the screen's top-left corner whose client
// area has the given size. The painter draws its pixels (default: a
// vertical gradient like the shell's).
class TestTaskbar {
  public:
    using Painter = std::function<void(HDC, const RECT &)>;
    TestTaskbar(int width, int height, Painter painter = nullptr);
    ~TestTaskbar();
    void Resize(int width, int height);
    HWND hwnd() const { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
    Painter painter_;
    static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
};

// Power readings through the platform layer's seam.
class FakePower {
  public:
    FakePower(int percent = 57, int acLine = 0, DWORD lifeTime = 8208);
    ~FakePower();
    void Set(int percent, int acLine, DWORD lifeTime);
    void Fail(bool fail) { fail_ = fail; }
    // Host readings taken so far.
    static int Reads() { return reads_; }

  private:
    static BOOL Read(SYSTEM_POWER_STATUS *status);
    static SYSTEM_POWER_STATUS s_status;
    static bool fail_;
    static int reads_;
};

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

    std::unique_ptr<TestTaskbar> taskbar_;
};

bool GaugeHasUpdate();
void ValidateGauge();
// Gauge's top-left corner in taskbar client coordinates.
POINT GaugeOrigin();

// What the process holds, for leak checks. Wine's GetGuiResources and
// GetProcessHandleCount report nothing, so these count for themselves: GDI
// objects in the process's GDI handle table, handles by probing, windows of
// this thread, private memory from the host.
int GdiObjectCount();
int HandleCount();
int WindowCount();
SIZE_T PrivateBytes();

// The program's settings key.
void DeleteSettingsKey();
bool ReadStoredValue(const wchar_t *name, DWORD *value, DWORD *type = nullptr,
                     DWORD *size = nullptr);
void StoreRawValue(const wchar_t *name, DWORD type, const void *data, DWORD size);

// A dialog template of the test executable's resources, and one of its string
// or ordinal fields ("#n" for an ordinal), read and stepped past.
const DLGTEMPLATE *DialogTemplate(int id);
std::wstring TemplateField(const WORD *&p);
