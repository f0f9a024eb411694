#pragma once
// The installation engine: resolves a setup script on the target computer, checks the whole
// package before changing anything, then installs in a fixed order while recording every change,
// and rolls everything back when an action fails or the user cancels.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "installer/ActivityLog.h"
#include "installer/CommandLine.h"
#include "installer/ExitCodes.h"
#include "installer/InstallLog.h"
#include "installer/SetupScript.h"
#include "installer/SetupTexts.h"
#include "installer/Variables.h"
#include "installer/win32/Shell.h"

class Installer {
public:
    Installer(const SetupScript& script, const SetupTexts& texts, const InstallerOptions& options,
              ActivityLog& log, const std::string& setupDir);
    ~Installer();
    Installer(const Installer&) = delete;
    Installer& operator=(const Installer&) = delete;

    // Resolves the variables and checks every line of the script and every archive entry.
    // False with Problem() and PrepareFailure() set: nothing has been changed.
    bool Prepare();
    // kExitDamaged for a package at fault, kExitFailed for an installation folder given by /D
    // that is no full folder path.
    int PrepareFailure() const { return prepareFailure_; }
    // The Windows version and (with `diskSpace`) the free disk space: kExitDone to go on, or
    // kExitRequirements. The installation folder screen checks the space of the folder chosen.
    int CheckRequirements(bool diskSpace = true);
    // Installs; a failure or a cancel rolls back. Returns the exit code.
    int Install();

    const std::string& Problem() const { return problem_; }
    const std::string& AppDir() const { return appDir_; }
    std::string Product() const;
    // After Prepare: the program group's name below the Start menu's programs, the bytes of the
    // files to install, and `text` with its variables replaced (unknown ones stay).
    const std::string& ProgramGroup() const { return group_; }
    unsigned long long RequiredBytes() const;
    std::string Text(const std::string& text) const;

    // Progress in thousandths and the action under way; called on the installing thread.
    std::function<void(int, const std::string&)> onProgress;
    // A yes/no question and its answer; absent in silent mode, where the default answer holds.
    std::function<bool(const std::string&, bool)> ask;
    // Set from any thread to stop at the next action and roll back.
    std::atomic<bool> cancel{false};

private:
    struct PlannedFile {
        std::string entry, path;
        int options = 0, replaceMode = 0;
        unsigned long long size = 0;
    };
    struct PlannedShortcut {
        bool internet = false;
        std::string path, url;
        ShellLinkFields fields;
    };
    struct PlannedValue {
        bool keyOnly = false;
        std::string hive, key, name;
        DWORD type = REG_SZ;
        std::string data;
    };

    bool Fail(const std::string& problem);
    bool ResolveVariables();
    bool PlanFolders(const std::vector<std::string>& lines, std::vector<std::string>& folders);
    bool PlanFiles();
    bool PlanShortcuts();
    bool PlanRegistry();
    bool PlanFileTypes();
    void PlanUninstallEntry();
    bool AddValue(const std::string& hive, const std::string& key, const std::string& name, DWORD type,
                  const std::string& data, bool keyOnly);

    bool MakeFolders(const std::string& path);
    bool PlaceFile(const PlannedFile& file);
    bool ExtractEntry(const PlannedFile& file, const std::string& target);
    bool ShouldReplace(const PlannedFile& file, const std::string& fresh);
    // Puts `fresh` in the place of `path`, keeping a file that was there for a rollback; with
    // `laterIfInUse`, a file in use is replaced at the next restart instead.
    bool MoveIntoPlace(const std::string& fresh, const std::string& path, int options, bool existed,
                       bool laterIfInUse);
    bool ReplaceAtRestart(const std::string& fresh, InstallAction& action);
    bool RegisterFiles();
    bool CreateShortcut(const PlannedShortcut& shortcut);
    bool WriteValue(const PlannedValue& value);
    bool CreateKeyPath(HKEY hive, const std::string& hiveName, const std::string& path);
    bool HasUninstaller() const;
    bool WriteInstallLog();
    void ReadEarlierInstallLog();
    // The SharedDLLs count after this installation; an earlier one into this folder counted already.
    long RaisedSharedCount(const std::string& path, bool existed, long previous) const;
    // Counts one step (and names it, unless `text` is empty); false once cancelled.
    bool Step(const std::string& text);
    bool Advance(unsigned long long work);
    void Rollback();
    void DropBackups();

    const SetupScript& script_;
    const SetupTexts& texts_;
    const InstallerOptions& options_;
    ActivityLog& log_;
    std::string setupDir_;
    Variables variables_;
    std::string appDir_, group_;
    void* archive_ = nullptr;  // the minizip reader of setup.zip
    std::vector<std::string> folders_, shortcutFolders_;
    std::vector<PlannedFile> files_;
    std::vector<PlannedShortcut> shortcuts_;
    std::vector<PlannedValue> values_;
    InstallLog journal_;
    InstallLog earlier_;  // the install log of an earlier installation into the same folder
    std::string problem_;
    bool damaged_ = false;
    int prepareFailure_ = kExitDamaged;
    unsigned long long workDone_ = 0, workTotal_ = 1;
    std::string stepText_;
};
