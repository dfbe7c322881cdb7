// Linked into the program only (not into the tests): the shell's taskbar is
// there before the program starts, as it is on the device.
#include "platform/seams.h"

namespace {
const HWND s_shellTaskbar = StartShellTaskbar();
}
