#include "settings/registry.h"

#include "state/state.h"
#include "settings/colors.h"

bool RegKey::Create() {
    return key_.Create(HKEY_CURRENT_USER, kSettingsKey, KEY_READ | KEY_WRITE);
}

// The device's registry has no access rights; a desktop's key can be
// readable and not writable, and its stored values still count.
bool RegKey::CreateOrRead() {
    return Create() || key_.Open(HKEY_CURRENT_USER, kSettingsKey, KEY_READ);
}

// Any value of exactly four bytes is taken as stored, whatever its type (a
// .reg file's hex: data is REG_BINARY). Longer data fails the query outright;
// shorter data would leave part of the buffer unset, so it counts as missing.
bool RegKey::Read(const wchar_t *name, DWORD *value) const {
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (RegQueryValueExW(key_.get(), name, nullptr, nullptr, reinterpret_cast<BYTE *>(&data),
                         &size) != ERROR_SUCCESS ||
        size != sizeof(data))
        return false;
    *value = data;
    return true;
}

void RegKey::Write(const wchar_t *name, DWORD value) const {
    RegSetValueExW(key_.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value),
                   sizeof(value));
}

namespace {

// Reads a setting, or writes the current value back when it is missing.
void LoadOrWriteBack(const RegKey &key, const StoredValue &value) {
    DWORD stored;
    if (key.Read(value.name, &stored))
        *value.setting = static_cast<int>(stored);
    else
        key.Write(value.name, static_cast<DWORD>(*value.setting));
}

} // namespace

int DefaultPosition() {
    return Res(4, 2);
}

// "Position" is checked once the stored alignment is known: counted from the
// right end, Setup's nudge saves values up to the full width.
void LoadSettings(const RECT &taskbarClient) {
    RegKey key;
    if (!key.CreateOrRead())
        return;
    DWORD stored = 0;
    bool havePosition = key.Read(kValuePosition, &stored);
    for (const StoredValue &value : kSetupSettings)
        LoadOrWriteBack(key, value);
    int width = taskbarClient.right - taskbarClient.left;
    int limit = g_align == 0 ? width : width - 10;
    if (havePosition && static_cast<int>(stored) <= limit) {
        g_position = static_cast<int>(stored);
    } else {
        g_position = DefaultPosition();
        key.Write(kValuePosition, static_cast<DWORD>(g_position));
    }
}

// Each element's value under its name, which the colour table gives both.
void LoadColors() {
    RegKey key;
    bool open = key.CreateOrRead();
    for (const StoredValue &value : kStoredValues) {
        ColorElement *element = value.setting ? nullptr : Element(value.element);
        if (!element)
            continue;
        DWORD color = element->defaultColor;
        // Without the key every element still gets its default colour and a
        // brush.
        if (open && !key.Read(value.name, &color)) {
            color = element->defaultColor;
            key.Write(value.name, color);
        }
        SetElementColor(element, color);
    }
}

// The write points create the key as start-up does: a registry editor or a
// clean-up tool may have deleted it while the program runs, and a change the
// user made must not be lost.
void SaveSetupSettings() {
    RegKey key;
    if (!key.Create())
        return;
    for (const StoredValue &value : kSetupSettings)
        key.Write(value.name, static_cast<DWORD>(*value.setting));
}

void SavePosition() {
    RegKey key;
    if (key.Create())
        key.Write(kValuePosition, static_cast<DWORD>(g_position));
}

void SaveColor(const ColorElement &element, COLORREF color) {
    RegKey key;
    if (key.Create())
        key.Write(element.name, color);
}
