#pragma once
// The record of what an installation created or changed on the target computer, in the order
// it happened. Undone backwards, it rolls back a failed installation and it drives the
// uninstaller; written as install.log beside uninstall.exe.
#include <cstdint>
#include <string>
#include <vector>

#include "package/RegistryData.h"
#include "profile/ProfileText.h"

enum class ActionKind {
    Folder,      // a folder that did not exist before
    File,        // a file written (a shortcut, too), with its FileOption bits
    Registered,  // a file whose DllRegisterServer ran, with the options of its File action
    Key,         // a registry key that did not exist before
    Value,       // a registry value written, with what it held before
};

struct InstallAction {
    ActionKind kind = ActionKind::Folder;
    std::string path;              // Folder, File, Registered
    int options = 0;               // File, Registered
    long previousCount = -1;       // File, Registered with kSharedFile: the SharedDLLs count before; -1 none
    std::string hive, key, name;   // Key, Value
    long previousType = -1;        // Value: the registry type before; -1 when it did not exist
    std::string previousData;      // Value: the bytes before
    std::string backup;            // File, during installation only: where the replaced file waits
    std::string pending;           // File, during installation only: the new file that replaces it at restart
};

// The fields of a log line, split at tabs.
std::vector<std::string> SplitTabs(const std::string& text);
// A field holds any byte but those that end a field or a line: a control character and "%" are
// written as "%" and two hex digits.
std::string EscapeField(const std::string& text);
// False when a "%" is not followed by two hex digits.
bool UnescapeField(const std::string& text, std::string& out);

// What a new file is written as before it is renamed into place.
constexpr char kFreshSuffix[] = ".qs-new";

// What a file that an installation replaces or removes is renamed to until the installation
// succeeds; a program still running then keeps it until the next restart.
constexpr char kReplacedSuffix[] = ".qs-old";

// A File action's option bit, beside FileOption: a shared file that existed and was kept, whose
// count alone the installation raised.
constexpr int kKeptExisting = 0x100;

class InstallLog {
public:
    void Add(const InstallAction& action) { actions_.push_back(action); }
    const std::vector<InstallAction>& Actions() const { return actions_; }

    // The [ACTIONS] lines; fields are separated by tabs. A control character or "%" inside a
    // path or a registry name is written as "%" and two hex digits, so that any registry name
    // (a TAB is a legal byte there) comes back as it was.
    std::string ActionLines() const;
    // Reads the [ACTIONS] lines; false when one of them is not a line that ActionLines writes.
    bool Read(const ProfileText& log);

    // Whether an action of this log concerns the same file, folder, key or value as `action`.
    bool Covers(const InstallAction& action) const;
    // This log's actions, then those of `later` that it does not cover. A repeated installation
    // into the same folder keeps the first record of each thing, which holds the state before
    // any installation, so that one uninstallation removes the product completely.
    InstallLog MergedWith(const InstallLog& later) const;

private:
    std::vector<InstallAction> actions_;
};

// The product's uninstall entry that the log names on its [UNINSTALL] line "UninstallKey=": a
// key directly below kUninstallEntries; empty when the log names none or another key.
std::string LoggedUninstallKey(const ProfileText& log);

// The scope of the installation that the log records: its [UNINSTALL] line "InstallScope=", which
// logs of all users go without (as they did before scopes). False for a name no installer writes.
bool LoggedScope(const ProfileText& log, InstallScope& scope);
// That line with its line end; empty for all users.
std::string ScopeLogLine(InstallScope scope);
// Whether an uninstaller acts on a log of `logged` scope: one that asks for administrator rights
// belongs to an all-users project and refuses a log of the current user, whose fingerprint lies
// where the user alone can change it; one without rights acts on either (a project that lets the
// user choose), asking for rights for all users.
inline bool AcceptsLogScope(bool requiresAdministrator, InstallScope logged) {
    return !requiresAdministrator || logged == InstallScope::AllUsers;
}

// The value of the product's uninstall entry that keeps the install log's fingerprint. Only
// administrators can write the entry of an all-users installation (and only its user that of a
// current-user one), while the installation folder may be open to every user: a log whose bytes
// do not give the kept fingerprint again was changed after the installation.
constexpr char kInstallLogFingerprintValue[] = "InstallLogSha256";

// The fingerprint of the log's bytes exactly as written: SHA-256 in hex.
std::string InstallLogFingerprint(const std::string& logBytes);

enum class LogTrust {
    Trusted,          // the bytes give the kept fingerprint and the log belongs to its folder
    NoFingerprint,    // the product's entry keeps none (or there is no entry)
    Changed,          // the bytes changed since the installation wrote them
    OtherFolder,      // an intact log, copied from another installation
    OtherScope,       // a log of a scope that the program does not act for, or of none
};

// Whether the log `logBytes`, found in `folder`, may drive an uninstallation or be merged into a
// new installation: its fingerprint matches `keptFingerprint` and its AppDir is `folder`.
LogTrust CheckInstallLog(const std::string& logBytes, const std::string& keptFingerprint, const std::string& folder);
