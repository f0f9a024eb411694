#pragma once
// The system's reference counts of shared files (SharedDLLs below HKLM): how many installed
// products use a file that more than one of them may install.
#include <string>

// The count of a file; -1 when it has none.
long SharedCount(const std::string& path);
// A count below zero removes the file's count.
bool SetSharedCount(const std::string& path, long count);
