#pragma once
// Reads a shortcut (.lnk) file as the shell writes it, on any system: the target path from the
// link information (or, without it, from the item list's file-system names), the arguments,
// working folder, icon and show command. Every offset and length is checked against the bytes,
// so a damaged file is a problem, never a read beyond them.
#include <string>

struct ShellLinkData {
    std::string target;  // "C:\Program Files\App\App.exe"
    std::string arguments, workingFolder, iconLocation, description, relativePath;
    int iconIndex = 0;
    int showCommand = 1;
};

// All texts in UTF-8. False with `problem` set when the bytes are no shortcut.
bool ReadShellLink(const std::string& bytes, ShellLinkData& link, std::string& problem);
