// The common dialogs, loaded when first used: only the colour chooser needs
// them, and linking them would load comdlg32 and what it pulls in (shell32,
// shlwapi, winspool and more) at every start.
#define ZB_PLATFORM_IMPL
#include "platform/platform.h"

BOOL WINAPI PlatformChooseColorW(LPCHOOSECOLORW request) {
    using ChooseColorFn = BOOL(WINAPI *)(LPCHOOSECOLORW);
    static const ChooseColorFn choose = [] {
        HMODULE dll = LoadLibraryW(L"comdlg32.dll");
        return dll ? reinterpret_cast<ChooseColorFn>(GetProcAddress(dll, "ChooseColorW")) : nullptr;
    }();
    return choose ? choose(request) : FALSE;
}
