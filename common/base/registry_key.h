// An open registry key, closed when it goes out of scope or is opened again.
#pragma once
#include "platform/platform.h"

class RegistryKey {
  public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;

    // Opens the key, creating it when it does not exist.
    bool Create(HKEY root, const wchar_t *path, REGSAM access) {
        Close();
        return RegCreateKeyExW(root, path, 0, nullptr, 0, access, nullptr, &key_, nullptr) ==
               ERROR_SUCCESS;
    }
    // Opens an existing key.
    bool Open(HKEY root, const wchar_t *path, REGSAM access, DWORD options = 0) {
        Close();
        return RegOpenKeyExW(root, path, options, access, &key_) == ERROR_SUCCESS;
    }
    void Close() {
        if (key_) {
            RegCloseKey(key_);
            key_ = nullptr;
        }
    }
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};
