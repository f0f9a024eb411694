#pragma once
// Taking back an installation that a power loss or a killed setup interrupted: its journal (see
// InstallJournal.h) is named by a value of the product's uninstall entry while it runs.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "installer/InstallJournal.h"
#include "scope/InstallScope.h"

// The uninstall entry's value that names the journal of an installation under way.
constexpr char kJournalValue[] = "QuillsetInstallJournal";

// An open journal, written through to the system at every record; deleted when it is finished.
class JournalFile {
public:
    JournalFile() = default;
    ~JournalFile();
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;

    bool Create(const std::string& path);
    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }
    const std::string& Path() const { return path_; }
    // Appends the record; a few times a second the system is told to put the journal on the disk.
    void Write(const JournalRecord& record);
    // Closes and deletes the journal: the installation it records is finished one way or the other.
    void Finish();

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::string path_;
    ULONGLONG flushed_ = 0;
};

// Where the journal of the product with uninstall entry `entry` is kept.
std::string JournalPathFor(const std::string& entry);

// When the product's uninstall entry `entry` (below the hive of `scope`) names a journal, takes back what it
// records, then removes the journal and its mark. `note` hears what is done. The file `running`
// (the uninstaller that recovers) is left for its own removal, and `foldersLeft` learns the
// folders that it keeps, deepest first. False when no installation of the product was interrupted.
bool RecoverInterruptedInstallation(const std::string& entry, InstallScope scope,
                                    const std::function<void(const std::string&)>& note,
                                    const std::string& running = std::string(),
                                    std::vector<std::string>* foldersLeft = nullptr);

// The uninstall entry of `scope` whose interrupted installation wrote into `folder`; empty when none.
std::string InterruptedEntryOf(const std::string& folder, InstallScope scope);
