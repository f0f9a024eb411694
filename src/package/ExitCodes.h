#pragma once
// The exit codes of the installer, the stub and the uninstaller, which scripts test.
enum ExitCode {
    kExitDone = 0,          // installed (or removed)
    kExitCancelled = 1,     // the user cancelled; everything was undone
    kExitRequirements = 2,  // the system requirements are not met
    kExitFailed = 3,        // an action failed, or a value of the project cannot be installed; everything was undone
    kExitDamaged = 4,       // the package is damaged, incomplete or unsafe (checksum, container, archive,
                            // a path that leaves its folder); nothing was changed
    kExitScope = 5,         // the setup cannot install for the users asked for (/ALLUSERS, /CURRENTUSER):
                            // the project does not offer it, or its files need the other; nothing was changed
    // The codes that administrators' scripts know from the system's own installer service:
    kExitBusy = 1618,             // another setup or uninstaller of the product is running; nothing was changed
    kExitNewerInstalled = 1638,   // a newer version of the product is installed; nothing was changed
    kExitRestartRequired = 3010,  // done, but files in use are replaced or removed at the next restart
};

// Whether the product is installed (or removed) as asked, perhaps with a restart to come.
inline bool Succeeded(int exitCode) { return exitCode == kExitDone || exitCode == kExitRestartRequired; }
