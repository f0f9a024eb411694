#pragma once
// Taking back one recorded action. A rollback restores the computer as it was before the
// installation began; an uninstallation removes what the installation made, keeps the files
// marked never to uninstall, and lowers the counts of shared files.
#include <string>

#include "installer/InstallLog.h"

enum class UndoMode { Rollback, Uninstall };

// False with `problem` set when the action could not be taken back completely.
bool UndoAction(const InstallAction& action, UndoMode mode, std::string& problem);
