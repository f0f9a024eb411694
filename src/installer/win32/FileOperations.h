#pragma once
// The file operations of the installer programs beyond the platform's own.
#include <cstdint>
#include <string>

// Deletes a file, clearing its read-only attribute when that is what refuses it. On failure the
// system's error of the deletion is the last error.
bool DeleteFileForce(const std::string& path);
// Has the system delete a file (or an empty folder) at the next restart, before any program can
// hold it: MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT, which needs administrator rights.
bool DeleteAtRestart(const std::string& path);
// Deletes a folder with everything inside it; a junction or symbolic link inside (or the folder
// itself, when it is one) goes as a link, and what it points to stays untouched.
bool RemoveFolderTree(const std::string& folder);
// A file's whole contents (at most 64 MB); empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// Free kilobytes on the drive that holds `path` (the nearest existing folder above it).
bool FreeKilobytes(const std::string& path, unsigned long long& kilobytes);
