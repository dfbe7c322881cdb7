#include "settings/registry.h"

#include "app/state.h"
#include "settings/colors.h"

bool RegKey::Create() {
    Close();
    return RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                           nullptr, &key_, nullptr) == ERROR_SUCCESS;
}

bool RegKey::Open() {
    Close();
    return RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ | KEY_WRITE, &key_) ==
           ERROR_SUCCESS;
}

void RegKey::Close() {
    if (key_) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
}

// Only what the program itself writes counts: a REG_DWORD of four bytes.
// Longer data fails the query outright; shorter data would leave part of the
// buffer unset, and text or binary data of four bytes is no number; all of
// them count as missing and are rewritten.
bool RegKey::Read(const wchar_t *name, DWORD *value) const {
    DWORD data = 0;
    DWORD size = sizeof(data);
    DWORD type = REG_NONE;
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE *>(&data), &size) !=
            ERROR_SUCCESS ||
        size != sizeof(data) || type != REG_DWORD)
        return false;
    *value = data;
    return true;
}

void RegKey::Write(const wchar_t *name, DWORD value) const {
    RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof(value));
}

namespace {

// Reads a setting, or writes the current value back when it is missing.
void LoadOrWriteBack(const RegKey &key, const wchar_t *name, int *setting) {
    DWORD value;
    if (key.Read(name, &value))
        *setting = static_cast<int>(value);
    else
        key.Write(name, static_cast<DWORD>(*setting));
}

} // namespace

void LoadSettings(const RECT &taskbarClient) {
    RegKey key;
    if (!key.Create())
        return;
    DWORD stored;
    int limit = (taskbarClient.right - taskbarClient.left) - 10;
    if (key.Read(kValuePosition, &stored) && static_cast<int>(stored) <= limit) {
        g_position = static_cast<int>(stored);
    } else {
        g_position = Res(4, 2);
        key.Write(kValuePosition, static_cast<DWORD>(g_position));
    }
    LoadOrWriteBack(key, kValueLifeTime, &g_lifeTime);
    LoadOrWriteBack(key, kValueStyle, &g_style);
    LoadOrWriteBack(key, kValueAlign, &g_align);
}

void LoadColors() {
    RegKey key;
    bool open = key.Create();
    for (int i = 0; i < kColorElementCount; ++i) {
        ColorElement *element = Element(i);
        if (!element)
            continue;
        DWORD color = element->defaultColor;
        // Without the key every element still gets its default colour and a
        // brush. A value with bits above blue is no colour.
        if (open && (!key.Read(element->name, &color) || color > 0x00FFFFFF)) {
            color = element->defaultColor;
            key.Write(element->name, color);
        }
        SetElementColor(element, color);
    }
}

void SaveSetupSettings() {
    RegKey key;
    if (!key.Open())
        return;
    key.Write(kValueLifeTime, static_cast<DWORD>(g_lifeTime));
    key.Write(kValueStyle, static_cast<DWORD>(g_style));
    key.Write(kValueAlign, static_cast<DWORD>(g_align));
}

void SavePosition() {
    RegKey key;
    if (key.Open())
        key.Write(kValuePosition, static_cast<DWORD>(g_position));
}

void SaveColor(const ColorElement &element, COLORREF color) {
    RegKey key;
    if (key.Open())
        key.Write(element.name, color);
}
