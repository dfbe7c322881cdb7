// Linked into the program only (not into the tests): the shell's taskbar is
// there before the program's first window, as it is on the device. It comes
// with that window rather than at static initialisation, so that a start that
// finds another instance running and exits makes none.
#include "internal.h"

namespace {
const bool s_shellStarter = (SetShellStarter(StartShellTaskbar), true);
}
