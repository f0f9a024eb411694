#pragma once
// Planning an installation on the target computer before anything is changed: the variables
// resolved against the computer's folders and the user's choices, and every line of setup.ini
// checked and turned into a folder, file, shortcut or registry entry to make. A script or an
// archive at fault is refused here, so that the installation itself starts only on a sound plan.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "package/ActivityLog.h"
#include "package/CommandLine.h"
#include "package/ExitCodes.h"
#include "package/Refusal.h"
#include "package/RegistryData.h"
#include "package/SetupScript.h"
#include "package/ShellLinkFields.h"
#include "package/Variables.h"

// The target computer's folders (TargetFolders) are those of the installation's scope, which
// the options carry; an empty one cannot be planned with.

// The value of the product's uninstall entry that keeps the program group installed into, so
// that an update puts its shortcuts where the user chose before.
constexpr char kProgramGroupValue[] = "QuillsetProgramGroup";

struct PlannedFile {
    std::string entry, path;  // the archive entry and where it goes
    int options = 0, replaceMode = 0;
    std::uint64_t size = 0;
};

struct PlannedShortcut {
    bool internet = false;
    std::string path;  // with ".lnk" or ".url"
    std::string url;   // of an internet shortcut
    ShellLinkFields fields;
};

struct PlannedValue {
    bool keyOnly = false;  // the key alone, no value
    std::string hive, key, name;
    std::uint32_t type = kRegString;  // a RegistryType
    std::string data;                 // as the registry stores it
};

class InstallPlan {
public:
    // The uncompressed size of an archive entry; false when the archive lacks it.
    using EntrySize = std::function<bool(const std::string& entry, std::uint64_t& size)>;
    // Whether an archive entry is a program library that registers itself (exports
    // DllRegisterServer).
    using EntryRegisters = std::function<bool(const std::string& entry)>;

    InstallPlan(const SetupScript& script, const InstallerOptions& options, ActivityLog& log)
        : script_(script), options_(options), log_(log) {}

    // The three steps, in this order; each is false when it refuses. A step goes on past a
    // refused line, so that Refusals() lists every one (the build reports them all); the
    // installer stops at the first refusing step.
    // The script holds no line that a build never writes.
    bool CheckScript();
    // The folder and product variables, the program group and the installation folder.
    bool ResolveVariables(const std::string& setupDir, const TargetFolders& folders);
    // Every folder, file, shortcut, registry line, file type and the uninstall entry. Without
    // `registers` the files marked for self-registration are taken as they are.
    bool PlanActions(const EntrySize& entrySize, const EntryRegisters& registers = nullptr);

    const std::vector<Refusal>& Refusals() const { return refusals_; }
    // The first refusal's problem, and its exit code: kExitDamaged for a damaged or unsafe
    // package, kExitFailed for a value that cannot be installed (or an installation folder
    // given by /D that is no full folder path).
    std::string Problem() const { return refusals_.empty() ? std::string() : refusals_.front().problem; }
    int Failure() const { return refusals_.empty() ? kExitDone : refusals_.front().exitCode; }

    const std::string& AppDir() const { return appDir_; }
    // The program group's name below the Start menu's programs.
    const std::string& ProgramGroup() const { return group_; }
    std::string Product() const;
    // `text` with its variables replaced; unknown ones stay.
    std::string Text(const std::string& text) const;
    // Whether the files include %AppDir%\uninstall.exe: only then is an install log written.
    bool HasUninstaller() const;
    // The product's uninstall entry below the scope's UninstallHive, which keeps the install log's
    // fingerprint; empty without an uninstaller.
    const std::string& UninstallKey() const { return uninstallKey_; }
    InstallScope Scope() const { return options_.scope; }
    // The bytes of the files to install (sizes from the archive: the sum saturates).
    std::uint64_t RequiredBytes() const;

    // What the installation makes, in the order it makes them: the folders (the installation
    // folder first), the files, the shortcuts' folders, the shortcuts and the registry entries.
    const std::vector<std::string>& Folders() const { return folders_; }
    const std::vector<PlannedFile>& Files() const { return files_; }
    const std::vector<std::string>& ShortcutFolders() const { return shortcutFolders_; }
    const std::vector<PlannedShortcut>& Shortcuts() const { return shortcuts_; }
    const std::vector<PlannedValue>& Values() const { return values_; }

private:
    bool Fail(const char* section, const std::string& item, const std::string& problem, const std::string& fix,
              int exitCode);
    bool Destination(const char* section, const std::string& text, std::string& path);
    // A current-user installation puts nothing into the machine's own folders.
    bool ForCurrentUser(const char* section, const std::string& destination);
    bool ResolveGroup(const std::string& startMenuPrograms);
    bool ResolveInstallationFolder();
    bool PlanFolders(const char* section, const std::vector<std::string>& lines, std::vector<std::string>& folders);
    bool PlanFiles(const EntrySize& entrySize, const EntryRegisters& registers);
    bool PlanShortcuts();
    bool PlanRegistry();
    bool PlanFileTypes();
    void PlanUninstallEntry();
    // `written`: the key as setup.ini writes it, with its variables, to name the item by.
    bool AddValue(const char* section, const std::string& hive, const std::string& key, const std::string& name,
                  std::uint32_t type, const std::string& data, bool keyOnly, const std::string& written = std::string());

    const SetupScript& script_;
    const InstallerOptions& options_;
    ActivityLog& log_;
    Variables variables_;
    std::string appDir_, group_, uninstallKey_;
    std::vector<std::string> folders_, shortcutFolders_;
    std::vector<PlannedFile> files_;
    std::vector<PlannedShortcut> shortcuts_;
    std::vector<PlannedValue> values_;
    std::vector<Refusal> refusals_;
    std::string problem_;  // what the last failed expansion found
};
