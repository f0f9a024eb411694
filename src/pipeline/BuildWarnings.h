#pragma once
// What a project installs that will most likely not work, found from the project alone before a
// build packs anything, after what its file held that the project could not read: each finding is the text of one "Warning!" line of the build log
// (without the "Warning! "). A warning never stops a build.
//
// A path "that no file of the project installs" is one that begins with a folder variable into
// which the project installs files (%AppDir% always counts) and that names neither a file nor a
// folder of the project's files. Paths below other variables (%WinDir%\notepad.exe) and paths
// without a variable are taken to exist on the target computer.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class ProjectDocument;
class TreeNode;

// Product files of more than this many bytes are slow to unpack.
constexpr std::uint64_t kLargeProductFile = std::uint64_t(2) << 30;
// Windows' classic path limit, counted with the terminating zero: longer paths fail in most
// programs.
constexpr std::size_t kClassicPathLimit = 260;

// The size of a product file, or false when it is not known (a file that cannot be read has
// its own error).
using ProductFileSize = std::function<bool(const TreeNode& file, std::uint64_t& size)>;

std::vector<std::string> ProjectWarnings(const ProjectDocument& project, const ProductFileSize& sizeOf);

// A destination path as a default installation on a typical Windows lays it out: %AppDir% as
// the project's default installation path, the folder variables as the installer resolves them
// (TypicalFolders of the current user's scope where the project offers it, as its paths are the
// longer), the product's texts from the project. Unknown variables stay as they are.
std::string DefaultInstallPath(const ProjectDocument& project, const std::string& destination);
