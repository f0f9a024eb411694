#pragma once
// What the target computer must take before an installation writes anything: paths within the
// lengths that Windows' classic calls accept, and room on the drive for the files. Each check
// answers with the sentence that the log and the message show, or an empty text.
#include <cstdint>
#include <string>
#include <vector>

class InstallPlan;

// Windows' classic limits, counted without the final zero: a file's full path, and a folder's,
// which must leave room for a file name of 8.3 characters.
constexpr std::size_t kLongestPath = 259;
constexpr std::size_t kLongestFolder = 247;

// A limit of the target that the installation goes beyond: the English sentence that the log
// keeps (and the screens show when the language file has no text for it), and the values that
// fill %1, %2 and %3 of the language file's text.
struct TargetProblem {
    std::string sentence;  // empty when the target takes the installation
    std::vector<std::string> arguments;
};

// The first folder, file or shortcut of the plan whose path is longer than Windows takes;
// the arguments are the path, its length and the limit.
TargetProblem TooLongPath(const InstallPlan& plan);

// Whether the files (`filesBytes`) fit into `freeKilobytes` on the drive `drive` ("C:"). When
// they do not, no answer lets the installation go on. The arguments are the kilobytes needed,
// the drive and its free kilobytes.
TargetProblem NoRoomForFiles(const std::string& drive, std::uint64_t filesBytes, std::uint64_t freeKilobytes);
