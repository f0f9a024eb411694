#include "package/TargetLimits.h"

#include "core/Text.h"
#include "package/InstallPlan.h"

// Windows counts a path in UTF-16 units: a Japanese character is one (three bytes of UTF-8), a
// character beyond the BMP two.
static std::size_t WindowsLength(const std::string& path) {
    return IsAscii(path) ? path.size() : Utf16FromUtf8(path).size();
}

// The problem of `path` when it is longer than `limit`, else none.
static TargetProblem TooLong(const std::string& path, std::size_t limit) {
    const std::size_t length = WindowsLength(path);
    if (length <= limit) return {};
    const std::string count = std::to_string(length), most = std::to_string(limit);
    return {"The path " + path + " is " + count + " characters long; Windows takes at most " + most +
                " characters here. Choose a shorter installation folder.",
            {path, count, most}};
}

TargetProblem TooLongPath(const InstallPlan& plan) {
    TargetProblem problem;
    for (const std::string& folder : plan.Folders())
        if (!(problem = TooLong(folder, kLongestFolder)).sentence.empty()) return problem;
    for (const PlannedFile& file : plan.Files())
        if (!(problem = TooLong(file.path, kLongestPath)).sentence.empty()) return problem;
    for (const std::string& folder : plan.ShortcutFolders())
        if (!(problem = TooLong(folder, kLongestFolder)).sentence.empty()) return problem;
    for (const PlannedShortcut& shortcut : plan.Shortcuts())
        if (!(problem = TooLong(shortcut.path, kLongestPath)).sentence.empty()) return problem;
    return problem;
}

TargetProblem NoRoomForFiles(const std::string& drive, std::uint64_t filesBytes, std::uint64_t freeKilobytes) {
    const std::uint64_t needed = filesBytes / 1024 + (filesBytes % 1024 != 0);
    if (needed <= freeKilobytes) return {};
    const std::string need = std::to_string(needed), free = std::to_string(freeKilobytes);
    return {"The files need " + need + " KB on drive " + drive + ", which has " + free + " KB free.", {need, drive, free}};
}
