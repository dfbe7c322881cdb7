// What the in-process tests and the benchmark share, without GoogleTest: the
// program state put back to its start-up values, start-up's stages, test
// taskbars of chosen sizes, a fake battery, counters and the registry key.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "app/startup.h"
#include "state/state.h"
#include "pocketpc_emulation/seams.h"
#include "pocketpc_emulation/dialog_template.h"
#include "screen.h"
#include "stored_defaults.h"
#include "test_windows.h"

// Every global back to its initial value; the gauge of a previous test gone.
void ResetProgramState();
// Start-up's stages from the taskbar's on, in the program's order, on the
// taskbar there is: with FromRegistry::kYes the settings and colours are read
// (and written back) as the program does; with kNo the settings keep their
// initial values and the colours get their defaults, whatever is stored.
enum class FromRegistry { kYes, kNo };
void StartUpStages(FromRegistry registry, bool withGauge = true);

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
bool StoreRawValue(const wchar_t *name, DWORD type, const void *data, DWORD size);
