#pragma once
// What a shortcut (.lnk) file holds, with its variables resolved.
#include <string>

// The show commands that a shortcut stores, numbered as the window system numbers them.
enum LinkShowCommand { kShowNormal = 1, kShowMaximized = 3, kShowMinimizedInactive = 7 };

struct ShellLinkFields {
    std::string target, arguments, iconPath;
    int iconIndex = 0;
    int showCommand = kShowNormal;  // a LinkShowCommand
    std::string workingFolder;
};
