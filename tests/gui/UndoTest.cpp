// Undo and redo in a real window: a dozen edits through the forms, an item dialog, a folder
// drop and a delete, undone with Ctrl+Z and redone with Ctrl+Y, each way saved and compared
// byte for byte.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <string>

#include "BuilderTest.h"
#include "RemoteControls.h"
#include "resource.h"

namespace {

constexpr int kFilesPage = 3;

class UndoTest : public BuilderTest {
protected:
    void SetUp() override {
        BuilderTest::SetUp();
        OpenExample();
    }

    // Presses Ctrl with `key` in the builder's window, as the keyboard would.
    void PressControlKey(BYTE key) {
        SetForegroundWindow(builder_.Main());
        WaitFor([&] { return GetForegroundWindow() == builder_.Main(); }, 5000);
        keybd_event(VK_CONTROL, 0, 0, 0);
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    }

    // Takes every edit of `command`'s side through its key, one key press at a time; how many
    // there were.
    int TakeAll(UINT command, BYTE key) {
        int taken = 0;
        for (; ToolbarEnabled(command) && taken < 100; ++taken) {
            PressControlKey(key);
            Sleep(400);
            SendMessageA(builder_.Main(), WM_NULL, 0, 0);
        }
        return taken;
    }

    std::string Save() {
        builder_.Command(ID_FILE_SAVE);
        EXPECT_TRUE(WaitFor([&] { return builder_.Title().find('*') == std::string::npos; }));
        return ReadWhole(project_);
    }
};

TEST_F(UndoTest, ADozenEditsUndoneSaveTheOpenedBytesAndRedoneTheEditedOnes) {
    const std::string opened = ReadWhole(project_);
    EXPECT_FALSE(ToolbarEnabled(ID_EDIT_UNDO)) << "nothing to undo in a project just opened";

    HWND general = ShowForm(ID_PROJECT_GENERAL_INFO, IDC_COMPANY_NAME);
    ASSERT_NE(general, nullptr);
    Type(general, IDC_COMPANY_NAME, "Acme Tools");
    EXPECT_TRUE(ToolbarEnabled(ID_EDIT_UNDO));
    EXPECT_FALSE(ToolbarEnabled(ID_EDIT_REDO));
    EXPECT_TRUE(WaitFor([&] { return builder_.Title() == "Quillset - [Demo*]"; })) << builder_.Title();
    Type(general, IDC_PRODUCT_NAME, "Writer");
    Type(general, IDC_PRODUCT_VERSION, "3.0");
    Type(general, IDC_PRODUCT_DESCRIPTION, "A writer");
    HWND setup = ShowForm(ID_PROJECT_SETUP_INFO, IDC_ENABLE_UNINSTALLER);
    ASSERT_NE(setup, nullptr);
    Click(setup, IDC_ENABLE_UNINSTALLER);
    Type(setup, IDC_SHORTCUT_FOLDER, "Writer Tools");
    HWND requirements = ShowForm(ID_PROJECT_REQUIREMENTS, IDC_DISK_SPACE);
    Type(requirements, IDC_DISK_SPACE, "4096");
    HWND create = ShowForm(ID_PROJECT_CREATE_SETUP, IDC_SETUP_FILE_NAME);
    Type(create, IDC_SETUP_FILE_NAME, "WriterSetup.exe");

    HWND page = ShowPage(ID_PROJECT_FILES, kFilesPage);
    ASSERT_NE(page, nullptr);
    HWND list = GetDlgItem(page, IDC_PAGE_LIST);
    ASSERT_EQ(ListRowCount(list), 5);
    // A folder dropped, a file deleted, a file's options changed in its dialog, a new folder.
    const std::string extra = folder_.Path() + "\\extra";
    CreateDirectoryA(extra.c_str(), nullptr);
    for (const char* name : {"a.txt", "b.txt"}) std::ofstream(extra + "\\" + name) << name;
    DropFiles(builder_.Id(), page, {extra});
    ASSERT_TRUE(WaitFor([&] { return ListRowCount(list) == 6; }));
    SelectRows(builder_.Id(), list, {4});
    builder_.Command(ID_DELETE);
    ASSERT_TRUE(WaitFor([&] { return ListRowCount(list) == 5; }));
    SelectRows(builder_.Id(), list, {4});
    builder_.Command(ID_PROPERTIES);
    HWND properties = builder_.WaitForDialog(builder_.LanguageText("English", "FILE_PROPERTIES_DIALOG", "0"));
    ASSERT_NE(properties, nullptr);
    Click(properties, IDC_FILE_OPTION_FIRST + 2);
    PressButton(properties, IDC_OK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(properties); }));
    builder_.Command(ID_NEW_FOLDER);
    HWND name = builder_.WaitForDialog(builder_.LanguageText("English", "NEW_FOLDER_DIALOG", "0"));
    ASSERT_NE(name, nullptr);
    Type(name, IDC_ITEM_NAME, "plugins");
    PressButton(name, IDC_OK);
    ASSERT_TRUE(WaitFor([&] { return ListRowCount(list) == 6; }));

    const std::string edited = Save();
    ASSERT_NE(edited, opened);
    EXPECT_EQ(builder_.Title(), "Quillset - [Demo]");

    EXPECT_EQ(TakeAll(ID_EDIT_UNDO, 'Z'), 12);
    EXPECT_EQ(builder_.Title(), "Quillset - [Demo*]") << "undone past the saved state";
    EXPECT_EQ(Save(), opened);
    EXPECT_TRUE(WaitFor([&] { return ListRowCount(GetDlgItem(PageWindow(builder_.Main(), kFilesPage), IDC_PAGE_LIST)) == 5; }));

    EXPECT_EQ(TakeAll(ID_EDIT_REDO, 'Y'), 12);
    EXPECT_EQ(Save(), edited);
    EXPECT_FALSE(ToolbarEnabled(ID_EDIT_REDO));
    EXPECT_TRUE(ToolbarEnabled(ID_EDIT_UNDO));
}

}  // namespace
