#pragma once
// The install log's fingerprint in the product's uninstall entry, which only those who installed
// can write (administrators for all users, the user for the current user): the uninstaller acts
// on a log, and a new installation merges an earlier one, only when the log's bytes give the kept
// fingerprint again and the log belongs to the folder it lies in and to the scope acted for.
#include <string>

#include "installer/InstallLog.h"

// The folder in its long form, as the install log records the installation folder.
std::string LongFolderName(const std::string& folder);

// Judges the log `logBytes` that lies in `folder` against the fingerprint kept in the uninstall
// entry that the log names, below the hive of `scope`; a log of another scope is OtherScope.
LogTrust VerifyInstallLog(const std::string& logBytes, const std::string& folder, InstallScope scope);
