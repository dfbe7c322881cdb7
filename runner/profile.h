// What the program's messages cost in the runner, for make bench: with
// ZB_RUNNER_PROFILE naming a file, each message the host hands to one of the
// program's procedures (not one the program sends itself while handling
// another) is timed, with the ARM instructions it ran and the imports it
// called, and the file gets one line per window class and message when the
// program ends.
#pragma once

#include "platform/platform.h"

#include <cstdint>

namespace runner {

struct MessageCost {
    double us;
    uint64_t instructions;
    uint64_t imports;
};

bool Profiling();
// The profile's clock, in microseconds.
double NowUs();
void CountMessage(HWND hwnd, UINT message, const MessageCost &cost);
// Writes the file (once); the program's end calls it.
void WriteProfile();

} // namespace runner
