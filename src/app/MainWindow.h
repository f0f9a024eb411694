#pragma once
// The builder's only top-level window: menu, toolbar, status bar and the editor host, the open
// project, and the commands that act on it. Menu bar, toolbar and accelerators are made from the
// command table, and every command's state comes from its row's state function.
#include <memory>
#include <string>
#include <vector>

#include "app/EditorServices.h"
#include "commands/CommandTable.h"
#include "commands/RecentProjects.h"
#include "commands/SetupPresence.h"
#include "editor/EditorHost.h"
#include "model/ProjectDocument.h"
#include "ui/DpiResources.h"
#include "ui/StatusBarControl.h"
#include "ui/Window.h"

class LanguageSets;

// The four bytes "qsp " (the project extension without its dot, then a blank) that mark the
// project path a second instance hands over.
constexpr ULONG_PTR kHandOverTag = 'q' | 's' << 8 | 'p' << 16 | ' ' << 24;

class MainWindow : public TopLevelWindow {
public:
    // `languages` gives the window and the pages their texts and new projects their titles, and
    // the Language menu switches it; it outlives the window. `instance` is the program's module,
    // `resources` the one that holds the dialog templates, icons and bitmaps.
    MainWindow(LanguageSets& languages, HINSTANCE instance, HINSTANCE resources);
    ~MainWindow() override;

    bool OnCreate() override;
    bool OnClose() override;
    void OnSize(int width, int height) override;
    void OnInitMenu(HMENU menu) override;
    void OnMenuSelect(UINT item, UINT flags, HMENU menu) override;
    bool OnCommand(UINT id, LPARAM extra) override;
    bool OnAppMessage(UINT message, LPARAM extra) override;
    bool OnNotify(int controlId, NMHDR* header, LRESULT& result) override;
    bool OnHelp(HELPINFO* info) override;
    void OnCopyData(COPYDATASTRUCT* data) override;
    void OnDpiChanged(UINT dpi, const RECT& suggested) override;

    // The menu bar and the accelerator table the command table makes, for the window's creation.
    HMENU MakeMenuBar() const;
    static HACCEL MakeAccelerators();
    // Puts the language's texts on the menu bar (the Language submenu is filled the first time).
    void ApplyMenuTexts();
    // The snapshot of the application that the commands' states are computed from. It asks the
    // disk at most once for each path of the built setup program.
    CommandState TakeCommandState();
    // Enables the toolbar buttons and the pages' buttons from one snapshot: once per idle pass,
    // and at once after an edit that changes a command's state.
    void UpdateCommandStates();
    SetupPresence& Setup() { return setupPresence_; }
    const RecentProjects& Recent() const { return recent_; }
    // Opens a project file after asking to save the open one; a file that cannot be read is
    // reported and leaves the open project as it was.
    bool OpenProject(const std::string& path);
    // Save Project: writes the project, asking for a name when it has none; true when written.
    bool SaveProject();

    ProjectDocument* Project() const { return project_.get(); }
    const LanguageSets& Texts() const { return texts_; }
    HINSTANCE ResourceInstance() const { return resources_; }
    // The split pages' shared splitter position, a whole percentage of the page width.
    int SplitPosition() const { return splitPosition_; }
    void SetSplitPosition(int percent) { splitPosition_ = percent; }
    StatusBarControl& StatusBar() { return statusBar_; }
    EditorHost& Editor() { return editorHost_; }
    HWND Toolbar() const { return toolbar_; }
    // The window's DPI and the message font at it, for the window's controls and the pages.
    WindowDpi Dpi() const { return dpi_; }
    HFONT Font() const { return font_.Handle(); }

private:
    bool CreateToolbar();
    // The toolbar's images at the window's DPI, in place of those it had.
    void SetToolbarImages();
    void FillLanguageMenu(HMENU menuBar);
    HMENU LanguageMenu() const;
    void RefreshTitle();
    void ShowStatus(const std::string& text);

    // Project commands; each answers whether it went through.
    bool AskToSave();
    bool NewProject();
    bool NewProjectFromWizard();
    bool AskAndOpenProject();
    bool OpenExample();
    void ReportReadFindings(const std::string& path, const std::vector<std::string>& findings);
    bool CloseProject();
    bool SaveProjectAs();
    void TellFormChange();
    void SwitchLanguage(UINT command);
    void SelectPage(int page);
    // The commands that the main window carries out itself.
    void RunAppCommand(UINT id);
    // The project is opened or saved at `path`: it goes to the top of the recent projects.
    void RememberProject(const std::string& path);
    void OpenRecentProject(size_t index);
    // The File menu's recent projects as the list holds them.
    void RefreshRecentMenu();
    void ShowDialogCommand(int result);
    std::unique_ptr<ProjectDocument> MakeProject();

    LanguageSets& texts_;
    HINSTANCE instance_;
    HINSTANCE resources_;
    int splitPosition_ = 30;
    WindowDpi dpi_;
    MessageFont font_;
    HWND toolbar_ = nullptr;
    // The toolbar's images, normal and greyed for disabled buttons; the toolbar does not own them.
    HIMAGELIST toolbarImages_ = nullptr;
    HIMAGELIST toolbarDisabledImages_ = nullptr;
    StatusBarControl statusBar_;
    EditorServices services_{*this};
    EditorHost editorHost_{services_};
    std::unique_ptr<ProjectDocument> project_;
    ProjectWizardData wizardAnswers_;
    bool languageMenuFilled_ = false;
    SetupPresence setupPresence_;
    RecentProjects recent_;
    // Whether the title shows the project's modified mark.
    bool titleShowsModified_ = false;
    // The text a tooltip asked for; it must outlive the notification.
    std::string tooltipText_;
    std::wstring tooltipWideText_;
};

// The window title for a project name ("Quillset - [name]", "Quillset - [name*]" while it holds
// unsaved changes), or the product name without one.
std::string MainWindowTitle(const ProjectDocument* project);
