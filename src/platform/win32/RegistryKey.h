#pragma once
// An open registry key, closed when it goes out of scope. Each method wraps one registry call
// and is named after it; the caller chooses the access rights (and with them the registry view).
#include <windows.h>

#include <string>

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // RegCreateKeyExA without options; `keyClass` may be null. `created`, when given, learns
    // whether the key is new.
    bool Create(HKEY parent, const std::string& path, REGSAM access, const char* keyClass = nullptr,
                bool* created = nullptr);
    // RegOpenKeyExA.
    bool Open(HKEY parent, const std::string& path, REGSAM access);
    // RegCloseKey, when a key is open.
    void Close();
    bool IsOpen() const { return key_ != nullptr; }

    // RegQueryValueExA: the type and the raw bytes; false when the value does not exist.
    bool QueryValue(const std::string& name, DWORD& type, std::string& data) const;
    // RegSetValueExA with the raw bytes; an empty name sets the key's default value.
    bool SetValue(const std::string& name, DWORD type, const std::string& data);
    // RegDeleteValueA.
    bool DeleteValue(const std::string& name);
    // RegFlushKey: the key's changes are on the disk when it returns.
    bool Flush();
    // RegEnumKeyExA: the name of subkey `index`; false past the last one.
    bool EnumKey(DWORD index, std::string& name) const;
    // RegQueryInfoKeyA: the numbers of subkeys and values.
    bool QueryInfoKey(DWORD& subkeys, DWORD& values) const;

private:
    HKEY key_ = nullptr;
};

// RegDeleteKeyExA: removes a key without subkeys, in the view that `view` names.
bool DeleteRegistryKey(HKEY parent, const std::string& path, REGSAM view);
