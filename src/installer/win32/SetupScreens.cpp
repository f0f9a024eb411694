#include "installer/win32/SetupScreens.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/Path.h"
#include "core/Text.h"
#include "package/ExitCodes.h"
#include "package/ScopeDecision.h"
#include "installer/win32/DesktopStart.h"
#include "installer/win32/Elevation.h"
#include "installer/win32/Program.h"
#include "installer/win32/LanguageDialog.h"
#include "installer/win32/ProgressWindow.h"
#include "installer/win32/RunningPrograms.h"
#include "installer/win32/FileOperations.h"
#include "installer/win32/Registry.h"
#include "installer/win32/ScreenIds.h"
#include "installer/win32/SystemFolders.h"
#include "platform/FileSystem.h"
#include "profile/TextForm.h"
#include "platform/FolderScanner.h"

namespace {

// The text without the blanks around it, as typed into a field.
std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t"), last = text.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// Bytes as people read them: "840 KB", "12.5 MB", "3.1 GB", with the language's decimal point.
std::string SizeText(unsigned long long bytes, const std::string& point) {
    static const char* const kUnits[] = {"KB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes) / 1024;
    size_t unit = 0;
    while (value >= 1024 && unit + 1 < std::size(kUnits)) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    if (unit == 0) std::snprintf(text, sizeof text, "%.0f %s", value < 1 && bytes ? 1.0 : value, kUnits[unit]);
    else std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
    std::string out = text;
    size_t dot = out.find('.');
    if (dot != std::string::npos && !point.empty()) out.replace(dot, 1, point);
    return out;
}

// The owner name or company that the user information screen suggests (see RegisteredOwnerPlaces).
std::string RegisteredText(InstallScope scope, bool scopeAsked, bool organization) {
    return FirstRegisteredValue(RegisteredOwnerPlaces(scope, scopeAsked, organization),
                                [](const RegistryValuePlace& place, std::string& text) {
                                    RegistryKey key;
                                    DWORD type = 0;
                                    if (!key.Open(HiveFromName(place.hive), place.key, kReadAccess) ||
                                        !key.QueryValue(place.name, type, text) || type != REG_SZ)
                                        return false;
                                    text = text.substr(0, text.find('\0'));
                                    return true;
                                });
}

// A program group is a folder path below the Start menu's programs whose names Windows keeps.
bool IsGroupName(const std::string& name) { return IsSafeRelativePath(name); }

// The program groups below the Start menu's programs of `scope`.
std::vector<std::string> ExistingGroups(InstallScope scope) {
    std::vector<std::string> groups;
    platform::FolderEnumeration entries(QueryTargetFolders(scope).startMenuPrograms);
    std::string name;
    bool isFolder = false;
    while (entries.IsOpen() && entries.Read(name, isFolder))
        if (isFolder && name != "." && name != "..") groups.push_back(name);
    std::sort(groups.begin(), groups.end(), [](const std::string& a, const std::string& b) { return LowerCase(a) < LowerCase(b); });
    return groups;
}

// Pixels at 96 DPI: the width of the name fields, and the indent of the scope's choices, which
// leaves room for the shield.
constexpr int kNameWidth = 300, kChoiceIndent = 22;

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

}  // namespace

SetupScreens::SetupScreens(const SetupScript& script, SetupTexts& texts, const InstallerOptions& options,
                           ActivityLog& log, const std::string& setupDir, bool askScope)
    : script_(script), texts_(texts), options_(options), log_(log), setupDir_(setupDir), language_(options.language),
      askScope_(askScope) {
    // A run started again with rights from the scope screen goes on after it: the screens before
    // it were answered in the run that started this one, the licence accepted.
    const bool before = !options.screensAnswered;
    accepted_ = options.screensAnswered;
    const bool pageShown[] = {before && Shows(ScreenSettings::WelcomeDialog), before && Shows(ScreenSettings::LicenseDialog),
                              before && Shows(ScreenSettings::ReadmeDialog),  before && Shows(ScreenSettings::UserInfoDialog),
                              askScope,
                              Shows(ScreenSettings::TargetDirectoryDialog), Shows(ScreenSettings::ProgramGroupDialog),
                              Shows(ScreenSettings::StartDialog)};
    for (int page = Welcome; page <= Start; ++page)
        if (pageShown[page]) pages_.push_back(static_cast<Page>(page));
}

HWND SetupScreens::Owner() const {
    if (hasWizard_) return wizard_.Handle();
    return background_.Handle();
}

void SetupScreens::Message(const std::string& text, UINT type) const {
    MessageBoxA(Owner(), CrLfLineEnds(text).c_str(), caption_.c_str(), type | MB_SETFOREGROUND);
}

int SetupScreens::Run(Installer& probe) {
    probe_ = &probe;
    product_ = probe.Product();
    caption_ = Text(kTextCaption, {product_});
    folder_ = probe.AppDir();
    group_ = probe.ProgramGroup();
    // The owner's name and company that a run with rights is handed, else the registered ones.
    if (!options_.userName.empty() || !options_.company.empty()) {
        userName_ = options_.userName;
        company_ = options_.company;
    } else {
        userName_ = RegisteredText(options_.scope, askScope_, false);
        company_ = RegisteredText(options_.scope, askScope_, true);
    }
    // The setup type and custom setup screens are left out: a project's files have no
    // components to choose from, so those screens could change nothing.
    if (Shows(ScreenSettings::SetupTypeDialog) || Shows(ScreenSettings::CustomSetupDialog))
        log_.Line("The setup type and custom setup screens are not shown: the project has no components");
    if (Shows(ScreenSettings::SplashWindow) && !ShowSplash(probe.Text(script_.screens.splashBitmapPath)))
        log_.Line("Splash bitmap not shown: " + probe.Text(script_.screens.splashBitmapPath));
    if (Shows(ScreenSettings::SetupWindow)) ShowBackground();
    if (Shows(ScreenSettings::LanguageDialog) && options_.language.empty() && !ChooseSetupLanguage()) {
        log_.Line("Cancelled at the language choice: nothing was changed");
        reported_ = true;
        return kExitCancelled;
    }

    if (std::find(pages_.begin(), pages_.end(), Scope) != pages_.end()) ProbeCurrentUser();
    probe.ask = Questions(nullptr);
    if (probe.CheckRequirements(!Shows(ScreenSettings::TargetDirectoryDialog)) != kExitDone) {
        problem_ = probe.Problem();
        return kExitRequirements;
    }
    if (!pages_.empty() || Shows(ScreenSettings::FinishDialog)) {
        auto [top, bottom] = PanelColours(script_.screens);
        hasWizard_ = wizard_.Create(background_.Handle(), caption_, top, bottom);
    }
    if (hasWizard_ && !RunPages()) {
        log_.Line("Cancelled before installing: nothing was changed");
        reported_ = true;
        return kExitCancelled;
    }
    if (elevatedRunDone_) {
        // The run with rights has shown its own screens and outcome.
        log_.Line("The installation with administrator rights ended with exit code " + std::to_string(elevatedResult_));
        reported_ = true;
        return elevatedResult_;
    }
    int result = Install();
    if (hasWizard_ && Shows(ScreenSettings::FinishDialog)) {
        Finish(result);
    } else if (hasWizard_ && Succeeded(result) && !options_.suppressBoxes) {
        // Whoever went through screens hears that the installation is done.
        Message(Text(result == kExitRestartRequired ? kTextRestartRequired : kTextInstalled, {product_}),
                MB_ICONINFORMATION);
        reported_ = true;
    }
    return result;
}

void SetupScreens::ShowBackground() {
    const ScreenSettings& s = script_.screens;
    const std::string texts[3] = {probe_->Text(s.heading.text), probe_->Text(s.subheading.text),
                                  probe_->Text(s.footer.text)};
    background_.Create(probe_->Text(s.windowTitle), s, texts);
}

bool SetupScreens::ChooseSetupLanguage() {
    std::vector<std::string> names;
    size_t chosen = 0;
    for (const std::string& name : script_.languages) {
        if (!platform::IsFile(JoinPath(setupDir_, name + ".dat"))) continue;
        if (name == script_.defaultLanguage) chosen = names.size();
        names.push_back(name);
    }
    if (names.size() < 2) return true;
    LanguageDialogTexts texts{caption_, Text(kTextLanguageTitle), Text(kTextLanguagePrompt), Text(kTextOk),
                              Text(kTextCancel)};
    if (!ChooseLanguage(background_.Handle(), texts, names, chosen)) return false;
    language_ = names[chosen];
    if (switchLanguage && switchLanguage(names[chosen])) caption_ = Text(kTextCaption, {product_});
    return true;
}

bool SetupScreens::RunPages() {
    size_t index = 0, shown = pages_.size();
    while (index < pages_.size()) {
        // A page that refused its fields stays as the user left it.
        if (index != shown) ShowPage(pages_[index]);
        shown = index;
        WizardButton button = wizard_.WaitForButton();
        if (button == WizardButton::Cancel) {
            if (ConfirmCancel()) return false;
        } else {
            // The choices stay when the user goes back; they are checked on the way forward.
            Keep(pages_[index]);
            if (button == WizardButton::Back && index > 0) --index;
            else if (button == WizardButton::Next && Check(pages_[index])) ++index;
            if (elevatedRunDone_) return true;
        }
    }
    return true;
}

std::function<bool(const std::string&, bool)> SetupScreens::Questions(HWND owner) const {
    // Without message boxes every question takes its default answer.
    if (options_.suppressBoxes) return nullptr;
    return [this, owner](const std::string& question, bool) {
        return MessageBoxA(owner ? owner : Owner(), question.c_str(), caption_.c_str(), MB_YESNO | MB_ICONQUESTION) ==
               IDYES;
    };
}

bool SetupScreens::ConfirmCancel() {
    return MessageBoxA(Owner(), Text(kTextConfirmCancel).c_str(), caption_.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void SetupScreens::ShowPage(Page page) {
    const bool last = pages_.back() == page, first = pages_.front() == page;
    switch (page) {
        case Welcome:
            wizard_.BeginPage(true, Text(kTextWelcomeTitle, {product_}), std::string());
            wizard_.AddText(kIdBody, Text(kTextWelcomeBody, {product_}));
            break;
        case License:
            ShowTextPage(kTextLicenseTitle, kTextLicenseSubtitle, kIdLicenseText, script_.screens.licensePath);
            wizard_.AddChoice(kIdAccept, Text(kTextAccept), BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP);
            wizard_.AddChoice(kIdDecline, Text(kTextDecline), BS_AUTORADIOBUTTON);
            CheckDlgButton(wizard_.Handle(), accepted_ ? kIdAccept : kIdDecline, BST_CHECKED);
            wizard_.onCommand = [this](int id, int) {
                if (id == kIdAccept || id == kIdDecline)
                    wizard_.EnableButton(kIdNext, IsDlgButtonChecked(wizard_.Handle(), kIdAccept) == BST_CHECKED);
            };
            break;
        case Readme: ShowTextPage(kTextReadmeTitle, kTextReadmeSubtitle, kIdReadmeText, script_.screens.readmePath); break;
        case UserInfo:
            wizard_.BeginPage(false, Text(kTextUserTitle), Text(kTextUserSubtitle));
            wizard_.AddText(-1, Text(kTextUserName), 0);
            wizard_.AddField("EDIT", kIdUserName, userName_, WS_TABSTOP | ES_AUTOHSCROLL, kNameWidth);
            wizard_.AddText(-1, Text(kTextCompany), 0);
            wizard_.AddField("EDIT", kIdCompany, company_, WS_TABSTOP | ES_AUTOHSCROLL, kNameWidth);
            wizard_.onCommand = [this](int id, int code) {
                if (id == kIdUserName && code == EN_CHANGE)
                    wizard_.EnableButton(kIdNext, !Trim(wizard_.ItemText(kIdUserName)).empty());
            };
            break;
        case Scope: ShowScopePage(); break;
        case Folder: ShowFolderPage(); break;
        case Group: ShowGroupPage(); break;
        case Start: ShowStartPage(); break;
    }
    wizard_.SetButtons(first ? std::string() : Text(kTextBack), Text(last ? kTextInstall : kTextNext), Text(kTextCancel));
    // Only the scope screen's Next may lead to the prompt for administrator rights.
    Button_SetElevationRequiredState(wizard_.Item(kIdNext), FALSE);
    if (page == Scope) ShowScopeShield();
    if (first) {
        // Back keeps its place, greyed, as on every other page.
        ShowWindow(wizard_.Item(kIdBack), SW_SHOW);
        SetWindowTextA(wizard_.Item(kIdBack), Text(kTextBack).c_str());
    }
    if (page == License) wizard_.EnableButton(kIdNext, accepted_);
    if (page == UserInfo) wizard_.EnableButton(kIdNext, !Trim(userName_).empty());
}

void SetupScreens::ShowTextPage(int title, int subtitle, int id, const std::string& path) {
    wizard_.BeginPage(false, Text(title), Text(subtitle));
    // A text file of the product shows as its form says: UTF-8 with its mark, else the code page.
    wizard_.AddFill("EDIT", id, DecodeText(ReadWholeFile(probe_->Text(path))).text,
                    WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL);
}

void SetupScreens::ProbeCurrentUser() {
    InstallerOptions forUser = options_;
    forUser.scope = InstallScope::CurrentUser;
    Installer probe(script_, texts_, forUser, log_, setupDir_);
    if (!probe.Prepare()) scopeProblem_ = probe.Problem();
    if (!scopeProblem_.empty()) log_.Line("Installing for the current user is not offered: " + scopeProblem_);
}

void SetupScreens::ShowScopePage() {
    wizard_.BeginPage(false, Text(kTextScopeTitle), Text(kTextScopeSubtitle, {product_}));
    wizard_.AddText(kIdBody, Text(kTextScopeBody, {product_}));
    // The shield says which choice asks for administrator rights.
    wizard_.AddIcon(kIdScopeShield, MAKEINTRESOURCEA(32518));
    wizard_.AddChoice(kIdScopeAllUsers, Text(kTextScopeAllUsers), BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP,
                      kChoiceIndent);
    HWND user = wizard_.AddChoice(kIdScopeCurrentUser, Text(kTextScopeCurrentUser), BS_AUTORADIOBUTTON, kChoiceIndent);
    if (!scopeProblem_.empty()) {
        EnableWindow(user, FALSE);
        wizard_.AddText(kIdScopeNote, Text(kTextScopeNotForUser, {scopeProblem_}), SS_NOPREFIX, kChoiceIndent);
    }
    const bool forUser = options_.scope == InstallScope::CurrentUser && scopeProblem_.empty();
    CheckDlgButton(wizard_.Handle(), forUser ? kIdScopeCurrentUser : kIdScopeAllUsers, BST_CHECKED);
    wizard_.onCommand = [this](int id, int) {
        if (id == kIdScopeAllUsers || id == kIdScopeCurrentUser) ShowScopeShield();
    };
}

void SetupScreens::ShowScopeShield() {
    const InstallScope selected = IsDlgButtonChecked(wizard_.Handle(), kIdScopeCurrentUser) == BST_CHECKED
                                      ? InstallScope::CurrentUser
                                      : InstallScope::AllUsers;
    const bool shield = NeedsElevation(selected, IsElevated(), options_.restarted);
    Button_SetElevationRequiredState(wizard_.Item(kIdNext), shield ? TRUE : FALSE);
}

std::string SetupScreens::RestartArguments() const {
    InstallerOptions again = options_;
    again.language = language_;
    // Every screen before the scope screen was passed on the way to it.
    again.screensAnswered = true;
    if (Shows(ScreenSettings::UserInfoDialog)) {
        again.userName = userName_;
        again.company = company_;
    }
    return ElevatedArguments(again);
}

bool SetupScreens::ChooseScope() {
    const InstallScope chosen = IsDlgButtonChecked(wizard_.Handle(), kIdScopeCurrentUser) == BST_CHECKED
                                    ? InstallScope::CurrentUser
                                    : InstallScope::AllUsers;
    if (NeedsElevation(chosen, IsElevated(), options_.restarted)) {
        const std::string arguments = RestartArguments();
        log_.Line("All users chosen: starting again with administrator rights: " + arguments);
        ShowWindow(wizard_.Handle(), SW_HIDE);
        int code = kExitFailed;
        if (releaseLock) releaseLock();
        // The run with rights writes on in the same log.
        log_.Suspend();
        const ElevatedRun run = RunElevatedAndWait(ProgramPath(), arguments, wizard_.Handle(), code);
        log_.Reopen();
        if (run == ElevatedRun::Finished) {
            elevatedRunDone_ = true;
            elevatedResult_ = code;
            return true;
        }
        ShowWindow(wizard_.Handle(), SW_SHOW);
        log_.Line(run == ElevatedRun::Declined ? "Administrator rights declined"
                                               : "The installer could not start again");
        Message(Text(kTextScopeNoRights), MB_ICONINFORMATION);
        return false;
    }
    // The lock of the scope chosen, before its earlier installation is looked for; the screen
    // takes no click while another setup of the product keeps the lock.
    if (lockScope) {
        EnableWindow(wizard_.Handle(), FALSE);
        const int locked = lockScope(chosen);
        EnableWindow(wizard_.Handle(), TRUE);
        SetForegroundWindow(wizard_.Handle());
        if (locked != kExitDone) return false;
    }
    if (scopeProbe_ && chosen == options_.scope) return true;
    // The defaults of the folder and group screens are those of the scope chosen.
    const InstallScope before = options_.scope;
    options_.scope = chosen;
    auto probe = std::make_unique<Installer>(script_, texts_, options_, log_, setupDir_);
    if (!probe->Prepare()) {
        options_.scope = before;
        Message(Text(kTextScopeNotForUser, {probe->Problem()}), MB_ICONEXCLAMATION);
        return false;
    }
    log_.Line(std::string("Install scope chosen: ") + ScopeName(chosen));
    folder_ = probe->AppDir();
    group_ = probe->ProgramGroup();
    scopeProbe_ = std::move(probe);
    probe_ = scopeProbe_.get();
    return true;
}

void SetupScreens::ShowFolderPage() {
    wizard_.BeginPage(false, Text(kTextFolderTitle), Text(kTextFolderSubtitle, {product_}));
    wizard_.AddText(kIdBody, Text(kTextFolderBody, {product_}));
    wizard_.AddText(-1, Text(kTextFolderLabel), 0);
    wizard_.AddField("EDIT", kIdFolder, folder_, WS_TABSTOP | ES_AUTOHSCROLL);
    wizard_.AddButton(kIdBrowse, Text(kTextBrowse));
    // Room for what becomes of an earlier installation, whose text follows the folder typed.
    wizard_.AddText(kIdInstalledHere, std::string(), SS_NOPREFIX, 0, 3);
    wizard_.AddSpace();
    wizard_.AddText(kIdSpaceRequired, std::string());
    wizard_.AddText(kIdSpaceAvailable, std::string());
    UpdateSpace();
    wizard_.onCommand = [this](int id, int code) {
        if (id == kIdFolder && code == EN_CHANGE) UpdateSpace();
        if (id != kIdBrowse) return;
        std::string prompt = Text(kTextBrowsePrompt, {product_}), current = wizard_.ItemText(kIdFolder);
        BROWSEINFOA info = {};
        info.hwndOwner = wizard_.Handle();
        info.lpszTitle = prompt.c_str();
        info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
        info.lpfn = BrowseCallback;
        info.lParam = reinterpret_cast<LPARAM>(current.c_str());
        LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
        char path[MAX_PATH] = {};
        if (chosen && SHGetPathFromIDListA(chosen, path)) {
            // The product's own folder below the chosen one, as people expect from Browse.
            SetDlgItemTextA(wizard_.Handle(), kIdFolder, JoinPath(path, NameOf(current)).c_str());
        }
        if (chosen) CoTaskMemFree(chosen);
    };
}

void SetupScreens::UpdateSpace() {
    // What the files take on the disk; the project's minimum free space is a requirement of its
    // own, checked when the folder is taken.
    const unsigned long long required = probe_->RequiredBytes();
    unsigned long long free = 0;
    std::string point = Text(kTextDecimalPoint), folder = wizard_.ItemText(kIdFolder);
    SetDlgItemTextA(wizard_.Handle(), kIdSpaceRequired, Text(kTextSpaceRequired, {SizeText(required, point)}).c_str());
    bool known = IsAbsolutePath(folder) && FreeKilobytes(folder, free);
    SetDlgItemTextA(wizard_.Handle(), kIdSpaceAvailable,
                    known ? Text(kTextSpaceAvailable, {SizeText(free * 1024, point)}).c_str() : "");
    SetDlgItemTextA(wizard_.Handle(), kIdInstalledHere, EarlierInstallationText(folder).c_str());
}

// What becomes of the product's earlier installation when the folder on the screen is chosen.
std::string SetupScreens::EarlierInstallationText(const std::string& folder) const {
    const InstalledProduct& earlier = probe_->Earlier();
    if (!earlier.found) return std::string();
    const std::string version = earlier.version.empty() ? product_ : earlier.version;
    if (EqualNoCase(TrimTrailingBackslashes(Trim(folder)), earlier.folder))
        return Text(earlier.version.empty() ? kTextUpdatedHereUnversioned : kTextUpdatedHere, {version});
    return Text(earlier.version.empty() ? kTextMovedHereUnversioned : kTextMovedHere, {version, earlier.folder});
}

void SetupScreens::ShowGroupPage() {
    wizard_.BeginPage(false, Text(kTextGroupTitle), Text(kTextGroupSubtitle));
    wizard_.AddText(kIdBody, Text(kTextGroupBody, {product_}));
    wizard_.AddText(-1, Text(kTextGroupLabel), 0);
    wizard_.AddField("EDIT", kIdGroup, group_, WS_TABSTOP | ES_AUTOHSCROLL);
    wizard_.AddText(-1, Text(kTextExistingGroups), 0);
    HWND list = wizard_.AddFill("LISTBOX", kIdGroupList, std::string(),
                                WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT);
    for (const std::string& group : ExistingGroups(options_.scope))
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(group.c_str()));
    wizard_.onCommand = [this, list](int id, int code) {
        if (id != kIdGroupList || code != LBN_SELCHANGE) return;
        LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (index < 0) return;
        std::string text(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, index, 0)) + 1, '\0');
        text.resize(static_cast<size_t>(SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]))));
        SetDlgItemTextA(wizard_.Handle(), kIdGroup, text.c_str());
    };
}

void SetupScreens::ShowStartPage() {
    wizard_.BeginPage(false, Text(kTextStartTitle), Text(kTextStartSubtitle, {product_}));
    wizard_.AddText(kIdBody, Text(kTextStartBody));
    std::string summary = Text(kTextSummaryFolder) + "\r\n      " + folder_ + "\r\n";
    if (Shows(ScreenSettings::ProgramGroupDialog)) summary += "\r\n" + Text(kTextSummaryGroup) + "\r\n      " + group_ + "\r\n";
    if (Shows(ScreenSettings::UserInfoDialog)) {
        summary += "\r\n" + Text(kTextSummaryUser) + "\r\n      " + userName_ + "\r\n";
        if (!company_.empty()) summary += "      " + company_ + "\r\n";
    }
    wizard_.AddFill("EDIT", kIdSummary, summary, WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY);
}

void SetupScreens::Keep(Page page) {
    switch (page) {
        case License: accepted_ = IsDlgButtonChecked(wizard_.Handle(), kIdAccept) == BST_CHECKED; break;
        case UserInfo:
            userName_ = Trim(wizard_.ItemText(kIdUserName));
            company_ = Trim(wizard_.ItemText(kIdCompany));
            break;
        case Folder: folder_ = TrimTrailingBackslashes(Trim(wizard_.ItemText(kIdFolder))); break;
        case Group: group_ = Trim(wizard_.ItemText(kIdGroup)); break;
        default: break;
    }
}

bool SetupScreens::Check(Page page) {
    switch (page) {
        case License: return accepted_;
        case UserInfo: return !userName_.empty();
        case Folder:
            if (!IsAbsolutePath(folder_) || folder_.size() <= 3) {
                Message(Text(kTextNotAFolder, {folder_, product_}), MB_ICONEXCLAMATION);
                return false;
            }
            return FolderHasRoom(folder_);
        case Scope: return ChooseScope();
        case Group:
            if (IsGroupName(group_)) return true;
            Message(Text(kTextNotAGroup, {group_}), MB_ICONEXCLAMATION);
            return false;
        default: return true;
    }
}

// The files must fit. The space that the project asks for is a requirement like the others:
// it stops the installation only when the project says so, else the user may go on.
bool SetupScreens::FolderHasRoom(const std::string& folder) {
    unsigned long long files = (probe_->RequiredBytes() + 1023) / 1024;
    unsigned long long asked = std::strtoull(script_.requiredDiskSpace.c_str(), nullptr, 10), free = 0;
    if (!FreeKilobytes(folder, free) || free >= std::max(files, asked)) return true;
    std::string problem =
        Text(kTextDiskSpace, {folder.substr(0, 2), std::to_string(std::max(files, asked)), std::to_string(free)});
    log_.Line("Not enough space for " + folder + ": " + problem);
    if (free < files || script_.abortInstallation) {
        Message(problem + "\n\r\n\r" + Text(kTextChooseOtherDrive), MB_ICONEXCLAMATION);
        return false;
    }
    return MessageBoxA(Owner(), CrLfLineEnds(problem + "\n\r\n\r" + Text(kTextContinueAnyway)).c_str(), caption_.c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

int SetupScreens::Install() {
    // Held already once the scope was decided or chosen; taken here where no screen chose it.
    if (lockScope) {
        const int locked = lockScope(options_.scope);
        if (locked != kExitDone) return locked;
    }
    options_.folder = folder_;
    options_.group = group_;
    if (Shows(ScreenSettings::UserInfoDialog)) {
        options_.userName = userName_;
        options_.company = company_;
    }
    Installer installer(script_, texts_, options_, log_, setupDir_);
    if (!installer.Prepare()) {
        problem_ = installer.Problem();
        return installer.PrepareFailure();
    }
    installer.ask = Questions(nullptr);
    if (hasWizard_ && !ClearProgramsInUse(installer)) {
        log_.Line("Cancelled while programs held files to replace: nothing was changed");
        return kExitCancelled;
    }
    int result = kExitDone;
    if (hasWizard_) {
        result = InstallWithWizard(installer);
    } else {
        ProgressWindow window;
        // Without message boxes, Cancel takes effect without a question.
        std::string confirm = options_.suppressBoxes ? std::string() : Text(kTextConfirmCancel);
        if (!window.Create(caption_, Text(kTextInstalling, {product_}), Text(kTextCancel), confirm)) {
            result = installer.Install();
        } else {
            window.SetProgress(0, Text(kTextFolder, {installer.AppDir()}));
            installer.onProgress = [&window](int permille, const std::string& text) { window.SetProgress(permille, text); };
            window.onCancel = [&installer] { installer.cancel = true; };
            installer.ask = Questions(window.Handle());
            result = window.Run([&installer] {
                // The shortcuts are written through COM on this thread.
                CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
                int code = installer.Install();
                CoUninitialize();
                return code;
            });
        }
    }
    if (!Succeeded(result)) problem_ = installer.Problem();
    else ResolveFinishFiles(installer);
    return result;
}

bool SetupScreens::ClearProgramsInUse(Installer& installer) {
    const std::vector<std::string> replaced = installer.ReplacedFiles();
    std::vector<ProgramInUse> programs = ProgramsHolding(replaced);
    std::vector<std::string> files = FilesInUse(replaced);
    if (programs.empty() && files.empty()) return true;
    auto list = [&] {
        programs = ProgramsHolding(replaced);
        files = FilesInUse(replaced);
        HWND box = wizard_.Item(kIdProgramsInUse);
        SendMessageA(box, LB_RESETCONTENT, 0, 0);
        // A file held by no program that can be named is listed itself.
        for (const ProgramInUse& p : programs) SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p.name.c_str()));
        if (programs.empty())
            for (const std::string& f : files) SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.c_str()));
    };
    wizard_.BeginPage(false, Text(kTextInUseTitle), Text(kTextInUseSubtitle));
    wizard_.AddText(kIdBody, Text(kTextInUseBody));
    wizard_.AddFill("LISTBOX", kIdProgramsInUse, std::string(), WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT);
    wizard_.AddButton(kIdRetry, Text(kTextRetry));
    wizard_.AddChoice(kIdCloseAutomatically, Text(kTextCloseAutomatically), WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON);
    wizard_.AddChoice(kIdDoNotClose, Text(kTextDoNotClose), BS_AUTORADIOBUTTON);
    CheckRadioButton(wizard_.Handle(), kIdCloseAutomatically, kIdDoNotClose, kIdCloseAutomatically);
    wizard_.SetButtons(Text(kTextBack), Text(kTextInstall), Text(kTextCancel));
    wizard_.EnableButton(kIdBack, false);
    list();
    wizard_.onCommand = [&](int id, int) {
        if (id == kIdRetry) list();
    };
    for (;;) {
        WizardButton button = wizard_.WaitForButton();
        if (button == WizardButton::Cancel && ConfirmCancel()) return false;
        if (button != WizardButton::Next) continue;
        const bool close = IsDlgButtonChecked(wizard_.Handle(), kIdCloseAutomatically) == BST_CHECKED;
        wizard_.onCommand = nullptr;
        if (!close) {
            log_.Line("Programs in use are not closed: their files are replaced at the next restart");
            return true;
        }
        programs = ProgramsHolding(replaced);
        for (const ProgramInUse& p : programs) log_.Line("Closing " + p.name);
        if (!ClosePrograms(programs, 10000)) log_.Line("A program did not end");
        return true;
    }
}

int SetupScreens::InstallWithWizard(Installer& installer) {
    wizard_.BeginProgressPage(Text(kTextProgressTitle), Text(kTextProgressSubtitle, {product_}),
                              Text(kTextFolder, {installer.AppDir()}), Text(kTextBack), Text(kTextNext), Text(kTextCancel));
    installer.onProgress = [this](int permille, const std::string& text) { wizard_.SetProgress(permille, text); };
    wizard_.onCancel = [this, &installer] {
        if (options_.suppressBoxes || ConfirmCancel()) {
            wizard_.EnableButton(kIdCancel, false);
            installer.cancel = true;
        }
    };
    int result = wizard_.Run([&installer] {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        int code = installer.Install();
        CoUninitialize();
        return code;
    });
    wizard_.onCancel = nullptr;
    return result;
}

void SetupScreens::Finish(int result) {
    const ScreenSettings& s = script_.screens;
    reported_ = true;
    if (Succeeded(result)) {
        wizard_.BeginPage(true, Text(kTextFinishTitle, {product_}), std::string());
        wizard_.AddText(kIdBody, Text(result == kExitRestartRequired ? kTextRestartRequired : kTextFinishBody, {product_}));
        if (s.showViewReadme) {
            wizard_.AddChoice(kIdViewReadme, Text(kTextViewReadme), BS_AUTOCHECKBOX | WS_TABSTOP);
            CheckDlgButton(wizard_.Handle(), kIdViewReadme, s.viewReadmeChecked ? BST_CHECKED : BST_UNCHECKED);
        }
        if (s.showRunApplication) {
            wizard_.AddChoice(kIdRunApplication, Text(kTextRunApplication, {product_}), BS_AUTOCHECKBOX | WS_TABSTOP);
            CheckDlgButton(wizard_.Handle(), kIdRunApplication, s.runApplicationChecked ? BST_CHECKED : BST_UNCHECKED);
        }
    } else {
        bool cancelled = result == kExitCancelled;
        wizard_.BeginPage(true, Text(cancelled ? kTextInterruptedTitle : kTextFailedTitle), std::string());
        std::string body = cancelled ? Text(kTextCancelled) : Text(kTextFailed, {problem_});
        wizard_.AddText(kIdBody, body);
    }
    wizard_.SetButtons(Text(kTextBack), Text(kTextFinish), Text(kTextCancel));
    wizard_.EnableButton(kIdBack, false);
    wizard_.EnableButton(kIdCancel, false);
    if (wizard_.WaitForButton() != WizardButton::Next || !Succeeded(result)) return;
    bool viewReadme = s.showViewReadme && IsDlgButtonChecked(wizard_.Handle(), kIdViewReadme) == BST_CHECKED;
    bool runApplication = s.showRunApplication && IsDlgButtonChecked(wizard_.Handle(), kIdRunApplication) == BST_CHECKED;
    ShowWindow(wizard_.Handle(), SW_HIDE);
    const std::pair<bool, std::string> open[] = {{viewReadme, finishReadme_}, {runApplication, finishApplication_}};
    for (const auto& [wanted, path] : open) {
        if (!wanted || path.empty()) continue;
        std::string folder = FolderOf(path);
        log_.Line("Opening " + path);
        // Not with the installer's raised rights: the program, or the readme's viewer, would keep
        // them for as long as the user works in it.
        if (!OpenAsDesktopUser(path, folder))
            Message(Text(kTextCannotStart, {path}), MB_ICONEXCLAMATION);
    }
}

void SetupScreens::ResolveFinishFiles(const Installer& installer) {
    finishReadme_ = installer.Text(script_.screens.finishReadmePath);
    finishApplication_ = installer.Text(script_.screens.finishApplicationPath);
}
