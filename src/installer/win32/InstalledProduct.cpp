#include "installer/win32/InstalledProduct.h"

#include "core/Path.h"
#include "package/InstallPlan.h"
#include "package/Variables.h"
#include "installer/win32/Registry.h"

namespace {

std::string StringOf(const RegistryKey& key, const char* name) {
    DWORD type = 0;
    std::string data;
    if (!key.QueryValue(name, type, data) || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::string();
    return data.c_str();
}

// "C:\App\uninstall.exe" /x, or an unquoted path without blanks.
std::string ProgramOf(const std::string& commandLine) {
    if (!commandLine.empty() && commandLine[0] == '"') return commandLine.substr(1, commandLine.find('"', 1) - 1);
    return commandLine.substr(0, commandLine.find(' '));
}

}  // namespace

InstalledProduct FindInstalledProduct(HKEY hive, const std::string& key) {
    InstalledProduct product;
    RegistryKey entry;
    if (key.empty() || !entry.Open(hive, key, kReadAccess)) return product;
    product.folder = TrimTrailingBackslashes(StringOf(entry, "InstallLocation"));
    product.version = StringOf(entry, "DisplayVersion");
    product.uninstaller = ProgramOf(StringOf(entry, "UninstallString"));
    product.group = StringOf(entry, kProgramGroupValue);
    product.found = IsAbsolutePath(product.folder);
    return product;
}

bool RemoveUninstallEntry(HKEY hive, const std::string& key) {
    LSTATUS status = RegDeleteTreeA(hive, key.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
