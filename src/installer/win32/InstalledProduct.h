#pragma once
// An installation of the product that is there already, as its uninstall entry describes it.
#include <windows.h>

#include <string>

struct InstalledProduct {
    bool found = false;       // the entry exists and names the folder installed into
    std::string folder;       // InstallLocation
    std::string version;      // DisplayVersion; empty when the entry names none
    std::string uninstaller;  // the program of UninstallString, without quotes and arguments
    std::string group;        // the program group installed into; empty when the entry names none
};

// Reads the product's uninstall entry `key` (below the uninstall entries) in `hive`: the one
// place that knows where an installation of a product is recorded.
InstalledProduct FindInstalledProduct(HKEY hive, const std::string& key);

// Deletes the uninstall entry `key` with whatever it holds: the product owns its entry, and
// values that an earlier version or a damaged installation left in it go with the product.
bool RemoveUninstallEntry(HKEY hive, const std::string& key);
