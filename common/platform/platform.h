// The one header through which the program reaches the operating system.
//
// On Windows CE (_WIN32_WCE) it is the platform's own headers and the shell
// library, with the few names they lack; the start-up and run-time helpers that
// a CE C library would bring are the device build's own (device/runtime/). On
// desktop Windows it adds the CE records and the services that desktop Win32
// lacks, which the emulated Pocket PC (pocketpc_emulation/, a library of its
// own) provides, and routes a few calls whose CE behaviour differs (window
// defaults, the low bit of SetForegroundWindow, the file system root with its
// storage cards, the system font of new device contexts and controls, the
// colour chooser) to the emulation. The program calls the API by its CE names
// and never learns which platform it runs on.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>
#include <commdlg.h>
#ifdef _WIN32_WCE
// MinGW-w64's strsafe.h (third_party/mingw-w64) is written against MinGW's
// own C library headers; what it takes from them, COREDLL exports.
#include <stdarg.h>
#include <wchar.h>
#define __CRT_INLINE inline
#define __LONG32 long
extern "C" int _vsnprintf(char *buffer, size_t count, const char *format, va_list args);
extern "C" int _vsnwprintf(wchar_t *buffer, size_t count, const wchar_t *format, va_list args);
// libc++'s <new> expects Microsoft's C library where _WIN32 is set; the
// program allocates nothing over-aligned, so no code calls these.
extern "C" void *_aligned_malloc(size_t size, size_t alignment);
extern "C" void _aligned_free(void *block);
#endif // _WIN32_WCE
#include <strsafe.h>

// The window class of the shell's taskbar, which the gauge lives in.
constexpr wchar_t kShellTaskbarClass[] = L"HHTaskBar";

#ifdef _WIN32_WCE

#include <aygshell.h>
// The CE loader's start-up (device/runtime/ce_start.cpp) calls WinMain, whose
// command line is wide there.
#define wWinMain WinMain
// Names of newer SDKs than the device's headers know.
#ifndef ARRAYSIZE
#define ARRAYSIZE(array) (sizeof(array) / sizeof((array)[0]))
#endif
#ifndef SETTINGCHANGE_RESET
#define SETTINGCHANGE_RESET 0x3002
#endif
// CE has one namespace for named objects.
#define SESSION_OBJECT_NAME(name) name
#ifndef GWLP_WNDPROC
#define GWLP_WNDPROC GWL_WNDPROC
#define SetWindowLongPtrW SetWindowLongW
#define GetWindowLongPtrW GetWindowLongW
#endif
#ifndef DWLP_USER
#define DWLP_USER DWL_USER
#endif
// The device's commdlg exports the chooser without the W; its headers make
// LockResource a macro (the loaded resource is the pointer).
#ifndef ChooseColorW
#define ChooseColorW ChooseColor
#endif
#ifndef LockResource
#define LockResource(loaded) (static_cast<LPVOID>(loaded))
#endif
// CE's GDI has drawn when a call returns: a DIB section's bits are current.
inline void FlushGdiBatch() {}

// The records the program hands to the system or gets from it, as CE lays
// them out on ARM: a size or a member that moves stops the build, naming the
// record. The device's compiler places a 64-bit or double member at 8 bytes
// where this one places it at 4; a record with one is refused (device.mk's
// record check) unless its size is stated here, under the name of its tag
// without "tag" or "_", with the place of each member after the 64-bit one.
#define ZB_CE_SIZE(record, size) static_assert(sizeof(record) == (size), #record ": not CE's size")
#define ZB_CE_AT(record, member, offset)                                                   \
    static_assert(__builtin_offsetof(record, member) == (offset),                              \
                  #record "." #member ": not where CE has it")
ZB_CE_SIZE(RECT, 16);
ZB_CE_AT(RECT, bottom, 12);
ZB_CE_SIZE(POINT, 8);
ZB_CE_AT(POINT, y, 4);
ZB_CE_SIZE(MSG, 28);
ZB_CE_AT(MSG, lParam, 12);
ZB_CE_AT(MSG, pt, 20);
ZB_CE_SIZE(WNDCLASSW, 40);
ZB_CE_AT(WNDCLASSW, hInstance, 16);
ZB_CE_AT(WNDCLASSW, lpszClassName, 36);
ZB_CE_SIZE(CREATESTRUCTW, 48);
ZB_CE_AT(CREATESTRUCTW, dwExStyle, 44);
ZB_CE_SIZE(PAINTSTRUCT, 64);
ZB_CE_AT(PAINTSTRUCT, rcPaint, 8);
ZB_CE_SIZE(DLGTEMPLATE, 18);
ZB_CE_AT(DLGTEMPLATE, cdit, 8);
ZB_CE_SIZE(LOGFONTW, 92);
ZB_CE_AT(LOGFONTW, lfWeight, 16);
ZB_CE_AT(LOGFONTW, lfQuality, 26);
ZB_CE_AT(LOGFONTW, lfFaceName, 28);
ZB_CE_SIZE(BITMAPINFOHEADER, 40);
ZB_CE_AT(BITMAPINFOHEADER, biBitCount, 14);
ZB_CE_SIZE(BITMAPINFO, 44);
ZB_CE_AT(BITMAPINFO, bmiColors, 40);
ZB_CE_SIZE(TRIVERTEX, 16);
ZB_CE_AT(TRIVERTEX, Red, 8);
ZB_CE_AT(TRIVERTEX, Alpha, 14);
ZB_CE_SIZE(GRADIENT_RECT, 8);
ZB_CE_AT(GRADIENT_RECT, LowerRight, 4);
ZB_CE_SIZE(MEMORYSTATUS, 32);
ZB_CE_AT(MEMORYSTATUS, dwTotalPhys, 8);
ZB_CE_AT(MEMORYSTATUS, dwAvailPhys, 12);
ZB_CE_SIZE(ULARGE_INTEGER, 8);
ZB_CE_AT(ULARGE_INTEGER, HighPart, 4);
ZB_CE_SIZE(WIN32_FIND_DATAW, 560);
ZB_CE_AT(WIN32_FIND_DATAW, nFileSizeLow, 32);
ZB_CE_AT(WIN32_FIND_DATAW, dwOID, 36);
ZB_CE_AT(WIN32_FIND_DATAW, cFileName, 40);
ZB_CE_SIZE(SYSTEM_POWER_STATUS_EX, 24);
ZB_CE_AT(SYSTEM_POWER_STATUS_EX, BatteryLifePercent, 2);
ZB_CE_AT(SYSTEM_POWER_STATUS_EX, BatteryLifeTime, 4);
ZB_CE_SIZE(SYSTEM_POWER_STATUS_EX2, 56);
ZB_CE_AT(SYSTEM_POWER_STATUS_EX2, BatteryLifeTime, 4);
ZB_CE_AT(SYSTEM_POWER_STATUS_EX2, BatteryVoltage, 24);
ZB_CE_AT(SYSTEM_POWER_STATUS_EX2, BatteryChemistry, 52);
ZB_CE_SIZE(CHOOSECOLORW, 36);
ZB_CE_AT(CHOOSECOLORW, rgbResult, 12);
ZB_CE_AT(CHOOSECOLORW, Flags, 20);
ZB_CE_SIZE(SHMENUBARINFO, 36);
ZB_CE_AT(SHMENUBARINFO, hwndMB, 28);
ZB_CE_SIZE(SHINITDLGINFO, 12);
ZB_CE_AT(SHINITDLGINFO, dwFlags, 8);
ZB_CE_SIZE(SHACTIVATEINFO, 12);
ZB_CE_AT(SHACTIVATEINFO, hwndLastFocus, 4);

#else // desktop Windows: CE shell and power services, emulated

// Named objects of the user's own session.
#define SESSION_OBJECT_NAME(name) L"Local\\" name

// --- Soft-key menu bar -----------------------------------------------------
struct SHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;
    COLORREF clrBk;
};
using PSHMENUBARINFO = SHMENUBARINFO *;
BOOL SHCreateMenuBar(SHMENUBARINFO *info);

#ifndef I_IMAGENONE
#define I_IMAGENONE (-2)
#endif

// --- Shell dialog and activation helpers ------------------------------------
struct SHACTIVATEINFO {
    DWORD cbSize;
    HWND hwndLastFocus;
    DWORD flags; // fSipUp, fSipOnDeactivation, fActive, fReserved bits on CE
};

struct SHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
};
using PSHINITDLGINFO = SHINITDLGINFO *;

#define SHIDIM_FLAGS 0x0001
#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLG 0x0002
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008

#define WS_EX_CAPTIONOKBTN 0x80000000L

BOOL SHInitDialog(PSHINITDLGINFO info);
BOOL SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO *info, DWORD flags);
BOOL SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO *info);
// WM_SETTINGCHANGE's wParam when the screen has changed size (turned).
#define SETTINGCHANGE_RESET 0x3002

// --- Power status records ---------------------------------------------------
struct SYSTEM_POWER_STATUS_EX {
    BYTE ACLineStatus;
    BYTE BatteryFlag;
    BYTE BatteryLifePercent;
    BYTE Reserved1;
    DWORD BatteryLifeTime;
    DWORD BatteryFullLifeTime;
    BYTE Reserved2;
    BYTE BackupBatteryFlag;
    BYTE BackupBatteryLifePercent;
    BYTE Reserved3;
    DWORD BackupBatteryLifeTime;
    DWORD BackupBatteryFullLifeTime;
};
using PSYSTEM_POWER_STATUS_EX = SYSTEM_POWER_STATUS_EX *;
static_assert(sizeof(SYSTEM_POWER_STATUS_EX) == 24, "CE record layout");

// The long record begins with the short one's fields, in the same places.
struct SYSTEM_POWER_STATUS_EX2 : SYSTEM_POWER_STATUS_EX {
    DWORD BatteryVoltage;
    DWORD BatteryCurrent;
    DWORD BatteryAverageCurrent;
    DWORD BatteryAverageInterval;
    DWORD BatterymAHourConsumed;
    DWORD BatteryTemperature;
    DWORD BackupBatteryVoltage;
    BYTE BatteryChemistry;
};
using PSYSTEM_POWER_STATUS_EX2 = SYSTEM_POWER_STATUS_EX2 *;
static_assert(sizeof(SYSTEM_POWER_STATUS_EX2) == 56, "CE record layout");

#define BATTERY_CHEMISTRY_UNKNOWN 0xFF

BOOL GetSystemPowerStatusEx(PSYSTEM_POWER_STATUS_EX status, BOOL update);
DWORD GetSystemPowerStatusEx2(PSYSTEM_POWER_STATUS_EX2 status, DWORD length, BOOL update);

// --- Calls whose CE behaviour the desktop must be taught ---------------------
HWND PlatformCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                             int x, int y, int width, int height, HWND parent, HMENU menu,
                             HINSTANCE instance, LPVOID param);
BOOL PlatformSetForegroundWindow(HWND hwnd);
HANDLE PlatformFindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data);
BOOL PlatformFindNextFileW(HANDLE find, LPWIN32_FIND_DATAW data);
BOOL PlatformFindClose(HANDLE find);
BOOL PlatformGetDiskFreeSpaceExW(LPCWSTR dir, PULARGE_INTEGER freeToCaller,
                                 PULARGE_INTEGER totalBytes, PULARGE_INTEGER totalFree);
void PlatformGlobalMemoryStatus(LPMEMORYSTATUS status);
UINT PlatformGetDlgItemInt(HWND dlg, int id, BOOL *translated, BOOL isSigned);
HDC PlatformCreateCompatibleDC(HDC dc);
BOOL WINAPI PlatformChooseColorW(LPCHOOSECOLORW request);
// The desktop's GDI may batch calls: a DIB section's bits show a blit only
// after the batch is flushed.
void FlushGdiBatch();

INT_PTR PlatformDialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW tmpl, HWND owner,
                                        DLGPROC proc, LPARAM param);
int WINAPI PlatformMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

#ifndef ZB_PLATFORM_IMPL
#undef CreateWindowExW
#define CreateWindowExW PlatformCreateWindowExW
#define SetForegroundWindow PlatformSetForegroundWindow
#define FindFirstFileW PlatformFindFirstFileW
#define FindNextFileW PlatformFindNextFileW
#define FindClose PlatformFindClose
#define GetDiskFreeSpaceExW PlatformGetDiskFreeSpaceExW
#define GlobalMemoryStatus PlatformGlobalMemoryStatus
#define GetDlgItemInt PlatformGetDlgItemInt
#define CreateCompatibleDC PlatformCreateCompatibleDC
#define ChooseColorW PlatformChooseColorW
#define DialogBoxIndirectParamW PlatformDialogBoxIndirectParamW
#define MessageBoxW PlatformMessageBoxW
#endif

#endif // _WIN32_WCE

// The records whose sizes the program hands to the system, as a 32-bit device
// lays them out; a 64-bit build has wider handles and pointers and uses sizeof.
#ifndef _WIN64
static_assert(sizeof(SHACTIVATEINFO) == 12, "CE record layout");
static_assert(sizeof(SHMENUBARINFO) == 36, "CE record layout");
static_assert(sizeof(CHOOSECOLOR) == 36, "CE record layout");
#endif
