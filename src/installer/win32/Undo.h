#pragma once
// Taking back one recorded action. A rollback restores the computer as it was before the
// installation began; an uninstallation removes what the installation made, keeps the files
// marked never to uninstall, and lowers the counts of shared files.
#include <string>

#include "installer/InstallLog.h"

enum class UndoMode { Rollback, Uninstall };

// False with `problem` set when the action could not be taken back completely. A file in use that
// an uninstallation cannot delete is deleted at the next restart: then `atRestart` (when given)
// is set and the call succeeds.
bool UndoAction(const InstallAction& action, UndoMode mode, std::string& problem, bool* atRestart = nullptr);
