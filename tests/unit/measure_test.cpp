// The leak checks are only as good as their counters: each must see what a
// leak would leave behind.
#include "fixtures.h"

#include <vector>

namespace {

TEST(LeakCounters, SeeObjectsHandlesWindowsAndMemory) {
    int gdi = GdiObjectCount();
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 10; ++i)
        brushes.push_back(CreateSolidBrush(RGB(i, 2, 3)));
    EXPECT_EQ(GdiObjectCount(), gdi + 10);
    for (HBRUSH b : brushes)
        DeleteObject(b);
    EXPECT_EQ(GdiObjectCount(), gdi);

    int handles = HandleCount();
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    EXPECT_EQ(HandleCount(), handles + 1);
    CloseHandle(event);

    HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                             nullptr);
    int windows = WindowCount();
    EXPECT_GE(windows, 1);
    DestroyWindow(w);
    EXPECT_LT(WindowCount(), windows);

    SIZE_T bytes = PrivateBytes();
    ASSERT_GT(bytes, 0u);
    std::vector<char> block(16 << 20, 1);
    EXPECT_GT(PrivateBytes(), bytes + (8 << 20));
}

} // namespace
