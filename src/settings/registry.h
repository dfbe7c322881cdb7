// The program's registry settings: one key under HKEY_CURRENT_USER with the
// four settings and the colours, 32-bit values written as REG_DWORD. All
// registry access of the program goes through here.
#pragma once
#include "base/registry_key.h"
#include "state/state.h"

#include <array>

constexpr wchar_t kSettingsKey[] = L"Software\\tavrel\\ZemloBattery";
constexpr wchar_t kValuePosition[] = L"Position";
constexpr wchar_t kValueLifeTime[] = L"LifeTime";
constexpr wchar_t kValueStyle[] = L"Style";
constexpr wchar_t kValueAlign[] = L"Align";

// One stored value: its name, its working copy (a setting's global, or the
// record of a colour element) and the value it starts as.
struct StoredValue {
    const wchar_t *name;
    int *setting; // nullptr for a colour
    int element;  // the colour element's index; -1 for a setting
    // A setting's start value, kept and written back when its value is
    // missing ("Position" then follows the taskbar: 4 or 2); a colour's
    // default.
    DWORD initial;
};
// The settings. The load takes "Position" last: "Align" tells how far it may
// go.
inline constexpr StoredValue kStoredSettings[] = {
    {kValuePosition, &g_position, -1, 4},
    {kValueLifeTime, &g_lifeTime, -1, 350},
    {kValueStyle, &g_style, -1, 1}, // "WM6"
    {kValueAlign, &g_align, -1, 1}, // from the left end
};
constexpr int kStoredSettingCount = static_cast<int>(ARRAYSIZE(kStoredSettings));
// Everything the key holds: the settings, then one value per colour element,
// named and defaulted by the colour table.
inline constexpr auto kStoredValues = [] {
    std::array<StoredValue, kStoredSettingCount + kColorElementCount> values{};
    for (int i = 0; i < kStoredSettingCount; ++i)
        values[i] = kStoredSettings[i];
    for (int i = 0; i < kColorElementCount; ++i)
        values[kStoredSettingCount + i] = {kColorElementDefaults[i].name, nullptr, i,
                                           kColorElementDefaults[i].color};
    return values;
}();

// Gives the settings their start values.
void ResetSettings();

// The settings key, closed when it goes out of scope.
class RegKey {
  public:
    // Opens the settings key for reading and writing, creating it when it
    // does not exist.
    bool Create();
    // As Create(), or, where the key's rights allow reading only, opens it for
    // reading: what is stored is still read, and writes then fail unseen.
    bool CreateOrRead();
    void Close() { key_.Close(); }

    // A value counts as present when it holds exactly four bytes, of any type.
    bool Read(const wchar_t *name, DWORD *value) const;
    void Write(const wchar_t *name, DWORD value) const;

  private:
    RegistryKey key_;
};

// Start-up: the four settings, with "Position" checked against the taskbar's
// client width; then the colours. Missing values are written back.
void LoadSettings(const RECT &taskbarClient);
void LoadColors();

// Write points of the Setup dialog.
void SaveSetupSettings(); // "LifeTime", "Style", "Align"
void SavePosition();
void SaveColor(const ColorElement &element, COLORREF color);
