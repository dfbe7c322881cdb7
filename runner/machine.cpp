#include "machine.h"

#include "profile.h"

#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <unordered_set>
#include <utility>

namespace runner {

Machine *g_machine = nullptr;

void Die(const char *format, ...) {
    std::va_list args;
    va_start(args, format);
    std::fputs("runner: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputs("\n", stderr);
    va_end(args);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    ExitProcess(3);
}

namespace {

constexpr int kThunks = 32;

template <int N> LRESULT CALLBACK Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return g_machine->Dispatch(N, hwnd, message, wParam, lParam);
}

template <int... N> constexpr std::array<WNDPROC, sizeof...(N)> MakeThunks(std::integer_sequence<int, N...>) {
    return {&Thunk<N>...};
}
constexpr auto kThunkTable = MakeThunks(std::make_integer_sequence<int, kThunks>());

uint8_t *ReserveWindow() {
    // Wine keeps the low 64 KB (the image's CE base) for itself and has no
    // placeholders: a free range is found, then taken in pieces so that the
    // views' pieces can be given up one at a time.
    void *probe = VirtualAlloc(nullptr, kWindowSize, MEM_RESERVE, PAGE_NOACCESS);
    if (!probe)
        Die("no room for the ARM program's %u MB address window", kWindowSize >> 20);
    VirtualFree(probe, 0, MEM_RELEASE);
    auto *base = static_cast<uint8_t *>(probe);
    if (VirtualAlloc(base, kViewLow, MEM_RESERVE, PAGE_NOACCESS) != base)
        Die("the ARM program's address window was taken meanwhile");
    for (uint32_t at = kViewLow; at < kViewHigh; at += kViewPiece)
        if (VirtualAlloc(base + at, kViewPiece, MEM_RESERVE, PAGE_NOACCESS) != base + at)
            Die("the ARM program's view area was taken meanwhile");
    return base;
}

void Commit(uint8_t *window, uint32_t low, uint32_t high) {
    if (!VirtualAlloc(window + low, high - low, MEM_COMMIT, PAGE_READWRITE))
        Die("cannot commit ARM memory %08x-%08x (error %lu)", low, high, GetLastError());
}

bool SameName(const std::string &a, const char *b) {
    return _stricmp(a.c_str(), b) == 0;
}

std::string DllBase(std::string dll) {
    if (dll.size() > 4 && _stricmp(dll.c_str() + dll.size() - 4, ".dll") == 0)
        dll.resize(dll.size() - 4);
    return dll;
}

} // namespace

void *Args::p(int index, uint32_t size) const {
    return a[index] ? m.Host(a[index], size) : nullptr;
}

LPCWSTR Args::str(int index) const {
    uint32_t value = a[index];
    if (value < 0x10000)
        return reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(value));
    // Bounded by the window: a string runs to its NUL inside it.
    auto *text = reinterpret_cast<const wchar_t *>(m.Host(value, 2));
    for (uint32_t at = value;; at += 2)
        if (*reinterpret_cast<const wchar_t *>(m.Host(at, 2)) == 0)
            break;
    return text;
}

WPARAM Args::wparam(int index) const {
    uintptr_t value;
    if (m.ParamOfToken(a[index], &value))
        return value;
    return static_cast<WPARAM>(static_cast<intptr_t>(static_cast<int32_t>(a[index])));
}

namespace {

// The window is reserved whole but committed only where the program's memory
// is: an ARM access between the parts faults here, named as the CPU's own
// faults are.
LONG CALLBACK WindowFault(EXCEPTION_POINTERS *info) {
    const EXCEPTION_RECORD *record = info->ExceptionRecord;
    if (record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record->NumberParameters < 2 ||
        !g_machine)
        return EXCEPTION_CONTINUE_SEARCH;
    auto *address = reinterpret_cast<const uint8_t *>(record->ExceptionInformation[1]);
    const uint8_t *window = g_machine->cpu().At(0x1'0000, 4) - 0x1'0000;
    if (address < window || address >= window + kWindowSize)
        return EXCEPTION_CONTINUE_SEARCH;
    arm::Cpu &cpu = g_machine->cpu();
    Die("an access at %08x, where the program has no memory (pc %08x, in %s)",
        static_cast<unsigned>(address - window), cpu.r[15], g_machine->lastImport);
}

} // namespace

Machine::Machine(const wchar_t *exePath)
    : window_(ReserveWindow()), cpu_(window_, 0x1'0000, kWindowSize) {
    g_machine = this;
    AddVectoredExceptionHandler(1, WindowFault);
    HANDLE file = CreateFileW(exePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        Die("cannot open %ls (error %lu)", exePath, GetLastError());
    std::vector<uint8_t> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    bool ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
              read == bytes.size();
    CloseHandle(file);
    if (!ok)
        Die("cannot read %ls", exePath);
    Load(bytes);
    // The resources come from the file as a data module, which is also the
    // instance the program registers its class and makes its windows with.
    instance_ = reinterpret_cast<HINSTANCE>(LoadLibraryExW(exePath, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!instance_)
        Die("cannot load the resources of %ls (error %lu)", exePath, GetLastError());
    Handle32(instance_);
    Commit(window_, kStackLow, kStackTop);
    Commit(window_, kHeapLow, kHeapHigh);
    piecesUsed_.assign((kViewHigh - kViewLow) / kViewPiece, false);
}

void Machine::Load(const std::vector<uint8_t> &file) {
    auto at = [&](size_t offset, size_t size) -> const uint8_t * {
        if (offset > file.size() || file.size() - offset < size)
            Die("the file is cut short: %zu bytes wanted at %zu", size, offset);
        return file.data() + offset;
    };
    auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(at(0, sizeof(IMAGE_DOS_HEADER)));
    auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS32 *>(
        at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS32)));
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || nt->Signature != IMAGE_NT_SIGNATURE ||
        nt->FileHeader.Machine != 0x1C0 || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        Die("not a PE32 program for ARM");
    const auto &optional = nt->OptionalHeader;
    uint32_t base = optional.ImageBase, size = optional.SizeOfImage;
    if (base < 0x1'0000 || base >= kStackLow || kStackLow - base < size)
        Die("an image at %08x of %u bytes does not fit below the ARM stack", base, size);
    Commit(window_, base, (base + size + 0xFFF) & ~0xFFFu);
    std::memcpy(window_ + base, at(0, optional.SizeOfHeaders), optional.SizeOfHeaders);
    auto *sections = reinterpret_cast<const IMAGE_SECTION_HEADER *>(
        reinterpret_cast<const uint8_t *>(&nt->OptionalHeader) + nt->FileHeader.SizeOfOptionalHeader);
    for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
        const auto &s = sections[i];
        uint32_t raw = s.SizeOfRawData < s.Misc.VirtualSize || !s.Misc.VirtualSize
                           ? s.SizeOfRawData : s.Misc.VirtualSize;
        if (s.VirtualAddress + raw > size)
            Die("section %.8s lies outside the image", reinterpret_cast<const char *>(s.Name));
        std::memcpy(window_ + base + s.VirtualAddress, at(s.PointerToRawData, raw), raw);
    }
    // Loaded at its own base: relocations, if any, have nothing to move.
    entry_ = base + optional.AddressOfEntryPoint;
    const auto &dir = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::vector<std::string> unknown;
    for (uint32_t d = base + dir.VirtualAddress; dir.Size && Read32(d + 12); d += 20) {
        std::string dll = DllBase(reinterpret_cast<const char *>(Host(Read32(d + 12) + base, 1)));
        uint32_t names = Read32(d) ? Read32(d) : Read32(d + 16), slots = Read32(d + 16);
        for (uint32_t k = 0; uint32_t thunk = Read32(base + names + 4 * k); ++k) {
            std::string name;
            if (thunk & 0x8000'0000) {
                uint16_t ordinal = thunk & 0xFFFF;
                for (size_t o = 0; o < kOrdinalCount; ++o)
                    if (kOrdinals[o].ordinal == ordinal && SameName(dll, kOrdinals[o].dll))
                        name = kOrdinals[o].name;
                if (name.empty())
                    name = dll + " #" + std::to_string(ordinal);
            } else {
                name = reinterpret_cast<const char *>(Host(base + thunk + 2, 1));
            }
            uint32_t slot = base + slots + 4 * k;
            Bind(slot, dll, name);
            if (!bound_.back())
                unknown.push_back(dll + " " + name);
        }
    }
    if (!unknown.empty()) {
        std::string all;
        for (const auto &name : unknown)
            all += " " + name;
        Die("the program imports what the runner does not answer:%s", all.c_str());
    }
}

void Machine::Bind(uint32_t slot, const std::string &dll, const std::string &name) {
    const Import *found = nullptr;
    for (size_t i = 0; i < kImportCount && !found; ++i)
        if (SameName(dll, kImports[i].dll) && name == kImports[i].name)
            found = &kImports[i];
    Write32(slot, kStubs + 4 * static_cast<uint32_t>(bound_.size()));
    bound_.push_back(found);
}

uint8_t *Machine::Host(uint32_t address, uint32_t size) {
    uint8_t *p = cpu_.At(address, size);
    if (!p)
        Die("the program's %u bytes at %08x lie outside its memory (in %s)", size, address,
            lastImport);
    return p;
}

uint32_t Machine::Arm(const void *host) const {
    auto offset = static_cast<const uint8_t *>(host) - window_;
    if (offset < 0x1'0000 || offset >= kWindowSize)
        Die("a host pointer %p outside the ARM window reached the program", host);
    return static_cast<uint32_t>(offset);
}

uint32_t Machine::Alloc(uint32_t size) {
    uint32_t address = heap_;
    if (size > kHeapHigh - heap_)
        Die("the ARM heap is full: %u bytes wanted", size);
    heap_ = (heap_ + size + 7) & ~7u;
    return address;
}

uint32_t Machine::MapView(HANDLE section, uint32_t size) {
    uint32_t pieces = (size + kViewPiece - 1) / kViewPiece;
    for (uint32_t first = 0; first + pieces <= piecesUsed_.size(); ++first) {
        bool free = true;
        for (uint32_t k = first; k < first + pieces; ++k)
            free = free && !piecesUsed_[k];
        if (!free)
            continue;
        uint32_t address = kViewLow + first * kViewPiece;
        for (uint32_t k = 0; k < pieces; ++k)
            VirtualFree(window_ + address + k * kViewPiece, 0, MEM_RELEASE);
        if (!MapViewOfFileEx(section, FILE_MAP_ALL_ACCESS, 0, 0, size, window_ + address))
            Die("cannot map a DIB section's %u bytes at %08x (error %lu)", size, address,
                GetLastError());
        for (uint32_t k = first; k < first + pieces; ++k)
            piecesUsed_[k] = true;
        views_.push_back({address, pieces});
        return address;
    }
    Die("no room left for a DIB section of %u bytes", size);
}

void Machine::UnmapView(uint32_t address) {
    for (size_t i = 0; i < views_.size(); ++i) {
        if (views_[i].first != address)
            continue;
        UnmapViewOfFile(window_ + address);
        uint32_t first = (address - kViewLow) / kViewPiece;
        for (uint32_t k = 0; k < views_[i].second; ++k) {
            uint8_t *piece = window_ + address + k * kViewPiece;
            if (VirtualAlloc(piece, kViewPiece, MEM_RESERVE, PAGE_NOACCESS) != piece)
                Die("the view area at %08x was taken meanwhile", address + k * kViewPiece);
            piecesUsed_[first + k] = false;
        }
        views_.erase(views_.begin() + static_cast<ptrdiff_t>(i));
        return;
    }
}

namespace {
// The handles given with bit 31 set and the upper half clear.
std::unordered_set<uint32_t> s_zeroExtended;
// Handles that need more than 32 bits (Wine 10 gives the resource module,
// a data file mapped above 4 GB, as its address): the program holds a token
// from a range no handle of Wine's uses, mapped back when it hands it on.
std::vector<uintptr_t> s_wide;
constexpr uint32_t kWideTokens = 0x7E00'0000;
constexpr size_t kMaxWide = 256;
} // namespace

uint32_t Machine::Handle32(const void *handle) {
    auto value = reinterpret_cast<uintptr_t>(handle);
    if (value > 0xFFFF'FFFF && static_cast<intptr_t>(value) != static_cast<int32_t>(value)) {
        size_t i = 0;
        while (i < s_wide.size() && s_wide[i] != value)
            ++i;
        if (i == s_wide.size()) {
            if (s_wide.size() == kMaxWide)
                Die("more than %zu handles that do not fit the program's 32 bits, the last %p",
                    kMaxWide, handle);
            s_wide.push_back(value);
        }
        return kWideTokens + 4 * static_cast<uint32_t>(i);
    }
    auto handle32 = static_cast<uint32_t>(value);
    if (value >= 0x8000'0000 && value <= 0xFFFF'FFFF)
        s_zeroExtended.insert(handle32);
    return handle32;
}

uintptr_t HostHandle(uint32_t handle) {
    if (handle >= kWideTokens && handle - kWideTokens < 4 * s_wide.size() && handle % 4 == 0)
        return s_wide[(handle - kWideTokens) / 4];
    if (handle >= 0x8000'0000 && s_zeroExtended.count(handle))
        return handle;
    return static_cast<uintptr_t>(static_cast<intptr_t>(static_cast<int32_t>(handle)));
}

WNDPROC Machine::HostProc(uint32_t armProc) {
    if (!armProc)
        return nullptr;
    if (IsProcToken(armProc))
        return ProcOfToken(armProc);
    for (size_t i = 0; i < slotProcs_.size(); ++i)
        if (slotProcs_[i] == armProc)
            return kThunkTable[i];
    if (slotProcs_.size() == kThunks)
        Die("more than %d window procedures", kThunks);
    slotProcs_.push_back(armProc);
    return kThunkTable[slotProcs_.size() - 1];
}

uint32_t Machine::ArmProc(WNDPROC hostProc) {
    if (!hostProc)
        return 0;
    for (size_t i = 0; i < slotProcs_.size(); ++i)
        if (kThunkTable[i] == hostProc)
            return slotProcs_[i];
    size_t i = 0;
    while (i < hostProcs_.size() && hostProcs_[i] != hostProc)
        ++i;
    if (i == hostProcs_.size())
        hostProcs_.push_back(hostProc);
    return kProcTokens + 4 * static_cast<uint32_t>(i);
}

bool Machine::IsProcToken(uint32_t value) const {
    return value >= kProcTokens && value < kProcTokens + 4 * hostProcs_.size() && !(value & 3);
}

WNDPROC Machine::ProcOfToken(uint32_t token) const { return hostProcs_[(token - kProcTokens) / 4]; }

uint32_t Machine::Param(uintptr_t value, bool pointer) {
    auto signedValue = static_cast<intptr_t>(value);
    if (value == 0 || (!pointer && signedValue == static_cast<int32_t>(signedValue)))
        return static_cast<uint32_t>(value);
    params_.push_back(value);
    return kParamTokens + 4 * static_cast<uint32_t>(params_.size() - 1);
}

bool Machine::ParamOfToken(uint32_t token, uintptr_t *value) const {
    if (token < kParamTokens || token >= kParamTokens + 4 * params_.size() || (token & 3))
        return false;
    *value = params_[(token - kParamTokens) / 4];
    return true;
}

namespace {

// Messages whose parameters carry host pointers: the program only passes
// them on, so it gets tokens that fault if it reads through them.
bool CarriesPointer(UINT message) {
    switch (message) {
    case WM_CREATE: case WM_NCCREATE: case WM_NCCALCSIZE: case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED: case WM_GETMINMAXINFO: case WM_GETTEXT: case WM_SETTEXT:
    case WM_NOTIFY: case WM_STYLECHANGING: case WM_STYLECHANGED: case WM_DRAWITEM:
    case WM_MEASUREITEM: case WM_DELETEITEM: case WM_COMPAREITEM: case WM_COPYDATA:
    case WM_SETTINGCHANGE: case WM_HELP:
        return true;
    default:
        return false;
    }
}

} // namespace

LRESULT Machine::Dispatch(int slot, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    size_t mark = params_.size();
    uint32_t w = Param(wParam, false), l = Param(static_cast<uintptr_t>(lParam), CarriesPointer(message));
    // Only the messages the host hands in are counted, each with what it
    // sends on.
    static int handling = 0;
    bool counted = handling == 0 && Profiling();
    double start = counted ? NowUs() : 0;
    uint64_t executed = cpu_.executed, imports = importCalls;
    ++handling;
    uint32_t result = Call(slotProcs_[slot], {Handle32(hwnd), message, w, l});
    --handling;
    if (counted)
        CountMessage(hwnd, message,
                     {NowUs() - start, cpu_.executed - executed, importCalls - imports});
    uintptr_t host;
    LRESULT out = ParamOfToken(result, &host) ? static_cast<LRESULT>(host)
                                              : static_cast<LRESULT>(static_cast<int32_t>(result));
    params_.resize(mark);
    return out;
}

uint32_t Machine::Call(uint32_t function, std::initializer_list<uint32_t> args) {
    static int depth = 0;
    uint32_t saved[16];
    std::memcpy(saved, cpu_.r, sizeof saved);
    uint32_t psr = cpu_.Psr();
    uint32_t sp = depth ? (cpu_.r[13] - 64) & ~7u : kStackTop;
    const uint32_t *arg = args.begin();
    size_t extra = args.size() > 4 ? args.size() - 4 : 0;
    sp = (sp - 4 * static_cast<uint32_t>(extra)) & ~7u;
    if (sp < kStackLow + 0x1000)
        Die("the ARM stack is exhausted: calls nested %d deep", depth);
    for (size_t i = 0; i < args.size(); ++i) {
        if (i < 4)
            cpu_.r[i] = arg[i];
        else
            Write32(sp + 4 * static_cast<uint32_t>(i - 4), arg[i]);
    }
    cpu_.r[13] = sp;
    cpu_.r[14] = kReturnMark;
    cpu_.r[15] = function;
    ++depth;
    uint32_t result = RunToReturn();
    --depth;
    std::memcpy(cpu_.r, saved, sizeof saved);
    cpu_.SetPsr(psr);
    return result;
}

uint32_t Machine::RunToReturn() {
    cpu_.trapFrom = kStubs;
    for (;;) {
        if (cpu_.Run() == arm::Cpu::Stop::Fault)
            Die("%s (after %llu calls into the system, the last %s)", cpu_.fault,
                static_cast<unsigned long long>(importCalls), lastImport);
        uint32_t pc = cpu_.r[15];
        if (pc == kReturnMark)
            return cpu_.r[0];
        uint32_t index = (pc - kStubs) / 4;
        if (pc < kStubs || (pc & 3) || index >= bound_.size())
            Die("the pc went to %08x (after %s)", pc, lastImport);
        Args a{*this, {cpu_.r[0], cpu_.r[1], cpu_.r[2], cpu_.r[3]}};
        uint32_t sp = cpu_.r[13];
        for (uint32_t k = 0; k < 8 && sp + 4 * k + 4 <= kStackTop; ++k)
            if (const uint8_t *p = cpu_.At(sp + 4 * k, 4))
                std::memcpy(&a.a[4 + k], p, 4);
        lastImport = bound_[index]->name;
        ++importCalls;
        uint32_t lr = cpu_.r[14];
        cpu_.r[0] = bound_[index]->handler(a);
        cpu_.r[15] = lr & ~3u;
    }
}

uint32_t Machine::Start(const wchar_t *commandLine) {
    size_t length = wcslen(commandLine) + 1;
    uint32_t text = Alloc(static_cast<uint32_t>(2 * length));
    std::memcpy(Host(text, static_cast<uint32_t>(2 * length)), commandLine, 2 * length);
    return Call(entry_, {armInstance(), 0, text, SW_SHOW});
}

} // namespace runner
