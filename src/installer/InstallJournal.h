#pragma once
// The journal of an installation under way. Each change is written to it before it is made (or,
// where the change itself tells whether it happened, just after), and the journal is kept until
// the installation has succeeded or been rolled back. After a power loss or a killed setup, the
// next setup or uninstaller of the product finds it through the product's uninstall entry and
// takes back what it records; PlanRecovery decides how from the journal and the files found.
#include <functional>
#include <string>
#include <vector>

enum class JournalKind {
    Folder,   // a folder about to be made
    Writing,  // a new file about to be written under its temporary name (path + kFreshSuffix)
    Placing,  // that file about to be renamed into place, which fails if a file is there already
    Backup,   // the file at `path` about to be moved aside to `backup`
    Placed,   // a file now in place: Placing or Backup say how to take it back
    Kept,     // the file that Placing found there stays, as its replace mode says
    Pending,  // a file in use that `backup` replaces at the next restart
    Key,      // a registry key made
    Value,    // a registry value about to be written, with what it held before
};

struct JournalRecord {
    JournalKind kind = JournalKind::Folder;
    std::string path, backup;     // files and folders
    std::string hive, key, name;  // Key, Value
    long previousType = -1;       // Value: -1 when it did not exist
    std::string previousData;     // Value
};

// One line of the journal file, with its CR LF.
std::string JournalLine(const JournalRecord& record);
// The records of a journal file. A last line without its line end was cut by the power loss
// and is left out; any other line that cannot be read makes the whole journal unreadable.
bool ReadJournal(const std::string& text, std::vector<JournalRecord>& records);

enum class RecoveryOp {
    RemoveFolder,   // if it is empty
    DeleteFile,     // if it is there
    RestoreBackup,  // delete `path` if it is there, then move `backup` to `path`
    RestoreValue,   // the value as it was (deleted when it did not exist)
    RemoveKey,      // if it is empty
};

struct RecoveryStep {
    RecoveryOp op;
    JournalRecord record;
};

// What takes back an interrupted installation, in the order to do it. `exists` tells whether a
// file is there now, as the interruption left things: the decisions are made before any step.
std::vector<RecoveryStep> PlanRecovery(const std::vector<JournalRecord>& records,
                                       const std::function<bool(const std::string&)>& exists);

// The uninstall entry (below `entries`, the uninstall entries' key with its trailing backslash, in
// the hive named `hive`) that an installation made, as its journal records it, when it wrote
// anything into `folder`; empty otherwise. A power loss can take the registry's last changes, the
// entry with its mark among them, while the journal's file stays: this finds the entry again.
std::string JournalEntryFor(const std::vector<JournalRecord>& records, const std::string& folder,
                            const std::string& hive, const std::string& entries);
