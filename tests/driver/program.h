// The real ZemloBattery.exe, started in this test's virtual desktop and looked
// at from outside: its windows, the screen's pixels, and input as a user gives it.
#pragma once
#include "dialog_template.h"
#include "screen.h"

#include <string>
#include <utility>
#include <vector>

// Set by main from --program=, --desktop= and --screen-tool=.
extern std::wstring g_programPath;
extern std::wstring g_desktopName;
extern std::wstring g_screenTool;
// Takes one of those options; false when arg is none of them.
bool TakeProgramOption(const char *arg);

// Turns the emulated screen from another process, as the device's rotation
// key does; true when it turned.
bool TurnScreen();

class Program {
  public:
    Program() = default;
    ~Program();
    // Starts the program (in currentDir, when given) and waits until its gauge
    // is in the taskbar.
    bool Launch(const wchar_t *currentDir = nullptr, const wchar_t *argument = nullptr);
    // Starts the program without waiting for anything.
    bool Start();
    // Ends the program, as a power-off would.
    void Stop();
    // Leaves the program running past this object.
    void Detach();
    // Starts another instance and waits for its exit; returns its exit code.
    static DWORD RunSecondInstance(DWORD timeoutMs);
    // Waits for the process to end; returns its exit code, or STILL_ACTIVE.
    DWORD WaitExit(DWORD timeoutMs);
    HWND mainWindow() const { return main_; }
    HWND taskbar() const { return taskbar_; }
    HWND gauge() const { return gauge_; }

  private:
    PROCESS_INFORMATION process_ = {};
    HWND main_ = nullptr;
    HWND taskbar_ = nullptr;
    HWND gauge_ = nullptr;
};

// Polls a condition every 50 ms until it holds or the time is up.
template <typename Condition> bool WaitFor(Condition condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
}

// Starts the program without waiting for anything.
// An argument, which the program ignores, shows in the host's view of its
// command line.
bool StartProgram(PROCESS_INFORMATION *pi, const wchar_t *currentDir = nullptr,
                  const wchar_t *argument = nullptr);
// The program's main window (the info page), and its gauge in the taskbar.
HWND FindMainWindow();
HWND FindGauge();
// Top-level windows of a class (and title), and the gauges in a taskbar.
int CountWindows(const wchar_t *className, const wchar_t *title = nullptr);
int CountGauges(HWND taskbar);
// The windows of a process, top-level and child.
int WindowsOf(DWORD pid);

// Starts the program count times at once and waits until one instance runs
// with its gauge; then ends what still runs.
struct Burst {
    int running = 0;     // instances still running after the wait
    int mainWindows = 0; // and their main windows and taskbars
    int taskbars = 0;
    std::vector<DWORD> exitCodes;   // of the starts that ended by themselves
    std::vector<DWORD> startErrors; // of the starts that could not be made
};
Burst StartBurst(int count);

void ClickAt(int x, int y);
void PressCtrlKey(WORD key, bool alt = false);
void PressKey(WORD key);

// The fake battery's files, when the test runs with one (empty otherwise).
bool HaveFakeBattery();
void SetFakeBattery(int percent, bool acOnline);

void DeleteProgramSettings();
// Leaves the settings key readable and deletable, not writable.
bool MakeProgramSettingsReadOnly();
bool ReadProgramSetting(const wchar_t *name, DWORD *value);
void WriteProgramSetting(const wchar_t *name, DWORD value);
// Every value of the settings key, by name.
std::vector<std::pair<std::wstring, DWORD>> ProgramSettings();
