// What the files of the emulation share among themselves and with the
// desktop start-up; neither the program nor its tests include this header.
#pragma once
#include "pocketpc_emulation/seams.h"

// Height of the shell taskbar on a screen of the given width: the CE shell's
// 26 pixels, doubled on VGA-class screens.
int ShellTaskbarHeight(int screenWidth);

// The screen below the shell's taskbar: where a CE application window and a
// full-screen dialog go.
RECT ScreenBelowTaskbar();

// The CE system font: Tahoma regular, 8 points at the screen's density.
constexpr int kCeSystemFontPoints = 8;
HFONT CeSystemFont();

// Makes PlatformCreateWindowExW call starter before it creates an application
// window (top-level, neither popup nor child) while no taskbar exists.
void SetShellStarter(HWND (*starter)());

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
// The window's shell-dialog flags; 0 for any other window.
ULONG_PTR ShellDialogFlags(HWND hwnd);
// How many full-screen shell dialogs this process has made and not yet destroyed.
int FullScreenShellDialogs();
// The full-screen shell dialog of this process in front, or nullptr.
HWND ShellDialogInFront();
// Tells the taskbar that a shell dialog came, went or changed its title.
void ShellDialogsChanged();
