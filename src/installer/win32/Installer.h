#pragma once
// The installation itself: plans it (see InstallPlan) and checks the whole package before
// changing anything, then installs in a fixed order while recording every change, and rolls
// everything back when an action fails or the user cancels.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>

#include "package/ActivityLog.h"
#include "installer/ArchiveReader.h"
#include "package/CommandLine.h"
#include "installer/InstallLog.h"
#include "package/InstallPlan.h"
#include "package/SetupScript.h"
#include "installer/SetupTexts.h"
#include "package/WorkProgress.h"

class Installer {
public:
    Installer(const SetupScript& script, const SetupTexts& texts, const InstallerOptions& options,
              ActivityLog& log, const std::string& setupDir);
    Installer(const Installer&) = delete;
    Installer& operator=(const Installer&) = delete;

    // Plans the installation against setup.zip. False with Problem() and PrepareFailure() set:
    // nothing has been changed.
    bool Prepare();
    // kExitDamaged for a damaged or unsafe package (or a missing archive), kExitFailed for a
    // value that cannot be installed or an installation folder given by /D that is no full path.
    int PrepareFailure() const { return plan_.Refusals().empty() ? kExitDamaged : plan_.Failure(); }
    // The Windows version and (with `diskSpace`) the free disk space: kExitDone to go on, or
    // kExitRequirements. The installation folder screen checks the space of the folder chosen.
    int CheckRequirements(bool diskSpace = true);
    // Installs; a failure or a cancel rolls back. Returns the exit code.
    int Install();

    const std::string& Problem() const { return problem_; }
    // After Prepare: see InstallPlan.
    const std::string& AppDir() const { return plan_.AppDir(); }
    std::string Product() const { return plan_.Product(); }
    const std::string& ProgramGroup() const { return plan_.ProgramGroup(); }
    unsigned long long RequiredBytes() const { return plan_.RequiredBytes(); }
    std::string Text(const std::string& text) const { return plan_.Text(text); }

    // Progress in thousandths and the action under way; called on the installing thread.
    std::function<void(int, const std::string&)> onProgress;
    // A yes/no question and its answer; absent in silent mode, where the default answer holds.
    std::function<bool(const std::string&, bool)> ask;
    // Set from any thread to stop at the next action and roll back.
    std::atomic<bool> cancel{false};

private:
    bool Fail(const std::string& problem);
    bool OpenArchive();
    bool CheckEntryMethods();
    static std::string UnsupportedEntry(const std::string& name, int method);
    bool MakeFolders(const std::string& path);
    bool PlaceFile(const PlannedFile& file);
    // `existed` learns whether a `createNew` target was there already, and left alone.
    bool ExtractEntry(const PlannedFile& file, const std::string& target, bool createNew = false,
                      bool* existed = nullptr);
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
    void ReadEarlierInstallLog();
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
    InstallPlan plan_;
    ArchiveReader archive_;
    InstallLog journal_;
    InstallLog earlier_;  // the install log of an earlier installation into the same folder
    std::string problem_;
    bool damaged_ = false;
    WorkProgress progress_;
    std::string stepText_;
    std::unordered_set<std::string> knownFolders_;  // folders that exist, made or found
};
