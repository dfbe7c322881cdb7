// The device's DLL functions the program imports, each answered by the
// desktop's own function or the emulated Pocket PC's (platform.h routes the
// same calls as for the desktop program), with CE's records, handles and
// procedures converted on the way.
#include "machine.h"
#include "profile.h"
#include "records.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

namespace runner {

namespace {

uint32_t H(const void *handle) { return Machine::Handle32(handle); }
uint32_t B(BOOL value) { return static_cast<uint32_t>(value); }
// A message's result for the ARM code: the value, or a token for one wider
// than 32 bits.
uint32_t Result(LRESULT value) { return g_machine->Param(static_cast<uintptr_t>(value), false); }

// CE's GWL_WNDPROC, GWLP_WNDPROC on the host.
constexpr int kWndProc = -4;

bool IsDialog(HWND hwnd) {
    wchar_t name[16] = {};
    return GetClassNameW(hwnd, name, 16) && std::wcscmp(name, L"#32770") == 0;
}

// CE's dialog words (DWL_MSGRESULT 0, DWL_DLGPROC 4, DWL_USER 8) are
// pointer-sized on the host: 0, 8, 16.
int HostIndex(HWND hwnd, int index) { return index >= 0 && IsDialog(hwnd) ? 2 * index : index; }

uint32_t WindowLong(Args &a) {
    HWND hwnd = a.hwnd(0);
    int index = a.i(1);
    if (index == kWndProc || (index == 4 && IsDialog(hwnd)))
        return a.m.ArmProc(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, HostIndex(hwnd, index))));
    if (index >= 0 && IsDialog(hwnd))
        return static_cast<uint32_t>(GetWindowLongPtrW(hwnd, HostIndex(hwnd, index)));
    return static_cast<uint32_t>(GetWindowLongW(hwnd, index));
}

uint32_t SetWindowLong(Args &a) {
    HWND hwnd = a.hwnd(0);
    int index = a.i(1);
    if (index == kWndProc || (index == 4 && IsDialog(hwnd))) {
        auto proc = reinterpret_cast<LONG_PTR>(a.m.HostProc(a.u(2)));
        return a.m.ArmProc(reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, HostIndex(hwnd, index), proc)));
    }
    if (index >= 0 && IsDialog(hwnd))
        return static_cast<uint32_t>(SetWindowLongPtrW(hwnd, HostIndex(hwnd, index), a.i(2)));
    return static_cast<uint32_t>(SetWindowLongW(hwnd, index, a.i(2)));
}

uint32_t CallProc(Args &a) {
    uint32_t proc = a.u(0);
    if (a.m.IsProcToken(proc))
        return Result(CallWindowProcW(a.m.ProcOfToken(proc), a.hwnd(1), a.u(2), a.wparam(3), a.lparam(4)));
    return a.m.Call(proc, {a.u(1), a.u(2), a.u(3), a.u(4)});
}

// A DIB section's bits mapped into the ARM window, by bitmap. A deleted
// bitmap's section stays mapped for the next of its size or less: the paints
// that sample the screen make and delete one each, and a mapping costs
// several calls into the Wine server.
struct View {
    HGDIOBJ bitmap; // null while the view waits for a new bitmap
    HANDLE section;
    uint32_t address;
    uint64_t size;
};
std::vector<View> s_views;

void ReleaseView(Machine &m, size_t i) {
    m.UnmapView(s_views[i].address);
    CloseHandle(s_views[i].section);
    s_views.erase(s_views.begin() + static_cast<ptrdiff_t>(i));
}

// A waiting view of at least size bytes, or a new one; null when none can be made.
View *ViewFor(Machine &m, uint64_t size) {
    for (View &view : s_views)
        if (!view.bitmap && view.size >= size)
            return &view;
    for (size_t i = s_views.size(); i-- > 0;)
        if (!s_views[i].bitmap)
            ReleaseView(m, i);
    HANDLE section = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        static_cast<DWORD>(size), nullptr);
    if (!section)
        return nullptr;
    s_views.push_back({nullptr, section, m.MapView(section, static_cast<uint32_t>(size)), size});
    return &s_views.back();
}

uint32_t DibSection(Args &a) {
    auto *info = static_cast<const BITMAPINFO *>(a.p(1, sizeof(BITMAPINFOHEADER)));
    const BITMAPINFOHEADER &header = info->bmiHeader;
    uint64_t stride = ((uint64_t(header.biWidth < 0 ? -header.biWidth : header.biWidth) *
                        header.biBitCount + 31) / 32) * 4;
    uint64_t size = stride * uint64_t(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    if (a.u(4) || size == 0 || size > kViewHigh - kViewLow)
        return 0;
    View *view = ViewFor(a.m, size);
    void *bits = nullptr;
    HBITMAP bitmap =
        view ? CreateDIBSection(a.as<HDC>(0), info, a.u(2), &bits, view->section, 0) : nullptr;
    if (!bitmap)
        return 0;
    view->bitmap = bitmap;
    if (a.u(3))
        a.m.Write32(a.u(3), view->address);
    return H(bitmap);
}

uint32_t DeleteGdiObject(Args &a) {
    HGDIOBJ object = a.as<HGDIOBJ>(0);
    BOOL done = DeleteObject(object);
    for (View &view : s_views)
        if (done && view.bitmap == object)
            view.bitmap = nullptr;
    return B(done);
}

// Resources: FindResourceW's handle is a number of the runner's, and the
// loaded resource a copy in ARM memory, made once, as CE's LoadResource gives
// the bytes themselves.
struct Resource {
    HRSRC host;
    uint32_t copy;
};
std::vector<Resource> s_resources;
constexpr uint32_t kResourceHandles = 0x0000'1000;

uint32_t FindResourceArm(Args &a) {
    HRSRC found = FindResourceW(a.as<HMODULE>(0), a.str(1), a.str(2));
    if (!found)
        return 0;
    for (size_t i = 0; i < s_resources.size(); ++i)
        if (s_resources[i].host == found)
            return kResourceHandles + static_cast<uint32_t>(i);
    s_resources.push_back({found, 0});
    return kResourceHandles + static_cast<uint32_t>(s_resources.size() - 1);
}

uint32_t LoadResourceArm(Args &a) {
    uint32_t index = a.u(1) - kResourceHandles;
    if (index >= s_resources.size())
        return 0;
    Resource &r = s_resources[index];
    if (!r.copy) {
        HMODULE module = a.as<HMODULE>(0);
        HGLOBAL loaded = LoadResource(module, r.host);
        DWORD size = SizeofResource(module, r.host);
        if (!loaded || !size)
            return 0;
        r.copy = a.m.Alloc(size);
        std::memcpy(a.m.Host(r.copy, size), LockResource(loaded), size);
    }
    return r.copy;
}

// Find handles are heap pointers on the desktop: the program sees numbers.
std::vector<HANDLE> s_finds;
constexpr uint32_t kFindHandles = 0x0000'2000;

uint32_t FindFirst(Args &a) {
    Converted<WIN32_FIND_DATAW> data(a.m, Record::FindData, a.u(1), false);
    HANDLE find = FindFirstFileW(a.str(0), data.get());
    if (find == INVALID_HANDLE_VALUE) {
        data.address = 0;
        return 0xFFFF'FFFF;
    }
    s_finds.push_back(find);
    return kFindHandles + static_cast<uint32_t>(s_finds.size() - 1);
}

HANDLE FindOf(uint32_t handle) {
    uint32_t index = handle - kFindHandles;
    return index < s_finds.size() ? s_finds[index] : INVALID_HANDLE_VALUE;
}

uint32_t FindNext(Args &a) {
    Converted<WIN32_FIND_DATAW> data(a.m, Record::FindData, a.u(1), false);
    BOOL found = FindNextFileW(FindOf(a.u(0)), data.get());
    if (!found)
        data.address = 0;
    return B(found);
}

uint32_t FindEnd(Args &a) {
    HANDLE find = FindOf(a.u(0));
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    s_finds[a.u(0) - kFindHandles] = INVALID_HANDLE_VALUE;
    return B(FindClose(find));
}

uint32_t RegistryKeyOut(Args &a, LONG result, HKEY key, uint32_t out) {
    if (result == ERROR_SUCCESS && out)
        a.m.Write32(out, H(key));
    return static_cast<uint32_t>(result);
}

// Doubles travel as two words, low first, in r0:r1 and r2:r3.
double Double(uint32_t low, uint32_t high) {
    uint64_t bits = (uint64_t(high) << 32) | low;
    double value;
    std::memcpy(&value, &bits, 8);
    return value;
}

uint32_t ReturnDouble(Machine &m, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    m.cpu().r[1] = static_cast<uint32_t>(bits >> 32);
    return static_cast<uint32_t>(bits);
}

// The tests' view of the text the program draws: with ZB_RUNNER_TEXT_LOG
// naming a file, each DrawTextW's text is added to it, a line each (UTF-16).
void LogDrawnText(LPCWSTR text, int count) {
    static const wchar_t *path = _wgetenv(L"ZB_RUNNER_TEXT_LOG");
    if (!path || !*path)
        return;
    if (FILE *file = _wfopen(path, L"ab")) {
        std::fwrite(text, 2, count < 0 ? std::wcslen(text) : static_cast<size_t>(count), file);
        std::fwrite(L"\n", 2, 1, file);
        std::fclose(file);
    }
}

#define IMPORT(dll, name) {#dll, #name, [](Args &a) -> uint32_t

} // namespace

const Import kImports[] = {
    // --- run time -------------------------------------------------------------
    IMPORT(COREDLL, calloc) {
        // The tests' way to a start whose memory runs out.
        static const bool refused = _wgetenv(L"ZB_RUNNER_CALLOC_FAILS") != nullptr;
        uint64_t size = uint64_t(a.u(0)) * a.u(1);
        return refused || size > kHeapHigh - kHeapLow ? 0 : a.m.Alloc(static_cast<uint32_t>(size));
    }},
    IMPORT(COREDLL, free) { return 0; }},
    IMPORT(COREDLL, memset) {
        std::memset(a.p(0, a.u(2)), a.i(1), a.u(2));
        return a.u(0);
    }},
    IMPORT(COREDLL, wcscmp) { return static_cast<uint32_t>(std::wcscmp(a.str(0), a.str(1))); }},
    IMPORT(COREDLL, _vsnwprintf) {
        auto *out = static_cast<wchar_t *>(a.p(0, 2 * a.u(1)));
        return static_cast<uint32_t>(FormatArm(a.m, out, a.u(1), a.str(2), a.u(3)));
    }},
    IMPORT(COREDLL, __muld) {
        return ReturnDouble(a.m, Double(a.u(0), a.u(1)) * Double(a.u(2), a.u(3)));
    }},
    IMPORT(COREDLL, __u64tod) {
        return ReturnDouble(a.m, static_cast<double>((uint64_t(a.u(1)) << 32) | a.u(0)));
    }},
    IMPORT(COREDLL, TerminateProcess) {
        if (a.u(0) != 0x42) // CE's GetCurrentProcess()
            return B(TerminateProcess(a.h(0), a.u(1)));
        std::fflush(stdout);
        WriteProfile();
        ExitProcess(a.u(1));
    }},
    IMPORT(COREDLL, GetLastError) { return GetLastError(); }},
    IMPORT(COREDLL, Sleep) { Sleep(a.u(0)); return 0; }},
    IMPORT(COREDLL, CloseHandle) { return B(CloseHandle(a.h(0))); }},
    IMPORT(COREDLL, CreateMutexW) {
        return H(CreateMutexW(static_cast<LPSECURITY_ATTRIBUTES>(a.p(0)), a.i(1), a.str(2)));
    }},
    // --- resources ------------------------------------------------------------
    IMPORT(COREDLL, LoadStringW) {
        return static_cast<uint32_t>(LoadStringW(a.as<HINSTANCE>(0), a.u(1),
                                                 static_cast<LPWSTR>(a.p(2, 2 * a.u(3))), a.i(3)));
    }},
    IMPORT(COREDLL, LoadIconW) { return H(LoadIconW(a.as<HINSTANCE>(0), a.str(1))); }},
    IMPORT(COREDLL, LoadAcceleratorsW) { return H(LoadAcceleratorsW(a.as<HINSTANCE>(0), a.str(1))); }},
    IMPORT(COREDLL, FindResourceW) { return FindResourceArm(a); }},
    IMPORT(COREDLL, LoadResource) { return LoadResourceArm(a); }},
    // --- registry -------------------------------------------------------------
    IMPORT(COREDLL, RegCreateKeyExW) {
        HKEY key = nullptr;
        LONG result = RegCreateKeyExW(a.as<HKEY>(0), a.str(1), 0, const_cast<LPWSTR>(a.str(3)),
                                      a.u(4), a.u(5), nullptr, &key, static_cast<DWORD *>(a.p(8, 4)));
        return RegistryKeyOut(a, result, key, a.u(7));
    }},
    IMPORT(COREDLL, RegOpenKeyExW) {
        HKEY key = nullptr;
        LONG result = RegOpenKeyExW(a.as<HKEY>(0), a.str(1), a.u(2), a.u(3), &key);
        return RegistryKeyOut(a, result, key, a.u(4));
    }},
    IMPORT(COREDLL, RegQueryValueExW) {
        auto *size = static_cast<DWORD *>(a.p(5, 4));
        return static_cast<uint32_t>(RegQueryValueExW(
            a.as<HKEY>(0), a.str(1), nullptr, static_cast<DWORD *>(a.p(3, 4)),
            static_cast<BYTE *>(a.p(4, size ? *size : 1)), size));
    }},
    IMPORT(COREDLL, RegSetValueExW) {
        return static_cast<uint32_t>(RegSetValueExW(a.as<HKEY>(0), a.str(1), 0, a.u(3),
                                                    static_cast<const BYTE *>(a.p(4, a.u(5))), a.u(5)));
    }},
    IMPORT(COREDLL, RegCloseKey) { return static_cast<uint32_t>(RegCloseKey(a.as<HKEY>(0))); }},
    // --- power, memory, files -----------------------------------------------------
    IMPORT(COREDLL, GetSystemPowerStatusEx) {
        return B(GetSystemPowerStatusEx(static_cast<PSYSTEM_POWER_STATUS_EX>(
                                            a.p(0, sizeof(SYSTEM_POWER_STATUS_EX))), a.i(1)));
    }},
    IMPORT(COREDLL, GetSystemPowerStatusEx2) {
        return GetSystemPowerStatusEx2(static_cast<PSYSTEM_POWER_STATUS_EX2>(a.p(0, a.u(1))),
                                       a.u(1), a.i(2));
    }},
    IMPORT(COREDLL, GlobalMemoryStatus) {
        Converted<MEMORYSTATUS> status(a.m, Record::MemoryStatus, a.u(0));
        GlobalMemoryStatus(status.get());
        return 0;
    }},
    IMPORT(COREDLL, GetDiskFreeSpaceExW) {
        return B(GetDiskFreeSpaceExW(a.str(0), static_cast<PULARGE_INTEGER>(a.p(1, 8)),
                                     static_cast<PULARGE_INTEGER>(a.p(2, 8)),
                                     static_cast<PULARGE_INTEGER>(a.p(3, 8))));
    }},
    IMPORT(COREDLL, FindFirstFileW) { return FindFirst(a); }},
    IMPORT(COREDLL, FindNextFileW) { return FindNext(a); }},
    IMPORT(COREDLL, FindClose) { return FindEnd(a); }},
    // --- windows and messages -----------------------------------------------------
    IMPORT(COREDLL, RegisterClassW) {
        Converted<WNDCLASSW> wc(a.m, Record::WndClass, a.u(0));
        ATOM atom = RegisterClassW(wc.get());
        wc.address = 0; // nothing to give back
        return atom;
    }},
    IMPORT(COREDLL, CreateWindowExW) {
        return H(CreateWindowExW(a.u(0), a.str(1), a.str(2), a.u(3), a.i(4), a.i(5), a.i(6), a.i(7),
                                 a.hwnd(8), a.as<HMENU>(9), a.as<HINSTANCE>(10), a.p(11)));
    }},
    IMPORT(COREDLL, DestroyWindow) { return B(DestroyWindow(a.hwnd(0))); }},
    IMPORT(COREDLL, DefWindowProcW) {
        return Result(DefWindowProcW(a.hwnd(0), a.u(1), a.wparam(2), a.lparam(3)));
    }},
    IMPORT(COREDLL, CallWindowProcW) { return CallProc(a); }},
    IMPORT(COREDLL, GetWindowLongW) { return WindowLong(a); }},
    IMPORT(COREDLL, SetWindowLongW) { return SetWindowLong(a); }},
    IMPORT(COREDLL, ShowWindow) { return B(ShowWindow(a.hwnd(0), a.i(1))); }},
    IMPORT(COREDLL, UpdateWindow) { return B(UpdateWindow(a.hwnd(0))); }},
    IMPORT(COREDLL, IsWindow) { return B(IsWindow(a.hwnd(0))); }},
    IMPORT(COREDLL, IsWindowVisible) { return B(IsWindowVisible(a.hwnd(0))); }},
    IMPORT(COREDLL, MoveWindow) {
        return B(MoveWindow(a.hwnd(0), a.i(1), a.i(2), a.i(3), a.i(4), a.i(5)));
    }},
    IMPORT(COREDLL, SetWindowPos) {
        return B(SetWindowPos(a.hwnd(0), a.hwnd(1), a.i(2), a.i(3), a.i(4), a.i(5), a.u(6)));
    }},
    IMPORT(COREDLL, SetForegroundWindow) { return B(SetForegroundWindow(a.hwnd(0))); }},
    IMPORT(COREDLL, FindWindowW) { return H(FindWindowW(a.str(0), a.str(1))); }},
    IMPORT(COREDLL, GetClientRect) { return B(GetClientRect(a.hwnd(0), static_cast<RECT *>(a.p(1, 16)))); }},
    IMPORT(COREDLL, GetWindowRect) { return B(GetWindowRect(a.hwnd(0), static_cast<RECT *>(a.p(1, 16)))); }},
    IMPORT(COREDLL, InvalidateRect) {
        return B(InvalidateRect(a.hwnd(0), static_cast<RECT *>(a.p(1, 16)), a.i(2)));
    }},
    IMPORT(COREDLL, SetTimer) {
        if (a.u(3))
            Die("SetTimer with a timer procedure, which the runner does not call");
        return static_cast<uint32_t>(SetTimer(a.hwnd(0), a.u(1), a.u(2), nullptr));
    }},
    IMPORT(COREDLL, SendMessageW) {
        return Result(SendMessageW(a.hwnd(0), a.u(1), a.wparam(2), a.lparam(3)));
    }},
    IMPORT(COREDLL, SendDlgItemMessageW) {
        return Result(SendDlgItemMessageW(a.hwnd(0), a.i(1), a.u(2), a.wparam(3), a.lparam(4)));
    }},
    IMPORT(COREDLL, InSendMessage) { return B(InSendMessage()); }},
    IMPORT(COREDLL, GetMessageW) {
        Converted<MSG> msg(a.m, Record::Msg, a.u(0), false);
        return static_cast<uint32_t>(GetMessageW(msg.get(), a.hwnd(1), a.u(2), a.u(3)));
    }},
    IMPORT(COREDLL, TranslateMessage) {
        Converted<MSG> msg(a.m, Record::Msg, a.u(0));
        msg.address = 0;
        return B(TranslateMessage(msg.get() ? &msg.value : nullptr));
    }},
    IMPORT(COREDLL, TranslateAcceleratorW) {
        Converted<MSG> msg(a.m, Record::Msg, a.u(2));
        msg.address = 0;
        return static_cast<uint32_t>(TranslateAcceleratorW(a.hwnd(0), a.as<HACCEL>(1), &msg.value));
    }},
    IMPORT(COREDLL, DispatchMessageW) {
        Converted<MSG> msg(a.m, Record::Msg, a.u(0));
        msg.address = 0;
        return Result(DispatchMessageW(&msg.value));
    }},
    IMPORT(COREDLL, PostQuitMessage) { PostQuitMessage(a.i(0)); return 0; }},
    // --- dialogs --------------------------------------------------------------------
    IMPORT(COREDLL, DialogBoxIndirectParamW) {
        auto proc = reinterpret_cast<DLGPROC>(a.m.HostProc(a.u(3)));
        return static_cast<uint32_t>(DialogBoxIndirectParamW(
            a.as<HINSTANCE>(0), static_cast<LPCDLGTEMPLATEW>(a.p(1, 18)), a.hwnd(2), proc, a.lparam(4)));
    }},
    IMPORT(COREDLL, EndDialog) { return B(EndDialog(a.hwnd(0), a.i(1))); }},
    IMPORT(COREDLL, MessageBoxW) {
        return static_cast<uint32_t>(MessageBoxW(a.hwnd(0), a.str(1), a.str(2), a.u(3)));
    }},
    IMPORT(COREDLL, GetDlgItemInt) {
        return GetDlgItemInt(a.hwnd(0), a.i(1), static_cast<BOOL *>(a.p(2, 4)), a.i(3));
    }},
    IMPORT(COREDLL, SetDlgItemInt) { return B(SetDlgItemInt(a.hwnd(0), a.i(1), a.u(2), a.i(3))); }},
    // --- GDI --------------------------------------------------------------------------
    IMPORT(COREDLL, GetDC) { return H(GetDC(a.hwnd(0))); }},
    IMPORT(COREDLL, ReleaseDC) { return static_cast<uint32_t>(ReleaseDC(a.hwnd(0), a.as<HDC>(1))); }},
    IMPORT(COREDLL, BeginPaint) {
        Converted<PAINTSTRUCT> ps(a.m, Record::PaintStruct, a.u(1), false);
        return H(BeginPaint(a.hwnd(0), ps.get()));
    }},
    IMPORT(COREDLL, EndPaint) {
        Converted<PAINTSTRUCT> ps(a.m, Record::PaintStruct, a.u(1));
        ps.address = 0;
        return B(EndPaint(a.hwnd(0), &ps.value));
    }},
    IMPORT(COREDLL, CreateCompatibleDC) { return H(CreateCompatibleDC(a.as<HDC>(0))); }},
    IMPORT(COREDLL, DeleteDC) { return B(DeleteDC(a.as<HDC>(0))); }},
    IMPORT(COREDLL, CreateCompatibleBitmap) {
        return H(CreateCompatibleBitmap(a.as<HDC>(0), a.i(1), a.i(2)));
    }},
    IMPORT(COREDLL, CreateDIBSection) { return DibSection(a); }},
    IMPORT(COREDLL, SelectObject) { return H(SelectObject(a.as<HDC>(0), a.as<HGDIOBJ>(1))); }},
    IMPORT(COREDLL, DeleteObject) { return DeleteGdiObject(a); }},
    IMPORT(COREDLL, GetStockObject) { return H(GetStockObject(a.i(0))); }},
    IMPORT(COREDLL, CreateSolidBrush) { return H(CreateSolidBrush(a.u(0))); }},
    IMPORT(COREDLL, CreateFontIndirectW) {
        return H(CreateFontIndirectW(static_cast<const LOGFONTW *>(a.p(0, sizeof(LOGFONTW)))));
    }},
    IMPORT(COREDLL, GetClipBox) { return static_cast<uint32_t>(GetClipBox(a.as<HDC>(0), static_cast<RECT *>(a.p(1, 16)))); }},
    IMPORT(COREDLL, BitBlt) {
        BOOL done = BitBlt(a.as<HDC>(0), a.i(1), a.i(2), a.i(3), a.i(4), a.as<HDC>(5), a.i(6), a.i(7), a.u(8));
        // CE's GDI has drawn when a call returns; the program reads DIB
        // sections right after.
        GdiFlush();
        return B(done);
    }},
    IMPORT(COREDLL, FillRect) {
        return static_cast<uint32_t>(FillRect(a.as<HDC>(0), static_cast<const RECT *>(a.p(1, 16)), a.as<HBRUSH>(2)));
    }},
    IMPORT(COREDLL, GradientFill) {
        return B(GradientFill(a.as<HDC>(0), static_cast<TRIVERTEX *>(a.p(1, 16 * a.u(2))), a.u(2),
                              a.p(3, 8 * a.u(4)), a.u(4), a.u(5)));
    }},
    IMPORT(COREDLL, GetPixel) { return GetPixel(a.as<HDC>(0), a.i(1), a.i(2)); }},
    IMPORT(COREDLL, GetNearestColor) { return GetNearestColor(a.as<HDC>(0), a.u(1)); }},
    IMPORT(COREDLL, SetBkMode) { return static_cast<uint32_t>(SetBkMode(a.as<HDC>(0), a.i(1))); }},
    IMPORT(COREDLL, SetTextColor) { return SetTextColor(a.as<HDC>(0), a.u(1)); }},
    IMPORT(COREDLL, DrawTextW) {
        int count = a.i(2);
        auto *text = count < 0 ? a.str(1) : static_cast<LPCWSTR>(a.p(1, 2 * count));
        LogDrawnText(text, count);
        return static_cast<uint32_t>(DrawTextW(a.as<HDC>(0), text, count, static_cast<RECT *>(a.p(3, 16)), a.u(4)));
    }},
    // --- rectangles -------------------------------------------------------------------
    IMPORT(COREDLL, SetRect) {
        return B(SetRect(static_cast<RECT *>(a.p(0, 16)), a.i(1), a.i(2), a.i(3), a.i(4)));
    }},
    IMPORT(COREDLL, SetRectEmpty) { return B(SetRectEmpty(static_cast<RECT *>(a.p(0, 16)))); }},
    IMPORT(COREDLL, CopyRect) {
        return B(CopyRect(static_cast<RECT *>(a.p(0, 16)), static_cast<const RECT *>(a.p(1, 16))));
    }},
    IMPORT(COREDLL, OffsetRect) { return B(OffsetRect(static_cast<RECT *>(a.p(0, 16)), a.i(1), a.i(2))); }},
    IMPORT(COREDLL, InflateRect) { return B(InflateRect(static_cast<RECT *>(a.p(0, 16)), a.i(1), a.i(2))); }},
    IMPORT(COREDLL, IntersectRect) {
        return B(IntersectRect(static_cast<RECT *>(a.p(0, 16)), static_cast<const RECT *>(a.p(1, 16)),
                               static_cast<const RECT *>(a.p(2, 16))));
    }},
    IMPORT(COREDLL, PtInRect) {
        return B(PtInRect(static_cast<const RECT *>(a.p(0, 16)), POINT{a.i(1), a.i(2)}));
    }},
    // --- the shell -----------------------------------------------------------------
    IMPORT(AYGSHELL, SHCreateMenuBar) {
        Converted<SHMENUBARINFO> info(a.m, Record::MenuBarInfo, a.u(0));
        return B(SHCreateMenuBar(info.get()));
    }},
    IMPORT(AYGSHELL, SHInitDialog) {
        Converted<SHINITDLGINFO> info(a.m, Record::InitDlgInfo, a.u(0));
        return B(SHInitDialog(info.get()));
    }},
    IMPORT(AYGSHELL, SHHandleWMActivate) {
        Converted<SHACTIVATEINFO> info(a.m, Record::ActivateInfo, a.u(3));
        return B(SHHandleWMActivate(a.hwnd(0), a.wparam(1), a.lparam(2), info.get(), a.u(4)));
    }},
    IMPORT(AYGSHELL, SHHandleWMSettingChange) {
        Converted<SHACTIVATEINFO> info(a.m, Record::ActivateInfo, a.u(3));
        return B(SHHandleWMSettingChange(a.hwnd(0), a.wparam(1), a.lparam(2), info.get()));
    }},
    IMPORT(COMMDLG, ChooseColor) {
        Converted<CHOOSECOLORW> request(a.m, Record::ChooseColor, a.u(0));
        return B(ChooseColorW(request.get()));
    }},
};
const size_t kImportCount = sizeof(kImports) / sizeof(kImports[0]);

} // namespace runner
