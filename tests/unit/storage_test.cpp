// The storage scan through the platform's view of the CE root: which entries
// become cards, what is stored, and when the info page is invalidated.
#include "fixtures.h"

#include "monitor/monitor.h"

#include <map>
#include <string>
#include <vector>

namespace {

constexpr DWORD kCard = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY;

// The root and its volumes as the test sets them up.
struct FakeRoot {
    bool listable = true;
    std::vector<std::pair<DWORD, std::wstring>> entries;
    std::map<std::wstring, std::pair<ULONGLONG, ULONGLONG>> volumes; // path: total, free bytes
    DWORD totalPhys = 64u << 20, availPhys = 16u << 20;
};
FakeRoot s_root;

bool List(RootEntry *entries, int capacity, int *count) {
    if (!s_root.listable)
        return false;
    *count = 0;
    for (const auto &e : s_root.entries)
        if (*count < capacity)
            entries[(*count)++] = {e.first, e.second.c_str()};
    return true;
}

BOOL FreeSpace(LPCWSTR dir, ULARGE_INTEGER *total, ULARGE_INTEGER *free) {
    auto it = s_root.volumes.find(dir ? dir : L"");
    if (it == s_root.volumes.end())
        return FALSE;
    total->QuadPart = it->second.first;
    free->QuadPart = it->second.second;
    return TRUE;
}

void Memory(MEMORYSTATUS *status) {
    status->dwTotalPhys = s_root.totalPhys;
    status->dwAvailPhys = s_root.availPhys;
}

const StorageRootView kView = {List, FreeSpace, Memory};

class StorageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgramState();
        ResetStorageTable();
        s_root = FakeRoot{};
        s_root.volumes[L""] = {1000ull << 20, 400ull << 20};
        SetStorageRootView(&kView);
        page_ = CreateTestWindow(L"StorageTestPage", DefWindowProcW, WS_POPUP | WS_VISIBLE, 0, 52,
                                 480, 500);
        ValidateRect(page_, nullptr);
    }
    void TearDown() override {
        SetStorageRootView(nullptr);
        DestroyWindow(page_);
    }
    void AddCard(const std::wstring &name, ULONGLONG totalMB, ULONGLONG freeMB) {
        s_root.entries.push_back({kCard, name});
        s_root.volumes[L"\\" + name] = {totalMB << 20, freeMB << 20};
    }
    // One scan; true when it invalidated the page.
    bool Scan() {
        ValidateRect(page_, nullptr);
        ScanStorage(page_);
        return GetUpdateRect(page_, nullptr, FALSE) != FALSE;
    }
    HWND page_ = nullptr;
};

TEST_F(StorageTest, FirstScanFillsDeviceMemoryAndCards) {
    AddCard(L"Storage Card", 2048, 512);
    s_root.entries.push_back({FILE_ATTRIBUTE_DIRECTORY, L"Windows"});
    s_root.entries.push_back({FILE_ATTRIBUTE_TEMPORARY, L"notafolder.tmp"});
    s_root.entries.push_back({FILE_ATTRIBUTE_NORMAL, L"readme.txt"});
    EXPECT_TRUE(Scan());
    EXPECT_EQ(g_storageCount, 2);
    EXPECT_STREQ(g_storageNames[0], L"Device Memory");
    EXPECT_EQ(g_totalKB[0], ((1000ull << 20) + (64u << 20)) >> 10);
    EXPECT_EQ(g_freeKB[0], ((400ull << 20) + (16u << 20)) >> 10);
    EXPECT_STREQ(g_storageNames[1], L"Storage Card");
    EXPECT_EQ(g_totalKB[1], 2048u * 1024);
    EXPECT_EQ(g_freeKB[1], 512u * 1024);

    EXPECT_FALSE(Scan()) << "nothing changed, nothing to repaint";
}

TEST_F(StorageTest, CardsBeyondTheTableAreLeftOut) {
    for (int i = 0; i < 12; ++i)
        AddCard(L"Card" + std::to_wstring(i), 100 + i, 10);
    Scan();
    EXPECT_EQ(g_storageCount, 10);
    EXPECT_STREQ(g_storageNames[9], L"Card8");
    EXPECT_EQ(g_totalKB[9], 108u * 1024);
}

TEST_F(StorageTest, RemovedCardDropsItsRowAndRepaints) {
    AddCard(L"Storage Card", 2048, 512);
    AddCard(L"Storage Card2", 1024, 1000);
    Scan();
    ASSERT_EQ(g_storageCount, 3);
    s_root.entries.pop_back();
    EXPECT_TRUE(Scan()) << "the page must not keep the removed card's row";
    EXPECT_EQ(g_storageCount, 2);
}

TEST_F(StorageTest, CardWithTheOldCardsFreeFigureGetsItsOwnTotal) {
    AddCard(L"Storage Card", 2048, 512);
    Scan();
    s_root.entries.clear();
    AddCard(L"Other Card", 4096, 512);
    EXPECT_TRUE(Scan());
    EXPECT_STREQ(g_storageNames[1], L"Other Card");
    EXPECT_EQ(g_totalKB[1], 4096u * 1024);
}

TEST_F(StorageTest, DeviceMemoryTotalChangeIsStored) {
    Scan();
    s_root.volumes[L""].first += 8ull << 20;
    EXPECT_TRUE(Scan());
    EXPECT_EQ(g_totalKB[0], ((1008ull << 20) + (64u << 20)) >> 10);
}

TEST_F(StorageTest, LongCardNamesAreCutToTheSlot) {
    for (size_t length : {99u, 100u, 259u}) {
        SetUp();
        std::wstring name(length, L'n');
        AddCard(name, 100, 50);
        EXPECT_TRUE(Scan());
        EXPECT_EQ(std::wstring(g_storageNames[1]), name.substr(0, 99)) << length;
        EXPECT_EQ(g_storageNames[2][0], L'\0') << "the next slot is untouched";
        EXPECT_FALSE(Scan()) << "the same card again is no change";
        TearDown();
    }
}

TEST_F(StorageTest, CardWhoseQueryFailsKeepsItsSlotWithZeroFigures) {
    AddCard(L"Storage Card", 2048, 512);
    s_root.entries.push_back({kCard, L"Vanished"}); // listed, but no volume behind it
    AddCard(L"Storage Card2", 1024, 1000);
    Scan();
    EXPECT_EQ(g_storageCount, 4);
    EXPECT_STREQ(g_storageNames[2], L"Vanished");
    EXPECT_EQ(g_totalKB[2], 0u);
    EXPECT_EQ(g_freeKB[2], 0u);
    EXPECT_STREQ(g_storageNames[3], L"Storage Card2");
}

TEST_F(StorageTest, UnlistableRootStillRefreshesDeviceMemory) {
    s_root.listable = false;
    EXPECT_TRUE(Scan());
    EXPECT_EQ(g_storageCount, 1);
    EXPECT_NE(g_freeKB[0], ~0ull);
}

TEST_F(StorageTest, DecisionScansWhenShownOrOnTheFirstTapOnly) {
    ShowWindow(page_, SW_HIDE);
    RefreshStorageDecision(page_);
    EXPECT_EQ(g_storageRefresh, 0);
    EXPECT_NE(g_freeKB[0], ~0ull) << "the first tap fills the table";

    ResetStorageTable();
    RefreshStorageDecision(page_);
    EXPECT_EQ(g_freeKB[0], ~0ull) << "hidden, after the first: nothing at all";

    ShowWindow(page_, SW_SHOWNA);
    RefreshStorageDecision(page_);
    EXPECT_NE(g_freeKB[0], ~0ull);
}

} // namespace
