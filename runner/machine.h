// The emulated device's CPU and memory as the runner keeps them: the ARM
// program in an address window of its own (host address = window base + ARM
// address), its imports answered by host functions, and host callbacks
// (window and dialog procedures) that run ARM code, nested, on the one ARM
// stack.
#pragma once

#include "arm_cpu.h"

#include "platform/platform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace runner {

// The ARM address map: the image at its base, the stack, the heap calloc
// takes from, and room where DIB sections' bits are mapped.
constexpr uint32_t kStackLow = 0x0070'0000, kStackTop = 0x0080'0000;
constexpr uint32_t kHeapLow = 0x0100'0000, kHeapHigh = 0x0200'0000;
constexpr uint32_t kViewLow = 0x0200'0000, kViewHigh = 0x0600'0000, kViewPiece = 0x10'0000;
constexpr uint32_t kWindowSize = kViewHigh;
// Outside the window: a dereference faults. Tokens stand for host values the
// ARM code must only pass on; stubs are where imports trap; the return mark
// ends a call made from the host.
constexpr uint32_t kProcTokens = 0xE000'0000, kParamTokens = 0xE800'0000;
constexpr uint32_t kStubs = 0xF000'0000, kReturnMark = 0xFFFF'FFF0;

class Machine;

// A handle the program holds, as the host gave it: sign-extended, as 32-bit
// handles are, unless the host gave it with its upper half clear (Wine's GDI
// handles may have bit 31 set).
uintptr_t HostHandle(uint32_t handle);

// An import's arguments: r0-r3, then the caller's stack.
struct Args {
    Machine &m;
    uint32_t a[12];
    uint32_t u(int i) const { return a[i]; }
    int32_t i(int i) const { return static_cast<int32_t>(a[i]); }
    HWND hwnd(int i) const { return as<HWND>(i); }
    HANDLE h(int i) const { return as<HANDLE>(i); }
    template <typename T> T as(int i) const { return reinterpret_cast<T>(HostHandle(a[i])); }
    // A pointer argument into ARM memory of size bytes (null stays null).
    void *p(int i, uint32_t size = 1) const;
    // A string, or a resource id below 0x10000 as it is.
    LPCWSTR str(int i) const;
    // A WPARAM or LPARAM: a token's host value, or the value sign-extended.
    WPARAM wparam(int i) const;
    LPARAM lparam(int i) const { return static_cast<LPARAM>(wparam(i)); }
};

using Handler = uint32_t (*)(Args &);
struct Import {
    const char *dll;
    const char *name;
    Handler handler;
};
// Every import the runner answers (imports.cpp).
extern const Import kImports[];
extern const size_t kImportCount;
// The DLLs' ordinals, from their export definitions (generated).
struct Ordinal {
    const char *dll;
    uint16_t ordinal;
    const char *name;
};
extern const Ordinal kOrdinals[];
extern const size_t kOrdinalCount;

// Stops the runner, naming why on the error output; exit code 3.
[[noreturn]] void Die(const char *format, ...);

class Machine {
  public:
    // Maps the PE at its base and binds its imports; dies naming any import
    // it does not know or a file it cannot load.
    explicit Machine(const wchar_t *exePath);

    // Runs ARM code at function with up to 8 arguments and returns r0;
    // imports it calls are answered on the way, and may call back in.
    uint32_t Call(uint32_t function, std::initializer_list<uint32_t> args);
    // Runs the program's entry point; returns only if the program does.
    uint32_t Start(const wchar_t *commandLine);

    // ARM memory: host pointer of [address, address + size), dying when it
    // is outside the window; the ARM address of a host pointer inside it.
    uint8_t *Host(uint32_t address, uint32_t size);
    uint32_t Arm(const void *host) const;
    uint32_t Read32(uint32_t address) { return *reinterpret_cast<uint32_t *>(Host(address, 4)); }
    void Write32(uint32_t address, uint32_t value) {
        *reinterpret_cast<uint32_t *>(Host(address, 4)) = value;
    }
    // A zeroed block of the heap (never freed, as the program never frees).
    uint32_t Alloc(uint32_t size);
    // A DIB section's bits mapped into the window: its ARM address.
    uint32_t MapView(HANDLE section, uint32_t size);
    void UnmapView(uint32_t address);

    // Host values as the ARM code sees them, and back: handles fit 32 bits
    // under Wine and are sign-extended going back.
    static uint32_t Handle32(const void *handle);
    // Window and dialog procedures: an ARM procedure's host thunk, and a host
    // procedure's value for the ARM code (the ARM procedure behind a thunk,
    // or a token).
    WNDPROC HostProc(uint32_t armProc);
    uint32_t ArmProc(WNDPROC hostProc);
    bool IsProcToken(uint32_t value) const;
    WNDPROC ProcOfToken(uint32_t token) const;
    // A message parameter for the ARM code: the value, or a token while the
    // call lasts.
    uint32_t Param(uintptr_t value, bool pointer);
    bool ParamOfToken(uint32_t token, uintptr_t *value) const;
    // A host thunk's call into its ARM procedure.
    LRESULT Dispatch(int slot, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance() const { return instance_; }
    uint32_t armInstance() const { return Handle32(instance_); }
    DWORD lastError = 0;
    // The imports called so far, and the last one, for a fault's report.
    uint64_t importCalls = 0;
    const char *lastImport = "";
    arm::Cpu &cpu() { return cpu_; }

  private:
    void Load(const std::vector<uint8_t> &file);
    void Bind(uint32_t slot, const std::string &dll, const std::string &name);
    uint32_t RunToReturn();

    uint8_t *window_ = nullptr;
    arm::Cpu cpu_;
    HINSTANCE instance_ = nullptr;
    uint32_t entry_ = 0, heap_ = kHeapLow;
    std::vector<const Import *> bound_;
    std::vector<uint32_t> slotProcs_;
    std::vector<WNDPROC> hostProcs_;
    std::vector<uintptr_t> params_;
    std::vector<std::pair<uint32_t, uint32_t>> views_; // ARM address, pieces
    std::vector<bool> piecesUsed_;
};

extern Machine *g_machine;

// _vsnwprintf over an ARM argument list (format.cpp).
int FormatArm(Machine &m, wchar_t *out, size_t count, const wchar_t *format, uint32_t args);

} // namespace runner
