// The package's setup DLL (the CAB's .999): the installer calls it before it
// puts the program's file in place or removes it, and after installing. A
// running gauge holds its file open, so it is asked to end first, through
// its own Quit; once installed, the gauge is started so that it shows at once.
#include "setupdll/ce_setup.h"

#include "res/resource.h"

namespace {

// The main window's class, as the program registers it (IDS_CLASS).
constexpr WCHAR kProgramClass[] = L"ZemloBattery";
constexpr WCHAR kProgramFile[] = L"ZemloBattery.exe";
// Quit ends the program at its next message; a program that does not end in
// this time leaves the installer to report the file it could not replace.
constexpr DWORD kEndWaitMs = 5000, kStepMs = 100;

void EndRunningProgram() {
    HWND running = FindWindowW(kProgramClass, nullptr);
    if (!running)
        return;
    DWORD processId = 0;
    GetWindowThreadProcessId(running, &processId);
    HANDLE process = processId ? OpenProcess(0, FALSE, processId) : nullptr;
    if (PostMessageW(running, WM_COMMAND, MAKEWPARAM(IDM_QUIT, 0), 0)) {
        // The file is free once the process has ended; its window goes with it.
        if (process) {
            WaitForSingleObject(process, kEndWaitMs);
        } else {
            for (DWORD waited = 0; waited < kEndWaitMs && IsWindow(running); waited += kStepMs)
                Sleep(kStepMs);
        }
    }
    if (process)
        CloseHandle(process);
}

} // namespace

extern "C" {

// The loader's entry point: nothing to set up or tear down.
BOOL WINAPI DllMain(HANDLE, DWORD, LPVOID) {
    return TRUE;
}

codeINSTALL_INIT Install_Init(HWND, BOOL, BOOL, LPCTSTR) {
    EndRunningProgram();
    return codeINSTALL_INIT_CONTINUE;
}

// The folder is the one the user chose, a storage card's too.
codeINSTALL_EXIT Install_Exit(HWND, LPCTSTR pszInstallDir, WORD cFailedDirs, WORD cFailedFiles,
                              WORD, WORD, WORD) {
    if (cFailedDirs || cFailedFiles || !pszInstallDir)
        return codeINSTALL_EXIT_DONE;
    WCHAR path[MAX_PATH];
    size_t length = 0;
    if (FAILED(StringCchCopyW(path, ARRAYSIZE(path), pszInstallDir)) ||
        FAILED(StringCchLengthW(path, ARRAYSIZE(path), &length)) ||
        (length && path[length - 1] != L'\\' &&
         FAILED(StringCchCatW(path, ARRAYSIZE(path), L"\\"))) ||
        FAILED(StringCchCatW(path, ARRAYSIZE(path), kProgramFile)))
        return codeINSTALL_EXIT_DONE;
    PROCESS_INFORMATION started;
    if (CreateProcessW(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                       &started)) {
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
    return codeINSTALL_EXIT_DONE;
}

codeUNINSTALL_INIT Uninstall_Init(HWND, LPCTSTR) {
    EndRunningProgram();
    return codeUNINSTALL_INIT_CONTINUE;
}

codeUNINSTALL_EXIT Uninstall_Exit(HWND) {
    return codeUNINSTALL_EXIT_DONE;
}

} // extern "C"
