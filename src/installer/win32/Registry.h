#pragma once
// Thin wrappers over the registry calls the installer programs make. Every key is opened in
// the 64-bit view, the one that 64-bit programs on the target computer read.
#include <windows.h>

#include <string>

// HKCR, HKCU, HKLM, HKU (and the full hive names); nullptr for anything else.
HKEY HiveFromName(const std::string& name);

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // RegCreateKeyExA; `created` tells whether the key is new.
    bool Create(HKEY hive, const std::string& path, bool& created);
    // RegOpenKeyExA with `access`.
    bool Open(HKEY hive, const std::string& path, REGSAM access);
    void Close();

    // RegQueryValueExA: the type and the raw bytes; false when the value does not exist.
    bool Query(const std::string& name, DWORD& type, std::string& data) const;
    // RegSetValueExA with the raw bytes.
    bool Set(const std::string& name, DWORD type, const std::string& data);
    bool Delete(const std::string& name);
    // RegQueryInfoKeyA: whether the key holds no subkey and no value.
    bool IsEmpty() const;

private:
    HKEY key_ = nullptr;
};

// RegDeleteKeyExA in the 64-bit view.
bool DeleteRegistryKey(HKEY hive, const std::string& path);

// A registry string as stored: the text and its terminating zero.
std::string StringData(const std::string& text);
std::string DwordData(DWORD value);
