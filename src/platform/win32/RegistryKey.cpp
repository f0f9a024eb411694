#include "platform/win32/RegistryKey.h"

bool RegistryKey::Create(HKEY parent, const std::string& path, REGSAM access, const char* keyClass, bool* created) {
    Close();
    DWORD disposition = 0;
    LONG rc = RegCreateKeyExA(parent, path.c_str(), 0, const_cast<char*>(keyClass), REG_OPTION_NON_VOLATILE, access,
                              nullptr, &key_, &disposition);
    if (rc != ERROR_SUCCESS) key_ = nullptr;
    if (created) *created = rc == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY;
    return rc == ERROR_SUCCESS;
}

bool RegistryKey::Open(HKEY parent, const std::string& path, REGSAM access) {
    Close();
    LONG rc = RegOpenKeyExA(parent, path.c_str(), 0, access, &key_);
    if (rc != ERROR_SUCCESS) key_ = nullptr;
    return rc == ERROR_SUCCESS;
}

void RegistryKey::Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
}

bool RegistryKey::QueryValue(const std::string& name, DWORD& type, std::string& data) const {
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

bool RegistryKey::SetValue(const std::string& name, DWORD type, const std::string& data) {
    return key_ && RegSetValueExA(key_, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                  static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool RegistryKey::DeleteValue(const std::string& name) {
    return key_ && RegDeleteValueA(key_, name.c_str()) == ERROR_SUCCESS;
}

bool RegistryKey::Flush() { return key_ && RegFlushKey(key_) == ERROR_SUCCESS; }

bool RegistryKey::QueryInfoKey(DWORD& subkeys, DWORD& values) const {
    return key_ && RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                    nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool DeleteRegistryKey(HKEY parent, const std::string& path, REGSAM view) {
    return RegDeleteKeyExA(parent, path.c_str(), view, 0) == ERROR_SUCCESS;
}

bool RegistryKey::EnumKey(DWORD index, std::string& name) const {
    char buffer[256];
    DWORD size = sizeof buffer;
    if (RegEnumKeyExA(key_, index, buffer, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return false;
    name.assign(buffer, size);
    return true;
}
