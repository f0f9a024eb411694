#include "installer/win32/InstallLogTrust.h"

#include <windows.h>

#include "installer/win32/Registry.h"

std::string LongFolderName(const std::string& folder) {
    char buffer[MAX_PATH * 4];
    DWORD n = GetLongPathNameA(folder.c_str(), buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : folder;
}

LogTrust VerifyInstallLog(const std::string& logBytes, const std::string& folder, InstallScope scope) {
    const ProfileText log = ProfileText::FromBytes(logBytes);
    InstallScope logged = InstallScope::AllUsers;
    if (!LoggedScope(log, logged) || logged != scope) return LogTrust::OtherScope;
    std::string key = LoggedUninstallKey(log), kept;
    RegistryKey entry;
    DWORD type = 0;
    if (key.empty() || !entry.Open(HiveFromName(UninstallHive(scope)), key, kReadAccess) ||
        !entry.QueryValue(kInstallLogFingerprintValue, type, kept) || type != REG_SZ)
        return LogTrust::NoFingerprint;
    // The value's bytes end with the string's terminating zero.
    kept = kept.c_str();
    return CheckInstallLog(logBytes, kept, LongFolderName(folder));
}
