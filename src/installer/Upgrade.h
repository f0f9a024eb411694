#pragma once
// What a setup does about an installation of the same product that is there already: the
// product is known by its uninstall entry, which names the folder and the version installed.
// A newer or equal version updates it; an older one is refused unless the user allows it; and
// the files of the earlier version that the new one no longer installs go when the update
// succeeds.
#include <string>
#include <vector>

#include "installer/InstallLog.h"

// -1 when version `a` is older than `b`, 0 when they are the same, 1 when it is newer. Versions
// are compared part by part at the dots, each part by its leading number and then by the text
// after it without regard to letter case: "1.10" is newer than "1.9", "2.0" and "2" are the same,
// and "1.0b" is newer than "1.0". A missing part counts as 0.
int CompareVersions(const std::string& a, const std::string& b);

enum class UpgradeKind {
    Fresh,      // no earlier installation of the product
    Update,     // an earlier installation of the same or an older version
    Downgrade,  // an earlier installation of a newer version, which the user allowed to replace
    Refused,    // an earlier installation of a newer version: nothing is changed
};

// `installedVersion` is empty when nothing is installed, or when the entry names no version (an
// installation without a version is updated by any). A new version without a number updates too.
UpgradeKind DecideUpgrade(bool installed, const std::string& installedVersion, const std::string& newVersion,
                          bool allowDowngrade);

// The files that the earlier installation's log `earlier` installed and the new installation does
// not (`planned`, full paths): the update removes them. Files kept through uninstallation, shared
// files and registered components stay, for the uninstallation to deal with as it always does.
std::vector<std::string> ObsoleteFiles(const InstallLog& earlier, const std::vector<std::string>& planned);

// The earlier log without the records of `removed` files: the update took them away, so the log of
// the updated installation no longer names them.
InstallLog WithoutFiles(const InstallLog& earlier, const std::vector<std::string>& removed);

// The name of the mutex that lets one setup or uninstaller of a product run at a time. `entry`
// is the product's uninstall entry (or its name); in the global namespace for an installation for
// all users, so that the sessions of other users see it too.
std::string ProductLockName(const std::string& entry, bool allUsers);

// What an uninstaller does with the install log beside it.
enum class UninstallVerdict {
    Act,             // the log is intact and the product's entry keeps its fingerprint: remove what it records
    HandOver,        // the entry belongs to a newer installation in this folder with another uninstaller: start that
    Finish,          // an uninstallation was stopped after it removed the entry: only the log and the
                     // uninstaller are left, which go now
    EntryGone,       // the entry is gone while the log's files are still there: nothing is removed
    InstalledAgain,  // the entry belongs to an installation in another folder: nothing is removed
    Changed,         // the log does not give the fingerprint that the entry keeps: nothing is removed
    OtherFolder,     // the log was copied from another installation's folder: nothing is removed
};

struct UninstallFacts {
    LogTrust trust = LogTrust::NoFingerprint;
    bool entryExists = false;    // the uninstall entry that the log names
    std::string entryFolder;     // its InstallLocation
    std::string entryUninstaller;  // the program of its UninstallString
    std::string folder;          // the uninstaller's own folder
    std::string program;         // the uninstaller's own path
    bool filesLeft = false;      // a file that the log records (and uninstallation removes) is still there
};

UninstallVerdict JudgeUninstall(const UninstallFacts& facts);
