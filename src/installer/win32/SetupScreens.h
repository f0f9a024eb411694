#pragma once
// The interactive installation: the screens that setup.ini switches on, in their order, around
// the installation engine. Nothing is changed on the computer before the user confirms the
// last screen before the progress; Cancel up to there leaves everything as it was.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "package/ActivityLog.h"
#include "package/CommandLine.h"
#include "package/SetupScript.h"
#include "installer/SetupTexts.h"
#include "installer/win32/BackgroundWindows.h"
#include "installer/win32/Installer.h"
#include "installer/win32/Wizard.h"

class SetupScreens {
public:
    // With `askScope` the scope screen comes before the folder screen, all users preselected;
    // otherwise the options' scope holds.
    SetupScreens(const SetupScript& script, SetupTexts& texts, const InstallerOptions& options, ActivityLog& log,
                 const std::string& setupDir, bool askScope = false);

    // Replaces `texts` by those of the named language; false when its file cannot be read.
    std::function<bool(const std::string&)> switchLanguage;
    // Takes the product's lock of a scope (giving up that of the other): kExitDone when held,
    // else kExitCancelled or kExitBusy. Asked once the scope is chosen, and again before installing.
    std::function<int(InstallScope)> lockScope;
    // Gives the lock up for a run started again with rights, which takes it itself.
    std::function<void()> releaseLock;

    // Runs the screens around `probe`, an installer prepared with the script's defaults, and
    // returns the exit code.
    int Run(Installer& probe);
    // What went wrong, for an exit code other than success.
    const std::string& Problem() const { return problem_; }
    // Whether the outcome was shown on the finish screen already.
    bool Reported() const { return reported_; }
    const std::string& Caption() const { return caption_; }

private:
    enum Page { Welcome, License, Readme, UserInfo, Scope, Folder, Group, Start };

    bool Shows(ScreenSettings::Screen screen) const { return script_.screens.shows[screen]; }
    std::string Text(int id, const std::vector<std::string>& arguments = {}) const { return texts_.Get(id, arguments); }
    HWND Owner() const;
    void ShowBackground();
    // False when the user cancels.
    bool ChooseSetupLanguage();
    bool RunPages();
    void ShowPage(Page page);
    void ShowTextPage(int title, int subtitle, int id, const std::string& path);
    void ShowScopePage();
    // Takes the scope chosen: plans again for its folders; for all users without rights, runs
    // this installer again with them. False keeps the user on the scope screen.
    bool ChooseScope();
    // Whether the current user's installation is possible; else `scopeProblem_` says why.
    void ProbeCurrentUser();
    // The shield on Next while the choice on the scope screen asks for administrator rights.
    void ShowScopeShield();
    // The arguments of this run started again with rights, with the answers given so far.
    std::string RestartArguments() const;
    void ShowFolderPage();
    void ShowGroupPage();
    void ShowStartPage();
    void UpdateSpace();
    std::string EarlierInstallationText(const std::string& folder) const;
    // Takes the page's fields into the choices; Check refuses what cannot be installed.
    void Keep(Page page);
    bool Check(Page page);
    bool FolderHasRoom(const std::string& folder);
    bool ConfirmCancel();
    // The engine's questions as message boxes in front of `owner` (else the current screen).
    std::function<bool(const std::string&, bool)> Questions(HWND owner) const;
    void Message(const std::string& text, UINT type) const;
    int Install();
    int InstallWithWizard(Installer& installer);
    // The programs that hold files to replace, listed until none is left, the user lets them
    // be closed or chooses a restart; false when the user cancels.
    bool ClearProgramsInUse(Installer& installer);
    void Finish(int result);
    // The finish screen's readme and program, resolved for the folder installed into.
    void ResolveFinishFiles(const Installer& installer);

    const SetupScript& script_;
    SetupTexts& texts_;
    InstallerOptions options_;
    ActivityLog& log_;
    std::string setupDir_;
    Installer* probe_ = nullptr;
    std::unique_ptr<Installer> scopeProbe_;  // the probe of the scope chosen on the scope screen
    std::string language_;                   // the language chosen on the language screen
    std::string scopeProblem_;               // why the current user cannot be chosen; empty when possible
    bool askScope_ = false;                  // the user chooses the scope on its screen
    bool elevatedRunDone_ = false;           // the installer ran again with rights: its result is ours
    int elevatedResult_ = 0;
    SetupWindow background_;
    Wizard wizard_;
    bool hasWizard_ = false;
    std::vector<Page> pages_;
    std::string caption_, product_, problem_;
    bool reported_ = false;
    // The choices, kept while the user goes back and forth.
    bool accepted_ = false;
    std::string folder_, group_, userName_, company_;
    std::string finishReadme_, finishApplication_;
};
