// The runner: the device program (Windows CE on ARM) on the emulated Pocket
// PC. It is named as the program, so that Wine gives it the program's
// desktop, and runs ../device/ZemloBattery.exe beside its folder, or the
// program ZB_DEVICE_PROGRAM names; its command line goes to the program.
#include "machine.h"
#include "profile.h"

#include <cstdlib>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
    std::wstring program;
    if (const wchar_t *named = _wgetenv(L"ZB_DEVICE_PROGRAM"); named && *named) {
        program = named;
    } else {
        wchar_t self[MAX_PATH];
        DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
        program.assign(self, length);
        program.resize(program.find_last_of(L'\\') + 1);
        program += L"..\\device\\ZemloBattery.exe";
    }
    runner::Machine machine(program.c_str());
    uint32_t code = machine.Start(commandLine);
    runner::WriteProfile();
    return static_cast<int>(code);
}
