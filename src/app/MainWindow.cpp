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
#include "app/BuildOptionsDialog.h"
#include "app/SmallDialogs.h"
#include "editor/NewProjectWizard.h"
#include "model/WizardProject.h"
#include "platform/FileSystem.h"
#include "platform/FolderScanner.h"
#include "resource.h"
#include "ui/Bitmaps.h"
#include "ui/FileChoosers.h"

namespace {

struct TextOfCommand {
    UINT command;
    TextKey text;
};

constexpr TextKey Menu(int number) { return TextKeys::kMenuItems.Key(number); }
constexpr TextKey Tip(int number) { return TextKeys::kToolbarTips.Key(number); }

// The numbered texts of the menu items.
constexpr TextOfCommand kMenuTexts[] = {
    {ID_FILE_NEW, Menu(1020)}, {ID_FILE_WIZARD, Menu(1021)}, {ID_FILE_OPEN, Menu(1022)},
    {ID_FILE_CLOSE, Menu(1023)}, {ID_FILE_SAVE, Menu(1024)}, {ID_FILE_SAVE_AS, Menu(1025)}, {ID_FILE_EXIT, Menu(1026)},
    {ID_EDIT_UNDO, TextKeys::kUndoRedoMenu[0]}, {ID_EDIT_REDO, TextKeys::kUndoRedoMenu[1]},
    {ID_PROJECT_GENERAL_INFO, Menu(1060)}, {ID_PROJECT_SETUP_INFO, Menu(1061)},
    {ID_PROJECT_REQUIREMENTS, Menu(1062)}, {ID_PROJECT_FILES, Menu(1063)}, {ID_PROJECT_SHORTCUTS, Menu(1064)},
    {ID_PROJECT_REGISTRY, Menu(1065)}, {ID_PROJECT_FILE_TYPES, Menu(1066)}, {ID_PROJECT_DIALOGS, Menu(1067)},
    {ID_PROJECT_CREATE_SETUP, Menu(1068)}, {ID_BUILD_SETUP, Menu(1080)}, {ID_TEST_RUN, Menu(1081)},
    {ID_OPTIONS_BUILD, Menu(1101)},
    {ID_HELP_TOPICS, Menu(1120)}, {ID_HELP_WEB, Menu(1121)}, {ID_HELP_ABOUT, Menu(1123)},
};
constexpr int kMenuBarItems = 6;
constexpr int kOptionsMenu = 4;

// The toolbar's buttons in order (0 is a separator) and the numbered texts of their tooltips.
constexpr UINT kToolbarButtons[] = {
    ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_FILE_WIZARD, 0, ID_NEW_FOLDER, ID_INSERT_FILES,
    ID_NEW_SHORTCUT_FOLDER, ID_NEW_SHORTCUT, ID_NEW_INTERNET_SHORTCUT, ID_NEW_KEY, ID_NEW_STRING,
    ID_NEW_BINARY, ID_NEW_DWORD, ID_NEW_FILE_ASSOCIATION, ID_DELETE, ID_PROPERTIES, 0, ID_BUILD_SETUP,
    ID_TEST_RUN, 0, ID_HELP_WEB, 0, ID_HELP_TOPICS, ID_HELP_ABOUT,
};
constexpr TextOfCommand kToolbarTexts[] = {
    {ID_FILE_NEW, Tip(800)}, {ID_FILE_OPEN, Tip(801)}, {ID_FILE_SAVE, Tip(802)}, {ID_FILE_WIZARD, Tip(803)},
    {ID_NEW_FOLDER, Tip(804)}, {ID_INSERT_FILES, Tip(805)}, {ID_NEW_SHORTCUT_FOLDER, Tip(806)},
    {ID_NEW_SHORTCUT, Tip(807)}, {ID_NEW_INTERNET_SHORTCUT, Tip(808)}, {ID_NEW_KEY, Tip(809)},
    {ID_NEW_STRING, Tip(810)}, {ID_NEW_BINARY, Tip(811)}, {ID_NEW_DWORD, Tip(812)}, {ID_BUILD_SETUP, Tip(813)},
    {ID_TEST_RUN, Tip(814)}, {ID_DELETE, Tip(815)}, {ID_PROPERTIES, Tip(816)}, {ID_HELP_WEB, Tip(818)},
    {ID_HELP_TOPICS, Tip(819)}, {ID_HELP_ABOUT, Tip(820)}, {ID_NEW_FILE_ASSOCIATION, Tip(821)},
    {ID_EDIT_UNDO, Tip(822)}, {ID_EDIT_REDO, Tip(823)},
};
// The buttons whose state the page shown decides.
constexpr UINT kPageButtons[] = {
    ID_NEW_FOLDER, ID_INSERT_FILES, ID_NEW_SHORTCUT_FOLDER, ID_NEW_SHORTCUT, ID_NEW_INTERNET_SHORTCUT,
    ID_NEW_KEY, ID_NEW_STRING, ID_NEW_BINARY, ID_NEW_DWORD, ID_NEW_FILE_ASSOCIATION, ID_DELETE,
    ID_PROPERTIES, ID_BUILD_SETUP, ID_TEST_RUN,
};

template <size_t N>
const TextKey* TextOf(const TextOfCommand (&table)[N], UINT command) {
    for (const TextOfCommand& entry : table)
        if (entry.command == command) return &entry.text;
    return nullptr;
}

// The label or the hint of a toolbar button's tooltip; empty for a command without one.
std::string ToolbarText(UINT command, bool hint) {
    const TextKey* text = TextOf(kToolbarTexts, command);
    return !text ? std::string() : hint ? UiHint(*text) : UiString(*text);
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

MainWindow::MainWindow(const UiTextSource& texts) : texts_(texts) { ownsHandle_ = true; }

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
    if (!editorHost_.Create(Handle(), ID_EDITOR_HOST, Instance())) return false;
    ShowWindow(editorHost_.Handle(), SW_SHOW);
    if (project_) editorHost_.CreatePages();
    // The first idle pass may come only after a dialog; the buttons must be right from the start.
    UpdateToolbarStates();
    return true;
}

bool MainWindow::CreateToolbar() {
    toolbar_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | TBSTYLE_TOOLTIPS, 0, 0, 0, 0, Handle(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_TOOLBAR)), Instance(), nullptr);
    if (!toolbar_) return false;
    SetWindowFont(toolbar_, font_.Handle());
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    while (SendMessageA(toolbar_, TB_DELETEBUTTON, 0, 0)) {
    }
    std::vector<TBBUTTON> buttons;
    buttons.push_back(TBBUTTON{dpi_.Scale(6), 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0});
    int image = 0;
    for (UINT command : kToolbarButtons) {
        if (command == 0)
            buttons.push_back(TBBUTTON{dpi_.Scale(8), 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0});
        else
            buttons.push_back(TBBUTTON{image++, static_cast<int>(command), TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0});
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
    LoadToolbarImages(ResourceInstance(), bitmap, size, images, disabled);
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

void MainWindow::OnInitMenu(HMENU menu) {
    if (menu == GetMenu(Handle())) editorHost_.OnInitMenu(menu);
}

HMENU MainWindow::LanguageMenu() const {
    HMENU options = GetSubMenu(GetMenu(Handle()), kOptionsMenu);
    return options ? GetSubMenu(options, 0) : nullptr;
}

void MainWindow::ShowStatus(const std::string& text) { statusBar_.SetText(text); }

void MainWindow::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    if ((flags == 0xFFFF && !menu) || (flags & MF_SYSMENU)) {
        ShowStatus(ApplicationTitle());
    } else if (flags & MF_POPUP) {
        HMENU submenu = GetSubMenu(menu, static_cast<int>(item));
        ShowStatus(submenu && submenu == LanguageMenu() ? UiHint(TextKeys::kLanguageMenu) : ApplicationTitle());
    } else if (item >= ID_LANGUAGE_FIRST && item <= ID_LANGUAGE_LAST) {
        ShowStatus(UiHint(TextKeys::kLanguageMenu));
    } else {
        const TextKey* text = TextOf(kMenuTexts, item);
        ShowStatus(text ? UiHint(*text) : ApplicationTitle());
    }
}

void MainWindow::ApplyMenuTexts() {
    HMENU bar = GetMenu(Handle());
    if (!bar) return;
    for (int position = 0; position < kMenuBarItems; ++position)
        SetMenuText(bar, position, true, UiString(TextKeys::kMenuBarTitles[position]));
    for (const TextOfCommand& entry : kMenuTexts) SetMenuText(bar, entry.command, false, UiString(entry.text));
    if (HMENU options = GetSubMenu(bar, kOptionsMenu)) SetMenuText(options, 0, true, UiString(TextKeys::kLanguageMenu));
    if (!languageMenuFilled_) FillLanguageMenu(bar);
    DrawMenuBar(Handle());
}

// Language names stay as they are in every language, so the submenu is filled only once.
void MainWindow::FillLanguageMenu(HMENU) {
    HMENU languages = LanguageMenu();
    if (!languages) return;
    const auto& names = TheApplication().Texts().BuilderLanguages();
    for (size_t index = 0; index < names.size() && index <= ID_LANGUAGE_LAST - ID_LANGUAGE_FIRST; ++index)
        InsertMenuA(languages, static_cast<UINT>(index), MF_BYPOSITION | MF_STRING,
                    ID_LANGUAGE_FIRST + index, names[index].c_str());
    DeleteMenu(languages, ID_LANGUAGE_PLACEHOLDER, MF_BYCOMMAND);
    languageMenuFilled_ = true;
}

void MainWindow::UpdateToolbarStates() {
    auto setState = [this](UINT command, bool wanted) {
        bool enabled = SendMessageA(toolbar_, TB_ISBUTTONENABLED, command, 0) != 0;
        if (enabled != wanted) SendMessageA(toolbar_, TB_ENABLEBUTTON, command, MAKELONG(wanted, 0));
    };
    setState(ID_FILE_SAVE, project_ && project_->IsModified());
    setState(ID_EDIT_UNDO, project_ && project_->Edits().CanUndo());
    setState(ID_EDIT_REDO, project_ && project_->Edits().CanRedo());
    // A change made outside the edits (the wizard's project) marks the title too.
    if (project_ && project_->IsModified() != titleShowsModified_) RefreshTitle();
    for (UINT command : kPageButtons) setState(command, project_ && editorHost_.IsCommandEnabled(command));
}

bool MainWindow::OnNotify(int, NMHDR* header, LRESULT&) {
    switch (header->code) {
    case TTN_GETDISPINFOA: {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        tooltipText_ = ToolbarText(static_cast<UINT>(header->idFrom), false);
        info->lpszText = const_cast<char*>(tooltipText_.c_str());
        return true;
    }
    case TTN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        std::string text = ToolbarText(static_cast<UINT>(header->idFrom), false);
        tooltipWideText_.assign(text.size() + 1, L'\0');
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, tooltipWideText_.data(), static_cast<int>(tooltipWideText_.size()));
        info->lpszText = tooltipWideText_.data();
        return true;
    }
    case TTN_SHOW:
        ShowStatus(ToolbarText(static_cast<UINT>(header->idFrom), true));
        return false;
    case TTN_POP:
        ShowStatus(ApplicationTitle());
        return false;
    default:
        return false;
    }
}

bool MainWindow::OnHelp(HELPINFO* info) {
    if (!editorHost_.OnHelp(info)) ShowHelp(HELP_FINDER, 0);
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
    ShowHelp(HELP_QUIT, 0);
    SaveWindowPlacement();
    return true;
}

void MainWindow::ShowDialogCommand(int result) {
    if (result > 0) PostMessageA(Handle(), WM_COMMAND, static_cast<WPARAM>(result), 0);
}

void MainWindow::SelectPage(int page) {
    editorHost_.ShowPage(page);
}

bool MainWindow::OnCommand(UINT id, LPARAM extra) {
    auto post = [this](UINT command) { PostMessageA(Handle(), WM_COMMAND, command, 0); };
    switch (id) {
    case CMD_NOTHING: return true;
    case CMD_SPLIT_POSITION: editorHost_.SetSplitPosition(static_cast<int>(extra)); return true;
    case CMD_ABOUT: ShowDialogCommand(RunAboutDialog(Handle())); return true;
    case CMD_WELCOME: ShowDialogCommand(RunWelcomeDialog(Handle())); return true;
    case CMD_WIZARD_STEP1:
    case CMD_WIZARD_STEP2:
    case CMD_WIZARD_STEP3:
    case CMD_WIZARD_STEP4:
        ShowDialogCommand(RunWizardPage(id, Handle(), ResourceInstance(), TheApplication().Texts(), wizardAnswers_));
        return true;
    case CMD_NEW_FROM_WIZARD: NewProjectFromWizard(); return true;
    case CMD_NEW_PROJECT: NewProject(); return true;
    case CMD_OPEN_PROJECT: AskAndOpenProject(); return true;
    case CMD_OPEN_EXAMPLE: OpenExample(); return true;
    case CMD_CLOSE_PROJECT: CloseProject(); return true;
    case CMD_SAVE_PROJECT: SaveProject(); return true;
    case CMD_SAVE_PROJECT_AS: SaveProjectAs(); return true;
    case CMD_EXIT: PostMessageA(Handle(), WM_CLOSE, 0, 0); return true;
    case ID_FILE_NEW: post(CMD_NEW_PROJECT); return true;
    case ID_FILE_WIZARD: post(CMD_WIZARD_STEP1); return true;
    case ID_FILE_OPEN: post(CMD_OPEN_PROJECT); return true;
    case ID_FILE_CLOSE: post(CMD_CLOSE_PROJECT); return true;
    case ID_FILE_SAVE: post(CMD_SAVE_PROJECT); return true;
    case ID_FILE_SAVE_AS: post(CMD_SAVE_PROJECT_AS); return true;
    case ID_FILE_EXIT: post(CMD_EXIT); return true;
    case ID_HELP_ABOUT: post(CMD_ABOUT); return true;
    case ID_OPTIONS_BUILD: RunBuildOptionsDialog(Handle()); return true;
    case ID_HELP_TOPICS: ShowHelp(HELP_FINDER, 0); return true;
    case ID_HELP_WEB:
        ShellExecuteA(Handle(), "open", kProductWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
        return true;
    case ID_BUILD_SETUP:
    case ID_TEST_RUN:
        SelectPage(ViewWindow::CreateSetup);
        return editorHost_.OnCommand(id, extra);
    case ID_PROPERTIES: case ID_INSERT_FILES: case ID_NEW_FOLDER: case ID_NEW_KEY: case ID_NEW_STRING:
    case ID_NEW_BINARY: case ID_NEW_DWORD: case ID_NEW_SHORTCUT: case ID_NEW_INTERNET_SHORTCUT:
    case ID_NEW_SHORTCUT_FOLDER: case ID_DELETE: case ID_NEW_FILE_ASSOCIATION:
    case ID_EDIT_UNDO: case ID_EDIT_REDO:
        return editorHost_.OnCommand(id, extra);
    default:
        break;
    }
    if (int page = PageOfCommand(id); page >= 0) {
        SelectPage(page);
        return true;
    }
    if (id >= ID_LANGUAGE_FIRST && id <= ID_LANGUAGE_LAST) {
        SwitchLanguage(id);
        return true;
    }
    return false;
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
    switch (RunWantToSaveDialog(Handle(), project_->Title())) {
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
    ReportWizardFiles(Handle(), TheApplication().Texts(), wizardAnswers_, added);
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
    const std::string cannotOpen = ReplaceFirstPlaceholder(UiText(TextKeys::kCannotOpenProject), path);
    try {
        opened->Open(path);
    } catch (const FileException&) {
        MessageBoxA(Handle(), cannotOpen.c_str(), UiText(TextKeys::kMessageCaption).c_str(), MB_OK | MB_ICONWARNING);
        return false;
    } catch (const ProjectFormatException& e) {
        MessageBoxA(Handle(), (cannotOpen + "\n\n" + e.Text()).c_str(), UiText(TextKeys::kMessageCaption).c_str(),
                    MB_OK | MB_ICONWARNING);
        return false;
    }
    ReportReadFindings(path, opened->ReadFindings());
    editorHost_.ProjectClosed();
    project_ = std::move(opened);
    editorHost_.ProjectOpened();
    RefreshTitle();
    return true;
}

// All that the file held and the project could not read, in one message before the project
// shows: the user learns what saving it would leave out.
void MainWindow::ReportReadFindings(const std::string& path, const std::vector<std::string>& findings) {
    if (findings.empty()) return;
    std::string text = ReplaceFirstPlaceholder(UiText(TextKeys::kProjectReadFindings), path) + "\n";
    for (const std::string& finding : findings) text += "\n" + finding;
    MessageBoxA(Handle(), text.c_str(), UiText(TextKeys::kMessageCaption).c_str(), MB_OK | MB_ICONWARNING);
}

bool MainWindow::CloseProject() {
    if (!project_) return true;
    if (!AskToSave()) return false;
    editorHost_.ProjectClosed();
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
        MessageBoxA(nullptr, "Can't write data to project file", "Error", MB_OK);
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
        return true;
    } catch (const FileException&) {
        MessageBoxA(nullptr, "Can't write data to project file", "Error", MB_OK);
        return false;
    }
}

// A project of the code-page form is told once that it is UTF-8 text from now on.
void MainWindow::TellFormChange() {
    if (!project_->TakeFormChange()) return;
    MessageBoxA(Handle(), ReplaceFirstPlaceholder(UiText(TextKeys::kSavedAsUtf8), project_->Path()).c_str(),
                UiText(TextKeys::kMessageCaption).c_str(), MB_OK | MB_ICONINFORMATION);
}

void MainWindow::SwitchLanguage(UINT command) {
    char name[MAX_PATH] = "";
    GetMenuStringA(LanguageMenu(), command, name, MAX_PATH, MF_BYCOMMAND);
    if (!TheApplication().Languages().SetLanguage(name)) return;
    ApplyMenuTexts();
    ShowStatus(ApplicationTitle());
    if (project_) {
        editorHost_.ProjectClosed();
        editorHost_.ProjectOpened();
        RefreshTitle();
    }
}
