#pragma once
// Shortcut files through the shell's link object.
#include <string>

#include "package/ShellLinkFields.h"

// Writes a .lnk file through IShellLinkA and IPersistFile (COM must be initialised).
bool SaveShellLink(const ShellLinkFields& fields, const std::string& linkPath);
