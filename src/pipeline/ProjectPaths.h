#pragma once
// Builder-side paths of a project (product files, output folder, icon, splash, license, readme)
// that are not absolute are taken relative to the project file's folder, so a project kept in
// version control builds wherever it is checked out.
#include <string>

// Whether `path` names its place on its own: a drive ("C:") or a leading "\" or "/".
bool IsRootedPath(const std::string& path);
// The folder of a file path: everything before its last "\" or "/"; empty when it has none.
std::string FolderOf(const std::string& path);
// The name of a file path: the part after its last "\" or "/", or the whole path.
std::string NameOf(const std::string& path);
// `path` as it stands when it is empty or absolute, otherwise joined to `projectFolder`.
std::string ResolveProjectPath(const std::string& projectFolder, const std::string& path);
