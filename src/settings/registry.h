// The program's registry settings: one key under HKEY_CURRENT_USER with the
// four settings and the colours, 32-bit values written as REG_DWORD. All registry access of the
// program goes through here.
#pragma once
#include "base/registry_key.h"

struct ColorElement;

constexpr wchar_t kSettingsKey[] = L"Software\\tavrel\\ZemloBattery";
constexpr wchar_t kValuePosition[] = L"Position";
constexpr wchar_t kValueLifeTime[] = L"LifeTime";
constexpr wchar_t kValueStyle[] = L"Style";
constexpr wchar_t kValueAlign[] = L"Align";

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
