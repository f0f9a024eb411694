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
#include "installer/InstallLog.h"
#include "installer/SetupTexts.h"
#include "installer/win32/Elevation.h"
#include "installer/win32/FileOperations.h"
#include "installer/win32/InstallLogTrust.h"
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

const char kMissingLog[] = "The install log install.log is missing or damaged, so nothing can be removed.";
// Its texts come from the log, which cannot be believed here: the message is a fixed one.
const char kUntrustedLog[] =
    "The install log install.log was changed after the installation, or does not belong to this folder. "
    "It is not acted on, so nothing is removed.";
const char kOtherScope[] =
    "The install log install.log records an installation for other users than this uninstaller removes. "
    "It is not acted on, so nothing is removed.";
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

// The copy's work: once the original has ended, delete it and the folders it leaves empty;
// the copy itself goes at the next restart. `handover` is "pid|program|folder|folder...".
int RemoveOriginal(const std::string& handover) {
    std::vector<std::string> parts = Split(handover, '|');
    if (parts.size() < 2) return kExitFailed;
    HANDLE original = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(std::strtoul(parts[0].c_str(), nullptr, 10)));
    if (original) {
        WaitForSingleObject(original, 60000);
        CloseHandle(original);
    }
    // Only a copy of this very program is removed, whatever the command line names.
    if (platform::IsFile(parts[1]) && ReadWholeFile(parts[1]) != ReadWholeFile(ProgramPath())) return kExitFailed;
    for (int attempt = 0; attempt < 50 && platform::IsFile(parts[1]) && !DeleteFileForce(parts[1]); ++attempt)
        Sleep(100);
    for (size_t i = 2; i < parts.size(); ++i) RemoveDirectoryA(parts[i].c_str());
    // The copy and then its private folder go at the next restart, in this order.
    MoveFileExA(ProgramPath().c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    MoveFileExA(platform::ModuleFolder().c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return kExitDone;
}

// Starts the copy that removes this program and `folders` after it has ended. The copy runs with
// this program's rights, so it lies in a private folder, held against changes and checked before
// it starts.
void HandOverRemoval(const std::string& program, const std::vector<std::string>& folders) {
    PrivateFolder place;
    const std::string name = "uninstall.exe";
    const std::string copy = place.Create(platform::TempFolder(), "qs-uninstall-") ? JoinPath(place.Path(), name)
                                                                                    : std::string();
    if (copy.empty() || !CopyFileA(program.c_str(), copy.c_str(), TRUE) || !place.Hold(name) ||
        ReadWholeFile(copy) != ReadWholeFile(program)) {
        MoveFileExA(program.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        return;
    }
    std::string handover = std::to_string(GetCurrentProcessId()) + "|" + program;
    for (const std::string& folder : folders) handover += "|" + folder;
    std::string commandLine = "\"" + copy + "\" /_CLEANUP=\"" + handover + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (CreateProcessA(copy.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, place.Path().c_str(), &si,
                       &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        place.Release();
    }
}

int Uninstall(const InstallerOptions& options) {
    std::string folder = platform::ModuleFolder();
    // The bytes are read once: those that are checked are those that are acted on.
    const std::string bytes = ReadWholeFile(JoinPath(folder, "install.log"));
    auto log = std::make_shared<const ProfileText>(ProfileText::FromBytes(bytes));
    InstallLog journal;
    if (bytes.empty() || !journal.Read(*log)) {
        if (!options.silent) ShowMessage(kMissingLog, "Uninstall", MB_ICONSTOP);
        return kExitDamaged;
    }
    InstallScope scope = InstallScope::AllUsers;
    if (!LoggedScope(*log, scope) || !AcceptsLogScope(RequestsAdministrator(), scope)) {
        if (!options.silent) ShowMessage(kOtherScope, "Uninstall", MB_ICONSTOP);
        return kExitScope;
    }
    // An uninstaller that starts without rights asks for them for an all-users installation.
    if (NeedsElevation(scope, IsElevated(), options.restarted)) {
        int code = kExitFailed;
        switch (RunElevatedAndWait(ProgramPath(), ProgramArguments() + " /_RESTARTED", nullptr, code)) {
            case ElevatedRun::Finished: return code;
            case ElevatedRun::Declined: return kExitCancelled;
            case ElevatedRun::Failed:
                if (!options.silent) ShowMessage(kNoRights, "Uninstall", MB_ICONSTOP);
                return kExitFailed;
        }
    }
    if (VerifyInstallLog(bytes, folder, scope) != LogTrust::Trusted) {
        if (!options.silent) ShowMessage(kUntrustedLog, "Uninstall", MB_ICONSTOP);
        return kExitDamaged;
    }
    SetupTexts texts(log);
    std::string product;
    log->GetRawValue("UNINSTALL", "ProductName", product);
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
        wizard.Add("STATIC", texts.Get(kTextConfirmRemove, {product}) + "\n\r\n\r" + texts.Get(kTextUninstallBody),
                   SS_NOPREFIX, kIdBody, 0, 0, 290, 200);
        wizard.SetButtons(texts.Get(kTextBack), texts.Get(kTextUninstallButton), texts.Get(kTextCancel));
        wizard.EnableButton(kIdBack, false);
        if (wizard.WaitForButton() != WizardButton::Next) return kExitCancelled;
    }

    // Kept after the log, the fingerprint is no action of it; without it the entry can go.
    ForgetInstallLogFingerprint(LoggedUninstallKey(*log), scope);
    std::string program = ProgramPath();
    std::vector<std::string> problems, folders;
    auto removeAll = [&](const std::function<void(int, const std::string&)>& progress) {
        const auto& actions = journal.Actions();
        for (auto it = actions.rbegin(); it != actions.rend(); ++it) {
            std::string problem;
            if (progress) progress(static_cast<int>((it - actions.rbegin()) * 1000 / actions.size()), it->path);
            // This program goes last, through its copy.
            if (it->kind == ActionKind::File && EqualNoCase(it->path, program)) continue;
            if (!UndoAction(*it, UndoMode::Uninstall, problem)) problems.push_back(problem);
            if (it->kind == ActionKind::Folder && platform::IsFolder(it->path)) folders.push_back(it->path);
        }
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
    RemoveFile(JoinPath(folder, "install.log"));
    // File types may have gone with the keys of the classes.
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    HandOverRemoval(program, folders);
    if (wizard.Handle()) {
        std::string list;
        for (const std::string& p : problems) list += p + "\r\n";
        wizard.BeginPage(true, texts.Get(problems.empty() ? kTextRemovedTitle : kTextNotRemovedTitle), std::string());
        wizard.Add("STATIC", problems.empty() ? texts.Get(kTextRemoved, {product}) : texts.Get(kTextNotRemoved, {list}),
                   SS_NOPREFIX, kIdBody, 0, 0, 290, 200);
        wizard.SetButtons(texts.Get(kTextBack), texts.Get(kTextClose), texts.Get(kTextCancel));
        wizard.EnableButton(kIdBack, false);
        wizard.EnableButton(kIdCancel, false);
        wizard.WaitForButton();
    }
    return problems.empty() ? kExitDone : kExitFailed;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    LimitLibrarySearch();
    InstallerOptions options = ParseInstallerArguments(ProgramArguments());
    if (!options.cleanup.empty()) return RemoveOriginal(options.cleanup);
    return Uninstall(options);
}
