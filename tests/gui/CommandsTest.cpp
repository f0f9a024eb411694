// The command table in the real program: every toolbar button, in three states of the
// application and on a page with a selection, is enabled exactly as its row's state function
// says; the new commands' keys (Ctrl+Tab, F5) and the recent projects list work as the user
// meets them.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <set>
#include <string>

#include "BuilderTest.h"
#include "RemoteControls.h"
#include "commands/CommandTable.h"
#include "resource.h"

namespace {

constexpr ULONG_PTR kHandOverTag = 'q' | 's' << 8 | 'p' << 16 | ' ' << 24;

class CommandsTest : public BuilderTest {
protected:
    // Opens a project in the running builder, as a second start with its path does.
    void HandOver(const std::string& path) {
        COPYDATASTRUCT data{};
        data.dwData = kHandOverTag;
        data.cbData = static_cast<DWORD>(path.size() + 1);
        data.lpData = const_cast<char*>(path.c_str());
        SendMessageA(builder_.Main(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }

    // Lets the builder have its idle pass, which puts the states on the toolbar.
    void Idle() const {
        PostMessageA(builder_.Main(), WM_NULL, 0, 0);
        Sleep(150);
        SendMessageA(builder_.Main(), WM_NULL, 0, 0);
    }

    // Every toolbar button against the table's state function for `state`, read from outside as
    // the user sees it (a menu of another process cannot be read under Wine: the window tests
    // enumerate the menu bar of the same window class in their own process).
    int CheckStates(const CommandState& state, const char* what) {
        Idle();
        int checked = 0;
        HWND toolbar = GetDlgItem(builder_.Main(), ID_TOOLBAR);
        const std::vector<const Command*> buttons = ToolbarCommands();
        int last = -1;
        for (const Command* command : buttons) {
            const int index = static_cast<int>(SendMessageA(toolbar, TB_COMMANDTOINDEX, command->id, 0));
            EXPECT_GT(index, last) << what << ": button " << command->id << " out of the table's order";
            last = index;
            const bool enabled = SendMessageA(toolbar, TB_ISBUTTONENABLED, command->id, 0) != 0;
            EXPECT_EQ(enabled, IsEnabled(*command, state)) << what << ": button " << command->id;
            ++checked;
        }
        // One separator at the start and one between each two groups of buttons.
        EXPECT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), static_cast<LRESULT>(buttons.size() + 7)) << what;
        return checked;
    }

    // Presses `key` with the modifiers in the builder's window, as the keyboard would.
    void PressKey(BYTE key, bool control, bool shift = false) {
        SetForegroundWindow(builder_.Main());
        WaitFor([&] { return GetForegroundWindow() == builder_.Main(); }, 5000);
        if (control) keybd_event(VK_CONTROL, 0, 0, 0);
        if (shift) keybd_event(VK_SHIFT, 0, 0, 0);
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        if (shift) keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
        if (control) keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
        Sleep(300);
        SendMessageA(builder_.Main(), WM_NULL, 0, 0);
    }

    // The stored recent project `number` (from 1); empty when none.
    static std::string RecentSetting(int number) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
        char stored[MAX_PATH] = "";
        DWORD size = sizeof stored;
        const std::string name = "recent" + std::to_string(number);
        RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(stored), &size);
        RegCloseKey(key);
        return stored;
    }

    int ShownPage() const {
        return static_cast<int>(SendMessageA(GetDlgItem(GetDlgItem(builder_.Main(), ID_EDITOR_HOST), ID_TAB_CONTROL),
                                             TCM_GETCURSEL, 0, 0));
    }

};

}  // namespace

TEST_F(CommandsTest, TheToolbarFollowsTheTableWithoutAProjectOpenModifiedAndWithASelection) {
    ASSERT_NO_FATAL_FAILURE(StartPastWelcome());
    CommandState state;
    state.language = 0;
    EXPECT_EQ(CheckStates(state, "no project"), 23);

    HandOver(project_);
    ASSERT_TRUE(builder_.WaitForTitle("Quillset - [Demo]")) << builder_.Title();
    state.project = true;
    state.page = kGeneralInfoPage;
    state.outputSet = true;  // the example names its output folder and setup file
    state.recentCount = 1;
    CheckStates(state, "project open");

    HWND general = builder_.WaitForForm(IDC_PRODUCT_NAME);
    ASSERT_NE(general, nullptr);
    Type(general, IDC_PRODUCT_NAME, "Demo Deluxe");
    ASSERT_TRUE(WaitFor([&] { return builder_.Title() == "Quillset - [Demo*]"; })) << builder_.Title();
    state.modified = true;
    state.canUndo = true;
    CheckStates(state, "modified");

    // A page with a selection: the Files page allows its own commands, the form's are gone.
    HWND files = ShowPage(ID_PROJECT_FILES, kFilesPage);
    ASSERT_NE(files, nullptr);
    HWND tree = GetDlgItem(files, IDC_PAGE_TREE);
    SelectTreeItem(tree, TreeItemAt(tree, {0, 0}));
    HWND list = GetDlgItem(files, IDC_PAGE_LIST);
    ASSERT_TRUE(WaitFor([&] { return ListRowCount(list) > 1; }));
    // The last rows are the files (the folders come first).
    const int rows = ListRowCount(list);
    ASSERT_EQ(ListText(builder_.Id(), list, rows - 1, 0), "ReadMe.txt");
    SelectRows(builder_.Id(), list, {rows - 1});
    state.page = kFilesPage;
    state.pageAllows = {ID_NEW_FOLDER, ID_INSERT_FILES, ID_DELETE, ID_PROPERTIES};
    CheckStates(state, "files page, one file selected");
    SelectRows(builder_.Id(), list, {rows - 2, rows - 1});
    state.pageAllows = {ID_NEW_FOLDER, ID_INSERT_FILES, ID_DELETE};
    CheckStates(state, "files page, two rows selected");
}

TEST_F(CommandsTest, ControlTabGoesRoundThePagesAndF5ReadsTheFilesAgain) {
    const std::string readme = projectFolder_ + "\\files\\ReadMe.txt";
    ASSERT_NO_FATAL_FAILURE(OpenExample());
    EXPECT_EQ(ShownPage(), kGeneralInfoPage);
    PressKey(VK_TAB, true);
    EXPECT_TRUE(WaitFor([&] { return ShownPage() == kSetupInfoPage; }, 5000)) << ShownPage();
    PressKey(VK_TAB, true, true);
    PressKey(VK_TAB, true, true);
    EXPECT_TRUE(WaitFor([&] { return ShownPage() == kCreateSetupPage; }, 5000)) << "round the start";
    PressKey(VK_TAB, true);
    EXPECT_TRUE(WaitFor([&] { return ShownPage() == kGeneralInfoPage; }, 5000)) << "round the end";
    EXPECT_EQ(builder_.Title(), "Quillset - [Demo]") << "switching pages changes nothing";

    // The Files page shows a file's size as it was read; F5 reads it again.
    HWND files = ShowPage(ID_PROJECT_FILES, kFilesPage);
    ASSERT_NE(files, nullptr);
    HWND tree = GetDlgItem(files, IDC_PAGE_TREE);
    HWND list = GetDlgItem(files, IDC_PAGE_LIST);
    SelectTreeItem(tree, TreeItemAt(tree, {0, 0}));
    int row = -1;
    ASSERT_TRUE(WaitFor([&] {
        for (int r = 0; r < ListRowCount(list); ++r)
            if (ListText(builder_.Id(), list, r, 0) == "ReadMe.txt") row = r;
        return row >= 0;
    }, 5000)) << "the example's readme is on the Files page";
    const std::string before = ListText(builder_.Id(), list, row, 1);
    {
        std::ofstream grow(readme, std::ios::binary | std::ios::app);
        grow << std::string(300000, 'x');
    }
    InvalidateRect(list, nullptr, TRUE);
    SendMessageA(builder_.Main(), WM_NULL, 0, 0);
    EXPECT_EQ(ListText(builder_.Id(), list, row, 1), before) << "read once while the folder is shown";
    PressKey(VK_F5, false);
    EXPECT_TRUE(WaitFor([&] { return ListText(builder_.Id(), list, row, 1) != before; }, 5000))
        << "F5 reads the size again: " << before;
}

TEST_F(CommandsTest, RecentProjectsAreOfferedAndAMissingOneMayLeaveTheList) {
    ASSERT_NO_FATAL_FAILURE(StartPastWelcome());
    const std::string other = projectFolder_ + "\\Other.qsp";
    CopyFileA(project_.c_str(), other.c_str(), FALSE);
    HandOver(project_);
    ASSERT_TRUE(builder_.WaitForTitle("Quillset - [Demo]"));
    HandOver(other);
    ASSERT_TRUE(builder_.WaitForTitle("Quillset - [Other]"));
    EXPECT_EQ(RecentSetting(1), other) << "the most recent first";
    EXPECT_EQ(RecentSetting(2), project_);
    EXPECT_EQ(builder_.MenuHint(ID_RECENT_FIRST), builder_.LanguageText("English", "STRINGS", "835"));

    builder_.Command(ID_RECENT_FIRST + 1);
    ASSERT_TRUE(builder_.WaitForTitle("Quillset - [Demo]"));

    // A project that is gone: the user is told and keeps it on the list with No, drops it with Yes.
    DeleteFileA(other.c_str());
    for (int answer : {IDNO, IDYES}) {
        builder_.Command(ID_RECENT_FIRST + 1);
        HWND prompt = builder_.WaitForDialog("Quillset");
        ASSERT_NE(prompt, nullptr);
        PressButton(prompt, answer);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(prompt); }));
        SendMessageA(builder_.Main(), WM_NULL, 0, 0);
        EXPECT_EQ(RecentSetting(2), answer == IDNO ? other : std::string()) << answer;
    }
    EXPECT_EQ(builder_.Title(), "Quillset - [Demo]") << "the open project stays";
    EXPECT_EQ(RecentSetting(1), project_);

    // The list is the user's setting: the next start offers it.
    PostMessageA(builder_.Main(), WM_CLOSE, 0, 0);
    builder_.WaitForExit();
    BuilderProcess again;
    ASSERT_NO_FATAL_FAILURE(StartPastWelcome(again));
    again.Command(ID_RECENT_FIRST);
    EXPECT_TRUE(again.WaitForTitle("Quillset - [Demo]")) << again.Title();
    PostMessageA(again.Main(), WM_CLOSE, 0, 0);
    again.WaitForExit();
}
