#pragma once
// Paths as the system writes them, with "\" between folders.
//
// A file path on the building machine may also hold "/" (Windows takes either, and the POSIX file
// layer turns "\" into "/"), so the helpers that take a file path apart split at either. The item
// paths of the builder's trees split at "\" only: a registry key's name may hold a "/".
#include <string>

// Joins a folder and a name with one "\" unless the folder is empty or already ends in one.
std::string JoinPath(const std::string& folder, const std::string& name);

// Whether `path` names its place on its own: a drive ("C:") or a leading "\" or "/".
bool IsRootedPath(const std::string& path);

// The part of `path` after `folder` and a separator when `path` lies below `folder` (letter
// case and "\" or "/" do not matter); empty otherwise.
std::string PathBelow(const std::string& folder, const std::string& path);

// The folder of a file path: everything before its last "\" or "/"; empty when it has none.
std::string FolderOf(const std::string& path);
// The name of a file path: the part after its last "\" or "/", or the whole path.
std::string NameOf(const std::string& path);

// The path without the "\"s at its end, but never shorter than a drive's root ("C:\").
std::string TrimTrailingBackslashes(std::string path);

// An item path of a tree split at its last "\": the parent's path (empty for a top-level item)
// and the item's own name.
void SplitPath(const std::string& path, std::string& parent, std::string& name);
