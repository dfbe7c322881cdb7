// The CE root as the emulation lists it from the host's drives.
#include <gtest/gtest.h>

#include "platform/platform.h"

#include <string>
#include <vector>

namespace {

constexpr DWORD kCard = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY;

// Without a test's view the root is a device's: its standard folders, then
// one card per removable volume, never the host drive's own entries, however
// many there are.
TEST(HostRoot, ListsTheDeviceFoldersThenCardsOnly) {
    std::vector<std::wstring> folders;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(L"\\*", &entry);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        if ((entry.dwFileAttributes & kCard) == kCard)
            EXPECT_EQ(std::wstring(entry.cFileName).rfind(L"Storage Card", 0), 0u);
        else
            folders.push_back(entry.cFileName);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    const std::vector<std::wstring> expected = {L"Application Data", L"ConnMgr", L"My Documents",
                                                L"Program Files",    L"Temp",    L"Windows"};
    EXPECT_EQ(folders, expected);
}

} // namespace
