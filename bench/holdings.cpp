// `holdings.exe NAME`: the GDI objects that each running process of that
// executable name holds, one "pid count" line each, read from outside: Wine
// reports nothing through GetGuiResources, so the count comes from the
// process's own GDI handle table, which its PEB points to. Only 64-bit
// processes are read.
#include <windows.h>

#include <tlhelp32.h>
#include <winternl.h>

#include "gdi_handle_table.h"

#include <cstdio>
#include <vector>

namespace {

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
        count = CountGdiObjects(entries.data(), pid);
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
