#include <gtest/gtest.h>

#include "driver.h"

#include <cstdio>

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        TakeProgramOption(argv[i]);
    if (g_programPath.empty()) {
        std::fprintf(stderr,
                     "usage: e2e_tests --program=PATH [--resources=PATH] [--desktop=NAME] [--screen-tool=PATH]\n");
        return 2;
    }
    // The emulated screen: a Wine virtual desktop of the size the prefix gives
    // that name. This process and the program it starts share it.
    if (!g_desktopName.empty() && !UseDesktop(g_desktopName)) {
        std::fprintf(stderr, "cannot use desktop %ls\n", g_desktopName.c_str());
        return 2;
    }
    return RUN_ALL_TESTS();
}
