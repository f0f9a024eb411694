#include "installer/win32/Installer.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdlib>

#include "core/Path.h"
#include "core/Text.h"
#include "package/ExitCodes.h"
#include "installer/EntryDecoder.h"
#include "installer/win32/FileFacts.h"
#include "installer/win32/FileOperations.h"
#include "installer/win32/InstallLogTrust.h"
#include "installer/win32/Libraries.h"
#include "installer/win32/Recovery.h"
#include "installer/win32/Registry.h"
#include "installer/win32/RunningPrograms.h"
#include "installer/win32/SharedCounts.h"
#include "installer/win32/ShellLink.h"
#include "installer/win32/SystemFolders.h"
#include "installer/win32/Undo.h"
#include "installer/win32/WindowsVersion.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "profile/TextForm.h"

namespace {

// The progress that one folder, shortcut or registry entry counts for, against a file's bytes.
constexpr std::uint64_t kStepWeight = 4096;

}  // namespace

Installer::Installer(const SetupScript& script, const SetupTexts& texts, const InstallerOptions& options,
                     ActivityLog& log, const std::string& setupDir)
    : script_(script),
      texts_(texts),
      log_(log),
      setupDir_(setupDir),
      archiveSwitch_(options.archive),
      options_(options) {}

bool Installer::Fail(const std::string& problem) {
    problem_ = problem;
    return false;
}

// The log keeps the English sentence; the user reads the language file's text, or the English
// one when a language file of an earlier version lacks it.
std::string Installer::Told(int id, const TargetProblem& problem) const {
    const std::string text = texts_.Get(id, problem.arguments);
    return text.empty() ? problem.sentence : text;
}

std::string Installer::SystemReason() { return platform::ErrorText(platform::LastError()); }

bool Installer::CannotWrite(const std::string& path, const std::string& reason) {
    return Fail(texts_.Get(kTextCannotWrite, {path}) + ": " + reason);
}

bool Installer::Plan() {
    plan_.emplace(script_, options_, log_);
    if (!plan_->CheckScript() || !plan_->ResolveVariables(setupDir_, QueryTargetFolders(options_.scope)))
        return Fail(plan_->Problem());
    if (!archive_.IsOpen() && !OpenArchive()) return Fail("setup.zip is missing or unreadable");
    auto entrySize = [this](const std::string& entry, std::uint64_t& size) {
        ArchiveEntry found;
        if (!archive_.Find(entry, found)) return false;
        size = found.size;
        return true;
    };
    if (!plan_->PlanActions(entrySize)) return Fail(plan_->Problem());
    return CheckEntryMethods();
}

bool Installer::Prepare() {
    if (!Plan()) return false;
    RecoverInterruptedInstallation(plan_->UninstallKey(), options_.scope,
                                   [this](const std::string& line) { log_.Line(line); });
    if (!FindEarlierInstallation()) return false;
    ReadEarlierInstallLog(earlierProduct_.found ? earlierProduct_.folder : AppDir());
    progress_.AddToTotal(kStepWeight * (plan_->Folders().size() + plan_->Files().size() + plan_->Shortcuts().size() +
                                        plan_->Values().size() + 1));
    progress_.AddToTotal(plan_->RequiredBytes());
    log_.Line("Package checked: " + std::to_string(plan_->Files().size()) + " files, " +
              std::to_string(plan_->Shortcuts().size()) + " shortcuts, " + std::to_string(plan_->Values().size()) +
              " registry entries");
    return true;
}

// An entry compressed with a method this installer does not know (a package made by a newer
// builder, or damaged) is refused before anything is changed, rather than halfway through.
bool Installer::CheckEntryMethods() {
    for (const PlannedFile& file : plan_->Files()) {
        ArchiveEntry entry;
        if (archive_.Find(file.entry, entry) && !CanDecode(entry.method)) {
            damaged_ = true;
            return Fail(UnsupportedEntry(file.entry, entry.method));
        }
    }
    return true;
}

std::string Installer::UnsupportedEntry(const std::string& name, int method) {
    return "setup.zip: the entry " + name + " is compressed with method " + std::to_string(method) +
           ", which this installer cannot unpack";
}

// An installation counts only where its uninstall entry points to the intact log of an
// installation into that folder: an entry left behind by a damaged installation is taken over
// by this one, and uninstalled with it.
bool Installer::FindEarlierInstallation() {
    const HKEY entries = HiveFromName(UninstallHive(options_.scope));
    InstalledProduct found = FindInstalledProduct(entries, plan_->UninstallKey());
    if (!found.found) return true;
    std::string bytes = ReadWholeFile(JoinPath(found.folder, "install.log"));
    if (bytes.empty() || VerifyInstallLog(bytes, found.folder, options_.scope) != LogTrust::Trusted) {
        log_.Line("The uninstall entry names " + found.folder + ", where no intact installation is: it is taken over");
        return true;
    }
    const std::string version = plan_->Text("%ProductVersion%");
    const std::string shown = found.version.empty() ? std::string("?") : found.version;
    switch (DecideUpgrade(true, found.version, version, options_.allowDowngrade)) {
        case UpgradeKind::Refused:
            newerInstalled_ = true;
            log_.Line("Version " + shown + " is installed in " + found.folder + ", newer than " + version);
            return Fail(texts_.Get(kTextNewerInstalled, {Product(), found.version, found.folder, version}));
        case UpgradeKind::Downgrade: log_.Line("Version " + shown + " is replaced by the older " + version); break;
        default: log_.Line("Version " + shown + " installed in " + found.folder + " is updated to " + version); break;
    }
    earlierProduct_ = found;
    // Without a folder or group chosen, the update goes where the product is.
    bool again = false;
    if (options_.group.empty() && IsSafeRelativePath(found.group) && !EqualNoCase(found.group, plan_->ProgramGroup())) {
        options_.group = found.group;
        again = true;
    }
    if (options_.folder.empty() && !EqualNoCase(LongFolderName(found.folder), LongFolderName(AppDir()))) {
        options_.folder = found.folder;
        again = true;
    }
    return !again || Plan();
}

// A self-extracting package's stub names where setup.zip lies inside the package, which is read
// there rather than copied out first; a side-by-side installer finds it in its own folder.
bool Installer::OpenArchive() {
    if (archiveSwitch_.empty()) return archive_.Open(JoinPath(setupDir_, "setup.zip"));
    ArchiveLocation where;
    return ParseArchiveLocation(archiveSwitch_, where) && archive_.Open(where.path, where.offset, where.size);
}

int Installer::CheckRequirements(bool diskSpace) {
    std::string problem;
    switch (CheckWindows(script_, QueryRunningWindows())) {
        case WindowsVerdict::WrongVersion: problem = texts_.Get(kTextWrongWindows, {Product()}); break;
        case WindowsVerdict::Needs64Bit: problem = texts_.Get(kTextNeeds64Bit, {Product()}); break;
        case WindowsVerdict::Allowed: break;
    }
    const std::string& appDir = AppDir();
    unsigned long long needed = std::strtoull(script_.requiredDiskSpace.c_str(), nullptr, 10), free = 0;
    const bool freeKnown = diskSpace && problem.empty() && FreeKilobytes(appDir, free);
    // Files that cannot fit are refused before anything is written, whatever the project allows.
    const TargetProblem noRoom = freeKnown ? NoRoomForFiles(appDir.substr(0, 2), plan_->RequiredBytes(), free)
                                           : TargetProblem();
    if (!noRoom.sentence.empty()) {
        log_.Line("Requirement not met: " + noRoom.sentence);
        problem_ = Told(kTextNoRoomForFiles, noRoom);
        return kExitRequirements;
    }
    if (freeKnown && needed > 0 && free < needed)
        problem = texts_.Get(kTextDiskSpace, {appDir.substr(0, 2), std::to_string(needed), std::to_string(free)});
    if (problem.empty()) return 0;
    log_.Line("Requirement not met: " + problem);
    bool goOn = !script_.abortInstallation &&
                (!ask || ask(problem + "\r\n\r\n" + texts_.Get(kTextContinueAnyway), true));
    if (!goOn) problem_ = problem;
    return goOn ? kExitDone : kExitRequirements;
}

bool Installer::Step(const std::string& text) {
    if (!text.empty()) stepText_ = text;
    return Advance(kStepWeight);
}

bool Installer::Advance(std::uint64_t work) {
    progress_.Advance(work);
    if (onProgress) onProgress(progress_.Permille(), stepText_);
    return !cancel;
}

int Installer::Install() {
    log_.Line("Installing into " + AppDir());
    // A path that Windows does not take would fail halfway; it is refused before anything is made.
    const TargetProblem tooLong = TooLongPath(*plan_);
    if (!tooLong.sentence.empty()) {
        log_.Line("Failed: " + tooLong.sentence);
        problem_ = Told(kTextPathTooLong, tooLong);
        return kExitFailed;
    }
    const auto& folders = plan_->Folders();
    const auto& files = plan_->Files();
    const auto& shortcutFolders = plan_->ShortcutFolders();
    const auto& shortcuts = plan_->Shortcuts();
    const auto& values = plan_->Values();
    if (options_.closeApplications) CloseProgramsInUse();
    bool ok = BeginJournal();
    for (size_t i = 0; ok && i < folders.size(); ++i) ok = Step(folders[i]) && MakeFolders(folders[i]);
    // The archive inflates the next files on a second thread while this one writes.
    std::vector<std::string> entries;
    for (const PlannedFile& file : files) entries.push_back(file.entry);
    archive_.ReadAhead(entries);
    for (size_t i = 0; ok && i < files.size(); ++i) ok = Step(files[i].path) && PlaceFile(files[i]);
    archive_.StopReadAhead();
    ok = ok && RegisterFiles();
    for (size_t i = 0; ok && i < shortcutFolders.size(); ++i) ok = MakeFolders(shortcutFolders[i]);
    for (size_t i = 0; ok && i < shortcuts.size(); ++i) ok = Step(shortcuts[i].path) && CreateShortcut(shortcuts[i]);
    for (size_t i = 0; ok && i < values.size(); ++i) ok = Step(values[i].hive + "\\" + values[i].key) && WriteValue(values[i]);
    ok = ok && SetObsoleteFilesAside();
    ok = ok && Step(std::string()) && (!plan_->HasUninstaller() || WriteInstallLog());
    if (!ok) {
        bool cancelled = cancel && problem_.empty();
        log_.Line(cancelled ? "Cancelled: rolling back" : "Failed: " + problem_ + "; rolling back");
        Rollback();
        return cancelled ? kExitCancelled : damaged_ ? kExitDamaged : kExitFailed;
    }
    EndJournal();
    DropBackups();
    RemoveEmptyEarlierFolders();
    if (!script_.fileTypes.empty()) SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    log_.Line(restartNeeded_ ? "Installation complete; a restart completes it" : "Installation complete");
    return restartNeeded_ ? kExitRestartRequired : kExitDone;
}

// Folders known to exist are remembered: most files share their folder with the file before.
bool Installer::MakeFolders(const std::string& path) {
    if (knownFolders_.count(path)) return true;
    if (platform::IsFolder(path)) {
        knownFolders_.insert(path);
        return true;
    }
    std::string parent = FolderOf(path);
    if (parent.size() > 2 && !MakeFolders(parent)) return false;
    Journal(JournalKind::Folder, path);
    if (!platform::MakeFolder(path)) return CannotWrite(path, SystemReason());
    knownFolders_.insert(path);
    InstallAction a;
    a.kind = ActionKind::Folder;
    a.path = path;
    journal_.Add(a);
    log_.Line("Folder created: " + path);
    return true;
}

// The file keeps the time it had on the builder's computer, which replace modes compare: the
// archive reader stamps it.
bool Installer::ExtractEntry(const PlannedFile& file, const std::string& target,
                             const std::function<void(File&)>& written) {
    ArchiveEntry entry;
    switch (archive_.Extract(file.entry, target, [this](std::uint32_t bytes) { return Advance(bytes); }, entry, false,
                             written)) {
        case ExtractStatus::Ok: break;
        case ExtractStatus::Exists: return CannotWrite(target, SystemReason());
        case ExtractStatus::Unreadable:
            damaged_ = true;
            return Fail("setup.zip: cannot read " + file.entry);
        case ExtractStatus::Stopped: return false;
        case ExtractStatus::Unwritten: return CannotWrite(target, SystemReason());
        case ExtractStatus::Damaged:
            damaged_ = true;
            return Fail("setup.zip: the entry " + file.entry + " is damaged");
        case ExtractStatus::Unsupported:
            damaged_ = true;
            return Fail(UnsupportedEntry(file.entry, entry.method));
    }
    return true;
}

bool Installer::ShouldReplaceExisting(const PlannedFile& file, const std::string& fresh) {
    FileFacts facts(file.path, fresh, [&] { return !ask || ask(texts_.Get(kTextReplaceFile, {file.path}), true); });
    return ShouldReplace(file.replaceMode, facts);
}

bool Installer::PlaceFile(const PlannedFile& file) {
    while (!PlaceFileOnce(file)) {
        if (cancel || damaged_ || !ask || !ask(problem_ + "\r\n\r\n" + texts_.Get(kTextRetryWrite), true)) return false;
        log_.Line("Trying again: " + file.path);
        problem_.clear();
    }
    return true;
}

// Every file is written under a temporary name first and renamed into place, so that a power
// loss never leaves a file half written where the product looks for it. The rename does not
// replace: a file that appears meanwhile is never overwritten, nor deleted by a rollback, and
// one that is there already is compared with the new one as its replace mode says. The file is
// renamed while still open, which costs the system less than opening it again to move it; where
// the system cannot do that, it is moved once closed.
bool Installer::PlaceFileOnce(const PlannedFile& file) {
    if (!MakeFolders(FolderOf(file.path))) return false;
    const std::string fresh = file.path + kFreshSuffix;
    Journal(JournalKind::Writing, file.path);
    bool moved = false, exists = false;
    const bool extracted = ExtractEntry(file, fresh, [&](File& written) {
        Journal(JournalKind::Placing, file.path);
        moved = written.MoveTo(file.path, exists);
    });
    if (!extracted) {
        DeleteFileA(fresh.c_str());
        return false;
    }
    if (moved || (!exists && MoveFileExA(fresh.c_str(), file.path.c_str(), 0))) {
        Journal(JournalKind::Placed, file.path);
        InstallAction a;
        a.kind = ActionKind::File;
        a.path = file.path;
        a.options = file.options;
        RecordInstalled(a, false);
        return true;
    }
    const DWORD error = exists ? ERROR_ALREADY_EXISTS : GetLastError();
    // A folder of that name is no file to replace.
    if ((error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) || platform::IsFolder(file.path)) {
        const std::string reason = SystemReason();
        DeleteFileA(fresh.c_str());
        return CannotWrite(file.path, reason);
    }
    if (ShouldReplaceExisting(file, fresh))
        return MoveIntoPlace(fresh, file.path, file.options, true, file.replaceMode == kReplaceAtRestart);
    Journal(JournalKind::Kept, file.path);
    DeleteFileA(fresh.c_str());
    log_.Line("Kept existing file: " + file.path);
    if (file.options & kSharedFile) {
        InstallAction a;
        a.kind = ActionKind::File;
        a.path = file.path;
        a.options = file.options | kKeptExisting;
        a.previousCount = SharedCount(file.path);
        SetSharedCount(file.path, RaisedSharedCount(file.path, true, a.previousCount));
        journal_.Add(a);
    }
    return true;
}

bool Installer::MoveIntoPlace(const std::string& fresh, const std::string& path, int options, bool existed,
                              bool laterIfInUse) {
    InstallAction a;
    a.kind = ActionKind::File;
    a.path = path;
    a.options = options;
    if (existed) {
        a.backup = path + kReplacedSuffix;
        Journal(JournalKind::Backup, path, a.backup);
        if (!MoveFileExA(path.c_str(), a.backup.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            const bool inUse = IsInUseError(GetLastError());
            const std::string reason = SystemReason();
            a.backup.clear();
            // A file that a program holds is replaced when Windows restarts, whatever its mode.
            if (laterIfInUse || inUse) return ReplaceAtRestart(fresh, a);
            DeleteFileA(fresh.c_str());
            return CannotWrite(path, reason);
        }
    }
    if (!existed) Journal(JournalKind::Placing, path);
    if (!MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const std::string reason = SystemReason();
        DeleteFileA(fresh.c_str());
        if (existed) MoveFileExA(a.backup.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
        return CannotWrite(path, reason);
    }
    Journal(JournalKind::Placed, path);
    RecordInstalled(a, existed);
    return true;
}

void Installer::RecordInstalled(InstallAction& action, bool existed) {
    if (action.options & kSharedFile) {
        action.previousCount = SharedCount(action.path);
        SetSharedCount(action.path, RaisedSharedCount(action.path, existed, action.previousCount));
    }
    journal_.Add(action);
    log_.Line("File installed: " + action.path);
}

bool Installer::ReplaceAtRestart(const std::string& fresh, InstallAction& action) {
    Journal(JournalKind::Pending, action.path, fresh);
    if (!MoveFileExA(fresh.c_str(), action.path.c_str(), MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING)) {
        const std::string reason = SystemReason();
        DeleteFileA(fresh.c_str());
        return CannotWrite(action.path, reason);
    }
    action.pending = fresh;
    restartNeeded_ = true;
    if (action.options & kSharedFile) {
        action.previousCount = SharedCount(action.path);
        SetSharedCount(action.path, RaisedSharedCount(action.path, true, action.previousCount));
    }
    journal_.Add(action);
    log_.Line("File in use, replaced at the next restart: " + action.path);
    return true;
}

bool Installer::RegisterFiles() {
    std::vector<InstallAction> files;
    for (const InstallAction& a : journal_.Actions())
        if (a.kind == ActionKind::File && (a.options & kSelfRegister) && !(a.options & kKeptExisting)) files.push_back(a);
    for (InstallAction a : files) {
        std::string reason;
        if (!CallRegistration(a.path, true, &reason)) {
            log_.Line("Cannot register " + a.path + ": " + reason);
            return Fail(texts_.Get(kTextCannotRegister, {a.path}));
        }
        a.kind = ActionKind::Registered;
        a.backup.clear();
        journal_.Add(a);
        log_.Line("Registered: " + a.path);
    }
    return true;
}

bool Installer::CreateShortcut(const PlannedShortcut& shortcut) {
    if (!MakeFolders(FolderOf(shortcut.path))) return false;
    std::string fresh = shortcut.path + kFreshSuffix;
    Journal(JournalKind::Writing, shortcut.path);
    bool written = false;
    if (shortcut.internet) {
        File out;
        written = out.Open(fresh, CreateWrite) && out.WriteLine("[InternetShortcut]") &&
                  out.WriteLine("URL=" + shortcut.url) && out.Close() > 0;
    } else {
        written = SaveShellLink(shortcut.fields, fresh);
    }
    if (!written) {
        const std::string reason = SystemReason();
        DeleteFileA(fresh.c_str());
        return CannotWrite(shortcut.path, reason);
    }
    return MoveIntoPlace(fresh, shortcut.path, 0, platform::IsFile(shortcut.path), false);
}

bool Installer::CreateKeyPath(const std::string& hiveName, const std::string& path) {
    HKEY hive = HiveFromName(hiveName);
    size_t end = 0;
    while (end != std::string::npos) {
        end = path.find('\\', end + 1);
        std::string partial = path.substr(0, end);
        RegistryKey key;
        bool created = false;
        if (!key.Create(hive, partial, kWriteAccess, nullptr, &created)) return Fail(texts_.Get(kTextCannotWrite, {hiveName + "\\" + partial}));
        if (created) {
            JournalRecord made;
            made.kind = JournalKind::Key;
            made.hive = hiveName;
            made.key = partial;
            journalFile_.Write(made);
            InstallAction a;
            a.kind = ActionKind::Key;
            a.hive = hiveName;
            a.key = partial;
            journal_.Add(a);
            log_.Line("Registry key created: " + hiveName + "\\" + partial);
        }
    }
    return true;
}

bool Installer::WriteValue(const PlannedValue& value) {
    if (!value.key.empty() && !CreateKeyPath(value.hive, value.key)) return false;
    if (value.keyOnly) return true;
    RegistryKey key;
    std::string where = value.hive + "\\" + value.key + "\\" + value.name;
    if (!key.Create(HiveFromName(value.hive), value.key, kWriteAccess)) return Fail(texts_.Get(kTextCannotWrite, {where}));
    InstallAction a;
    a.kind = ActionKind::Value;
    a.hive = value.hive;
    a.key = value.key;
    a.name = value.name;
    DWORD type = 0;
    if (key.QueryValue(value.name, type, a.previousData)) a.previousType = static_cast<long>(type);
    JournalRecord before;
    before.kind = JournalKind::Value;
    before.hive = a.hive;
    before.key = a.key;
    before.name = a.name;
    before.previousType = a.previousType;
    before.previousData = a.previousData;
    journalFile_.Write(before);
    if (!key.SetValue(value.name, value.type, value.data)) return Fail(texts_.Get(kTextCannotWrite, {where}));
    journal_.Add(a);
    log_.Line("Registry value written: " + where);
    return true;
}

long Installer::RaisedSharedCount(const std::string& path, bool existed, long previous) const {
    InstallAction file;
    file.kind = ActionKind::File;
    file.path = path;
    if (earlier_.Covers(file) && previous > 0) return previous;
    // A file that was there without a count may be used by a program that never counted it.
    return previous >= 0 ? previous + 1 : existed ? 2 : 1;
}

// An earlier log is merged only when it is the untouched log of an installation into its folder:
// anyone who can write the folder could otherwise have the next uninstallation act for them.
void Installer::ReadEarlierInstallLog(const std::string& folder) {
    std::string bytes = ReadWholeFile(JoinPath(folder, "install.log"));
    if (bytes.empty()) return;
    LogTrust trust = VerifyInstallLog(bytes, folder, options_.scope);
    if (trust == LogTrust::Trusted && earlier_.Read(ProfileText::FromBytes(bytes))) {
        earlierFolder_ = folder;
        log_.Line("Earlier installation found in " + folder + ": its install log is kept");
        return;
    }
    earlier_ = InstallLog();
    log_.Line("An install log in " + folder + " is ignored: " +
              std::string(trust == LogTrust::Trusted ? "it cannot be read"
                          : trust == LogTrust::NoFingerprint ? "no installation keeps its fingerprint"
                          : trust == LogTrust::Changed ? "it was changed after its installation"
                          : trust == LogTrust::OtherScope ? "it belongs to an installation for other users"
                                                       : "it belongs to another folder"));
}

bool Installer::SetObsoleteFilesAside() {
    std::vector<std::string> planned;
    for (const PlannedFile& f : plan_->Files()) planned.push_back(f.path);
    for (const PlannedShortcut& s : plan_->Shortcuts()) planned.push_back(s.path);
    std::vector<std::string> obsolete = ObsoleteFiles(earlier_, planned);
    // An installation that moves to another folder takes its log along.
    if (!earlierFolder_.empty() && !EqualNoCase(LongFolderName(earlierFolder_), LongFolderName(AppDir())))
        obsolete.push_back(JoinPath(earlierFolder_, "install.log"));
    for (const std::string& path : obsolete) {
        if (cancel) return false;
        SetAside moved{path, path + kReplacedSuffix};
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            moved.backup.clear();
        } else {
            Journal(JournalKind::Backup, path, moved.backup);
            if (!MoveFileExA(path.c_str(), moved.backup.c_str(), MOVEFILE_REPLACE_EXISTING)) {
                if (!IsInUseError(GetLastError())) return CannotWrite(path, SystemReason());
                // Held by a program: it goes at the next restart, once this installation succeeded.
                moved.backup.clear();
                moved.atRestart = true;
            }
        }
        obsolete_.push_back(moved);
        log_.Line(moved.atRestart ? "File of the earlier version in use, removed at the next restart: " + path
                                  : "File of the earlier version removed: " + path);
    }
    return true;
}

// After a success: the earlier installation's folders that its removed files left empty.
void Installer::RemoveEmptyEarlierFolders() {
    const auto& actions = earlier_.Actions();
    for (auto it = actions.rbegin(); it != actions.rend(); ++it)
        if (it->kind == ActionKind::Folder && !knownFolders_.count(it->path) && RemoveDirectoryA(it->path.c_str()))
            log_.Line("Folder of the earlier version removed: " + it->path);
}

// The log's fingerprint goes into the uninstall entry after the log, so the log does not list
// it: the uninstaller removes it before it undoes the rest.
bool Installer::WriteInstallLog() {
    std::string path = JoinPath(AppDir(), "install.log");
    File out;
    auto [top, bottom] = PanelColours(script_.screens);
    std::string text = EncodeUtf8(
        "[UNINSTALL]\r\nProductName=" + Product() + "\r\nAppDir=" + LongFolderName(AppDir()) +
        "\r\nUninstallKey=" + plan_->UninstallKey() + "\r\n" + ScopeLogLine(options_.scope) + "PanelColours=" +
        ColourText(top) + "," + ColourText(bottom) + "\r\n\r\n[STRINGS]\r\n" + texts_.Lines() + "\r\n[ACTIONS]\r\n" +
        WithoutFiles(earlier_, RemovedObsoleteFiles()).MergedWith(journal_).ActionLines() + "\r\n");
    std::uint32_t done = 0;
    PlannedValue fingerprint;
    fingerprint.hive = UninstallHive(options_.scope);
    fingerprint.key = plan_->UninstallKey();
    fingerprint.name = kInstallLogFingerprintValue;
    fingerprint.data = StringData(InstallLogFingerprint(text));
    // Written beside the earlier log first: until the fingerprint names the new one, a rollback
    // leaves the earlier installation with its own log.
    const std::string fresh = path + kFreshSuffix;
    Journal(JournalKind::Writing, path);
    if (!out.Open(fresh, CreateWrite) || !out.Write(text.data(), static_cast<std::uint32_t>(text.size()), done) ||
        out.Close() <= 0) {
        const std::string reason = SystemReason();
        out.Close();
        DeleteFileA(fresh.c_str());
        return CannotWrite(path, reason);
    }
    if (!WriteValue(fingerprint)) {
        DeleteFileA(fresh.c_str());
        return false;
    }
    if (!MoveIntoPlace(fresh, path, 0, platform::IsFile(path), false)) return false;
    log_.Line("Install log written: " + path);
    return true;
}

std::vector<std::string> Installer::RemovedObsoleteFiles() const {
    std::vector<std::string> paths;
    for (const SetAside& moved : obsolete_) paths.push_back(moved.path);
    return paths;
}

std::vector<std::string> Installer::ReplacedFiles() const {
    std::vector<std::string> planned;
    for (const PlannedFile& f : plan_->Files()) planned.push_back(f.path);
    std::vector<std::string> replaced;
    for (const std::string& path : planned)
        if (platform::IsFile(path)) replaced.push_back(path);
    for (const std::string& path : ObsoleteFiles(earlier_, planned))
        if (platform::IsFile(path)) replaced.push_back(path);
    return replaced;
}

void Installer::CloseProgramsInUse() {
    const std::vector<ProgramInUse> programs = ProgramsHolding(ReplacedFiles());
    for (const ProgramInUse& p : programs) log_.Line("Closing " + p.name + ", which holds files to replace");
    if (!programs.empty() && !ClosePrograms(programs, 10000)) log_.Line("A program did not end");
}

// The uninstall entry is made first, with the mark that names the journal: whatever stops the
// installation from here on, the next setup or uninstaller of the product finds it and takes
// back what the journal records. A product without an uninstaller has no entry to be found by.
bool Installer::BeginJournal() {
    const std::string& entry = plan_->UninstallKey();
    if (entry.empty()) return true;
    if (!journalFile_.Create(JournalPathFor(entry))) return CannotWrite(JournalPathFor(entry), SystemReason());
    const std::string hive = UninstallHive(options_.scope);
    if (!CreateKeyPath(hive, entry)) return false;
    RegistryKey key;
    if (!key.Open(HiveFromName(hive), entry, kWriteAccess) ||
        !key.SetValue(kJournalValue, REG_SZ, StringData(journalFile_.Path())))
        return Fail(texts_.Get(kTextCannotWrite, {hive + "\\" + entry + "\\" + kJournalValue}));
    // The system writes registry changes to the disk some seconds later; the mark goes at once, so
    // that a power loss finds it (where it is lost all the same, the journal is found by its place).
    key.Flush();
    return true;
}

void Installer::EndJournal() {
    RegistryKey key;
    if (key.Open(HiveFromName(UninstallHive(options_.scope)), plan_->UninstallKey(), kWriteAccess))
        key.DeleteValue(kJournalValue);
    journalFile_.Finish();
}

void Installer::Journal(JournalKind kind, const std::string& path, const std::string& backup) {
    JournalRecord r;
    r.kind = kind;
    r.path = path;
    r.backup = backup;
    journalFile_.Write(r);
}

void Installer::Rollback() {
    // The earlier version's files were set aside last, after everything else.
    for (auto it = obsolete_.rbegin(); it != obsolete_.rend(); ++it)
        if (!it->backup.empty() && !MoveFileExA(it->backup.c_str(), it->path.c_str(), MOVEFILE_REPLACE_EXISTING))
            log_.Line("Rollback could not restore " + it->path);
    const auto& actions = journal_.Actions();
    for (auto it = actions.rbegin(); it != actions.rend(); ++it) {
        std::string problem;
        if (!UndoAction(*it, UndoMode::Rollback, problem)) log_.Line("Rollback could not restore " + problem);
    }
    // The entry that this installation made keeps the journal's mark until now.
    if (journalFile_.IsOpen()) {
        EndJournal();
        for (const InstallAction& a : journal_.Actions())
            if (a.kind == ActionKind::Key && EqualNoCase(a.key, plan_->UninstallKey())) {
                std::string problem;
                UndoAction(a, UndoMode::Rollback, problem);
            }
    }
    log_.Line("Rollback complete");
}

// A replaced program that is still running cannot be deleted: it goes at the next restart, and
// a later installation or uninstallation removes it if the restart has not come yet.
void Installer::DropBackups() {
    std::vector<std::string> backups;
    for (const InstallAction& a : journal_.Actions())
        if (!a.backup.empty()) backups.push_back(a.backup);
    for (const SetAside& moved : obsolete_)
        if (!moved.backup.empty()) backups.push_back(moved.backup);
    for (const SetAside& moved : obsolete_)
        if (moved.atRestart && DeleteAtRestart(moved.path)) restartNeeded_ = true;
    for (const std::string& backup : backups) {
        if (DeleteFileForce(backup)) continue;
        const std::string reason = SystemReason();
        if (DeleteAtRestart(backup)) {
            restartNeeded_ = true;
            log_.Line("In use, removed at the next restart: " + backup + " (" + reason + ")");
        } else {
            log_.Line("Cannot remove " + backup + ": " + reason);
        }
    }
}
