#pragma once
// What Wine itself writes into a prefix while programs run in it (its temporary files, window
// and device settings, the registry's time stamps), which a verification does not count as the
// setup's doing. The list is in WineAllowList.cpp, each entry with the reason it is there.
#include <string>

// A file or folder path ("C:\..."), or a registry key path ("HKEY_CURRENT_USER\..."), or a
// value as KEY + "|" + NAME, or with its data as KEY + "|" + NAME + "=" + DATA.
bool IsWinesOwnWrite(const std::string& path);
