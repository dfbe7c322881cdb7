// What a user does to the running program, found from its live windows: the
// end-to-end tests and zbdrive (scripts' make run) share it.
#pragma once
#include "pocketpc_emulation/names.h"
#include "program.h"

// Makes name this thread's desktop: the emulated screen the program is started
// in (a Wine virtual desktop of the size the prefix gives that name).
bool UseDesktop(const std::wstring &name);

// The emulated device's density, as the device reports it, is above the CE
// shell's 96 dpi (192 dpi, VGA).
bool HiResScreen();

// Taps the middle of a window.
void ClickControl(HWND control);

// The dialog of that title once it shows: a dialog is made visible only after
// its initialisation (its place, its fields) is done. nullptr when it has not
// shown in time.
HWND WaitForDialog(const wchar_t *title, DWORD timeoutMs);

// Taps the gauge; waits until the info page shows and is in front (the program
// has then answered the tap in full, and a tap on the page is not taken by
// that answer). False when it has not shown in time.
bool OpenInfoPage(HWND gauge, HWND page);
// Waits until the page is shown (and in front) or hidden.
bool PageShown(HWND page, bool shown);
// The top-left pixel of a row's bar outline on the screen (row 0: the device
// memory, then each card), where the program lays out the page.
POINT InfoRowOutline(HWND page, int row);
// The page answers a tap in full once its device memory bar is drawn: the
// bar's black outline, with the page's white above it.
bool MemoryBarShown(HWND page);
// A bar's black outline at p, with the page's white above it.
bool OutlineDrawnAt(POINT p);

// The storage card taken out of the device while this lives: the folder
// that is drive E: of this Wine prefix moved aside, and put back at the end.
class StorageCardOut {
  public:
    StorageCardOut();
    ~StorageCardOut();
    StorageCardOut(const StorageCardOut &) = delete;
    StorageCardOut &operator=(const StorageCardOut &) = delete;
    bool out() const { return out_; }

  private:
    std::wstring card_, aside_;
    bool out_ = false;
};

// Opens Setup through the soft-key bar: "Setup" is the last item of "Tools".
HWND OpenSetup();

// The middle of a colour element's swatch (by its name, as the registry and
// the Setup label have it) in Setup's client area, where the program lays it
// out for the taskbar it runs with.
bool SwatchPoint(const wchar_t *element, POINT *point);
// Every colour row's label and swatch in Setup's client area.
std::vector<RECT> ColorRowRects();
// Taps the swatch and returns the chooser once it shows: its initialisation
// has then filled the fields, which would otherwise overwrite what is typed.
HWND OpenChooser(HWND setup, const wchar_t *element = L"Full_Part");
bool ChooserGone();
// Setup has ended: its dialog is gone.
bool SetupGone();
// Taps the chooser's button (IDOK, IDCANCEL); the chooser goes.
bool EndChooser(HWND chooser, int button);
// Types a colour's components into the chooser's fields.
void TypeColour(HWND chooser, COLORREF colour);

// Taps the taskbar's "ok" of a full-screen Done dialog, once it shows as a
// user would see it; false when it has not shown in time.
bool TapTaskbarOk();
