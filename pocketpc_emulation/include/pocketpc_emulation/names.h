// The emulated shell's names that other processes and the tests reach it by:
// each is typed here once, for the emulation, the tests and the driver.
#pragma once
#include <windows.h>

#include <colordlg.h> // the chooser's controls: COLOR_RED, COLOR_GREEN, COLOR_BLUE...

// The window class of the soft-key bar that SHCreateMenuBar makes.
constexpr wchar_t kSoftKeyBarClass[] = L"ZbSoftKeyBar";

// Posted to the stand-in taskbar (a registered message, wParam a delay in
// milliseconds), it restarts the shell: the taskbar goes, and comes back
// after the delay.
constexpr wchar_t kShellRestartMessage[] = L"ZemloBatteryShellRestart";

// The device's rotation key, Ctrl+Alt+R: the taskbar's hot key of this id.
constexpr int kTurnHotKey = 1;
constexpr UINT kTurnKeyModifiers = MOD_CONTROL | MOD_ALT;
constexpr UINT kTurnKey = 'R';

// Top and bottom colours of the stand-in taskbar's vertical gradient.
constexpr COLORREF kShellTopColor = RGB(0x2c, 0x5c, 0xb4);
constexpr COLORREF kShellBottomColor = RGB(0x08, 0x24, 0x64);
