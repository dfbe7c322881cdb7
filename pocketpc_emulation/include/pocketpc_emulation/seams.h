// Points where tests and the benchmark reach into the emulated CE services:
// the stand-in taskbar, the power reading and the storage root. Nothing in the
// program proper includes this header.
#pragma once
#include "platform/platform.h"

// Creates the stand-in shell taskbar ("HHTaskBar") in this process unless a
// window of that class already exists; returns the taskbar either way.
HWND StartShellTaskbar();
// Destroys a stand-in taskbar that this process created, as a shell restart does.
void StopShellTaskbar();

// The emulated device's density as it reports it: the screen's logical pixels
// per inch (scripts/wine-env.sh gives Wine each screen's, screens.txt).
int DeviceDpi();
// Height of the shell taskbar at a density: the CE shell's 26 pixels at 96
// dpi, in proportion.
int ShellTaskbarHeight(int dpi = DeviceDpi());
// Where the taskbar's "ok" of a full-screen Done dialog stands in its client
// area.
RECT ShellTaskbarOkRect(const RECT &taskbarClient);

// Turns the emulated screen between portrait and landscape, as the device's
// rotation key does; the ChangeDisplaySettingsEx result.
LONG TurnEmulatedScreen();
// Gives the emulated screen the size width x height.
LONG SetEmulatedScreen(int width, int height);

// Power readings: by default the host's GetSystemPowerStatus. A test installs
// its own reader; nullptr restores the default.
using PowerReader = BOOL (*)(SYSTEM_POWER_STATUS *status);
void SetPowerReader(PowerReader reader);

// The CE file system root and program memory as the storage scan sees them.
// By default they are the host's: the current drive's free space, one card
// folder per removable volume, and the host's memory status. A test installs
// its own view; nullptr restores the host's.
struct RootEntry {
    DWORD attributes;
    const wchar_t *name;
};
struct StorageRootView {
    // Fills entries of the root; returns false when the root cannot be listed.
    bool (*list)(RootEntry *entries, int capacity, int *count);
    // Free-space query for nullptr (the root) or "\<card>".
    BOOL (*freeSpace)(LPCWSTR dir, ULARGE_INTEGER *total, ULARGE_INTEGER *totalFree);
    // Program memory: dwTotalPhys and dwAvailPhys.
    void (*memory)(MEMORYSTATUS *status);
};
void SetStorageRootView(const StorageRootView *view);
