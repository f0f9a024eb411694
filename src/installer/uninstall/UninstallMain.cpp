// _uninstall.exe, installed as uninstall.exe: removes what install.log beside it records, then
// hands its own removal to a copy of itself in the temporary folder.
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <memory>

#include "core/Path.h"
#include "core/Text.h"
#include "package/CommandLine.h"
#include "package/ExitCodes.h"
#include "package/ScopeDecision.h"
#include "package/SetupScript.h"
#include "installer/InstallLog.h"
#include "installer/Upgrade.h"
#include "installer/SetupTexts.h"
#include "installer/win32/Elevation.h"
#include "installer/win32/FileOperations.h"
#include "installer/win32/InstallLogTrust.h"
#include "installer/win32/InstalledProduct.h"
#include "installer/win32/ProductLock.h"
#include "installer/win32/Recovery.h"
#include "installer/win32/Registry.h"
#include "installer/win32/Libraries.h"
#include "installer/win32/PrivateFolder.h"
#include "installer/win32/Program.h"
#include "installer/win32/ProgressWindow.h"
#include "installer/win32/ScreenIds.h"
#include "installer/win32/Undo.h"
#include "installer/win32/Wizard.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace {

// How often the progress of the removal is shown at most.
constexpr ULONGLONG kProgressMilliseconds = 50;
// How long an uninstaller waits for its removal copy to hold the pending removal mutex.
constexpr DWORD kRemovalReadyWait = 10000;

const char kMissingLog[] = "The install log install.log is missing or damaged, so nothing can be removed.";
// Their texts come from the log, which cannot be believed here: the messages are fixed ones.
const char kLogChanged[] =
    "The install log install.log does not match the record that the installation of %1 kept in its entry among "
    "the installed programs: it was changed after the installation. It is not acted on, so nothing was removed.";
const char kLogCopied[] =
    "The install log install.log here was copied from the installation in another folder. It is not acted on, so "
    "nothing was removed.";
const char kEntryGone[] =
    "%1 is no longer registered among the installed programs, so the install log here cannot be checked and is "
    "not acted on: nothing was removed. Install %1 into this folder again, then uninstall it.";
const char kInstalledAgain[] =
    "%1 was installed again in %2, and its entry among the installed programs now belongs to that installation. "
    "This uninstaller cannot check its own install log any more, so nothing was removed. Uninstall %1 through "
    "its entry first; then remove this folder yourself.";
const char kOtherScope[] =
    "The install log install.log records an installation for other users than this uninstaller removes. "
    "It is not acted on, so nothing was removed.";
const char kNoRights[] =
    "The product was installed for all users: removing it needs administrator rights, which were not given.";

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

// Whether a search of `folder` finds nothing in it but the file `deleted` (whose deletion may be
// pending still).
bool ListsNothingBut(const std::string& folder, const std::string& deleted) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool nothing = true;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != ".." && _stricmp(name.c_str(), deleted.c_str()) != 0) nothing = false;
    } while (nothing && FindNextFileA(search, &found));
    FindClose(search);
    return nothing;
}

// When `process` started, in the system's 100 ns units; 0 when that cannot be asked.
unsigned long long StartTime(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// The copy's work: once the original has ended, delete it and the folders it leaves empty;
// the copy itself goes at the next restart. `handover` is "pid:start time|pending removal
// mutex|ready event|program|folder|folder...". The mutex is held until the copy ends, and the
// event tells the original, which waits for it under the product's lock, that it is held.
int RemoveOriginal(const std::string& handover) {
    std::vector<std::string> parts = Split(handover, '|');
    if (parts.size() < 4) return kExitFailed;
    HANDLE removal = parts[1].empty() ? nullptr : CreateMutexA(nullptr, FALSE, parts[1].c_str());
    if (removal) WaitForSingleObject(removal, kPendingRemovalWait);
    if (HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, parts[2].c_str())) {
        SetEvent(ready);
        CloseHandle(ready);
    }
    parts.erase(parts.begin() + 1, parts.begin() + 3);
    // The original is known by its id and its start time: an id that names a process started at
    // another time was given again after the original had ended, and is not waited for.
    std::vector<std::string> id = Split(parts[0], ':');
    HANDLE original = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                  static_cast<DWORD>(std::strtoul(id[0].c_str(), nullptr, 10)));
    if (original) {
        if (id.size() < 2 || id[1] == std::to_string(StartTime(original))) WaitForSingleObject(original, 60000);
        CloseHandle(original);
    }
    // Only a copy of this very program is removed, whatever the command line names. The system
    // (or a scanner) may hold the ended program's file for a moment: an unreadable original is
    // read again, a different one is never touched.
    const std::string self = ReadWholeFile(ProgramPath());
    for (int attempt = 0; platform::IsFile(parts[1]); ++attempt) {
        const std::string original = ReadWholeFile(parts[1]);
        if (!original.empty() && original != self) return kExitFailed;
        if (!original.empty()) break;
        if (attempt == 100) return kExitFailed;
        Sleep(100);
    }
    for (int attempt = 0; attempt < 200 && platform::IsFile(parts[1]) && !DeleteFileForce(parts[1]); ++attempt)
        Sleep(100);
    // A folder that still holds something stays; one held open for a moment is tried again, and
    // so is one that looks empty but is not yet: a file just deleted whose last handle the system
    // has not closed yet (the ended program's own image) still counts until it has.
    for (size_t i = 2; i < parts.size(); ++i)
        for (int attempt = 0; attempt < 50 && !RemoveDirectoryA(parts[i].c_str()); ++attempt) {
            const DWORD error = GetLastError();
            if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED &&
                !(error == ERROR_DIR_NOT_EMPTY && ListsNothingBut(parts[i], NameOf(parts[1]))))
                break;
            Sleep(100);
        }
    // The copy and then its private folder go at the next restart, in this order.
    MoveFileExA(ProgramPath().c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    MoveFileExA(platform::ModuleFolder().c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return kExitDone;
}

// Starts the copy that removes this program and `folders` after it has ended, and waits (under
// the product's lock `lockName`) until the copy holds the mutex that keeps the product's next
// setup or uninstaller waiting for it. The copy runs with this program's rights, so it lies in a
// private folder, held against changes and checked before it starts.
void HandOverRemoval(const std::string& running, const std::vector<std::string>& folders,
                     const std::string& lockName) {
    // A running program can be renamed, not deleted: its file is moved aside under a name of its
    // own first, so that a setup run at once into the same folder writes an uninstaller that the
    // copy, a moment later, never takes for this one.
    std::string program = running;
    const std::string aside =
        JoinPath(FolderOf(running), "~uninstall-" + std::to_string(GetCurrentProcessId()) + ".tmp");
    if (MoveFileExA(running.c_str(), aside.c_str(), 0)) program = aside;
    PrivateFolder place;
    const std::string name = "uninstall.exe";
    const std::string copy = place.Create(platform::TempFolder(), "qs-uninstall-") ? JoinPath(place.Path(), name)
                                                                                    : std::string();
    if (copy.empty() || !CopyFileA(program.c_str(), copy.c_str(), TRUE) || !place.Hold(name) ||
        ReadWholeFile(copy) != ReadWholeFile(program)) {
        MoveFileExA(program.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        return;
    }
    const std::string pid = std::to_string(GetCurrentProcessId()), start = std::to_string(StartTime(GetCurrentProcess()));
    const std::string self = pid + ":" + start, readyName = "Local\\Quillset.RemovalReady." + pid + "." + start;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
    std::string handover = self + "|" + PendingRemovalName(lockName) + "|" + readyName + "|" + program;
    for (const std::string& folder : folders) handover += "|" + folder;
    std::string commandLine = "\"" + copy + "\" /_CLEANUP=\"" + handover + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (CreateProcessA(copy.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, place.Path().c_str(), &si,
                       &pi)) {
        // A copy that ends early, or cannot take the mutex for a long time, is not waited for.
        if (ready) {
            HANDLE either[2] = {ready, pi.hProcess};
            WaitForMultipleObjects(2, either, FALSE, kRemovalReadyWait);
        }
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        place.Release();
    }
    if (ready) CloseHandle(ready);
}

// Runs the uninstaller that now owns the product's entry with the same switches.
int RunHandedOver(const std::string& program) {
    std::string commandLine = "\"" + program + "\" " + ProgramArguments();
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        FolderOf(program).c_str(), &si, &pi))
        return kExitFailed;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = kExitFailed;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

// Whether a file that uninstallation would remove is still there.
bool FilesLeft(const InstallLog& journal, const std::string& program) {
    for (const InstallAction& a : journal.Actions())
        if (a.kind == ActionKind::File && !(a.options & (kNeverUninstall | kKeptExisting)) &&
            !EqualNoCase(a.path, program) && platform::IsFile(a.path))
            return true;
    return false;
}

// The folders of the log that are still there, for the copy to remove once this program is gone.
std::vector<std::string> FoldersLeft(const InstallLog& journal) {
    std::vector<std::string> folders;
    const auto& actions = journal.Actions();
    for (auto it = actions.rbegin(); it != actions.rend(); ++it)
        if (it->kind == ActionKind::Folder && platform::IsFolder(it->path)) folders.push_back(it->path);
    return folders;
}

// A log that cannot be trusted is never acted on; the message says why, in the terms of what
// happened to the installation. An uninstallation stopped after it removed the entry is finished.
int Refuse(const ProfileText& log, const InstallLog& journal, const std::string& folder, InstallScope scope,
           LogTrust trust, const std::string& product, bool silent, const std::string& lockName) {
    const std::string key = LoggedUninstallKey(log), program = ProgramPath();
    RegistryKey entryKey;
    UninstallFacts facts;
    facts.trust = trust;
    const HKEY entries = HiveFromName(UninstallHive(scope));
    facts.entryExists = !key.empty() && entryKey.Open(entries, key, kReadAccess);
    const InstalledProduct entry = FindInstalledProduct(entries, key);
    facts.entryFolder = entry.folder.empty() ? std::string() : LongFolderName(entry.folder);
    facts.entryUninstaller = entry.uninstaller.empty() ? std::string() : LongFolderName(entry.uninstaller);
    facts.folder = LongFolderName(folder);
    facts.program = program;
    facts.filesLeft = FilesLeft(journal, program);
    const std::string name = product.empty() ? std::string("The product") : product;
    std::string message;
    switch (JudgeUninstall(facts)) {
        case UninstallVerdict::Act: break;
        case UninstallVerdict::HandOver: return RunHandedOver(facts.entryUninstaller);
        case UninstallVerdict::Finish:
            RemoveFile(JoinPath(folder, "install.log"));
            HandOverRemoval(program, FoldersLeft(journal), lockName);
            return kExitDone;
        case UninstallVerdict::EntryGone: message = FillArguments(kEntryGone, {name}); break;
        case UninstallVerdict::InstalledAgain: message = FillArguments(kInstalledAgain, {name, entry.folder}); break;
        case UninstallVerdict::Changed: message = FillArguments(kLogChanged, {name}); break;
        case UninstallVerdict::OtherFolder: message = kLogCopied; break;
    }
    if (!silent) ShowMessage(message, "Uninstall", MB_ICONSTOP);
    return kExitDamaged;
}

int Uninstall(const InstallerOptions& options) {
    std::string folder = platform::ModuleFolder();
    std::string logPath = JoinPath(folder, "install.log");
    // The product's name, for its lock; the log is read again once the lock is held, since a setup
    // of the product may change it until then.
    std::string product;
    const std::string firstBytes = ReadWholeFile(logPath);
    const ProfileText first = ProfileText::FromBytes(firstBytes);
    first.GetRawValue("UNINSTALL", "ProductName", product);
    // The scope of the installation: an uninstaller that asks for rights at once removes only
    // all-users installations; one that starts without asks for rights to remove one. This comes
    // before the lock, which the run started again with rights takes.
    InstallScope scope = InstallScope::AllUsers;
    if (!LoggedScope(first, scope) || !AcceptsLogScope(RequestsAdministrator(), scope)) {
        if (!options.silent) ShowMessage(kOtherScope, "Uninstall", MB_ICONSTOP);
        return kExitScope;
    }
    if (!firstBytes.empty() && NeedsElevation(scope, IsElevated(), options.restarted)) {
        int code = kExitFailed;
        switch (RunElevatedAndWait(ProgramPath(), ProgramArguments() + " /_RESTARTED", nullptr, code)) {
            case ElevatedRun::Finished: return code;
            case ElevatedRun::Declined: return kExitCancelled;
            case ElevatedRun::Failed:
                if (!options.silent) ShowMessage(kNoRights, "Uninstall", MB_ICONSTOP);
                return kExitFailed;
        }
    }
    ProductLock lock;
    const std::string lockName = ProductLockName(product, scope == InstallScope::AllUsers);
    int locked = LockProduct(lock, lockName, options.silent, "Uninstall",
                             product + ": waiting for another setup or uninstaller to end...", "Cancel");
    if (locked != kExitDone) return locked;
    // An installation into this folder that a power loss stopped is taken back first; when it was
    // the first one, nothing is left to uninstall but this program.
    std::string interrupted = LoggedUninstallKey(ProfileText::FromBytes(ReadWholeFile(logPath)));
    if (interrupted.empty()) interrupted = InterruptedEntryOf(folder, scope);
    std::vector<std::string> kept;
    if (RecoverInterruptedInstallation(interrupted, scope, [](const std::string&) {}, ProgramPath(), &kept) &&
        !platform::IsFile(logPath)) {
        HandOverRemoval(ProgramPath(), kept, lockName);
        return kExitDone;
    }
    // The bytes are read once: those that are checked are those that are acted on.
    const std::string bytes = ReadWholeFile(logPath);
    auto log = std::make_shared<const ProfileText>(ProfileText::FromBytes(bytes));
    InstallLog journal;
    if (bytes.empty() || !journal.Read(*log)) {
        if (!options.silent) ShowMessage(kMissingLog, "Uninstall", MB_ICONSTOP);
        return kExitDamaged;
    }
    product.clear();
    log->GetRawValue("UNINSTALL", "ProductName", product);
    // The log read again must be of the scope judged above.
    LogTrust trust = VerifyInstallLog(bytes, folder, scope);
    if (trust == LogTrust::OtherScope) {
        if (!options.silent) ShowMessage(kOtherScope, "Uninstall", MB_ICONSTOP);
        return kExitScope;
    }
    if (trust != LogTrust::Trusted) return Refuse(*log, journal, folder, scope, trust, product, options.silent, lockName);
    SetupTexts texts(log);
    std::string caption = texts.Get(kTextUninstallCaption, {product});
    // Screens unless the uninstaller runs silently or without questions.
    const bool screens = !options.silent && !options.suppressBoxes;
    Wizard wizard;
    // The panel in the colours of the installer's screens.
    std::string colours;
    log->GetValue(colours, "UNINSTALL", "PanelColours", "0x00FF0000,0x00000000");
    COLORREF top = ReadLeadingHex(colours), bottom = ReadLeadingHex(colours.substr(colours.find(',') + 1));
    if (screens && wizard.Create(nullptr, caption, top, bottom)) {
        wizard.BeginPage(true, texts.Get(kTextUninstallTitle, {product}), std::string());
        wizard.AddText(kIdBody, texts.Get(kTextConfirmRemove, {product}) + "\n\r\n\r" + texts.Get(kTextUninstallBody));
        wizard.SetButtons(texts.Get(kTextBack), texts.Get(kTextUninstallButton), texts.Get(kTextCancel));
        wizard.EnableButton(kIdBack, false);
        if (wizard.WaitForButton() != WizardButton::Next) return kExitCancelled;
    }

    // The product's entry goes last, with the fingerprint that it keeps: until then, an
    // uninstallation that is stopped (a power loss) is finished by running it again.
    const std::string entry = LoggedUninstallKey(*log);
    std::string program = ProgramPath();
    std::vector<std::string> problems, atRestart, folders;
    auto removeAll = [&](const std::function<void(int, const std::string&)>& progress) {
        const auto& actions = journal.Actions();
        LeftoverFolders leftovers;
        // The screen hears of the work a few times a second, not of every file.
        ULONGLONG shown = 0;
        for (auto it = actions.rbegin(); it != actions.rend(); ++it) {
            std::string problem;
            bool later = false;
            const ULONGLONG now = progress ? GetTickCount64() : 0;
            if (progress && (now - shown >= kProgressMilliseconds || it == actions.rbegin())) {
                progress(static_cast<int>((it - actions.rbegin()) * 1000 / actions.size()), it->path);
                shown = now;
            }
            // This program goes last, through its copy; a version of it that an update replaced
            // while it ran goes now.
            if (it->kind == ActionKind::File && EqualNoCase(it->path, program)) {
                DeleteFileForce(program + kReplacedSuffix);
                continue;
            }
            if ((it->kind == ActionKind::Key || it->kind == ActionKind::Value) && !entry.empty() &&
                EqualNoCase(it->hive, UninstallHive(scope)) && EqualNoCase(it->key, entry))
                continue;
            if (!UndoAction(*it, UndoMode::Uninstall, problem, &later, &leftovers)) problems.push_back(problem);
            if (later) atRestart.push_back(it->path);
            if (it->kind == ActionKind::Folder && platform::IsFolder(it->path)) folders.push_back(it->path);
        }
        // A folder that keeps a file in use goes after it, at the restart.
        if (!atRestart.empty())
            for (const std::string& f : folders) DeleteAtRestart(f);
        if (!entry.empty() && !RemoveUninstallEntry(HiveFromName(UninstallHive(scope)), entry))
            problems.push_back(UninstallHive(scope) + std::string("\\") + entry);
        return 0;
    };
    ProgressWindow window;
    if (wizard.Handle()) {
        wizard.BeginProgressPage(texts.Get(kTextRemovingTitle), texts.Get(kTextRemovingSubtitle, {product}),
                                 std::string(), texts.Get(kTextBack), texts.Get(kTextNext), texts.Get(kTextCancel));
        wizard.EnableButton(kIdCancel, false);
        wizard.Run([&] { return removeAll([&](int permille, const std::string& text) { wizard.SetProgress(permille, text); }); });
    } else if (!options.silent && window.Create(caption, texts.Get(kTextRemoving, {product}), std::string(), std::string())) {
        window.Run([&] { return removeAll([&](int permille, const std::string& text) { window.SetProgress(permille, text); }); });
    } else {
        removeAll(nullptr);
    }
    RemoveFile(logPath);
    // File types may have gone with the keys of the classes.
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    HandOverRemoval(program, folders, lockName);
    if (wizard.Handle()) {
        std::string list;
        for (const std::string& p : problems.empty() ? atRestart : problems) list += p + "\r\n";
        std::string body = !problems.empty() ? texts.Get(kTextNotRemoved, {list})
                           : atRestart.empty() ? texts.Get(kTextRemoved, {product})
                                               : texts.Get(kTextRemovedAtRestart, {product, list});
        wizard.BeginPage(true, texts.Get(problems.empty() ? kTextRemovedTitle : kTextNotRemovedTitle), std::string());
        wizard.AddText(kIdBody, body);
        wizard.SetButtons(texts.Get(kTextBack), texts.Get(kTextClose), texts.Get(kTextCancel));
        wizard.EnableButton(kIdBack, false);
        wizard.EnableButton(kIdCancel, false);
        wizard.WaitForButton();
    }
    return !problems.empty() ? kExitFailed : !atRestart.empty() ? kExitRestartRequired : kExitDone;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    LimitLibrarySearch();
    InstallerOptions options = ParseInstallerArguments(ProgramArguments());
    if (!options.cleanup.empty()) return RemoveOriginal(options.cleanup);
    return Uninstall(options);
}
