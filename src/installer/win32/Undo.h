#pragma once
// Taking back one recorded action. A rollback restores the computer as it was before the
// installation began; an uninstallation removes what the installation made, keeps the files
// marked never to uninstall, and lowers the counts of shared files.
#include <string>
#include <unordered_map>

#include "installer/InstallLog.h"

enum class UndoMode { Rollback, Uninstall };

// What an uninstallation learns once of each folder that holds its files: whether a program that
// an update replaced while it ran (its name with kReplacedSuffix) may still wait there. Looking
// for that name beside every file costs, where names are matched without regard to case, a
// search of the whole folder for each file; one search for the suffix serves the whole folder.
class LeftoverFolders {
public:
    // False only when the folder of `file` holds no name with the suffix at all.
    bool MayHoldLeftover(const std::string& file);

private:
    std::unordered_map<std::string, bool> folders_;  // by the folder's name in lower case
};

// False with `problem` set when the action could not be taken back completely. A file in use that
// an uninstallation cannot delete is deleted at the next restart: then `atRestart` (when given)
// is set and the call succeeds. `leftovers` (when given) spares the look for a replaced program
// beside each file of an uninstallation.
bool UndoAction(const InstallAction& action, UndoMode mode, std::string& problem, bool* atRestart = nullptr,
                LeftoverFolders* leftovers = nullptr);
