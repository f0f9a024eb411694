#include "package/TargetLimits.h"

#include "core/Text.h"
#include "package/InstallPlan.h"

// Windows counts a path in UTF-16 units: a Japanese character is one (three bytes of UTF-8), a
// character beyond the BMP two.
static std::size_t WindowsLength(const std::string& path) {
    return IsAscii(path) ? path.size() : Utf16FromUtf8(path).size();
}

// The sentence for `path` when it is longer than `limit`, else empty.
static std::string TooLong(const std::string& path, std::size_t limit) {
    const std::size_t length = WindowsLength(path);
    if (length <= limit) return std::string();
    return "The path " + path + " is " + std::to_string(length) + " characters long; Windows takes at most " +
           std::to_string(limit) + " characters here. Choose a shorter installation folder.";
}

std::string TooLongPath(const InstallPlan& plan) {
    std::string problem;
    for (const std::string& folder : plan.Folders())
        if (!(problem = TooLong(folder, kLongestFolder)).empty()) return problem;
    for (const PlannedFile& file : plan.Files())
        if (!(problem = TooLong(file.path, kLongestPath)).empty()) return problem;
    for (const std::string& folder : plan.ShortcutFolders())
        if (!(problem = TooLong(folder, kLongestFolder)).empty()) return problem;
    for (const PlannedShortcut& shortcut : plan.Shortcuts())
        if (!(problem = TooLong(shortcut.path, kLongestPath)).empty()) return problem;
    return problem;
}

std::string NoRoomForFiles(const std::string& drive, std::uint64_t filesBytes, std::uint64_t freeKilobytes) {
    const std::uint64_t needed = filesBytes / 1024 + (filesBytes % 1024 != 0);
    if (needed <= freeKilobytes) return std::string();
    return "The files need " + std::to_string(needed) + " KB on drive " + drive + ", which has " +
           std::to_string(freeKilobytes) + " KB free.";
}
