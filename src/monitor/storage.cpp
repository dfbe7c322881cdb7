// The storage table behind the info page: device memory (the object store of
// the root plus program memory) and up to nine storage cards, refreshed at a
// tap on the gauge.
#include "state/state.h"
#include "base/strings.h"
#include "monitor/monitor.h"
#include "res/resource.h"

#include <cwchar>

namespace {

constexpr DWORD kCardAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY;
constexpr ULONGLONG kNeverMeasured = ~0ull;

ULONGLONG ToKB(ULONGLONG bytes) {
    return bytes >> 10;
}

// Stores an entry's figures when its free space or its total changed.
bool StoreFigures(int slot, ULONGLONG totalKB, ULONGLONG freeKB) {
    if (g_freeKB[slot] == freeKB && g_totalKB[slot] == totalKB)
        return false;
    g_freeKB[slot] = freeKB;
    g_totalKB[slot] = totalKB;
    return true;
}

// CE documents only GetDiskFreeSpaceExW's last result as optional: each call
// gets a place for the first, which is not used.
bool RefreshDeviceMemory() {
    ULARGE_INTEGER toCaller = {}, total = {}, totalFree = {};
    GetDiskFreeSpaceExW(nullptr, &toCaller, &total, &totalFree);
    MEMORYSTATUS memory = {};
    memory.dwLength = sizeof(memory);
    GlobalMemoryStatus(&memory);
    ULONGLONG freeKB = ToKB(totalFree.QuadPart + memory.dwAvailPhys);
    ULONGLONG totalKB = ToKB(total.QuadPart + memory.dwTotalPhys);
    return StoreFigures(0, totalKB, freeKB);
}

// Puts a card into a slot. A card whose free-space query fails (it went away
// between the listing and the query) keeps its slot and name, with zero
// figures.
void MeasureCard(const wchar_t *folder, int slot, bool *changed) {
    // A name longer than the slot is shown cut short, and compared that way.
    wchar_t name[kNameUnits];
    StringCchCopyNW(name, ARRAYSIZE(name), folder, ARRAYSIZE(name) - 1);
    if (std::wcscmp(name, g_storageNames[slot]) != 0) {
        StringCchCopyW(g_storageNames[slot], kNameUnits, name);
        *changed = true;
    }
    wchar_t path[MAX_PATH + 2];
    ULARGE_INTEGER toCaller = {}, total = {}, totalFree = {};
    if (FAILED(StringCchPrintfW(path, ARRAYSIZE(path), L"\\%s", folder)) ||
        !GetDiskFreeSpaceExW(path, &toCaller, &total, &totalFree))
        total.QuadPart = totalFree.QuadPart = 0;
    if (StoreFigures(slot, ToKB(total.QuadPart), ToKB(totalFree.QuadPart)))
        *changed = true;
}

int RefreshCards(bool *changed) {
    int count = 1;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(L"\\*", &entry);
    if (find == INVALID_HANDLE_VALUE)
        return count;
    do {
        if ((entry.dwFileAttributes & kCardAttributes) == kCardAttributes)
            MeasureCard(entry.cFileName, count++, changed);
    } while (count < kStorageSlots && FindNextFileW(find, &entry));
    FindClose(find);
    return count;
}

} // namespace

void ResetStorageTable() {
    for (int i = 0; i < kStorageSlots; ++i) {
        g_storageNames[i][0] = L'\0';
        g_totalKB[i] = kNeverMeasured;
        g_freeKB[i] = kNeverMeasured;
    }
    LoadStringOrEmpty(g_instance, IDS_DEVICE_MEMORY, g_storageNames[0], kNameUnits);
}

void ScanStorage(HWND mainWnd) {
    bool changed = RefreshDeviceMemory();
    int count = RefreshCards(&changed);
    // A card that went away leaves a row the page must no longer show.
    if (count != g_storageCount)
        changed = true;
    g_storageCount = count;

    RECT rc;
    if (changed && GetClientRect(mainWnd, &rc))
        InvalidateRect(mainWnd, &rc, TRUE);
}

void RefreshStorageDecision(HWND mainWnd) {
    if (!IsWindowVisible(mainWnd) && !g_storageRefresh)
        return;
    g_storageRefresh = 0;
    ScanStorage(mainWnd);
}
