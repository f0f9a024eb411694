// The main window in this process, with its real dialogs answered from a second thread as a user
// would answer them.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <shellapi.h>

#include "app/Application.h"
#include "app/Help.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "commands/CommandTable.h"
#include "editor/ListPage.h"
#include "platform/File.h"
#include "resource.h"

namespace {

struct DialogSearch {
    const char* title;
    HWND found;
};

BOOL CALLBACK FindOwnDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[32] = "", title[256] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && strcmp(className, "#32770") == 0 &&
        (!search->title || strcmp(title, search->title) == 0)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// One dialog to answer: its title (any dialog when none), the button to press, and the text to
// type into a file dialog's name box first, when one is given.
struct Step {
    const char* title;
    int button;
    std::string fileName;
};

// Answers dialogs of this process on its own thread, one after the other, as they appear.
class DialogAnswer {
public:
    explicit DialogAnswer(std::vector<Step> steps)
        : thread_([this, steps] {
              for (const Step& step : steps)
                  if (!AnswerOne(step)) return;
          }) {}
    DialogAnswer(const char* title, int button, std::string fileName = "")
        : DialogAnswer(std::vector<Step>{Step{title, button, std::move(fileName)}}) {}
    ~DialogAnswer() {
        if (thread_.joinable()) thread_.join();
    }
    // Waits for the thread; true when every dialog was answered.
    bool Answered() {
        if (thread_.joinable()) thread_.join();
        return answered_;
    }
    const std::string& ShownText() const { return shownText_; }
    HWND ShownOwner() const { return shownOwner_; }

private:
    bool AnswerOne(const Step& step) {
        DialogSearch search{step.title, nullptr};
        for (int tries = 0; tries < 1500 && !search.found; ++tries) {
            EnumWindows(FindOwnDialog, reinterpret_cast<LPARAM>(&search));
            if (!search.found) Sleep(10);
        }
        answered_ = search.found != nullptr;
        if (!answered_) return false;
        char text[512] = "";
        GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);
        shownText_ = text;
        shownOwner_ = GetWindow(search.found, GW_OWNER);
        if (!step.fileName.empty())
            for (int id : {1152, 1148}) SetDlgItemTextA(search.found, id, step.fileName.c_str());
        PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(step.button, BN_CLICKED), 0);
        for (int tries = 0; tries < 1500 && IsWindow(search.found); ++tries) Sleep(10);
        return true;
    }

    std::string shownText_;
    HWND shownOwner_ = nullptr;
    std::atomic<bool> answered_{false};
    std::thread thread_;
};

class ShellTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        application_ = new Application;
        application_->SetInstance(GetModuleHandleA(nullptr));
        ASSERT_TRUE(application_->Languages().DiscoverBuilderLanguages());
        ASSERT_TRUE(application_->Languages().SetLanguage("English"));
        ASSERT_TRUE(application_->CreateMainWindow());
    }
    static void TearDownTestSuite() {
        delete application_;
        application_ = nullptr;
    }
    void SetUp() override {
        main_ = application_->Main();
        ASSERT_NE(main_, nullptr);
        folder_ = platform::TempFolder() + "\\quillset-shell-" + std::to_string(GetTickCount());
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override {
        if (main_->Project()) main_->Project()->SetModifiedFlag(false);
        Send(CMD_CLOSE_PROJECT);
        for (const char* name : {"\\Saved.qsp", "\\gone\\Gone.qsp"}) RemoveFile(folder_ + name);
        RemoveDirectoryA((folder_ + "\\gone").c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    // Runs a main window command to its end, as the posted command would run.
    void Send(UINT command) { SendMessageA(main_->Handle(), WM_COMMAND, command, 0); }
    std::string Title() const {
        char title[256] = "";
        GetWindowTextA(main_->Handle(), title, sizeof title);
        return title;
    }
    void NewModifiedProject() {
        Send(CMD_NEW_PROJECT);
        ASSERT_NE(main_->Project(), nullptr);
        main_->Project()->SetModifiedFlag(true);
    }

    static Application* application_;
    MainWindow* main_ = nullptr;
    std::string folder_;
};

Application* ShellTest::application_ = nullptr;

TEST_F(ShellTest, CancelInTheSavePromptKeepsTheModifiedProject) {
    NewModifiedProject();
    const std::string title = Title();
    {
        DialogAnswer answer("Quillset", CMD_SAVE_CANCEL);
        Send(CMD_NEW_PROJECT);
        EXPECT_TRUE(answer.Answered());
    }
    EXPECT_EQ(Title(), title);
    EXPECT_TRUE(main_->Project()->IsModified());
    {
        DialogAnswer answer("Quillset", IDCANCEL);
        Send(CMD_CLOSE_PROJECT);
        EXPECT_TRUE(answer.Answered()) << "closing the prompt is Cancel too";
    }
    EXPECT_NE(main_->Project(), nullptr);
}

TEST_F(ShellTest, NoInTheSavePromptDropsTheChanges) {
    NewModifiedProject();
    const std::string title = Title();
    DialogAnswer answer("Quillset", CMD_SAVE_NO);
    Send(CMD_NEW_PROJECT);
    EXPECT_TRUE(answer.Answered());
    EXPECT_NE(Title(), title);
    EXPECT_FALSE(main_->Project()->IsModified());
}

TEST_F(ShellTest, YesInTheSavePromptSavesANeverSavedProjectUnderAChosenName) {
    NewModifiedProject();
    const std::string saved = folder_ + "\\Saved.qsp";
    {
        DialogAnswer answers({{"Quillset", CMD_SAVE_YES, ""}, {nullptr, IDOK, saved}});
        Send(CMD_CLOSE_PROJECT);
        EXPECT_TRUE(answers.Answered());
    }
    EXPECT_EQ(main_->Project(), nullptr) << "closed after a successful save";
    EXPECT_TRUE(platform::IsFile(saved));
    EXPECT_EQ(Title(), "Quillset");
}

TEST_F(ShellTest, AFailedSaveIsReportedAndStopsTheCommand) {
    const std::string gone = folder_ + "\\gone";
    CreateDirectoryA(gone.c_str(), nullptr);
    NewModifiedProject();
    {
        DialogAnswer saveAs(nullptr, IDOK, gone + "\\Gone.qsp");
        Send(CMD_SAVE_PROJECT);
        EXPECT_TRUE(saveAs.Answered());
    }
    ASSERT_EQ(main_->Project()->Path(), gone + "\\Gone.qsp");
    RemoveFile(gone + "\\Gone.qsp");
    RemoveDirectoryA(gone.c_str());
    main_->Project()->SetModifiedFlag(true);
    {
        DialogAnswer answers({{"Quillset", CMD_SAVE_YES, ""}, {"Error", IDOK, ""}});
        Send(CMD_CLOSE_PROJECT);
        EXPECT_TRUE(answers.Answered());
        EXPECT_EQ(answers.ShownText(), "Can't write data to project file");
        EXPECT_EQ(answers.ShownOwner(), main_->Handle()) << "the report stays in front of the window";
    }
    ASSERT_NE(main_->Project(), nullptr) << "the project stays open";
    EXPECT_TRUE(main_->Project()->IsModified());
}

TEST_F(ShellTest, MenuStatesFollowTheProjectAndThePageShown) {
    HMENU menu = GetMenu(main_->Handle());
    SendMessageA(main_->Handle(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_TRUE(GetMenuState(menu, ID_FILE_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, ID_PROJECT_FILES, MF_BYCOMMAND) & MF_GRAYED);
    Send(CMD_NEW_PROJECT);
    Send(ID_PROJECT_FILES);
    SendMessageA(main_->Handle(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_FALSE(GetMenuState(menu, ID_FILE_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, ID_FILE_SAVE, MF_BYCOMMAND) & MF_GRAYED) << "nothing to save yet";
    EXPECT_TRUE(GetMenuState(menu, ID_PROJECT_FILES, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(menu, ID_PROJECT_GENERAL_INFO, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(main_->Editor().CurrentPage(), 3);
    Send(CMD_CLOSE_PROJECT);
    EXPECT_EQ(main_->Editor().CurrentPage(), 0) << "the next project starts on the first page";
}

TEST_F(ShellTest, SaveButtonIsEnabledExactlyForAModifiedProject) {
    auto saveEnabled = [&] { return SendMessageA(main_->Toolbar(), TB_ISBUTTONENABLED, ID_FILE_SAVE, 0) != 0; };
    main_->UpdateCommandStates();
    EXPECT_FALSE(saveEnabled());
    NewModifiedProject();
    main_->UpdateCommandStates();
    EXPECT_TRUE(saveEnabled());
    EXPECT_FALSE(SendMessageA(main_->Toolbar(), TB_ISBUTTONENABLED, ID_DELETE, 0));
}

TEST_F(ShellTest, HandOverOpensOnlyRecordsTaggedForProjects) {
    const std::string saved = folder_ + "\\Saved.qsp";
    {
        DialogAnswer saveAs(nullptr, IDOK, saved);
        Send(CMD_NEW_PROJECT);
        Send(CMD_SAVE_PROJECT_AS);
        EXPECT_TRUE(saveAs.Answered());
    }
    Send(CMD_CLOSE_PROJECT);
    COPYDATASTRUCT data{};
    data.dwData = 0x12345678;
    data.cbData = static_cast<DWORD>(saved.size() + 1);
    data.lpData = const_cast<char*>(saved.c_str());
    SendMessageA(main_->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    EXPECT_EQ(main_->Project(), nullptr);
    data.dwData = kHandOverTag;
    SendMessageA(main_->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    ASSERT_NE(main_->Project(), nullptr);
    EXPECT_EQ(Title(), "Quillset - [Saved]");
}

TEST_F(ShellTest, TheLanguageMenuListsTheLanguagesAndSwitchesTheMenuTexts) {
    HMENU menu = GetMenu(main_->Handle());
    HMENU languages = GetSubMenu(GetSubMenu(menu, 5), 0);  // Options, the sixth menu
    auto menuText = [](HMENU in, UINT item, UINT by) {
        char text[128] = "";
        GetMenuStringA(in, item, text, sizeof text, by);
        return std::string(text);
    };
    ASSERT_EQ(GetMenuItemCount(languages), 2) << "English and German, the placeholder gone";
    EXPECT_EQ(menuText(languages, ID_LANGUAGE_FIRST, MF_BYCOMMAND), "English");
    EXPECT_EQ(menuText(languages, ID_LANGUAGE_FIRST + 1, MF_BYCOMMAND), "German");
    SendMessageA(main_->Handle(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_TRUE(GetMenuState(menu, ID_LANGUAGE_FIRST, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(menu, ID_LANGUAGE_FIRST + 1, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(menuText(menu, 0, MF_BYPOSITION), "&File");

    Send(ID_LANGUAGE_FIRST + 1);
    const LanguageSets& texts = application_->Texts();
    EXPECT_EQ(texts.CurrentLanguage(), "German");
    EXPECT_EQ(menuText(menu, 0, MF_BYPOSITION), "&Datei");
    EXPECT_EQ(menuText(menu, ID_FILE_NEW, MF_BYCOMMAND), texts.UiString(TextKeys::kMenuItems.Key(1020)));
    EXPECT_EQ(menuText(menu, ID_EDIT_UNDO, MF_BYCOMMAND), texts.UiString(TextKeys::kUndoRedoMenu[0]));
    EXPECT_EQ(menuText(menu, ID_VIEW_PREVIOUS_PAGE, MF_BYCOMMAND), "&Vorherige Seite\tStrg+Umschalt+Tab")
        << "the table's key, named in the language";
    EXPECT_EQ(menuText(menu, 2, MF_BYPOSITION), "&Ansicht");
    EXPECT_EQ(GetMenuItemCount(languages), 2) << "the list is made only once";
    EXPECT_EQ(menuText(languages, ID_LANGUAGE_FIRST + 1, MF_BYCOMMAND), "German") << "names stay as they are";
    SendMessageA(main_->Handle(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_TRUE(GetMenuState(menu, ID_LANGUAGE_FIRST + 1, MF_BYCOMMAND) & MF_CHECKED);

    Send(ID_LANGUAGE_FIRST);
    EXPECT_EQ(menuText(menu, 0, MF_BYPOSITION), "&File");
}

TEST_F(ShellTest, TooltipsAndMenuItemsShowTheirLabelsAndHints) {
    auto statusText = [&] {
        char text[256] = "";
        GetWindowTextA(main_->StatusBar().Handle(), text, sizeof text);
        return std::string(text);
    };
    const LanguageSets& texts = application_->Texts();
    NMTTDISPINFOA info{};
    info.hdr.code = TTN_GETDISPINFOA;
    info.hdr.idFrom = ID_FILE_OPEN;
    SendMessageA(main_->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_EQ(std::string(info.lpszText), texts.UiString(TextKeys::kToolbarTips.Key(801)));
    info.hdr.code = TTN_SHOW;
    SendMessageA(main_->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(statusText(), texts.UiHint(TextKeys::kToolbarTips.Key(801)));
    info.hdr.code = TTN_POP;
    SendMessageA(main_->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(statusText(), "Quillset 1.0");

    HMENU menu = GetMenu(main_->Handle());
    SendMessageA(main_->Handle(), WM_MENUSELECT, MAKEWPARAM(ID_FILE_SAVE_AS, MF_STRING), reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ(statusText(), texts.UiHint(TextKeys::kMenuItems.Key(1025)));
    SendMessageA(main_->Handle(), WM_MENUSELECT, MAKEWPARAM(ID_LANGUAGE_FIRST, MF_STRING), reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ(statusText(), texts.UiHint(TextKeys::kLanguageMenu));
    SendMessageA(main_->Handle(), WM_MENUSELECT, MAKEWPARAM(ID_EDIT_UNDO, MF_STRING), reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ(statusText(), texts.UiHint(TextKeys::kUndoRedoMenu[0]));
    SendMessageA(main_->Handle(), WM_MENUSELECT, MAKEWPARAM(ID_FILES_DELETE, MF_STRING), reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ(statusText(), "Quillset 1.0") << "items without a text of their own";
    SendMessageA(main_->Handle(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(statusText(), "Quillset 1.0");
}

TEST_F(ShellTest, APlacementStoredMinimisedComesBackNormal) {
    ShowWindow(main_->Handle(), SW_SHOWNORMAL);
    SetWindowPos(main_->Handle(), nullptr, 60, 50, 640, 480, SWP_NOZORDER);
    ShowWindow(main_->Handle(), SW_MINIMIZE);
    ASSERT_TRUE(SaveWindowPlacement(main_->Handle()));
    ShowWindow(main_->Handle(), SW_SHOWNORMAL);
    SetWindowPos(main_->Handle(), nullptr, 0, 0, 300, 200, SWP_NOZORDER);
    ASSERT_TRUE(LoadWindowPlacement(main_->Handle()));
    EXPECT_FALSE(IsIconic(main_->Handle()));
    RECT rect{};
    GetWindowRect(main_->Handle(), &rect);
    EXPECT_EQ(rect.left, 60);
    EXPECT_EQ(rect.right - rect.left, 640);
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
}

TEST(ResourceTest, TheProjectFileIconIsIconIndex10OfTheProgram) {
    std::vector<WORD> groups;
    EnumResourceNamesA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(14), [](HMODULE, LPCSTR, LPSTR name, LONG_PTR list) {
        reinterpret_cast<std::vector<WORD>*>(list)->push_back(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
        return TRUE;
    }, reinterpret_cast<LONG_PTR>(&groups));
    // Icons added later take ids above the project document's, so that its index stays 10.
    ASSERT_EQ(groups.size(), 12u);
    EXPECT_EQ(groups[0], IDI_APPLICATION_ICON);
    EXPECT_EQ(groups[10], IDI_PROJECT_DOCUMENT);
    EXPECT_EQ(groups[11], IDI_REGISTRY_NUMBER);
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    HICON icon = ExtractIconA(GetModuleHandleA(nullptr), program, 10);
    EXPECT_NE(icon, nullptr);
    if (icon) DestroyIcon(icon);
}

TEST(HelpTest, ContextsFindTheirPagesAndTheFinderTheContents) {
    EXPECT_EQ(HelpPageFor(HELP_FINDER, 0), "index.html");
    EXPECT_EQ(HelpPageFor(HELP_CONTEXT, 1180), "create-setup.html");
    EXPECT_EQ(HelpPageFor(HELP_CONTEXT, 1050), "credits.html");
    EXPECT_EQ(HelpPageFor(HELP_CONTEXT, 1170), "index.html");
    EXPECT_EQ(HelpPageFor(HELP_QUIT, 0), "");
}

TEST(SettingsTest, LanguageIsReadWithOrWithoutItsZeroAndEmptyMeansEnglish) {
    ASSERT_TRUE(SaveLanguage("German"));
    EXPECT_EQ(LoadLanguageSetting(), "German");
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    RegSetValueExA(key, "language", 0, REG_SZ, reinterpret_cast<const BYTE*>("Polish"), 7);
    EXPECT_EQ(LoadLanguageSetting(), "Polish");
    RegSetValueExA(key, "language", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 0);
    EXPECT_EQ(LoadLanguageSetting(), "English");
    BYTE shortPlacement[40] = {};
    RegSetValueExA(key, "placement", 0, REG_BINARY, shortPlacement, sizeof shortPlacement);
    HWND window = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(LoadWindowPlacement(window)) << "a placement of 40 bytes is ignored";
    DestroyWindow(window);
    RegCloseKey(key);
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    EXPECT_EQ(LoadLanguageSetting(), "English");
}

TEST(SettingsTest, TheSigningCommandIsKeptWhateverItsLength) {
    EXPECT_EQ(LoadSigningCommand(), "") << "no setting: builds are not signed";
    const std::string command =
        "signtool sign /fd SHA256 /f \"C:\\Keys\\Code Signing.pfx\" /p secret " + std::string(600, 'x') + " {file}";
    ASSERT_TRUE(SaveSigningCommand(command));
    EXPECT_EQ(LoadSigningCommand(), command);
    ASSERT_TRUE(SaveSigningCommand(""));
    EXPECT_EQ(LoadSigningCommand(), "");
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
}

}  // namespace

namespace {

bool Visible(HWND window) { return window && IsWindowVisible(window); }

}  // namespace

// The Project menu's items in page order.
constexpr UINT kPageItems[EditorHost::kPageCount] = {
    ID_PROJECT_GENERAL_INFO, ID_PROJECT_SETUP_INFO, ID_PROJECT_REQUIREMENTS, ID_PROJECT_FILES,  ID_PROJECT_SHORTCUTS,
    ID_PROJECT_REGISTRY,     ID_PROJECT_FILE_TYPES, ID_PROJECT_DIALOGS,      ID_PROJECT_CREATE_SETUP,
};

TEST_F(ShellTest, TheHostShowsOnePageAtATimeAboveItsTabs) {
    EditorHost& host = main_->Editor();
    EXPECT_EQ(GetDlgItem(host.Handle(), ID_TAB_CONTROL), nullptr) << "no tabs without a project";
    Send(CMD_NEW_PROJECT);
    HWND tabs = GetDlgItem(host.Handle(), ID_TAB_CONTROL);
    ASSERT_TRUE(Visible(tabs));
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), EditorHost::kPageCount);
    for (int page = EditorHost::kPageCount - 1; page >= 0; --page) {
        Send(kPageItems[page]);
        EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), page);
        for (int other = 0; other < EditorHost::kPageCount; ++other)
            EXPECT_EQ(Visible(host.PageAt(other).Handle()), other == page) << page << " " << other;
        EXPECT_EQ(GetWindow(tabs, GW_HWNDNEXT), nullptr) << "the tabs lie below the pages";
    }
    // A click on a tab selects its page.
    SendMessageA(tabs, TCM_SETCURSEL, EditorHost::Screens, 0);
    NMHDR change{tabs, ID_TAB_CONTROL, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(host.Handle(), WM_NOTIFY, ID_TAB_CONTROL, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(host.CurrentPage(), EditorHost::Screens);
    EXPECT_TRUE(Visible(host.PageAt(EditorHost::Screens).Handle()));

    Send(CMD_CLOSE_PROJECT);
    Send(CMD_CLOSE_PROJECT);
    EXPECT_EQ(GetDlgItem(host.Handle(), ID_TAB_CONTROL), nullptr);
    for (int page = 0; page < EditorHost::kPageCount; ++page) EXPECT_EQ(host.PageAt(page).Handle(), nullptr);
}

TEST_F(ShellTest, PageCommandsAndTheirStatesFollowThePageShown) {
    EditorHost& host = main_->Editor();
    Send(CMD_NEW_PROJECT);
    Send(ID_PROJECT_SETUP_INFO);
    EXPECT_EQ(host.HelpContext(), 1100u);
    Send(ID_DELETE);  // nothing to delete on a form: handled and ignored
    EXPECT_FALSE(main_->Project()->IsModified());
    auto enabled = [&](UINT id) { return IsEnabled(*FindCommand(id), main_->TakeCommandState()); };
    EXPECT_TRUE(enabled(ID_BUILD_SETUP)) << "menu, toolbar and F7 build from any page";
    main_->UpdateCommandStates();
    EXPECT_TRUE(SendMessageA(main_->Toolbar(), TB_ISBUTTONENABLED, ID_BUILD_SETUP, 0));
    HMENU menu = GetMenu(main_->Handle());
    SendMessageA(main_->Handle(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_FALSE(GetMenuState(menu, ID_BUILD_SETUP, MF_BYCOMMAND) & MF_GRAYED) << "the menu builds from any page";
    EXPECT_TRUE(GetMenuState(menu, ID_TEST_RUN, MF_BYCOMMAND) & MF_GRAYED) << "nothing built yet";
    EXPECT_TRUE(GetMenuState(menu, ID_VIEW_REFRESH, MF_BYCOMMAND) & MF_GRAYED) << "Refresh is the Files page's";

    Send(ID_PROJECT_CREATE_SETUP);
    EXPECT_EQ(host.HelpContext(), 1180u);
    EXPECT_TRUE(enabled(ID_BUILD_SETUP));
    EXPECT_FALSE(enabled(ID_TEST_RUN));
    EXPECT_FALSE(enabled(ID_NEW_KEY));
    Send(ID_VIEW_NEXT_PAGE);
    EXPECT_EQ(host.CurrentPage(), EditorHost::GeneralInfo) << "round the end";
    Send(ID_VIEW_PREVIOUS_PAGE);
    EXPECT_EQ(host.CurrentPage(), EditorHost::CreateSetup);
    main_->UpdateCommandStates();
    EXPECT_TRUE(SendMessageA(main_->Toolbar(), TB_ISBUTTONENABLED, ID_BUILD_SETUP, 0));
    EXPECT_FALSE(SendMessageA(main_->Toolbar(), TB_ISBUTTONENABLED, ID_TEST_RUN, 0));
}

// The menu bar and the toolbar of the real window, enumerated item by item: each is a command of
// the table in its place, enabled and checked exactly as its row's functions say, in three
// states of the application.
TEST_F(ShellTest, MenuBarAndToolbarFollowTheTableWithoutAProjectOpenAndModified) {
    auto check = [&](const CommandState& state, const std::string& what) {
        main_->UpdateCommandStates();
        HMENU bar = GetMenu(main_->Handle());
        SendMessageA(main_->Handle(), WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
        ASSERT_EQ(GetMenuItemCount(bar), kMenuCount) << what;
        std::set<unsigned> seen;
        for (int position = 0; position < GetMenuItemCount(bar); ++position) {
            HMENU menu = GetSubMenu(bar, position);
            bool separatorBefore = false;
            int groupBefore = -1;
            for (int item = 0; item < GetMenuItemCount(menu); ++item) {
                const UINT id = GetMenuItemID(menu, item);
                const UINT itemState = GetMenuState(menu, item, MF_BYPOSITION);
                if (itemState & MF_SEPARATOR) {
                    separatorBefore = true;
                    continue;
                }
                if (id == static_cast<UINT>(-1)) continue;  // the Language submenu
                const Command* command = FindCommand(id);
                ASSERT_NE(command, nullptr) << what << ": menu item " << id << " is no command of the table";
                EXPECT_EQ(static_cast<int>(command->menu), position + 1) << what << ": " << id;
                if (command->kind == Kind::Item && groupBefore >= 0) {
                    EXPECT_EQ(separatorBefore, command->group != groupBefore) << what << ": " << id;
                }
                if (command->kind == Kind::Item) groupBefore = command->group;
                separatorBefore = false;
                EXPECT_EQ(!(itemState & (MF_GRAYED | MF_DISABLED)), IsEnabled(*command, state)) << what << ": " << id;
                EXPECT_EQ((itemState & MF_CHECKED) != 0, IsChecked(*command, state)) << what << ": " << id;
                seen.insert(command->id);
            }
        }
        for (const Command& command : Commands()) {
            if (command.menu != Menu::None && command.kind == Kind::Item) {
                EXPECT_TRUE(seen.count(command.id)) << what << ": " << command.id << " is missing";
            }
        }
        int last = -1;
        for (const Command* command : ToolbarCommands()) {
            const int index = static_cast<int>(SendMessageA(main_->Toolbar(), TB_COMMANDTOINDEX, command->id, 0));
            EXPECT_GT(index, last) << what << ": button " << command->id;
            last = index;
            EXPECT_EQ(SendMessageA(main_->Toolbar(), TB_ISBUTTONENABLED, command->id, 0) != 0, IsEnabled(*command, state))
                << what << ": button " << command->id;
        }
    };
    CommandState state;
    state.language = 0;
    state.recentCount = static_cast<int>(main_->Recent().Count());
    check(state, "no project");

    Send(CMD_NEW_PROJECT);
    ASSERT_NE(main_->Project(), nullptr);
    ProjectDocument& project = *main_->Project();
    state.project = true;
    state.page = kGeneralInfoPage;
    state.outputSet = !project.outputSettings.OutputFolder().empty() && !project.outputSettings.SetupFileName().empty();
    check(state, "new project");

    Send(ID_PROJECT_REGISTRY);
    project.Apply(ProjectEdit("Change Product Name", kGeneralInfoPart), [&] { project.generalInfo.SetProductName("Changed"); });
    state.page = kRegistryPage;
    state.modified = state.canUndo = true;
    state.undoName = "Change Product Name";
    state.pageAllows = main_->Editor().ShownPageAllows();
    check(state, "modified on the registry page");
    char undo[128] = "";
    GetMenuStringA(GetMenu(main_->Handle()), ID_EDIT_UNDO, undo, sizeof undo, MF_BYCOMMAND);
    EXPECT_STREQ(undo, "&Undo Change Product Name\tCtrl+Z");

    project.Undo();
    EXPECT_EQ(main_->Editor().CurrentPage(), EditorHost::GeneralInfo) << "the undone edit's page comes into view";
    state.page = kGeneralInfoPage;
    state.pageAllows.clear();
    state.modified = state.canUndo = false;
    state.canRedo = true;
    state.redoName = "Change Product Name";
    check(state, "undone");
}

// An edit that deletes several rows is named with their count; one row keeps the plain name, and
// the toolbar's Delete, which becomes the page's own delete command, is named Delete too.
TEST_F(ShellTest, DeletingSeveralRowsNamesTheEditWithTheirCount) {
    Send(CMD_NEW_PROJECT);
    ProjectDocument& project = *main_->Project();
    project.Apply(ProjectEdit("Add", kFileTypesPart), [&] {
        for (const char* extension : {"aaa", "bbb", "ccc", "ddd"})
            project.fileTypes.Add(extension, std::string("Test.") + extension, "Test", "%AppDir%\\t.exe", "", 0, true);
    });
    Send(ID_PROJECT_FILE_TYPES);
    ListPage& page = static_cast<ListPage&>(main_->Editor().PageAt(EditorHost::FileTypes));
    page.Reload();
    HWND list = page.List().Handle();
    ASSERT_EQ(ListView_GetItemCount(list), 4);
    auto select = [&](std::initializer_list<int> rows) {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        for (int row : rows) ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
    };
    select({0, 2, 3});
    Send(ID_DELETE);
    ASSERT_EQ(project.fileTypes.Count(), 1u);
    ASSERT_NE(project.Edits().NextUndo(), nullptr);
    EXPECT_EQ(project.Edits().NextUndo()->Name(), "Delete 3 File Types");
    char undo[128] = "";
    HMENU menu = GetMenu(main_->Handle());
    SendMessageA(main_->Handle(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    GetMenuStringA(menu, ID_EDIT_UNDO, undo, sizeof undo, MF_BYCOMMAND);
    EXPECT_STREQ(undo, "&Undo Delete 3 File Types\tCtrl+Z");

    select({0});
    Send(ID_DELETE);
    EXPECT_EQ(project.fileTypes.Count(), 0u);
    EXPECT_EQ(project.Edits().NextUndo()->Name(), "Delete") << "one row: no count, and not Properties";
}

namespace {

#ifndef MN_GETHMENU
#define MN_GETHMENU 0x01E1
#endif

BOOL CALLBACK FindOwnPopupMenu(HWND window, LPARAM data) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && strcmp(className, "#32768") == 0) {
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
    }
    return TRUE;
}

// A context menu as it stood open on the screen: its layout written as the table's lines are
// ("id" for an item, "|" for a separator, "[" and "]" around a submenu), each item's label and
// whether it was enabled, the submenus' labels, and the status bar's text while the first item
// was highlighted.
struct ShownMenu {
    std::string layout;
    std::map<UINT, std::string> labels;
    std::set<UINT> enabled;
    std::vector<std::string> submenus;
    std::string firstHint;
    bool closed = false;

    std::string LabelOf(UINT id) const { return labels.count(id) ? labels.at(id) : std::string(); }
};

std::string MenuString(HMENU menu, int position) {
    char text[256] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

void ReadMenu(HMENU menu, ShownMenu& shown) {
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        if (!shown.layout.empty()) shown.layout += ' ';
        const UINT state = GetMenuState(menu, position, MF_BYPOSITION);
        if (HMENU submenu = GetSubMenu(menu, position)) {
            shown.submenus.push_back(MenuString(menu, position));
            shown.layout += "[";
            ReadMenu(submenu, shown);
            shown.layout += " ]";
        } else if (state & MF_SEPARATOR) {
            shown.layout += "|";
        } else {
            const UINT id = GetMenuItemID(menu, position);
            shown.layout += std::to_string(id);
            shown.labels[id] = MenuString(menu, position);
            if (!(state & (MF_GRAYED | MF_DISABLED))) shown.enabled.insert(id);
        }
    }
}

// Reads, from a second thread, the popup menu that opens on the window's thread, highlights its
// first item with the Down key and closes it with Escape, as a user would.
class PopupMenuReader {
public:
    explicit PopupMenuReader(HWND statusBar)
        : statusBar_(statusBar), thread_([this] { Read(); }) {}
    ~PopupMenuReader() {
        if (thread_.joinable()) thread_.join();
    }
    const ShownMenu& Shown() {
        if (thread_.joinable()) thread_.join();
        return shown_;
    }

private:
    std::string StatusText() const {
        char text[256] = "";
        GetWindowTextA(statusBar_, text, sizeof text);
        return text;
    }
    void Read() {
        HWND popup = nullptr;
        for (int tries = 0; tries < 1500 && !popup; ++tries) {
            EnumWindows(FindOwnPopupMenu, reinterpret_cast<LPARAM>(&popup));
            if (!popup) Sleep(10);
        }
        if (!popup) return;
        if (HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0))) ReadMenu(menu, shown_);
        const std::string before = StatusText();
        PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
        for (int tries = 0; tries < 300 && StatusText() == before; ++tries) Sleep(10);
        shown_.firstHint = StatusText();
        PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
        for (int tries = 0; tries < 300 && IsWindowVisible(popup); ++tries) Sleep(10);
        shown_.closed = !IsWindowVisible(popup);
        if (!shown_.closed) PostMessageA(GetWindow(popup, GW_OWNER), WM_CANCELMODE, 0, 0);
    }

    HWND statusBar_;
    ShownMenu shown_;
    std::thread thread_;
};

}  // namespace

// The list pages' context menus, opened on the page's tree and list as the mouse's right button
// or the menu key opens them, item by item against the command table: the table's lines in its
// order, each item's label in the language in use, the first item's hint on the status bar, and
// each item enabled exactly as its row's state function says, in a few selections.
TEST_F(ShellTest, ContextMenusFollowTheTableOnEveryListPage) {
    Send(CMD_NEW_PROJECT);
    ProjectDocument& project = *main_->Project();
    EditorHost& host = main_->Editor();
    const auto open = [&](int page, ContextPane pane) {
        ListPage& listPage = static_cast<ListPage&>(host.PageAt(page));
        HWND control = pane == kTreePane ? GetDlgItem(listPage.Handle(), IDC_PAGE_TREE) : listPage.List().Handle();
        // The mouse stays off the menu: only the keyboard highlights its items.
        SetCursorPos(0, 0);
        PopupMenuReader reader(main_->StatusBar().Handle());
        SendMessageA(listPage.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), MAKELPARAM(-1, -1));
        return reader.Shown();
    };
    // The menu of `pane` on `page` as the table says it with the state of now; `enabled` is what the
    // page's selection is known to allow.
    const auto check = [&](int page, ContextPane pane, const std::set<UINT>& enabled, const std::string& what) {
        const ShownMenu shown = open(page, pane);
        EXPECT_TRUE(shown.closed) << what;
        const CommandState state = main_->TakeCommandState();
        std::string layout;
        std::set<UINT> expectedEnabled;
        std::vector<std::string> submenus;
        std::optional<TextKey> firstText;
        for (const ContextLine& line : ContextMenuOf(page, pane)) {
            if (!layout.empty()) layout += ' ';
            if (!firstText && (line.kind == ContextLine::Item || line.kind == ContextLine::Submenu)) firstText = line.text;
            switch (line.kind) {
            case ContextLine::Item:
                layout += std::to_string(line.command->id);
                EXPECT_EQ(shown.LabelOf(line.command->id), main_->Texts().UiString(*line.text)) << what << ": " << line.command->id;
                if (IsEnabled(*line.command, state)) expectedEnabled.insert(line.command->id);
                break;
            case ContextLine::Separator: layout += "|"; break;
            case ContextLine::Submenu:
                layout += "[";
                submenus.push_back(main_->Texts().UiString(*line.text));
                break;
            case ContextLine::SubmenuEnd: layout += "]"; break;
            }
        }
        EXPECT_EQ(shown.layout, layout) << what;
        EXPECT_EQ(shown.submenus, submenus) << what;
        EXPECT_EQ(shown.enabled, expectedEnabled) << what << ": as the rows' state functions say";
        EXPECT_EQ(shown.enabled, enabled) << what << ": as the selection allows";
        EXPECT_TRUE(firstText && shown.firstHint == main_->Texts().UiHint(*firstText)) << what << ": the status bar showed \""
                                                                         << shown.firstHint << "\"";
        return shown;
    };

    Send(ID_PROJECT_FILES);
    ListPage& files = static_cast<ListPage&>(host.PageAt(EditorHost::Files));
    check(kFilesPage, kTreePane, {ID_NEW_FOLDER, ID_INSERT_FILES}, "the Application folder, which stays");
    check(kFilesPage, kListPane, {ID_NEW_FOLDER, ID_INSERT_FILES}, "no row selected");
    project.Apply(ProjectEdit("Add", kFilesPart), [&] {
        TreeNode* docs = project.fileTree.AddFolder("%DestComp%\\%AppDir%\\Docs", true);
        project.fileTree.AddProductFile(docs, "C:\\Product\\Read Me.txt", FileTree::kCompress, 0, true);
    });
    files.Reload();
    files.SelectPath("0/0/0");
    check(kFilesPage, kTreePane, {ID_NEW_FOLDER, ID_INSERT_FILES, ID_FILES_DELETE_FOLDER}, "a folder of the user's");
    ListView_SetItemState(files.List().Handle(), 0, LVIS_SELECTED, LVIS_SELECTED);
    const ShownMenu filesList = check(kFilesPage, kListPane,
                                      {ID_NEW_FOLDER, ID_INSERT_FILES, ID_FILES_DELETE, ID_PROPERTIES}, "a file selected");
    EXPECT_EQ(filesList.LabelOf(ID_FILES_DELETE), "&Delete");

    Send(ID_PROJECT_SHORTCUTS);
    check(kShortcutsPage, kTreePane, {ID_NEW_SHORTCUT_FOLDER, ID_NEW_SHORTCUT, ID_NEW_INTERNET_SHORTCUT},
          "the program's Start menu folder");
    check(kShortcutsPage, kListPane, {ID_NEW_SHORTCUT_FOLDER, ID_NEW_SHORTCUT, ID_NEW_INTERNET_SHORTCUT}, "no row");

    Send(ID_PROJECT_REGISTRY);
    const std::set<UINT> newItems = {ID_NEW_KEY, ID_NEW_STRING, ID_NEW_BINARY, ID_NEW_DWORD};
    const ShownMenu registryTree = check(kRegistryPage, kTreePane, newItems, "a root key, which stays");
    EXPECT_EQ(registryTree.submenus, std::vector<std::string>{"&New"});
    check(kRegistryPage, kListPane, newItems, "no value");

    project.Apply(ProjectEdit("Add", kFileTypesPart),
                  [&] { project.fileTypes.Add("abc", "Test.abc", "Test", "%AppDir%\\t.exe", "", 0, true); });
    Send(ID_PROJECT_FILE_TYPES);
    ListPage& fileTypes = static_cast<ListPage&>(host.PageAt(EditorHost::FileTypes));
    fileTypes.Reload();
    check(kFileTypesPage, kListPane, {ID_NEW_FILE_ASSOCIATION}, "no file type selected");
    ListView_SetItemState(fileTypes.List().Handle(), 0, LVIS_SELECTED, LVIS_SELECTED);
    check(kFileTypesPage, kListPane, {ID_NEW_FILE_ASSOCIATION, ID_FILE_TYPES_DELETE, ID_PROPERTIES}, "one selected");
    EXPECT_EQ(GetDlgItem(fileTypes.Handle(), IDC_PAGE_TREE), nullptr);

    // The same menus in German, with German texts from the same table.
    Send(ID_LANGUAGE_FIRST + 1);
    Send(ID_PROJECT_REGISTRY);
    const ShownMenu german = check(kRegistryPage, kListPane, newItems, "in German");
    EXPECT_EQ(german.submenus, std::vector<std::string>{"&Neu"});
    EXPECT_EQ(german.LabelOf(ID_PROPERTIES), "&Eigenschaften");
    Send(ID_LANGUAGE_FIRST);
}
