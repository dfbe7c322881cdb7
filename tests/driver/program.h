// The real ZemloBattery.exe, started in this test's virtual desktop and looked
// at from outside: its windows, the screen's pixels, and input as a user gives it.
#pragma once
#include "pocketpc_emulation/dialog_template.h"
#include "screen.h"

#include <source_location>
#include <string>
#include <utility>
#include <vector>

// The class and the title of the program's main window, as its string table
// gives them.
constexpr wchar_t kMainWindowClass[] = L"ZemloBattery";

// Set by main from --program=, --desktop=, --screen-tool= and --resources=.
extern std::wstring g_programPath;
// The file the program's resources are read from: the program itself, or the
// device program that the runner (--program) runs.
const std::wstring &ProgramResources();
extern std::wstring g_desktopName;
extern std::wstring g_screenTool;
// Takes one of those options; false when arg is none of them.
bool TakeProgramOption(const char *arg);

// Turns the emulated screen from another process, as the device's rotation
// key does; true when it turned.
bool TurnScreen();
// Starts that turn and returns at once: the process to wait on, or null.
HANDLE StartScreenTurn();

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
    // Starts another instance and waits for its exit (a deadline, scaled);
    // returns its exit code.
    static DWORD RunSecondInstance(DWORD timeoutMs);
    // Waits for the process to end (a deadline, scaled); returns its exit
    // code, or STILL_ACTIVE.
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

// Says on the error output that a wait of waitedMs for what passed its
// deadline; what is the condition's text or where it was waited for.
void ReportMissedDeadline(const char *what, DWORD waitedMs, const std::source_location &where);

// Polls a condition every 50 ms until it holds or its deadline (baseMs,
// scaled) passes; a missed deadline is reported, naming what was waited for.
// WAIT_UNTIL(expression, baseMs) names the expression itself.
template <typename Condition>
bool WaitFor(Condition condition, DWORD baseMs, const char *what = nullptr,
             std::source_location where = std::source_location::current()) {
    DWORD limit = DeadlineMs(baseMs), start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > limit) {
            ReportMissedDeadline(what, limit, where);
            return false;
        }
        Sleep(50);
    }
}
#define WAIT_UNTIL(expression, baseMs) WaitFor([&] { return (expression); }, baseMs, #expression)

// Waits until the thread of hwnd has taken what was posted or put in its
// input queue before: a thread answers a sent message in each call to get a
// message, before it takes the next queued one, so every answer is one more
// queued message dispatched. A tap queues a few (move, press, release) and
// what they post; eight rounds cover them. False when the thread did not
// answer within the deadline.
bool Settled(HWND hwnd);

// Starts the program without waiting for anything.
// An argument, which the program ignores, shows in the host's view of its
// command line.
bool StartProgram(PROCESS_INFORMATION *pi, const wchar_t *currentDir = nullptr,
                  const wchar_t *argument = nullptr);
// The program's main window (the info page), and its gauge in the taskbar.
HWND FindMainWindow();
HWND FindGauge();
// The windows of a class (and title), top-level or a parent's; the gauges in
// a taskbar; the shell's taskbars.
int CountWindows(const wchar_t *className, const wchar_t *title = nullptr, HWND parent = nullptr);
int CountGauges(HWND taskbar);
int CountTaskbars();
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
