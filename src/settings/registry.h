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

// One stored value: its name and its working copy, a setting's global or a
// colour element. A setting's default is its start value (state.cpp), written
// back when the value is missing; a colour's is its element's.
struct StoredValue {
    const wchar_t *name;
    int *setting; // nullptr for a colour
    int element;  // the colour element's index; -1 for a setting
};
// The settings that Setup's "ok" stores and the load takes as they are;
// "Position" has its own bounds and its own write point.
inline constexpr StoredValue kSetupSettings[] = {
    {kValueLifeTime, &g_lifeTime, -1},
    {kValueStyle, &g_style, -1},
    {kValueAlign, &g_align, -1},
};
constexpr int kSetupSettingCount = static_cast<int>(ARRAYSIZE(kSetupSettings));
// Everything the key holds: "Position", the settings above, then one value
// per colour element, named by the colour table.
inline constexpr auto kStoredValues = [] {
    std::array<StoredValue, 1 + kSetupSettingCount + kColorElementCount> values{};
    values[0] = {kValuePosition, &g_position, -1};
    for (int i = 0; i < kSetupSettingCount; ++i)
        values[1 + i] = kSetupSettings[i];
    for (int i = 0; i < kColorElementCount; ++i)
        values[1 + kSetupSettingCount + i] = {kColorElementDefaults[i].name, nullptr, i};
    return values;
}();

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

// The position a first start stores, for the resolution mode.
int DefaultPosition();
// Start-up: the four settings, with "Position" checked against the taskbar's
// client width; then the colours. Missing values are written back.
void LoadSettings(const RECT &taskbarClient);
void LoadColors();

// Write points of the Setup dialog.
void SaveSetupSettings(); // "LifeTime", "Style", "Align"
void SavePosition();
void SaveColor(const ColorElement &element, COLORREF color);
