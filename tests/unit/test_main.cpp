#include <gtest/gtest.h>

#include "state/state.h"

int main(int argc, char **argv) {
    g_instance = GetModuleHandleW(nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
