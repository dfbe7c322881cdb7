// What the files of the emulation share among themselves and with the
// desktop start-up; neither the program nor its tests include this header.
#pragma once
#include "pocketpc_emulation/names.h"
#include "pocketpc_emulation/seams.h"

// The bold Tahoma of the taskbar's and the soft-key bar's text, for a bar of
// that height; the caller owns it.
HFONT CreateShellBarFont(int barHeight);

// The CE system font: Tahoma regular, 8 points at the screen's density.
constexpr int kCeSystemFontPoints = 8;
HFONT CeSystemFont();

// Makes PlatformCreateWindowExW call starter before it creates an application
// window (top-level, neither popup nor child) while no taskbar exists.
void SetShellStarter(HWND (*starter)());

// What the taskbar shows after its start flag: the full-screen shell dialog
// of this process in front (nullptr: none) with its title and, when
// doneButton, the "ok" that ends it with IDOK in place of the clock. The
// shell dialogs tell it whenever that changes; the taskbar never asks.
void ShowDialogInTaskbar(HWND dlg, const wchar_t *title, bool doneButton);

// Makes dlg a shell dialog (SHInitDialog, the colour chooser): fullScreen, it
// fills the screen below the taskbar, which shows its title; doneButton, the
// taskbar's "ok", Alt+F4 and SC_CLOSE end it with IDOK. A second call only
// changes the flags.
void MakeShellDialog(HWND dlg, bool fullScreen, bool doneButton);

// True while the message being handled was sent by another thread or
// process. A window's creation and destruction come only from this thread's
// own calls; such messages from elsewhere must leave the window's state alone.
inline bool SentFromElsewhere() {
    return (InSendMessageEx(nullptr) & ISMEX_SEND) != 0;
}

// Whether a window belongs to this process: the emulated shell acts on its
// own program's windows only.
inline bool ThisProcessWindow(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid == GetCurrentProcessId();
}

// Whether a window is a dialog box (a message box among them).
inline bool IsDialogBox(HWND hwnd) {
    wchar_t name[16];
    return GetClassNameW(hwnd, name, ARRAYSIZE(name)) && lstrcmpW(name, L"#32770") == 0;
}

// The soft-key bar SHCreateMenuBar made for owner, or nullptr.
HWND SoftKeyBarOf(HWND owner);

// The system's window manager: a hidden window of this process that makes
// the windows follow a turn, whether a taskbar exists or not. Started with
// the first emulated window or the shell, whichever comes first.
void StartWindowManager();
// The screen's size as the windows were last laid out for it (the metrics
// until the window manager runs).
SIZE EmulatedScreen();
// The screen below the shell's taskbar: where a CE application window and a
// full-screen dialog go.
RECT ScreenBelowTaskbar();
// Where a soft-key bar goes: across the bottom of the screen as it is now, as
// high as the taskbar.
RECT SoftKeyBarRect();
// Puts a soft-key bar in its place; false when hwnd is not a soft-key bar.
bool PlaceSoftKeyBar(HWND hwnd);
// Puts every soft-key bar of this process in its place.
void PlaceSoftKeyBars();
