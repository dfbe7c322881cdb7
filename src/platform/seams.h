// Points where tests and the desktop start-up reach into the emulated CE
// services. Nothing in the program proper includes this header.
#pragma once
#include "platform/platform.h"

#ifndef _WIN32_WCE

// Height of the shell taskbar on a screen of the given width: the CE shell's
// 26 pixels, doubled on VGA-class screens.
int ShellTaskbarHeight(int screenWidth);

// The screen below the shell's taskbar: where a CE application window and a
// full-screen dialog go.
RECT ScreenBelowTaskbar();

// The CE system font: Tahoma regular, 8 points at the screen's density.
constexpr int kCeSystemFontPoints = 8;
HFONT CeSystemFont();

// Creates the stand-in shell taskbar ("HHTaskBar") in this process unless a
// window of that class already exists; returns the taskbar either way.
HWND StartShellTaskbar();
// Makes PlatformCreateWindowExW call starter before it creates an application
// window (top-level, neither popup nor child) while no taskbar exists.
void SetShellStarter(HWND (*starter)());
// Destroys a stand-in taskbar that this process created, as a shell restart does.
void StopShellTaskbar();
// Posted to the stand-in taskbar (a registered message, wParam a delay in
// milliseconds), it restarts the shell: the taskbar goes, and comes back
// after the delay.
constexpr wchar_t kShellRestartMessage[] = L"ZemloBatteryShellRestart";

// A shell dialog (SHInitDialog, the colour chooser) carries this window
// property: kShellDialogFullScreen when it fills the screen below the taskbar,
// whose title then shows in the taskbar, kShellDialogDone when the taskbar's
// "ok" ends it with IDOK.
constexpr wchar_t kShellDialogProp[] = L"ZbShellDialog";
constexpr ULONG_PTR kShellDialogFullScreen = 1;
constexpr ULONG_PTR kShellDialogDone = 2;
void MakeShellDialog(HWND dlg, bool fullScreen, bool doneButton);
// The full-screen shell dialog of this process in front, or nullptr.
HWND ShellDialogInFront();
// Tells the taskbar that a shell dialog came, went or changed its title.
void ShellDialogsChanged();

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

#endif
