#include "installer/win32/SharedCounts.h"

#include <cstring>

#include "installer/win32/Registry.h"

namespace {

const char kSharedKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

}  // namespace

long SharedCount(const std::string& path) {
    RegistryKey key;
    DWORD type = 0;
    std::string data;
    if (!key.Open(HiveFromName(MachineHive()), kSharedKey, kReadAccess) || !key.QueryValue(path, type, data) ||
        type != REG_DWORD || data.size() != sizeof(DWORD))
        return -1;
    DWORD count = 0;
    memcpy(&count, data.data(), sizeof count);
    return static_cast<long>(count);
}

bool SetSharedCount(const std::string& path, long count) {
    RegistryKey key;
    if (!key.Create(HiveFromName(MachineHive()), kSharedKey, kWriteAccess)) return false;
    return count < 0 ? key.DeleteValue(path) : key.SetValue(path, REG_DWORD, DwordData(static_cast<std::uint32_t>(count)));
}
