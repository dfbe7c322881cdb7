#include <gtest/gtest.h>

#include "program.h"

#include <cstring>

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--desktop=", 10) == 0) {
            for (const char *c = argv[i] + 10; *c; ++c)
                g_desktopName += static_cast<wchar_t>(*c);
            continue;
        }
        if (std::strncmp(argv[i], "--screen-tool=", 14) == 0)
            g_screenTool = WindowsPath(argv[i] + 14);
        else if (std::strncmp(argv[i], "--program=", 10) == 0)
            g_programPath = WindowsPath(argv[i] + 10);
    }
    if (g_programPath.empty()) {
        std::fprintf(stderr,
                     "usage: e2e_tests --program=PATH [--desktop=NAME] [--screen-tool=PATH]\n");
        return 2;
    }
    // The emulated screen: a Wine virtual desktop of the size the prefix gives
    // that name. This process and the program it starts share it.
    if (!g_desktopName.empty()) {
        HDESK desktop =
            CreateDesktopW(g_desktopName.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
        if (!desktop || !SetThreadDesktop(desktop)) {
            std::fprintf(stderr, "cannot use desktop %ls\n", g_desktopName.c_str());
            return 2;
        }
    }
    return RUN_ALL_TESTS();
}
