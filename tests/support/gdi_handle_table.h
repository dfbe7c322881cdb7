// The GDI handle table that a process's PEB points to, for counting the GDI
// objects a process holds: Wine reports nothing through GetGuiResources.
#pragma once
#include <windows.h>

// One entry (the same layout on 64-bit Windows and in Wine).
struct GdiHandleEntry {
    ULONGLONG object;
    USHORT processId;
    USHORT count;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    ULONGLONG userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24, "GDI handle table layout");
constexpr size_t kPebGdiSharedHandleTable = 0xF8; // offset in the 64-bit PEB
constexpr size_t kGdiMaxHandles = 0x10000;

// The objects of process pid in a table of kGdiMaxHandles entries. Wine keeps
// the table per process and leaves the owner field 0.
inline int CountGdiObjects(const GdiHandleEntry *table, DWORD pid) {
    int count = 0;
    for (size_t i = 0; i < kGdiMaxHandles; ++i)
        count += table[i].type != 0 &&
                 (table[i].processId == static_cast<USHORT>(pid) || table[i].processId == 0);
    return count;
}
