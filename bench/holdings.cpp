// `holdings.exe NAME`: the GDI objects that each running process of that
// executable name holds, one "pid count" line each, read from outside: Wine
// reports nothing through GetGuiResources, so the count comes from the
// process's own GDI handle table, which its PEB points to (Wine keeps one per
// process and leaves the owner field 0). Only 64-bit processes are read.
#include <windows.h>

#include <tlhelp32.h>
#include <winternl.h>

#include <cstdio>
#include <vector>

namespace {

// One entry of the GDI handle table (the same layout on 64-bit Windows and in
// Wine).
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

using QueryProcess = NTSTATUS(NTAPI *)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

int GdiObjectsOf(DWORD pid) {
    static const auto query = reinterpret_cast<QueryProcess>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess"));
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process)
        return -1;
    int count = -1;
    PROCESS_BASIC_INFORMATION basic = {};
    ULONGLONG table = 0;
    SIZE_T read = 0;
    std::vector<GdiHandleEntry> entries(kGdiMaxHandles);
    if (query && query(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) == 0 &&
        ReadProcessMemory(
            process,
            static_cast<const BYTE *>(static_cast<const void *>(basic.PebBaseAddress)) +
                kPebGdiSharedHandleTable,
            &table, sizeof(table), &read) &&
        table &&
        ReadProcessMemory(process, reinterpret_cast<const void *>(static_cast<ULONG_PTR>(table)),
                          entries.data(), entries.size() * sizeof(GdiHandleEntry), &read)) {
        count = 0;
        for (const GdiHandleEntry &e : entries)
            count += e.type != 0 && (e.processId == static_cast<USHORT>(pid) || e.processId == 0);
    }
    CloseHandle(process);
    return count;
}

} // namespace

int wmain(int argc, wchar_t **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: holdings.exe NAME\n");
        return 2;
    }
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 1;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (lstrcmpiW(entry.szExeFile, argv[1]) == 0)
            std::printf("%lu %d\n", entry.th32ProcessID, GdiObjectsOf(entry.th32ProcessID));
    }
    CloseHandle(snapshot);
    return 0;
}
