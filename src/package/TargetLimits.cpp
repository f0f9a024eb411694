#include "package/TargetLimits.h"

#include "package/InstallPlan.h"

static std::string TooLong(const std::string& path, std::size_t limit) {
    return "The path " + path + " is " + std::to_string(path.size()) + " characters long; Windows takes at most " +
           std::to_string(limit) + " characters here. Choose a shorter installation folder.";
}

std::string TooLongPath(const InstallPlan& plan) {
    for (const std::string& folder : plan.Folders())
        if (folder.size() > kLongestFolder) return TooLong(folder, kLongestFolder);
    for (const PlannedFile& file : plan.Files())
        if (file.path.size() > kLongestPath) return TooLong(file.path, kLongestPath);
    for (const std::string& folder : plan.ShortcutFolders())
        if (folder.size() > kLongestFolder) return TooLong(folder, kLongestFolder);
    for (const PlannedShortcut& shortcut : plan.Shortcuts())
        if (shortcut.path.size() > kLongestPath) return TooLong(shortcut.path, kLongestPath);
    return std::string();
}

std::string NoRoomForFiles(const std::string& drive, std::uint64_t filesBytes, std::uint64_t freeKilobytes) {
    const std::uint64_t needed = filesBytes / 1024 + (filesBytes % 1024 != 0);
    if (needed <= freeKilobytes) return std::string();
    return "The files need " + std::to_string(needed) + " KB on drive " + drive + ", which has " +
           std::to_string(freeKilobytes) + " KB free.";
}
