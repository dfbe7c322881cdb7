#include "program.h"

#include "settings/registry.h"

#include <sddl.h>
#include <strsafe.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

std::wstring g_programPath;
std::wstring g_desktopName;
std::wstring g_screenTool;
namespace {
std::wstring s_resourcePath;
}

const std::wstring &ProgramResources() {
    return s_resourcePath.empty() ? g_programPath : s_resourcePath;
}

bool TakeProgramOption(const char *arg) {
    if (std::strncmp(arg, "--desktop=", 10) == 0) {
        g_desktopName.clear();
        for (const char *c = arg + 10; *c; ++c)
            g_desktopName += static_cast<wchar_t>(*c);
    } else if (std::strncmp(arg, "--screen-tool=", 14) == 0) {
        g_screenTool = WindowsPath(arg + 14);
    } else if (std::strncmp(arg, "--program=", 10) == 0) {
        g_programPath = WindowsPath(arg + 10);
    } else if (std::strncmp(arg, "--resources=", 12) == 0) {
        s_resourcePath = WindowsPath(arg + 12);
    } else {
        return false;
    }
    return true;
}

HWND FindMainWindow() {
    return FindWindowW(kMainWindowClass, kMainWindowClass);
}

HWND FindGauge() {
    HWND taskbar = FindWindowW(kShellTaskbarClass, nullptr);
    return taskbar ? FindWindowExW(taskbar, nullptr, L"Static", nullptr) : nullptr;
}

namespace {

void SendKey(WORD key, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof(in));
}

std::wstring FakePowerDir() {
    const char *dir = std::getenv("ZB_FAKE_POWER");
    return dir && *dir ? WindowsPath(dir) : L"";
}

} // namespace

void ReportMissedDeadline(const char *what, DWORD waitedMs, const std::source_location &where) {
    const char *file = where.file_name();
    for (const char *c = file; *c; ++c)
        if (*c == '/' || *c == '\\')
            file = c + 1;
    std::fprintf(stderr, "%s:%u: waited %lu ms for %s; it did not happen\n", file,
                 static_cast<unsigned>(where.line()), static_cast<unsigned long>(waitedMs),
                 what ? what : "the condition on this line");
}

bool Settled(HWND hwnd) {
    DWORD_PTR result;
    for (int i = 0; i < 8; ++i)
        if (!SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, DeadlineMs(3000), &result))
            return false;
    return true;
}

namespace {

// Starts exe with an argument in this test's desktop. Under load Wine has
// refused a creation now and then (in a burst of the program's starts, and
// among the screen tool's turns); a moment later it succeeds, as a user's
// second tap would.
bool StartIn(const std::wstring &exe, const wchar_t *argument, const wchar_t *currentDir,
             PROCESS_INFORMATION *pi) {
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    if (!g_desktopName.empty())
        si.lpDesktop = g_desktopName.data();
    std::wstring cmd = L"\"" + exe + L"\"";
    if (argument)
        cmd += std::wstring(L" ") + argument;
    for (int attempt = 0; !exe.empty() && attempt < 3; ++attempt) {
        if (CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           currentDir, &si, pi))
            return true;
        std::fprintf(stderr, "starting %ls failed with error %lu\n", exe.c_str(), GetLastError());
        Sleep(200);
    }
    return false;
}

} // namespace

bool StartProgram(PROCESS_INFORMATION *pi, const wchar_t *currentDir, const wchar_t *argument) {
    return StartIn(g_programPath, argument, currentDir, pi);
}

HANDLE StartScreenTurn() {
    PROCESS_INFORMATION pi = {};
    if (!StartIn(g_screenTool, L"turn", nullptr, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

bool TurnScreen() {
    HANDLE turn = StartScreenTurn();
    if (!turn)
        return false;
    DWORD code = 1;
    if (WaitForSingleObject(turn, DeadlineMs(15000)) == WAIT_OBJECT_0)
        GetExitCodeProcess(turn, &code);
    CloseHandle(turn);
    return code == 0;
}

int CountWindows(const wchar_t *className, const wchar_t *title, HWND parent) {
    int n = 0;
    for (HWND w = nullptr; (w = FindWindowExW(parent, w, className, title));)
        ++n;
    return n;
}

int CountGauges(HWND taskbar) {
    return CountWindows(L"Static", nullptr, taskbar);
}

int CountTaskbars() {
    return CountWindows(kShellTaskbarClass);
}

namespace {

// Named callbacks: a lambda converts to a function pointer of the default
// calling convention, which on 32-bit Windows is not CALLBACK's stdcall.
struct WindowCount {
    DWORD pid;
    int n;
};

BOOL CALLBACK CountChild(HWND, LPARAM p) {
    ++*reinterpret_cast<int *>(p);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM p) {
    auto *c = reinterpret_cast<WindowCount *>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == c->pid) {
        ++c->n;
        EnumChildWindows(hwnd, CountChild, reinterpret_cast<LPARAM>(&c->n));
    }
    return TRUE;
}

} // namespace

int WindowsOf(DWORD pid) {
    WindowCount count = {pid, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
    return count.n;
}

Program::~Program() {
    Stop();
}

namespace {

// Ends a process that still runs, and closes its handles. Wine takes an
// ended process's windows away a moment later; the next test must not find
// them in place of its own program's.
void EndProcess(PROCESS_INFORMATION *process) {
    if (WaitForSingleObject(process->hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process->hProcess, 1);
        WaitForSingleObject(process->hProcess, DeadlineMs(5000));
    }
    DWORD pid = process->dwProcessId;
    WAIT_UNTIL(WindowsOf(pid) == 0, 5000);
    CloseHandle(process->hProcess);
    CloseHandle(process->hThread);
    *process = {};
}

} // namespace

void Program::Stop() {
    if (process_.hProcess)
        EndProcess(&process_);
}

bool Program::Start() {
    return StartProgram(&process_);
}

bool Program::Launch(const wchar_t *currentDir, const wchar_t *argument) {
    if (!StartProgram(&process_, currentDir, argument))
        return false;
    bool created = WaitFor(
        [this] {
            main_ = FindMainWindow();
            taskbar_ = FindWindowW(kShellTaskbarClass, nullptr);
            gauge_ = FindGauge();
            return main_ && gauge_ && !IsWindowVisible(main_);
        },
        15000, "the program's hidden main window and its gauge in the taskbar");
    // The message loop runs once the gauge shows its frame (default colours:
    // white, or red on external power).
    return created && WaitFor(
                          [this] {
                              RECT g = ScreenRect(gauge_);
                              COLORREF frame = ScreenPixel(g.left + 3, g.top + 1);
                              return frame == 0xFFFFFF || frame == 0x0000FF;
                          },
                          10000, "the gauge's frame drawn");
}

void Program::Detach() {
    if (process_.hProcess) {
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        process_ = {};
    }
}

DWORD Program::RunSecondInstance(DWORD timeoutMs) {
    PROCESS_INFORMATION pi = {};
    if (!StartProgram(&pi))
        return ~0u;
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(pi.hProcess, DeadlineMs(timeoutMs)) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return code;
}

DWORD Program::WaitExit(DWORD timeoutMs) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process_.hProcess, DeadlineMs(timeoutMs)) == WAIT_OBJECT_0)
        GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

// Moves there first (from elsewhere, so that the move is seen), then presses
// and releases the button, as a stylus tap does.
void ClickAt(int x, int y) {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    auto absolute = [&](LONG px, LONG py, DWORD flags) {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dx = (px * 65535 + width / 2) / (width - 1);
        in.mi.dy = (py * 65535 + height / 2) / (height - 1);
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
        return in;
    };
    INPUT away = absolute(width / 2, height / 2, 0);
    SendInput(1, &away, sizeof(INPUT));
    Sleep(50);
    INPUT tap[3] = {absolute(x, y, 0), absolute(x, y, MOUSEEVENTF_LEFTDOWN),
                    absolute(x, y, MOUSEEVENTF_LEFTUP)};
    SendInput(1, &tap[0], sizeof(INPUT));
    Sleep(50);
    SendInput(2, &tap[1], sizeof(INPUT));
}

void PressCtrlKey(WORD key, bool alt) {
    SendKey(VK_CONTROL, false);
    if (alt)
        SendKey(VK_MENU, false);
    SendKey(key, false);
    SendKey(key, true);
    if (alt)
        SendKey(VK_MENU, true);
    SendKey(VK_CONTROL, true);
}

void PressKey(WORD key) {
    SendKey(key, false);
    SendKey(key, true);
}

bool HaveFakeBattery() {
    return !FakePowerDir().empty();
}

// The files' format is scripts/battery-files.sh's alone, so the test runs it.
// Wine starts a Unix program without a handle to wait on: the script's last
// file says it is done.
void SetFakeBattery(int percent, bool acOnline) {
    const char *writer = std::getenv("ZB_BATTERY_FILES");
    std::wstring done = FakePowerDir() + L"\\written";
    if (!writer || !*writer || !DeleteFileW(done.c_str()))
        return;
    wchar_t command[1024];
    StringCchPrintfW(command, ARRAYSIZE(command), L"/bin/sh \"%hs\" \"%hs\" %d %d", writer,
                     std::getenv("ZB_FAKE_POWER"), percent, acOnline ? 1 : 0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(L"Z:\\bin\\sh", command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return;
    if (pi.hProcess) {
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    WAIT_UNTIL(GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES, 5000);
}

void DeleteProgramSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
}

bool MakeProgramSettingsReadOnly() {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:P(A;;KRSDRCWD;;;WD)", SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    HKEY key;
    LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, WRITE_DAC, &key);
    if (result == ERROR_SUCCESS) {
        result = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        RegCloseKey(key);
    }
    LocalFree(descriptor);
    return result == ERROR_SUCCESS;
}

bool ReadProgramSetting(const wchar_t *name, DWORD *value) {
    DWORD size = sizeof(*value);
    return RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_DWORD, nullptr, value,
                        &size) == ERROR_SUCCESS;
}

std::vector<std::pair<std::wstring, DWORD>> ProgramSettings() {
    std::vector<std::pair<std::wstring, DWORD>> values;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[64];
        DWORD nameLength = ARRAYSIZE(name), value = 0, size = sizeof(value), type = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type,
                          reinterpret_cast<BYTE *>(&value), &size) != ERROR_SUCCESS)
            break;
        values.emplace_back(name, value);
    }
    RegCloseKey(key);
    return values;
}

void WriteProgramSetting(const wchar_t *name, DWORD value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, REG_DWORD, &value, sizeof(value));
}

Burst StartBurst(int count) {
    Burst burst;
    std::vector<PROCESS_INFORMATION> pi;
    for (int i = 0; i < count; ++i) {
        PROCESS_INFORMATION p = {};
        if (StartProgram(&p))
            pi.push_back(p);
        else
            burst.startErrors.push_back(GetLastError());
    }
    WaitFor(
        [&] {
            burst.running = 0;
            for (const PROCESS_INFORMATION &p : pi)
                burst.running += WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT;
            HWND taskbar = FindWindowW(kShellTaskbarClass, nullptr);
            HWND main = FindMainWindow();
            return burst.running == 1 && taskbar && CountGauges(taskbar) && !IsWindowVisible(main);
        },
        30000, "one instance running with its gauge, the others ended");
    // Wine takes an ended instance's windows away a moment later.
    WaitFor(
        [&] {
            for (const PROCESS_INFORMATION &p : pi)
                if (WaitForSingleObject(p.hProcess, 0) == WAIT_OBJECT_0 && WindowsOf(p.dwProcessId))
                    return false;
            return true;
        },
        5000, "the windows of the ended instances to go");
    burst.mainWindows = CountWindows(kMainWindowClass);
    burst.taskbars = CountWindows(kShellTaskbarClass);
    burst.running = 0;
    for (PROCESS_INFORMATION &p : pi) {
        DWORD code = 0;
        if (GetExitCodeProcess(p.hProcess, &code) && code == STILL_ACTIVE)
            ++burst.running;
        else
            burst.exitCodes.push_back(code);
        EndProcess(&p);
    }
    return burst;
}
