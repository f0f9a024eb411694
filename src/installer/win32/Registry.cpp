#include "installer/win32/Registry.h"

#include "core/Text.h"

HKEY HiveFromName(const std::string& name) {
    struct Hive {
        const char* shortName;
        const char* longName;
        HKEY hive;
    };
    static const Hive kHives[] = {
        {"HKCR", "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKCU", "HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKLM", "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKU", "HKEY_USERS", HKEY_USERS},
    };
    for (const Hive& h : kHives)
        if (EqualNoCase(name, h.shortName) || EqualNoCase(name, h.longName)) return h.hive;
    return nullptr;
}

bool RegistryKey::Create(HKEY hive, const std::string& path, bool& created) {
    Close();
    DWORD disposition = 0;
    LONG rc = RegCreateKeyExA(hive, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_READ | KEY_WRITE | KEY_WOW64_64KEY, nullptr, &key_, &disposition);
    if (rc != ERROR_SUCCESS) key_ = nullptr;
    created = disposition == REG_CREATED_NEW_KEY;
    return rc == ERROR_SUCCESS;
}

bool RegistryKey::Open(HKEY hive, const std::string& path, REGSAM access) {
    Close();
    LONG rc = RegOpenKeyExA(hive, path.c_str(), 0, access | KEY_WOW64_64KEY, &key_);
    if (rc != ERROR_SUCCESS) key_ = nullptr;
    return rc == ERROR_SUCCESS;
}

void RegistryKey::Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
}

bool RegistryKey::Query(const std::string& name, DWORD& type, std::string& data) const {
    DWORD size = 0;
    if (!key_ || RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    data.assign(size, '\0');
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) !=
        ERROR_SUCCESS)
        return false;
    data.resize(size);
    return true;
}

bool RegistryKey::Set(const std::string& name, DWORD type, const std::string& data) {
    return key_ && RegSetValueExA(key_, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                  static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool RegistryKey::Delete(const std::string& name) {
    return key_ && RegDeleteValueA(key_, name.c_str()) == ERROR_SUCCESS;
}

bool RegistryKey::IsEmpty() const {
    DWORD subkeys = 0, values = 0;
    return key_ && RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                    nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys == 0 && values == 0;
}

bool DeleteRegistryKey(HKEY hive, const std::string& path) {
    return RegDeleteKeyExA(hive, path.c_str(), KEY_WOW64_64KEY, 0) == ERROR_SUCCESS;
}

std::string StringData(const std::string& text) { return text + '\0'; }

std::string DwordData(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }
