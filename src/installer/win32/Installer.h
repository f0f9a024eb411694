#pragma once
// The installation itself: plans it (see InstallPlan) and checks the whole package before
// changing anything, then installs in a fixed order while recording every change, and rolls
// everything back when an action fails or the user cancels.
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "package/ActivityLog.h"
#include "installer/ArchiveReader.h"
#include "package/CommandLine.h"
#include "installer/InstallLog.h"
#include "package/InstallPlan.h"
#include "package/SetupScript.h"
#include "package/TargetLimits.h"
#include "installer/SetupTexts.h"
#include "installer/Upgrade.h"
#include "installer/win32/InstalledProduct.h"
#include "installer/win32/Recovery.h"
#include "package/WorkProgress.h"

class Installer {
public:
    Installer(const SetupScript& script, const SetupTexts& texts, const InstallerOptions& options,
              ActivityLog& log, const std::string& setupDir);
    Installer(const Installer&) = delete;
    Installer& operator=(const Installer&) = delete;

    // Plans the installation against setup.zip and finds an earlier installation of the product:
    // without a folder chosen, it is updated where it is. False with Problem() and
    // PrepareFailure() set: nothing has been changed.
    bool Prepare();
    // kExitDamaged for a damaged or unsafe package (or a missing archive), kExitFailed for a
    // value that cannot be installed or an installation folder given by /D that is no full path,
    // kExitNewerInstalled when a newer version is installed (without /ALLOWDOWNGRADE).
    int PrepareFailure() const {
        return newerInstalled_ ? kExitNewerInstalled : plan_->Refusals().empty() ? kExitDamaged : plan_->Failure();
    }
    // The Windows version and (with `diskSpace`) the free disk space: kExitDone to go on, or
    // kExitRequirements. The installation folder screen checks the space of the folder chosen.
    int CheckRequirements(bool diskSpace = true);
    // Installs; a failure or a cancel rolls back. Returns the exit code: kExitRestartRequired
    // when files in use are replaced or removed at the next restart.
    int Install();

    const std::string& Problem() const { return problem_; }
    // After Prepare: see InstallPlan.
    const std::string& AppDir() const { return plan_->AppDir(); }
    std::string Product() const { return plan_->Product(); }
    const std::string& ProgramGroup() const { return plan_->ProgramGroup(); }
    unsigned long long RequiredBytes() const { return plan_->RequiredBytes(); }
    std::string Text(const std::string& text) const { return plan_->Text(text); }
    // The files there now that this installation replaces or removes.
    std::vector<std::string> ReplacedFiles() const;
    // The earlier installation of the product that this one updates (found is false for none).
    const InstalledProduct& Earlier() const { return earlierProduct_; }

    // Progress in thousandths and the action under way; called on the installing thread.
    std::function<void(int, const std::string&)> onProgress;
    // A yes/no question and its answer; absent in silent mode, where the default answer holds.
    std::function<bool(const std::string&, bool)> ask;
    // Set from any thread to stop at the next action and roll back.
    std::atomic<bool> cancel{false};

private:
    bool Fail(const std::string& problem);
    // The system's words for the last error, taken at once, before a clean-up call replaces it.
    static std::string SystemReason();
    std::string Told(int id, const TargetProblem& problem) const;
    // Fails naming the file that cannot be written and the system's reason.
    bool CannotWrite(const std::string& path, const std::string& reason);
    bool Plan();
    // Finds the product's installation through its uninstall entry and decides what to do about it.
    bool FindEarlierInstallation();
    bool OpenArchive();
    bool CheckEntryMethods();
    static std::string UnsupportedEntry(const std::string& name, int method);
    bool MakeFolders(const std::string& path);
    // Places the file; a write that fails may be tried again at the user's word.
    bool PlaceFile(const PlannedFile& file);
    bool PlaceFileOnce(const PlannedFile& file);
    void CloseProgramsInUse();
    // Writes `file` to `target`; `written` gets it whole and still open (see ArchiveReader::Extract).
    bool ExtractEntry(const PlannedFile& file, const std::string& target,
                      const std::function<void(File&)>& written = nullptr);
    bool ShouldReplaceExisting(const PlannedFile& file, const std::string& fresh);
    // Puts `fresh` in the place of `path`, keeping a file that was there for a rollback; with
    // `laterIfInUse`, a file in use is replaced at the next restart instead.
    bool MoveIntoPlace(const std::string& fresh, const std::string& path, int options, bool existed,
                       bool laterIfInUse);
    bool ReplaceAtRestart(const std::string& fresh, InstallAction& action);
    // Counts a shared file's use and journals the file that now lies in its place.
    void RecordInstalled(InstallAction& action, bool existed);
    bool RegisterFiles();
    bool CreateShortcut(const PlannedShortcut& shortcut);
    bool WriteValue(const PlannedValue& value);
    bool CreateKeyPath(const std::string& hiveName, const std::string& path);
    bool WriteInstallLog();
    bool BeginJournal();
    // The installation has succeeded, or been rolled back: the journal and its mark go.
    void EndJournal();
    void Journal(JournalKind kind, const std::string& path, const std::string& backup = std::string());
    void ReadEarlierInstallLog(const std::string& folder);
    // Moves the earlier installation's files that this one does not install aside, to be deleted
    // when the installation succeeds and put back by a rollback.
    bool SetObsoleteFilesAside();
    void RemoveEmptyEarlierFolders();
    std::vector<std::string> RemovedObsoleteFiles() const;
    // The SharedDLLs count after this installation; an earlier one into this folder counted already.
    long RaisedSharedCount(const std::string& path, bool existed, long previous) const;
    // Counts one step (and names it, unless `text` is empty); false once cancelled.
    bool Step(const std::string& text);
    bool Advance(std::uint64_t work);
    void Rollback();
    void DropBackups();

    const SetupScript& script_;
    const SetupTexts& texts_;
    ActivityLog& log_;
    std::string setupDir_;
    std::string archiveSwitch_;  // the value of /_ARCHIVE=; empty: setup.zip lies in setupDir_
    InstallerOptions options_;  // the folder becomes the earlier installation's
    std::optional<InstallPlan> plan_;
    ArchiveReader archive_;
    InstallLog journal_;
    JournalFile journalFile_;  // written ahead of the changes, for a recovery after a power loss
    InstallLog earlier_;         // the install log of the earlier installation that this one updates
    std::string earlierFolder_;  // where that log lies; empty without one
    InstalledProduct earlierProduct_;
    bool newerInstalled_ = false;
    bool restartNeeded_ = false;  // a file is replaced or removed at the next restart
    struct SetAside {
        std::string path, backup;  // no backup: the file was not there, or is held (`atRestart`)
        bool atRestart = false;    // deleted at the next restart once the installation has succeeded
    };
    std::vector<SetAside> obsolete_;  // the earlier installation's files that this one removes
    std::string problem_;
    bool damaged_ = false;
    WorkProgress progress_;
    std::string stepText_;
    std::unordered_set<std::string> knownFolders_;  // folders that exist, made or found
};
