// The device's start-up, which a CE C run-time library would otherwise bring.
// Built into the device program only (make device).
#include "platform/platform.h"

extern "C" {

// The linker's list of the static constructors: -1, the constructors, 0.
extern void (*const __CTOR_LIST__[])();

// The CE loader calls the entry point with WinMain's own arguments.
void WinMainCRTStartup(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show) {
    int count = 0;
    while (__CTOR_LIST__[count + 1])
        ++count;
    // Last to first, as GCC's start-up runs them.
    for (int i = count; i > 0; --i)
        __CTOR_LIST__[i]();
    int code = WinMain(instance, previous, commandLine, show);
    // COREDLL exports no ExitProcess.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
}

} // extern "C"
