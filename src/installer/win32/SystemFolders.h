#pragma once
// The target computer's own folders.
#include <string>

#include "scope/InstallScope.h"

// SHGetFolderPathA for a CSIDL value (the folder made when missing); empty when the system has
// no such folder.
std::string ShellFolder(int csidl);
// GetWindowsDirectoryA and GetSystemDirectoryA; empty on failure.
std::string WindowsFolder();
std::string SystemFolder();
// The path of a known folder as this system has it (made when missing); empty when it has none.
std::string KnownFolderPath(KnownFolder folder);

// The folders that the folder variables of `scope` stand for, asked of the system (which makes
// the missing ones).
TargetFolders QueryTargetFolders(InstallScope scope);
