#include "harness.h"

#include "gdi_handle_table.h"
#include "pocketpc_emulation/names.h"

#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>

#include "base/gdi.h"
#include "gauge/gauge.h"
#include "settings/colors.h"
#include "settings/registry.h"

void ResetProgramState() {
    if (g_gauge && IsWindow(g_gauge))
        DestroyWindow(g_gauge);
    ResetStateValues();
    g_instance = GetModuleHandleW(nullptr);
    if (!g_whiteBrush)
        StartBrushes();
}

void StartUpStages(FromRegistry registry, bool withGauge) {
    StartTaskbar();
    if (registry == FromRegistry::kYes)
        StartSettings();
    if (withGauge)
        StartGauge();
    if (registry == FromRegistry::kYes) {
        StartColors();
        return;
    }
    LayoutColorElements(g_colorElements, g_hiRes);
    for (int i = 0; i < kColorElementCount; ++i)
        SetElementColor(Element(i), Element(i)->defaultColor);
}

namespace {

void ShellGradient(HDC dc, const RECT &rc) {
    FillVerticalGradient(dc, rc, kShellTopColor, kShellBottomColor);
}

} // namespace

LRESULT CALLBACK TestTaskbar::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *self = reinterpret_cast<TestTaskbar *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        if (self && self->painter_)
            self->painter_(dc, rc);
        else
            ShellGradient(dc, rc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TestTaskbar::TestTaskbar(int width, int height, Painter painter) : painter_(std::move(painter)) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kShellTaskbarClass;
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kShellTaskbarClass, L"",
                            WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

TestTaskbar::~TestTaskbar() {
    if (g_gauge && GetParent(g_gauge) == hwnd_)
        g_gauge = nullptr;
    DestroyWindow(hwnd_);
}

void TestTaskbar::Resize(int width, int height) {
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

SYSTEM_POWER_STATUS FakePower::s_status;
bool FakePower::fail_ = false;
int FakePower::reads_ = 0;

FakePower::FakePower(int percent, int acLine, DWORD lifeTime) {
    fail_ = false;
    Set(percent, acLine, lifeTime);
    SetPowerReader(&FakePower::Read);
}

FakePower::~FakePower() {
    SetPowerReader(nullptr);
}

void FakePower::Set(int percent, int acLine, DWORD lifeTime) {
    s_status = {};
    s_status.ACLineStatus = static_cast<BYTE>(acLine);
    s_status.BatteryFlag = 0;
    s_status.BatteryLifePercent = static_cast<BYTE>(percent);
    s_status.BatteryLifeTime = lifeTime;
    s_status.BatteryFullLifeTime = BATTERY_LIFE_UNKNOWN;
}

BOOL FakePower::Read(SYSTEM_POWER_STATUS *status) {
    ++reads_;
    if (fail_)
        return FALSE;
    *status = s_status;
    return TRUE;
}

bool GaugeHasUpdate() {
    return GetUpdateRect(g_gauge, nullptr, FALSE) != FALSE;
}

void ValidateGauge() {
    ValidateRect(g_gauge, nullptr);
}

POINT GaugeOrigin() {
    RECT rc;
    GetWindowRect(g_gauge, &rc);
    POINT pt = {rc.left, rc.top};
    ScreenToClient(GetParent(g_gauge), &pt);
    return pt;
}

void DeleteSettingsKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
}

bool ReadStoredValue(const wchar_t *name, DWORD *value, DWORD *type, DWORD *size) {
    RegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, kSettingsKey, KEY_READ))
        return false;
    BYTE data[64] = {};
    DWORD dataSize = sizeof(data), dataType = 0;
    if (RegQueryValueExW(key.get(), name, nullptr, &dataType, data, &dataSize) != ERROR_SUCCESS)
        return false;
    if (type)
        *type = dataType;
    if (size)
        *size = dataSize;
    *value = *reinterpret_cast<DWORD *>(data);
    return true;
}

bool StoreRawValue(const wchar_t *name, DWORD type, const void *data, DWORD size) {
    RegistryKey key;
    return key.Create(HKEY_CURRENT_USER, kSettingsKey, KEY_WRITE) &&
           RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE *>(data), size) ==
               ERROR_SUCCESS;
}

namespace {

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM count) {
    ++*reinterpret_cast<int *>(count);
    EnumChildWindows(hwnd, CountWindow, count);
    return TRUE;
}

} // namespace

int GdiObjectCount() {
    if (DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return static_cast<int>(reported);
#ifdef _WIN64
    auto *peb = reinterpret_cast<BYTE *>(NtCurrentTeb()->ProcessEnvironmentBlock);
#else
    // A 32-bit process under WoW64: the table hangs off the 64-bit PEB, reached
    // through the 64-bit TEB, whose address the 32-bit TEB keeps in its
    // GdiBatchCount field (offset 0xF70); the 64-bit TEB has the PEB at 0x60.
    auto *teb = reinterpret_cast<BYTE *>(NtCurrentTeb());
    ULONG_PTR teb64 = *reinterpret_cast<DWORD *>(teb + 0xF70);
    if (!teb64)
        return -1;
    auto *peb = reinterpret_cast<BYTE *>(
        static_cast<ULONG_PTR>(*reinterpret_cast<ULONGLONG *>(teb64 + 0x60)));
#endif
    auto *table = reinterpret_cast<GdiHandleEntry *>(
        static_cast<ULONG_PTR>(*reinterpret_cast<ULONGLONG *>(peb + kPebGdiSharedHandleTable)));
    if (!table)
        return -1;
    return CountGdiObjects(table, GetCurrentProcessId());
}

int HandleCount() {
    DWORD reported = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &reported) && reported)
        return static_cast<int>(reported);
    int count = 0;
    for (ULONG_PTR h = 4; h < 0x10000; h += 4) {
        DWORD flags;
        count += GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags) != FALSE;
    }
    return count;
}

int WindowCount() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory)) && memory.PagefileUsage)
        return memory.PagefileUsage;
    // Under Wine: the host's figure of this process's own (anonymous) memory.
    long long kb = RssAnonKB(L"Z:\\proc\\self\\status");
    return kb > 0 ? static_cast<SIZE_T>(kb) * 1024 : 0;
}
