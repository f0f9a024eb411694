#pragma once
// What the target computer must take before an installation writes anything: paths within the
// lengths that Windows' classic calls accept, and room on the drive for the files. Each check
// answers with the sentence that the log and the message show, or an empty text.
#include <cstdint>
#include <string>

class InstallPlan;

// Windows' classic limits, counted without the final zero: a file's full path, and a folder's,
// which must leave room for a file name of 8.3 characters.
constexpr std::size_t kLongestPath = 259;
constexpr std::size_t kLongestFolder = 247;

// The first folder, file or shortcut of the plan whose path is longer than Windows takes.
std::string TooLongPath(const InstallPlan& plan);

// Whether the files (`filesBytes`) fit into `freeKilobytes` on the drive `drive` ("C:"). When
// they do not, no answer lets the installation go on.
std::string NoRoomForFiles(const std::string& drive, std::uint64_t filesBytes, std::uint64_t freeKilobytes);
