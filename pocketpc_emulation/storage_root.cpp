// The CE file system root on desktop Windows.
//
// On CE every storage card appears in the root as a folder with the directory
// and temporary attributes ("\Storage Card", "\Storage Card2", ...), and
// GetDiskFreeSpaceExW on that folder reports the card. Desktop Windows has
// drive letters instead, so an enumeration of "\*" comes through here: it
// lists the folders a device's root holds, followed by one card folder per
// removable volume, named as CE names them ("Storage Card", "Storage Card2";
// a volume label is not used, so the names stay those a CE device shows).
// The host drive's own root is not read: it may hold any number of entries,
// and the scan of a tap would pay for each of them. GetDiskFreeSpaceExW keeps
// CE's rule that only its last result may be left out. Every other call
// passes through.
#include "internal.h"

#include <cwchar>
#include <new>
#include <vector>

namespace {

constexpr wchar_t kCardName[] = L"Storage Card";
constexpr const wchar_t *kDeviceFolders[] = {L"Application Data", L"ConnMgr", L"My Documents",
                                             L"Program Files",    L"Temp",    L"Windows"};
constexpr DWORD kCardAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY;

const StorageRootView *s_view = nullptr;

struct RootListing {
    std::vector<WIN32_FIND_DATAW> entries;
    size_t next = 0;
};
std::vector<RootListing *> s_listings; // open enumerations of the emulated root

bool IsRootPattern(LPCWSTR pattern) {
    return pattern && std::wcscmp(pattern, L"\\*") == 0;
}

RootListing *FindListing(HANDLE handle) {
    for (RootListing *listing : s_listings)
        if (static_cast<HANDLE>(listing) == handle)
            return listing;
    return nullptr;
}

WIN32_FIND_DATAW MakeEntry(DWORD attributes, const wchar_t *name) {
    WIN32_FIND_DATAW data = {};
    data.dwFileAttributes = attributes;
    StringCchCopyW(data.cFileName, ARRAYSIZE(data.cFileName), name);
    return data;
}

// Removable volumes in drive-letter order; the n-th one is card n. A drive
// letter outlives the card behind it (Wine keeps it while the folder it
// names is gone): a volume whose root cannot be queried is no card, as a
// device's root shows none that was taken out.
int RemovableDrives(wchar_t *letters, int capacity) {
    DWORD mask = GetLogicalDrives();
    int count = 0;
    for (int i = 0; i < 26 && count < capacity; ++i) {
        if (!(mask & (1u << i)))
            continue;
        wchar_t root[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', L'\0'};
        ULARGE_INTEGER total;
        if (GetDriveTypeW(root) == DRIVE_REMOVABLE &&
            GetDiskFreeSpaceExW(root, nullptr, &total, nullptr))
            letters[count++] = root[0];
    }
    return count;
}

void CardName(int index, wchar_t *name, size_t size) {
    if (index == 0)
        StringCchCopyW(name, size, kCardName);
    else
        StringCchPrintfW(name, size, L"%s%d", kCardName, index + 1);
}

bool ListHostRoot(std::vector<WIN32_FIND_DATAW> *out) {
    for (const wchar_t *folder : kDeviceFolders)
        out->push_back(MakeEntry(FILE_ATTRIBUTE_DIRECTORY, folder));

    wchar_t letters[26];
    int cards = RemovableDrives(letters, 26);
    for (int i = 0; i < cards; ++i) {
        wchar_t name[32];
        CardName(i, name, ARRAYSIZE(name));
        out->push_back(MakeEntry(kCardAttributes, name));
    }
    return true;
}

bool ListViewRoot(std::vector<WIN32_FIND_DATAW> *out) {
    RootEntry entries[64];
    int count = 0;
    if (!s_view->list(entries, ARRAYSIZE(entries), &count))
        return false;
    for (int i = 0; i < count && i < static_cast<int>(ARRAYSIZE(entries)); ++i)
        out->push_back(MakeEntry(entries[i].attributes, entries[i].name));
    return true;
}

// "\Storage Card" is card 1, "\Storage CardN" card N; the drive that backs it.
bool CardDrive(LPCWSTR dir, wchar_t *root) {
    size_t prefix = ARRAYSIZE(kCardName) - 1;
    if (dir[0] != L'\\' || std::wcsncmp(dir + 1, kCardName, prefix) != 0)
        return false;
    const wchar_t *rest = dir + 1 + prefix;
    int index = 0;
    if (*rest) {
        wchar_t *end = nullptr;
        long n = std::wcstol(rest, &end, 10);
        if (*end != L'\0' || n < 2 || n > 26)
            return false;
        index = static_cast<int>(n) - 1;
    }
    wchar_t letters[26];
    if (index >= RemovableDrives(letters, 26))
        return false;
    root[0] = letters[index];
    root[1] = L':';
    root[2] = L'\\';
    root[3] = L'\0';
    return true;
}

} // namespace

void SetStorageRootView(const StorageRootView *view) {
    s_view = view;
}

// Called from window procedures: no exception may leave it, so a listing that
// cannot be built is a root that cannot be enumerated.
HANDLE PlatformFindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data) {
    if (!IsRootPattern(pattern))
        return FindFirstFileW(pattern, data);
    RootListing *listing = nullptr;
    try {
        listing = new RootListing;
        bool listed = s_view ? ListViewRoot(&listing->entries) : ListHostRoot(&listing->entries);
        if (!listed || listing->entries.empty()) {
            delete listing;
            SetLastError(listed ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
            return INVALID_HANDLE_VALUE;
        }
        s_listings.push_back(listing);
    } catch (const std::bad_alloc &) {
        delete listing;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return INVALID_HANDLE_VALUE;
    }
    *data = listing->entries[0];
    listing->next = 1;
    return static_cast<HANDLE>(listing);
}

BOOL PlatformFindNextFileW(HANDLE find, LPWIN32_FIND_DATAW data) {
    RootListing *listing = FindListing(find);
    if (!listing)
        return FindNextFileW(find, data);
    if (listing->next >= listing->entries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    *data = listing->entries[listing->next++];
    return TRUE;
}

BOOL PlatformFindClose(HANDLE find) {
    RootListing *listing = FindListing(find);
    if (!listing)
        return FindClose(find);
    std::erase(s_listings, listing);
    delete listing;
    return TRUE;
}

BOOL PlatformGetDiskFreeSpaceExW(LPCWSTR dir, PULARGE_INTEGER freeToCaller,
                                 PULARGE_INTEGER totalBytes, PULARGE_INTEGER totalFree) {
    // CE documents only the last result as optional; a device may refuse the
    // call without a place for the others, as the desktop does not.
    if (!freeToCaller || !totalBytes) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (s_view) {
        ULARGE_INTEGER total = {}, free = {};
        BOOL ok = s_view->freeSpace(dir, &total, &free);
        *freeToCaller = free;
        *totalBytes = total;
        if (totalFree)
            *totalFree = free;
        return ok;
    }
    wchar_t root[4];
    if (dir && CardDrive(dir, root))
        return GetDiskFreeSpaceExW(root, freeToCaller, totalBytes, totalFree);
    return GetDiskFreeSpaceExW(dir, freeToCaller, totalBytes, totalFree);
}

void PlatformGlobalMemoryStatus(LPMEMORYSTATUS status) {
    if (s_view && s_view->memory)
        s_view->memory(status);
    else
        GlobalMemoryStatus(status);
}
