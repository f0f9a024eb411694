#include "app/MainWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/Application.h"
#include "app/Help.h"
#include "app/Settings.h"
#include "core/Exception.h"
#include "core/Path.h"
#include "core/Text.h"
#include "lang/LanguageSets.h"
#include "app/BuildOptionsDialog.h"
#include "app/SmallDialogs.h"
#include "editor/NewProjectWizard.h"
#include "editor/MessageBox.h"
#include "model/WizardProject.h"
#include "platform/FileSystem.h"
#include "platform/AppMessages.h"
#include "platform/FolderScanner.h"
#include "resource.h"
#include "model/ProjectPaths.h"
#include "ui/Bitmaps.h"
#include "ui/FileChoosers.h"
#include "ui/MenuHelpers.h"

namespace {

// The menu bar's position of each menu.
constexpr int MenuPosition(Menu menu) { return static_cast<int>(menu) - 1; }
// The report of a save that could not write the project file.
constexpr const char* kCannotWriteProject = "Can't write data to project file";
constexpr Menu kMenus[kMenuCount] = {Menu::File, Menu::Edit,    Menu::View, Menu::Project,
                                     Menu::Build, Menu::Options, Menu::Help};

// The label or the hint of a toolbar button's tooltip; empty for a command without one.
std::string ToolbarText(const UiTextSource& texts, UINT command, bool hint) {
    const Command* row = FindCommand(command);
    if (!row || !row->tip) return std::string();
    return hint ? texts.UiHint(*row->tip) : texts.UiString(*row->tip);
}

KeyNames KeyNamesOf(const UiTextSource& texts) {
    KeyNames names;
    const TextKeySet& keys = TextKeys::kKeyNames;
    for (auto [name, number] : {std::pair{&names.control, 1050}, {&names.shift, 1051}, {&names.alt, 1052}}) {
        const std::string text = texts.UiString(keys.Key(number));
        if (!text.empty()) *name = text;
    }
    return names;
}

void SetMenuText(HMENU menu, UINT item, bool byPosition, const std::string& text) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(text.c_str());
    SetMenuItemInfoA(menu, item, byPosition, &info);
}


// Copies the folders and files below `source` into `target`, each folder made where it is missing.
bool CopyFolderTree(const std::string& source, const std::string& target) {
    FolderScanner scanner;
    if (!(platform::IsFolder(target) || platform::MakeFolder(target)) || !scanner.Start(source, true)) return false;
    bool copied = true;
    for (auto name = scanner.First(); name && copied; name = scanner.Next()) {
        const std::string relative = scanner.RelativeFolder();
        const std::string destination = JoinPath(relative.empty() ? target : JoinPath(target, relative), *name);
        copied = scanner.IsFolder() ? platform::IsFolder(destination) || platform::MakeFolder(destination)
                                    : platform::CopyFileTo(JoinPath(scanner.CurrentFolder(), *name), destination);
    }
    scanner.Finish();
    return copied;
}

}  // namespace

std::string MainWindowTitle(const ProjectDocument* project) {
    if (!project) return ProductName();
    char title[600];
    snprintf(title, sizeof title, "%s - [%s%s]", ProductName(), project->Title().c_str(),
             project->IsModified() ? "*" : "");
    return title;
}

MainWindow::MainWindow(LanguageSets& languages, HINSTANCE instance, HINSTANCE resources)
    : texts_(languages),
      instance_(instance),
      resources_(resources),
      setupPresence_([](const std::string& path) { return platform::IsFile(path); }) {
    ownsHandle_ = true;
}

HMENU MainWindow::MakeMenuBar() const {
    HMENU bar = CreateMenu();
    for (Menu menu : kMenus) {
        HMENU popup = CreatePopupMenu();
        int group = -1;
        for (const Command& command : Commands()) {
            // The recent projects come and go with the list, each time with a separator of their own.
            if (command.menu != menu || command.kind == Kind::RecentList) continue;
            if (group >= 0 && command.group != group) AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
            group = command.group;
            const std::string label = command.text ? texts_.UiString(*command.text) : std::string();
            if (command.kind == Kind::LanguageMenu)
                AppendMenuA(popup, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), label.c_str());
            else
                AppendMenuA(popup, MF_STRING, command.id, label.c_str());
        }
        AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                    texts_.UiString(MenuTitle(menu)).c_str());
    }
    return bar;
}

HACCEL MainWindow::MakeAccelerators() {
    std::vector<ACCEL> table;
    for (const Command& command : Commands())
        for (const Accelerator& key : command.keys) {
            if (!key.key) continue;
            BYTE flags = FVIRTKEY;
            if (key.modifiers & kControl) flags |= FCONTROL;
            if (key.modifiers & kShift) flags |= FSHIFT;
            if (key.modifiers & kAlt) flags |= FALT;
            table.push_back(ACCEL{flags, key.key, static_cast<WORD>(command.id)});
        }
    return CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
}

// The window goes while the children's objects still exist to receive their last messages.
MainWindow::~MainWindow() {
    if (HasWindow()) DestroyWindow(Handle());
    for (HIMAGELIST images : {toolbarImages_, toolbarDisabledImages_})
        if (images) ImageList_Destroy(images);
}

bool MainWindow::OnCreate() {
    dpi_ = WindowDpi::Of(Handle());
    font_.Make(dpi_);
    if (!statusBar_.Create(SBARS_SIZEGRIP | CCS_BOTTOM, ApplicationTitle(), Handle(), ID_STATUS_BAR)) return false;
    SetWindowFont(statusBar_.Handle(), font_.Handle());
    if (!CreateToolbar()) return false;
    if (!editorHost_.Create(Handle(), ID_EDITOR_HOST, instance_)) return false;
    ShowWindow(editorHost_.Handle(), SW_SHOW);
    if (project_) editorHost_.CreatePages();
    recent_ = RecentProjects(LoadRecentProjects());
    RefreshRecentMenu();
    // The first idle pass may come only after a dialog; the buttons must be right from the start.
    UpdateCommandStates();
    return true;
}

bool MainWindow::CreateToolbar() {
    toolbar_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | TBSTYLE_TOOLTIPS, 0, 0, 0, 0, Handle(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_TOOLBAR)), instance_, nullptr);
    if (!toolbar_) return false;
    SetWindowFont(toolbar_, font_.Handle());
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    while (SendMessageA(toolbar_, TB_DELETEBUTTON, 0, 0)) {
    }
    std::vector<TBBUTTON> buttons;
    buttons.push_back(TBBUTTON{dpi_.Scale(6), 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0});
    int image = 0;
    const Command* before = nullptr;
    for (const Command* command : ToolbarCommands()) {
        if (before && SeparatorBetween(*before, *command))
            buttons.push_back(TBBUTTON{dpi_.Scale(8), 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0});
        buttons.push_back(TBBUTTON{command->image, static_cast<int>(command->id), TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0});
        image = std::max(image, command->image + 1);
        before = command;
    }
    SetToolbarImages();
    SendMessageA(toolbar_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
    ShowWindow(toolbar_, SW_SHOW);
    return true;
}

void MainWindow::SetToolbarImages() {
    const int size = ImageSize(dpi_);
    const int bitmap = size == 16 ? IDB_TOOLBAR16 : size == 24 ? IDB_TOOLBAR24 : IDB_TOOLBAR32;
    HIMAGELIST images = nullptr, disabled = nullptr;
    LoadToolbarImages(resources_, bitmap, size, images, disabled);
    if (!images) return;
    SendMessageA(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    SendMessageA(toolbar_, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabled));
    for (HIMAGELIST old : {toolbarImages_, toolbarDisabledImages_})
        if (old) ImageList_Destroy(old);
    toolbarImages_ = images;
    toolbarDisabledImages_ = disabled;
    // The button's face around the image as at 96 DPI: 7 pixels wider and higher than it.
    SendMessageA(toolbar_, TB_SETBITMAPSIZE, 0, MAKELONG(size, size));
    SendMessageA(toolbar_, TB_SETBUTTONSIZE, 0, MAKELONG(size + dpi_.Scale(7), size + dpi_.Scale(7)));
}

// The fonts and images follow the new DPI first, so that the layout the new size brings
// measures them.
void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = WindowDpi(dpi);
    font_.Make(dpi_);
    SetWindowFont(toolbar_, font_.Handle());
    SetWindowFont(statusBar_.Handle(), font_.Handle());
    SetToolbarImages();
    SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
    editorHost_.DpiChanged();
    TopLevelWindow::OnDpiChanged(dpi, suggested);
    const SIZE client = GetClientSize(Handle());
    OnSize(client.cx, client.cy);
}

void MainWindow::OnSize(int width, int) {
    RECT toolbar{};
    GetWindowRect(toolbar_, &toolbar);
    const int toolbarHeight = toolbar.bottom - toolbar.top;
    if (toolbar.right - toolbar.left < width) SetWindowPos(toolbar_, nullptr, 0, 0, width, toolbarHeight, SWP_NOZORDER | SWP_NOMOVE);
    SendMessageA(statusBar_.Handle(), WM_SIZE, 0, 0);
    RECT status{};
    GetWindowRect(statusBar_.Handle(), &status);
    SIZE client = GetClientSize(Handle());
    const int statusTop = client.cy - (status.bottom - status.top);
    SetWindowPos(editorHost_.Handle(), nullptr, 0, toolbarHeight, width, std::max(0, statusTop - toolbarHeight),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The menu bar's items take their states, check marks and the names of Undo and Redo from one
// snapshot as the menu drops down.
void MainWindow::OnInitMenu(HMENU menu) {
    if (menu != GetMenu(Handle())) return;
    const CommandState state = TakeCommandState();
    const KeyNames keys = KeyNamesOf(texts_);
    for (const Command& command : Commands()) {
        if (command.menu == Menu::None || command.kind != Kind::Item) continue;
        EnableCommand(menu, command.id, IsEnabled(command, state));
        if (command.checked) CheckCommand(menu, command.id, IsChecked(command, state));
        if (!command.namedText) continue;
        const std::string& name = command.id == ID_EDIT_UNDO ? state.undoName : state.redoName;
        const bool named = command.id == ID_EDIT_UNDO ? state.canUndo : state.canRedo;
        const std::string label = named ? ReplaceFirstPlaceholder(texts_.UiString(*command.namedText), name)
                                        : texts_.UiString(*command.text);
        SetCommandText(menu, command.id, MenuLabel(label, command, keys));
    }
    if (HMENU languages = LanguageMenu()) {
        for (int position = 0; position < GetMenuItemCount(languages); ++position) {
            char text[MAX_PATH] = "";
            GetMenuStringA(languages, position, text, MAX_PATH, MF_BYPOSITION);
            const bool current = texts_.CurrentLanguage() == text;
            CheckMenuItem(languages, position, MF_BYPOSITION | (current ? MF_CHECKED : MF_UNCHECKED));
        }
    }
}

// The first submenu of the Options menu.
HMENU MainWindow::LanguageMenu() const {
    HMENU options = GetSubMenu(GetMenu(Handle()), MenuPosition(Menu::Options));
    if (!options) return nullptr;
    for (int position = 0; position < GetMenuItemCount(options); ++position)
        if (HMENU submenu = GetSubMenu(options, position)) return submenu;
    return nullptr;
}

void MainWindow::ShowStatus(const std::string& text) { statusBar_.SetText(text); }

void MainWindow::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    if ((flags == 0xFFFF && !menu) || (flags & MF_SYSMENU)) {
        ShowStatus(ApplicationTitle());
    } else if (flags & MF_POPUP) {
        HMENU submenu = GetSubMenu(menu, static_cast<int>(item));
        ShowStatus(submenu && submenu == LanguageMenu() ? texts_.UiHint(TextKeys::kLanguageMenu) : ApplicationTitle());
    } else if (item >= ID_LANGUAGE_FIRST && item <= ID_LANGUAGE_LAST) {
        ShowStatus(texts_.UiHint(TextKeys::kLanguageMenu));
    } else {
        const Command* command = FindCommand(item);
        ShowStatus(command && command->text ? texts_.UiHint(*command->text) : ApplicationTitle());
    }
}

void MainWindow::ApplyMenuTexts() {
    HMENU bar = GetMenu(Handle());
    if (!bar) return;
    const KeyNames keys = KeyNamesOf(texts_);
    for (Menu menu : kMenus) SetMenuText(bar, MenuPosition(menu), true, texts_.UiString(MenuTitle(menu)));
    for (const Command& command : Commands())
        if (command.menu != Menu::None && command.kind == Kind::Item && command.text)
            SetMenuText(bar, command.id, false, MenuLabel(texts_.UiString(*command.text), command, keys));
    if (HMENU options = GetSubMenu(bar, MenuPosition(Menu::Options)))
        for (int position = 0; position < GetMenuItemCount(options); ++position)
            if (GetSubMenu(options, position)) SetMenuText(options, position, true, texts_.UiString(TextKeys::kLanguageMenu));
    if (!languageMenuFilled_) FillLanguageMenu(bar);
    DrawMenuBar(Handle());
}

// Language names stay as they are in every language, so the submenu is filled only once.
void MainWindow::FillLanguageMenu(HMENU) {
    HMENU languages = LanguageMenu();
    if (!languages) return;
    const auto& names = texts_.BuilderLanguages();
    for (size_t index = 0; index < names.size() && index <= ID_LANGUAGE_LAST - ID_LANGUAGE_FIRST; ++index)
        AppendMenuA(languages, MF_STRING, ID_LANGUAGE_FIRST + index, names[index].c_str());
    languageMenuFilled_ = true;
}

CommandState MainWindow::TakeCommandState() {
    CommandState state;
    state.recentCount = static_cast<int>(recent_.Count());
    state.language = texts_.BuilderLanguageCount() == 0 ? -1 : 0;
    if (!project_) return state;
    state.project = true;
    state.modified = project_->IsModified();
    if (const ProjectEdit* undo = project_->Edits().NextUndo()) {
        state.canUndo = true;
        state.undoName = undo->Name();
    }
    if (const ProjectEdit* redo = project_->Edits().NextRedo()) {
        state.canRedo = true;
        state.redoName = redo->Name();
    }
    state.page = editorHost_.CurrentPage();
    const OutputSettings& output = project_->outputSettings;
    const std::string setup = BuiltSetupPath(project_->Path(), output.OutputFolder(), output.SetupFileName());
    state.outputSet = !setup.empty();
    state.setupBuilt = state.outputSet && setupPresence_.Exists(setup);
    state.pageAllows = editorHost_.ShownPageAllows();
    return state;
}

void MainWindow::UpdateCommandStates() {
    const CommandState state = TakeCommandState();
    for (const Command* command : ToolbarCommands()) {
        const bool wanted = IsEnabled(*command, state);
        const bool enabled = SendMessageA(toolbar_, TB_ISBUTTONENABLED, command->id, 0) != 0;
        if (enabled != wanted) SendMessageA(toolbar_, TB_ENABLEBUTTON, command->id, MAKELONG(wanted, 0));
    }
    for (const Command& command : Commands())
        if (command.pageButton) editorHost_.EnablePageControl(command.page, command.pageButton, IsEnabled(command, state));
    // A change made outside the edits (the wizard's project) marks the title too.
    if (project_ && project_->IsModified() != titleShowsModified_) RefreshTitle();
}

bool MainWindow::OnNotify(int, NMHDR* header, LRESULT&) {
    switch (header->code) {
    case TTN_GETDISPINFOA: {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        tooltipText_ = ToolbarText(texts_, static_cast<UINT>(header->idFrom), false);
        info->lpszText = const_cast<char*>(tooltipText_.c_str());
        return true;
    }
    case TTN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        std::string text = ToolbarText(texts_, static_cast<UINT>(header->idFrom), false);
        tooltipWideText_.assign(text.size() + 1, L'\0');
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, tooltipWideText_.data(), static_cast<int>(tooltipWideText_.size()));
        info->lpszText = tooltipWideText_.data();
        return true;
    }
    case TTN_SHOW:
        ShowStatus(ToolbarText(texts_, static_cast<UINT>(header->idFrom), true));
        return false;
    case TTN_POP:
        ShowStatus(ApplicationTitle());
        return false;
    default:
        return false;
    }
}

bool MainWindow::OnHelp(HELPINFO* info) {
    if (!editorHost_.OnHelp(info)) ShowHelp(Handle(), HELP_FINDER, 0);
    return true;
}

void MainWindow::OnCopyData(COPYDATASTRUCT* data) {
    if (!data || data->dwData != kHandOverTag || !data->lpData) return;
    const char* text = static_cast<const char*>(data->lpData);
    std::string path(text, strnlen(text, std::min<DWORD>(data->cbData, MAX_PATH)));
    OpenProject(path);
}

bool MainWindow::OnClose() {
    if (!AskToSave()) return false;
    ShowHelp(Handle(), HELP_QUIT, 0);
    SaveWindowPlacement(Handle());
    return true;
}

void MainWindow::ShowDialogCommand(int result) {
    if (result > 0) PostMessageA(Handle(), WM_COMMAND, static_cast<WPARAM>(result), 0);
}

void MainWindow::SelectPage(int page) {
    editorHost_.ShowPage(page);
}

bool MainWindow::OnCommand(UINT id, LPARAM) {
    switch (id) {
    case CMD_NOTHING: return true;
    case CMD_ABOUT: ShowDialogCommand(RunAboutDialog(Handle(), resources_, texts_)); return true;
    case CMD_WELCOME: ShowDialogCommand(RunWelcomeDialog(Handle(), resources_, texts_)); return true;
    case CMD_WIZARD_STEP1:
    case CMD_WIZARD_STEP2:
    case CMD_WIZARD_STEP3:
    case CMD_WIZARD_STEP4:
        ShowDialogCommand(RunWizardPage(id, Handle(), resources_, texts_, wizardAnswers_));
        return true;
    case CMD_NEW_FROM_WIZARD: NewProjectFromWizard(); return true;
    case CMD_NEW_PROJECT: NewProject(); return true;
    case CMD_OPEN_PROJECT: AskAndOpenProject(); return true;
    case CMD_OPEN_EXAMPLE: OpenExample(); return true;
    case CMD_CLOSE_PROJECT: CloseProject(); return true;
    case CMD_SAVE_PROJECT: SaveProject(); return true;
    case CMD_SAVE_PROJECT_AS: SaveProjectAs(); return true;
    case CMD_EXIT: PostMessageA(Handle(), WM_CLOSE, 0, 0); return true;
    default: break;
    }
    const Command* command = FindCommand(id);
    if (!command) return false;
    // A page's command acts on its page, which comes into view first; whether it can act is
    // asked of the page shown then. A command that cannot act now (a key pressed, a button not
    // yet greyed) is taken and ignored.
    if (command->route == Route::Page) SelectPage(command->page);
    if (!IsEnabled(*command, TakeCommandState())) return true;
    switch (command->route) {
    case Route::ShowPage: SelectPage(command->page); break;
    case Route::Page: editorHost_.RunPageCommand(command->page, id); break;
    case Route::ShownListPage: editorHost_.RunPageCommand(kShownListPage, id); break;
    case Route::App: RunAppCommand(id); break;
    }
    return true;
}

void MainWindow::RunAppCommand(UINT id) {
    auto post = [this](UINT command) { PostMessageA(Handle(), WM_COMMAND, command, 0); };
    switch (id) {
    case ID_FILE_NEW: post(CMD_NEW_PROJECT); return;
    case ID_FILE_WIZARD: post(CMD_WIZARD_STEP1); return;
    case ID_FILE_OPEN: post(CMD_OPEN_PROJECT); return;
    case ID_FILE_CLOSE: post(CMD_CLOSE_PROJECT); return;
    case ID_FILE_SAVE: post(CMD_SAVE_PROJECT); return;
    case ID_FILE_SAVE_AS: post(CMD_SAVE_PROJECT_AS); return;
    case ID_FILE_EXIT: post(CMD_EXIT); return;
    case ID_EDIT_UNDO: project_->Undo(); return;
    case ID_EDIT_REDO: project_->Redo(); return;
    case ID_VIEW_REFRESH: editorHost_.RefreshFromDisk(); return;
    case ID_VIEW_NEXT_PAGE:
    case ID_VIEW_PREVIOUS_PAGE:
        SelectPage(NextPage(editorHost_.CurrentPage(), id == ID_VIEW_NEXT_PAGE ? 1 : -1));
        editorHost_.FocusTabs();
        return;
    case ID_HELP_ABOUT: post(CMD_ABOUT); return;
    case ID_OPTIONS_BUILD: RunBuildOptionsDialog(Handle(), resources_, texts_); return;
    case ID_HELP_TOPICS: ShowHelp(Handle(), HELP_FINDER, 0); return;
    case ID_HELP_WEB: ShellExecuteA(Handle(), "open", kProductWebAddress, nullptr, nullptr, SW_SHOWNORMAL); return;
    default: break;
    }
    if (id >= ID_LANGUAGE_FIRST && id <= ID_LANGUAGE_LAST) SwitchLanguage(id);
    if (id >= ID_RECENT_FIRST && id <= ID_RECENT_LAST) OpenRecentProject(id - ID_RECENT_FIRST);
}

void MainWindow::RememberProject(const std::string& path) {
    recent_.Add(path);
    SaveRecentProjects(recent_.Paths());
    RefreshRecentMenu();
}

// A project that is no longer there is named, and the user decides whether it leaves the list.
void MainWindow::OpenRecentProject(size_t index) {
    if (index >= recent_.Count()) return;
    const std::string path = recent_.Paths()[index];
    if (!platform::IsFile(path)) {
        const std::string text = ReplaceFirstPlaceholder(texts_.UiText(TextKeys::kRecentProjects.Key(834)), path);
        if (ShowMessage(Handle(), text, texts_, MessageKind::Question)) {
            recent_.Remove(path);
            SaveRecentProjects(recent_.Paths());
            RefreshRecentMenu();
        }
        return;
    }
    OpenProject(path);
}

void MainWindow::RefreshRecentMenu() {
    HMENU file = GetSubMenu(GetMenu(Handle()), MenuPosition(Menu::File));
    if (!file) return;
    for (UINT id = ID_RECENT_FIRST; id <= ID_RECENT_SEPARATOR; ++id) DeleteMenu(file, id, MF_BYCOMMAND);
    const std::vector<std::string>& paths = recent_.Paths();
    for (size_t index = 0; index < paths.size(); ++index)
        InsertMenuA(file, ID_FILE_EXIT, MF_BYCOMMAND | MF_STRING, ID_RECENT_FIRST + index,
                    RecentProjectLabel(index, paths[index]).c_str());
    if (!paths.empty()) InsertMenuA(file, ID_FILE_EXIT, MF_BYCOMMAND | MF_SEPARATOR, ID_RECENT_SEPARATOR, nullptr);
    DrawMenuBar(Handle());
}

bool MainWindow::OnAppMessage(UINT message, LPARAM extra) {
    if (message != app_messages::kSplitPosition) return false;
    editorHost_.SetSplitPosition(static_cast<int>(extra));
    return true;
}

void MainWindow::RefreshTitle() {
    titleShowsModified_ = project_ && project_->IsModified();
    SetWindowTextA(Handle(), MainWindowTitle(project_.get()).c_str());
}

std::unique_ptr<ProjectDocument> MainWindow::MakeProject() {
    auto project = std::make_unique<ProjectDocument>(texts_);
    project->SetTitleListener([this] { RefreshTitle(); });
    project->SetChangeListener([this](const ProjectChange& change) {
        editorHost_.ProjectChanged(change);
        RefreshTitle();
    });
    return project;
}

bool MainWindow::AskToSave() {
    if (!project_ || !project_->IsModified()) return true;
    switch (RunWantToSaveDialog(Handle(), resources_, texts_, project_->Title())) {
    case CMD_SAVE_YES: return SaveProject();
    case CMD_SAVE_NO: project_->SetModifiedFlag(false); return true;
    default: return false;
    }
}

bool MainWindow::NewProject() {
    if (project_) {
        if (!AskToSave()) return false;
    } else {
        project_ = MakeProject();
    }
    editorHost_.ProjectClosed();
    setupPresence_.Forget();
    project_->New();
    editorHost_.ProjectOpened();
    RefreshTitle();
    return true;
}

// The same project `qsbuild --new` writes for the same answers. The user hears why the product
// folder gave no files, if it gave none: a project without files is rarely what was meant.
bool MainWindow::NewProjectFromWizard() {
    if (!AskToSave()) return false;
    if (!project_) project_ = MakeProject();
    editorHost_.ProjectClosed();
    HCURSOR cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const WizardFiles added = CreateWizardProject(*project_, wizardAnswers_);
    SetCursor(cursor);
    editorHost_.ProjectOpened();
    RefreshTitle();
    ReportWizardFiles(Handle(), texts_, wizardAnswers_, added);
    return true;
}

bool MainWindow::AskAndOpenProject() {
    char path[MAX_PATH] = "";
    if (!ChooseFileToOpen(path, MAX_PATH, nullptr, Handle(),
                          "Quillset Project files (*.qsp)\0*.qsp\0All files (*.*)\0*.*\0", "qsp", false, nullptr))
        return false;
    return OpenProject(path);
}

// The example opens from a copy in the user's Documents, made the first time: the program folder
// of an installation for all users takes no build output, and the user's changes stay the user's.
// Where no copy can be made, the installed example opens as it is.
bool MainWindow::OpenExample() {
    const std::string documents = DocumentsFolder();
    const std::string examples = JoinPath(documents, "Quillset Examples");
    const std::string copy = JoinPath(JoinPath(examples, "Demo"), "Demo.qsp");
    const bool copied = !documents.empty() && (platform::IsFolder(examples) || platform::MakeFolder(examples)) &&
                        (platform::IsFile(copy) || CopyFolderTree(FolderOf(ExampleProject()), FolderOf(copy)));
    return OpenProject(copied ? copy : ExampleProject());
}

// The file is read into a document of its own first: a file that cannot be read leaves the open
// project (and the file it came from) untouched, never a cleared project that saving would
// write over the old file.
bool MainWindow::OpenProject(const std::string& path) {
    if (!AskToSave()) return false;
    auto opened = MakeProject();
    const std::string cannotOpen = ReplaceFirstPlaceholder(texts_.UiText(TextKeys::kCannotOpenProject), path);
    try {
        opened->Open(path);
    } catch (const FileException&) {
        ShowMessage(Handle(), cannotOpen, texts_, MessageKind::Warning);
        return false;
    } catch (const ProjectFormatException& e) {
        ShowMessage(Handle(), cannotOpen + "\n\n" + e.Text(), texts_, MessageKind::Warning);
        return false;
    }
    ReportReadFindings(path, opened->ReadFindings());
    editorHost_.ProjectClosed();
    setupPresence_.Forget();
    project_ = std::move(opened);
    editorHost_.ProjectOpened();
    RefreshTitle();
    RememberProject(project_->Path());
    return true;
}

// All that the file held and the project could not read, in one message before the project
// shows: the user learns what saving it would leave out.
void MainWindow::ReportReadFindings(const std::string& path, const std::vector<std::string>& findings) {
    if (findings.empty()) return;
    std::string text = ReplaceFirstPlaceholder(texts_.UiText(TextKeys::kProjectReadFindings), path) + "\n";
    for (const std::string& finding : findings) text += "\n" + finding;
    ShowMessage(Handle(), text, texts_, MessageKind::Warning);
}

bool MainWindow::CloseProject() {
    if (!project_) return true;
    if (!AskToSave()) return false;
    editorHost_.ProjectClosed();
    setupPresence_.Forget();
    project_.reset();
    RefreshTitle();
    editorHost_.SetPageIndex(0);
    return true;
}

bool MainWindow::SaveProject() {
    if (!project_) return true;
    if (project_->Path().empty()) return SaveProjectAs();
    try {
        project_->Save();
        TellFormChange();
        return true;
    } catch (const FileException&) {
        ShowMessage(Handle(), kCannotWriteProject, "Error", MessageKind::Error);
        return false;
    }
}

bool MainWindow::SaveProjectAs() {
    if (!project_) return true;
    // The project's own folder, or the user's Documents for a project never saved: not wherever
    // the process happens to stand.
    const std::string& current = project_->Path();
    const std::string folder = current.empty() ? DocumentsFolder() : FolderOf(current);
    char path[MAX_PATH] = "";
    if (!ChooseFileToSave(path, MAX_PATH, folder.empty() ? nullptr : folder.c_str(), NameOf(current), Handle(),
                          "Quillset Project files (*.qsp)\0*.qsp\0All files (*.*)\0*.*\0", "qsp"))
        return false;
    try {
        project_->SaveAs(path);
        TellFormChange();
        RememberProject(project_->Path());
        return true;
    } catch (const FileException&) {
        ShowMessage(Handle(), kCannotWriteProject, "Error", MessageKind::Error);
        return false;
    }
}

// A project of the code-page form is told once that it is UTF-8 text from now on.
void MainWindow::TellFormChange() {
    if (!project_->TakeFormChange()) return;
    ShowMessage(Handle(), ReplaceFirstPlaceholder(texts_.UiText(TextKeys::kSavedAsUtf8), project_->Path()), texts_,
                MessageKind::Information);
}

void MainWindow::SwitchLanguage(UINT command) {
    char name[MAX_PATH] = "";
    GetMenuStringA(LanguageMenu(), command, name, MAX_PATH, MF_BYCOMMAND);
    if (!texts_.SetLanguage(name)) return;
    ApplyMenuTexts();
    ShowStatus(ApplicationTitle());
    if (project_) {
        editorHost_.ProjectClosed();
        editorHost_.ProjectOpened();
        RefreshTitle();
    }
}
