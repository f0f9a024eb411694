#pragma once
// The registry as a registry editor exports it ("Windows Registry Editor Version 5.00" in UTF-16
// or "REGEDIT4"), read into keys and values that two exports can be compared by. Key paths
// begin with the hive's full name, "HKEY_LOCAL_MACHINE\Software\..."; names compare without
// regard to case, as the registry compares them.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct RegistryValue {
    std::string name;  // empty for the key's default value
    std::uint32_t type = 1;  // as the registry numbers value types: 1 string, 4 number, 3 binary ...
    std::string text;  // strings as UTF-8, numbers as 0x%08X, other data as hex digits "2C00FF"
};

struct RegistryKey {
    std::string path;
    std::map<std::string, RegistryValue> values;  // by the lower-case name
};

struct RegistryExport {
    std::map<std::string, RegistryKey> keys;  // by the lower-case path

    const RegistryKey* Find(const std::string& path) const;
    const RegistryValue* FindValue(const std::string& path, const std::string& name) const;
    // Adds (or replaces) every key of `other`, for the hives exported one by one.
    void Merge(const RegistryExport& other);
};

// False with `problem` set when the bytes are not an export.
bool ReadRegistryExport(const std::string& bytes, RegistryExport& out, std::string& problem);

// The text a value of `type` with the data `data`, as the registry stores it, is shown by.
std::string RegistryValueText(std::uint32_t type, const std::string& data);

// What changed between two exports.
struct RegistryChange {
    enum Kind { Added, Changed, Removed } kind = Added;
    std::string key;
    bool isKey = false;  // a whole key (with its values), otherwise one value
    RegistryValue value, before;  // `before` only for a changed value
};
std::vector<RegistryChange> CompareRegistry(const RegistryExport& before, const RegistryExport& after);
