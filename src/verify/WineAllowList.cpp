#include "verify/WineAllowList.h"

#include "core/Text.h"

namespace {

// Reviewed list of Wine's own writes. "*" stands for any run of characters ("\" included);
// case does not count. Keep each entry as narrow as Wine's behaviour allows, and say why.
const char* const kWinesOwnWrites[] = {
    // Temporary folders: Wine and the setup's self-extraction work there; what a setup leaves in
    // them is gone with the next cleanup and installs nothing.
    "C:\\windows\\temp\\*",
    "C:\\users\\*\\Temp\\*",
    "C:\\users\\*\\AppData\\Local\\Temp\\*",
    // Each session of Wine registers its display adapter and monitor again, as plug and play
    // does at a computer's start: the adapter keys under a fresh identifier (the old ones
    // removed), the device interfaces, the display modes, the driver's date and error text, and
    // the classes' default values; none of it is the setup's.
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Video\\*",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\System\\CurrentControlSet\\Control\\Video\\*",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\DeviceClasses\\*",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}*",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Class\\{4D36E96E-E325-11CE-BFC1-08002BE10318}*",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\ServiceCurrent*",
    "HKEY_LOCAL_MACHINE\\Hardware\\DEVICEMAP\\VIDEO*",
    // Each session registers the fonts of this computer (paths on drive Z:) that were added
    // since the prefix was made; a font a setup installs lies on drive C and still counts.
    "HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\*",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts|*=Z:\\*",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Fonts|*=Z:\\*",
    "HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion\\Fonts|*=Z:\\*",
    // Wine keeps the system parameters of a running session here and drops them when the
    // session ends.
    "HKEY_CURRENT_USER\\Software\\Wine\\Temporary System Parameters\\*",
};

bool Matches(const char* pattern, const char* text) {
    for (; *pattern; ++pattern, ++text) {
        if (*pattern == '*') {
            for (const char* rest = text;; ++rest) {
                if (Matches(pattern + 1, rest)) return true;
                if (!*rest) return false;
            }
        }
        if (!*text || LowerCase(std::string_view(pattern, 1)) != LowerCase(std::string_view(text, 1))) return false;
    }
    return *text == '\0';
}

}  // namespace

bool IsWinesOwnWrite(const std::string& path) {
    for (const char* pattern : kWinesOwnWrites)
        if (Matches(pattern, path.c_str())) return true;
    return false;
}
