#pragma once
// The target computer's own folders.
#include <string>

#include "package/InstallPlan.h"

// SHGetFolderPathA for a CSIDL value (the folder made when missing); empty when the system has
// no such folder.
std::string ShellFolder(int csidl);
// GetWindowsDirectoryA and GetSystemDirectoryA; empty on failure.
std::string WindowsFolder();
std::string SystemFolder();

// The folders that the folder variables stand for, asked of the system (which makes the
// missing ones).
TargetFolders QueryTargetFolders();
