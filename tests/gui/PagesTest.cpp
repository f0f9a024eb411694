// The Files, Registry, Shortcuts and File types pages under test in a real window: each section
// of the example project built again from nothing through the page and its dialogs, saved and
// compared with the expected project, then built, installed silently and checked on the target.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BuilderTest.h"
#include "RemoteControls.h"
#include "resource.h"

namespace {

enum { kFilesPage = 3, kShortcutsPage = 4, kRegistryPage = 5, kFileTypesPage = 6 };
constexpr const char* kProductKey = "Software\\Quillset Examples\\Quillset Demo";

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteWhole(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The project text with the lines of `section` taken out (its header and empty line stay).
std::string WithEmptySection(const std::string& text, const std::string& section) {
    const size_t header = text.find("[" + section + "]\r\n");
    const size_t start = header + section.size() + 4;
    return text.substr(0, start) + text.substr(text.find("\r\n\r\n", start) + 2);
}

std::string ProgramsFolder(int folder) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

class PagesTest : public BuilderTest {
protected:
    // The example project with `section` emptied, opened in the builder on `page`.
    void OpenWithout(const std::string& section, UINT pageCommand, int page) {
        WriteWhole(project_, WithEmptySection(ReadWhole(project_), section));
        target_ = folder_.Path() + "\\Installed";
        ASSERT_NO_FATAL_FAILURE(OpenExample());
        page_ = ShowPage(pageCommand, page);
        ASSERT_NE(page_, nullptr);
        list_ = GetDlgItem(page_, IDC_PAGE_LIST);
        tree_ = GetDlgItem(page_, IDC_PAGE_TREE);
    }

    DWORD Process() const { return builder_.Id(); }

    // A dialog of the builder with the English title of `key` in `section`.
    HWND Dialog(const char* section, const char* key) {
        return builder_.WaitForDialog(builder_.LanguageText("English", section, key));
    }

    // Presses OK and answers the warning that has to come; its text.
    std::string ExpectWarning(HWND dialog) {
        PressButton(dialog, IDC_OK);
        HWND box = builder_.WaitForDialog("Quillset");
        if (!box) return "<no warning>";
        const std::string text = WindowText(GetDlgItem(box, 0xFFFF));
        PressButton(box, IDOK);
        WaitFor([&] { return !IsWindow(box); });
        return text;
    }

    // The window that has the keyboard focus in the thread of `window`.
    static HWND FocusOf(HWND window) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
    }

        bool Closes(HWND dialog) {
        return WaitFor([&] { return !IsWindow(dialog); });
    }

    void ClickOk(HWND dialog) {
        PressButton(dialog, IDC_OK);
        EXPECT_TRUE(Closes(dialog));
    }

    // Saves and answers the project text with the test's folder written <TEST>.
    std::string Save() {
        builder_.Command(ID_FILE_SAVE);
        EXPECT_TRUE(WaitFor([&] { return !ToolbarEnabled(ID_FILE_SAVE); }));
        return ReplaceAll(ReadWhole(project_), folder_.Path(), "<TEST>");
    }

    std::string Expected(const std::string& name) { return ReadWhole(std::string(QS_EXPECTED) + "\\" + name); }

    // Builds the saved project with qsbuild and installs it silently into target_; true when
    // both succeeded.
    bool BuildAndInstall() {
        BuilderProcess qsbuild;
        if (!qsbuild.Start(folder_.CommandLineBuilder(), "--quiet \"" + project_ + "\"") || qsbuild.WaitForExit(180000) != 0)
            return false;
        BuilderProcess setup;
        return setup.Start(projectFolder_ + "\\output\\DemoSetup.exe", "/S \"/D=" + target_ + "\"") &&
               setup.WaitForExit(180000) == 0;
    }

    bool Uninstall() {
        BuilderProcess uninstall;
        return uninstall.Start(target_ + "\\uninstall.exe", "/S") && uninstall.WaitForExit(180000) == 0 &&
               WaitFor([&] { return !Exists(target_ + "\\uninstall.exe"); });
    }

    std::string target_;
    HWND page_ = nullptr, list_ = nullptr, tree_ = nullptr;
};

TEST_F(PagesTest, FilesAreLaidOutThroughTheFilesPageAndInstalled) {
    ASSERT_NO_FATAL_FAILURE(OpenWithout("APPLICATION_FILES", ID_PROJECT_FILES, kFilesPage));
    ASSERT_NE(list_, nullptr);
    // The tree and the list name the folder variables by their display names.
    ASSERT_EQ(TreeText(Process(), tree_, TreeSelection(tree_)), "Application");
    EXPECT_EQ(TreeText(Process(), tree_, TreeItemAt(tree_, {0})), "Destination Computer");
    EXPECT_EQ(ListRowCount(list_), 0);
    EXPECT_FALSE(ToolbarEnabled(ID_FILE_SAVE));

    // New Folder: a slash is refused, then the folder is added; a second "BIN" is refused.
    builder_.Command(ID_NEW_FOLDER);
    HWND name = Dialog("NEW_FOLDER_DIALOG", "0");
    ASSERT_NE(name, nullptr);
    Type(name, IDC_ITEM_NAME, "a/b");
    EXPECT_EQ(ExpectWarning(name), builder_.LanguageText("English", "STRINGS", "55"));
    Type(name, IDC_ITEM_NAME, "bin");
    ClickOk(name);
    EXPECT_EQ(ListRowCount(list_), 1);
    EXPECT_TRUE(ToolbarEnabled(ID_FILE_SAVE)) << "an added folder marks the project modified";
    builder_.Command(ID_NEW_FOLDER);
    name = Dialog("NEW_FOLDER_DIALOG", "0");
    Type(name, IDC_ITEM_NAME, "BIN");
    PressButton(name, IDC_OK);
    HWND box = builder_.WaitForDialog("Quillset");
    ASSERT_NE(box, nullptr) << "a name that is taken is refused with a message";
    EXPECT_NE(WindowText(GetDlgItem(box, 0xFFFF)).find("BIN"), std::string::npos);
    PressButton(box, IDOK);
    ASSERT_TRUE(Closes(box));
    // The dialog stays, with the name as typed, in the field that holds the focus, to be mended.
    ASSERT_TRUE(IsWindow(name));
    EXPECT_EQ(WindowText(GetDlgItem(name, IDC_ITEM_NAME)), "BIN");
    EXPECT_TRUE(WaitFor([&] { return FocusOf(name) == GetDlgItem(name, IDC_ITEM_NAME); }, 5000));
    PressButton(name, IDCANCEL);
    ASSERT_TRUE(Closes(name));
    EXPECT_EQ(ListRowCount(list_), 1);

    // Insert Files: two files chosen together in the system's open-file dialog.
    builder_.Command(ID_INSERT_FILES);
    HWND open = builder_.WaitForDialog("Insert Files into Project");
    ASSERT_NE(open, nullptr);
    HWND nameField = GetDlgItem(open, 0x47C) ? GetDlgItem(open, 0x47C) : GetDlgItem(open, 0x480);
    SendMessageA(nameField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((projectFolder_ + "\\files").c_str()));
    PressButton(open, IDOK);
    Sleep(500);
    SendMessageA(nameField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("\"License.txt\" \"ReadMe.txt\""));
    PressButton(open, IDOK);
    ASSERT_TRUE(Closes(open));
    ASSERT_TRUE(WaitFor([&] { return ListRowCount(list_) == 3; }));
    EXPECT_EQ(ListText(Process(), list_, 1, 0), "License.txt");
    EXPECT_EQ(ListText(Process(), list_, 1, 1), "181 bytes");
    EXPECT_EQ(ListText(Process(), list_, 2, 4), projectFolder_ + "\\files");

    // A drop of three folders: bin merges into the folder of that name, the others arrive whole.
    const std::string extra = folder_.Path() + "\\extra";
    CreateDirectoryA(extra.c_str(), nullptr);
    for (const char* file : {"a.txt", "b.txt", "c.txt", "d.txt"}) WriteWhole(extra + "\\" + file, file);
    DropFiles(Process(), page_, {projectFolder_ + "\\files\\bin", projectFolder_ + "\\files\\data",
                                 projectFolder_ + "\\files\\docs", extra});
    ASSERT_TRUE(WaitFor([&] { return ListRowCount(list_) == 6; })) << ListRowCount(list_);
    EXPECT_EQ(ListText(Process(), list_, 3, 0), "extra");
    EXPECT_EQ(ListText(Process(), list_, 3, 2), builder_.LanguageText("English", "STRINGS", "30"));

    // A double click on a folder row opens that folder; rows 1 and 3 of a selection go.
    DoubleClickRow(Process(), list_, 3);
    ASSERT_TRUE(WaitFor([&] { return TreeText(Process(), tree_, TreeSelection(tree_)) == "extra"; }));
    ASSERT_EQ(ListRowCount(list_), 4);
    SelectRows(Process(), list_, {1, 3});
    EXPECT_TRUE(ToolbarEnabled(ID_DELETE));
    builder_.Command(ID_DELETE);
    ASSERT_TRUE(WaitFor([&] { return ListRowCount(list_) == 2; }));
    EXPECT_EQ(ListText(Process(), list_, 0, 0), "a.txt");
    EXPECT_EQ(ListText(Process(), list_, 1, 0), "c.txt");

    // The fixed folders cannot be deleted: with only them selected nothing is offered or done.
    SelectTreeItem(tree_, TreeItemAt(tree_, {0}));
    ASSERT_TRUE(WaitFor([&] { return ListRowCount(list_) == 3; }));
    SelectRows(Process(), list_, {0, 1, 2});
    EXPECT_FALSE(ToolbarEnabled(ID_DELETE));
    EXPECT_FALSE(ToolbarEnabled(ID_NEW_FOLDER)) << "nothing is added to the top node";
    builder_.Command(ID_DELETE);
    PostMessageA(list_, WM_KEYDOWN, VK_DELETE, 0);
    Sleep(300);
    EXPECT_EQ(ListRowCount(list_), 3);

    // bin\hello.cmd is what the example's shortcut starts and its file type opens with: deleting
    // it asks first, naming both, and No keeps it.
    SelectTreeItem(tree_, TreeItemAt(tree_, {0, 0}));
    ASSERT_TRUE(WaitFor([&] { return ListRowCount(list_) == 6; }));
    DoubleClickRow(Process(), list_, 0);
    ASSERT_TRUE(WaitFor([&] { return TreeText(Process(), tree_, TreeSelection(tree_)) == "bin"; }));
    SelectRows(Process(), list_, {0});
    builder_.Command(ID_DELETE);
    HWND question = builder_.WaitForDialog("Quillset");
    ASSERT_NE(question, nullptr) << "a file that other items name goes without a word";
    const std::string asked = WindowText(GetDlgItem(question, 0xFFFF));
    EXPECT_NE(asked.find("%AppDir%\\bin\\hello.cmd: Shortcut %AppSCFolder%\\Quillset Demo"), std::string::npos) << asked;
    EXPECT_NE(asked.find("File type qsdemo"), std::string::npos) << asked;
    PressButton(question, IDNO);
    ASSERT_TRUE(Closes(question));
    EXPECT_EQ(ListRowCount(list_), 1);

    // File Properties of data\settings.ini: the replace mode "ask the user".
    SelectTreeItem(tree_, TreeItemAt(tree_, {0, 0}));
    ASSERT_TRUE(WaitFor([&] { return ListRowCount(list_) == 6; }));
    DoubleClickRow(Process(), list_, 1);
    ASSERT_TRUE(WaitFor([&] { return TreeText(Process(), tree_, TreeSelection(tree_)) == "data"; }));
    SelectRows(Process(), list_, {0});
    EXPECT_TRUE(ToolbarEnabled(ID_PROPERTIES));
    builder_.Command(ID_PROPERTIES);
    HWND properties = Dialog("FILE_PROPERTIES_DIALOG", "0");
    ASSERT_NE(properties, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(properties, IDC_FILE_DESTINATION_TEXT)), "%AppDir%\\data\\settings.ini");
    EXPECT_TRUE(IsChecked(properties, IDC_FILE_OPTION_FIRST));
    SendDlgItemMessageA(properties, IDC_FILE_REPLACE_MODE, CB_SETCURSEL, 5, 0);
    SendMessageA(properties, WM_COMMAND, MAKEWPARAM(IDC_FILE_REPLACE_MODE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(properties, IDC_FILE_REPLACE_MODE)));
    ClickOk(properties);

    EXPECT_EQ(Save(), Expected("PagesFiles.qsp"));
    ASSERT_TRUE(BuildAndInstall());
    for (const char* file : {"bin\\hello.cmd", "data\\settings.ini", "docs\\Guide.html", "extra\\a.txt", "extra\\c.txt",
                             "License.txt", "ReadMe.txt"})
        EXPECT_TRUE(Exists(target_ + "\\" + file)) << file;
    EXPECT_FALSE(Exists(target_ + "\\extra\\b.txt"));
    EXPECT_TRUE(Uninstall());
    EXPECT_FALSE(Exists(target_ + "\\extra\\a.txt"));
}

// A product file renamed or deleted on the disk shows as missing when its folder is shown.
TEST_F(PagesTest, AProductFileGoneFromTheDiskIsMarkedMissing) {
    ASSERT_NO_FATAL_FAILURE(OpenWithout("SHORTCUTS", ID_PROJECT_REGISTRY, kRegistryPage));
    ASSERT_TRUE(DeleteFileA((projectFolder_ + "\\files\\ReadMe.txt").c_str()));
    HWND page = ShowPage(ID_PROJECT_FILES, kFilesPage);
    ASSERT_NE(page, nullptr);
    HWND list = GetDlgItem(page, IDC_PAGE_LIST), tree = GetDlgItem(page, IDC_PAGE_TREE);
    SelectTreeItem(tree, TreeItemAt(tree, {0, 0}));
    ASSERT_TRUE(WaitFor([&] { return ListRowCount(list) == 5; }));
    int missing = -1, present = -1;
    for (int row = 0; row < ListRowCount(list); ++row) {
        const std::string name = ListText(Process(), list, row, 0);
        if (name == "ReadMe.txt") missing = row;
        if (name == "License.txt") present = row;
    }
    ASSERT_GE(missing, 0);
    ASSERT_GE(present, 0);
    EXPECT_EQ(ListText(Process(), list, missing, 1), "missing");
    EXPECT_EQ(ListText(Process(), list, missing, 2), "File not found");
    EXPECT_NE(ListText(Process(), list, present, 1), "missing");
}

TEST_F(PagesTest, RegistryKeysAndEveryKindOfValueAreAddedEditedAndInstalled) {
    ASSERT_NO_FATAL_FAILURE(OpenWithout("REGISTRY_ENTRIES", ID_PROJECT_REGISTRY, kRegistryPage));
    ASSERT_NE(tree_, nullptr);
    SelectTreeItem(tree_, TreeItemAt(tree_, {0, 2}));
    std::vector<int> path = {0, 2};
    for (const char* key : {"Software", "Quillset Examples", "Quillset Demo"}) {
        builder_.Command(ID_NEW_KEY);
        HWND dialog = Dialog("NEW_KEY_DIALOG", "0");
        ASSERT_NE(dialog, nullptr);
        Type(dialog, IDC_ITEM_NAME, key);
        ClickOk(dialog);
        path.push_back(0);
        HTREEITEM item = TreeItemAt(tree_, path);
        ASSERT_EQ(TreeText(Process(), tree_, item), key);
        SelectTreeItem(tree_, item);
    }
    auto addString = [&](const char* name, const char* data) {
        builder_.Command(ID_NEW_STRING);
        HWND dialog = Dialog("REGISTRY_STRING_VALUE_DIALOG", "0");
        Type(dialog, IDC_ITEM_NAME, name);
        Type(dialog, IDC_VALUE_DATA, data);
        return dialog;
    };
    ClickOk(addString("InstallPath", "%AppDir%"));
    HWND again = addString("installpath", "x");
    PressButton(again, IDC_OK);
    HWND box = builder_.WaitForDialog("Quillset");
    ASSERT_NE(box, nullptr) << "a value name that is taken is refused with a message";
    PressButton(box, IDOK);
    ASSERT_TRUE(Closes(box));
    // The dialog stays with what was typed, to be mended or cancelled.
    ASSERT_TRUE(IsWindow(again));
    EXPECT_EQ(WindowText(GetDlgItem(again, IDC_ITEM_NAME)), "installpath");
    EXPECT_EQ(WindowText(GetDlgItem(again, IDC_VALUE_DATA)), "x");
    PressButton(again, IDCANCEL);
    ASSERT_TRUE(Closes(again));
    ClickOk(addString("Version", "%ProductVersion%"));

    // A token of three digits is refused by name, and the dialog stays for the correction.
    builder_.Command(ID_NEW_BINARY);
    HWND binary = Dialog("REGISTRY_BINARY_VALUE_DIALOG", "0");
    ASSERT_NE(binary, nullptr);
    Type(binary, IDC_ITEM_NAME, "Bytes");
    Type(binary, IDC_VALUE_DATA, "0A 100 10");
    EXPECT_NE(ExpectWarning(binary).find("\"100\""), std::string::npos);
    ASSERT_TRUE(IsWindow(binary));
    Type(binary, IDC_VALUE_DATA, "0A FF\r\n10");
    ClickOk(binary);

    // The number dialog shows the number in either base; switching is no change.
    builder_.Command(ID_NEW_DWORD);
    HWND number = Dialog("REGISTRY_DWORD_VALUE_DIALOG", "0");
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(number, IDC_VALUE_DATA)), "0x00000000");
    Type(number, IDC_ITEM_NAME, "Count");
    Click(number, IDC_VALUE_DECIMAL);
    Type(number, IDC_VALUE_DATA, "255");
    Click(number, IDC_VALUE_HEXADECIMAL);
    EXPECT_EQ(WindowText(GetDlgItem(number, IDC_VALUE_DATA)), "0x000000FF");
    Click(number, IDC_VALUE_DECIMAL);
    EXPECT_EQ(WindowText(GetDlgItem(number, IDC_VALUE_DATA)), "255");
    ClickOk(number);

    ASSERT_EQ(ListRowCount(list_), 4);
    EXPECT_EQ(ListText(Process(), list_, 0, 1), "\"%AppDir%\"");
    EXPECT_EQ(ListText(Process(), list_, 2, 1), "0A FF 10");
    EXPECT_EQ(ListText(Process(), list_, 3, 1), "0x000000FF");

    // Properties: OK without a change leaves the value; FF typed in hexadecimal is 255 again,
    // then 100 in hexadecimal makes 256.
    SelectRows(Process(), list_, {3});
    builder_.Command(ID_PROPERTIES);
    number = Dialog("REGISTRY_DWORD_VALUE_DIALOG", "1");
    ASSERT_NE(number, nullptr);
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(number, IDC_ITEM_NAME), GWL_STYLE) & ES_READONLY);
    Click(number, IDC_VALUE_DECIMAL);
    EXPECT_EQ(WindowText(GetDlgItem(number, IDC_VALUE_DATA)), "255");
    Click(number, IDC_VALUE_HEXADECIMAL);
    Type(number, IDC_VALUE_DATA, "100");
    ClickOk(number);
    EXPECT_EQ(ListText(Process(), list_, 3, 1), "0x00000100");

    EXPECT_EQ(Save(), Expected("PagesRegistry.qsp"));
    ASSERT_TRUE(BuildAndInstall());
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    BYTE data[64] = {};
    DWORD size = sizeof data, type = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Bytes", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), std::string("\x0A\xFF\x10"));
    size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(key, "Count", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(*reinterpret_cast<DWORD*>(data), 256u);
    size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(key, "InstallPath", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_STREQ(reinterpret_cast<char*>(data), target_.c_str());
    RegCloseKey(key);
    EXPECT_TRUE(Uninstall());
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(PagesTest, ShortcutsComeFromProjectFilesAndAnInternetShortcutNeedsItsAddress) {
    ASSERT_NO_FATAL_FAILURE(OpenWithout("SHORTCUTS", ID_PROJECT_SHORTCUTS, kShortcutsPage));
    ASSERT_EQ(TreeText(Process(), tree_, TreeSelection(tree_)), "Application Shortcut Folder");
    EXPECT_EQ(ListRowCount(list_), 0);

    // Cancelling the choice adds nothing and opens no second dialog.
    builder_.Command(ID_NEW_SHORTCUT);
    HWND choose = Dialog("CHOOSE_FILE_DIALOG", "0");
    ASSERT_NE(choose, nullptr);
    PressButton(choose, IDCANCEL);
    ASSERT_TRUE(Closes(choose));
    Sleep(300);
    EXPECT_EQ(builder_.FindDialog(), nullptr);

    // The file is chosen in the read-only files page: bin opened by a double click, then hello.cmd.
    builder_.Command(ID_NEW_SHORTCUT);
    choose = Dialog("CHOOSE_FILE_DIALOG", "0");
    ASSERT_NE(choose, nullptr);
    HWND chooser = GetDlgItem(choose, IDC_CHOOSE_FILE_PAGE);
    HWND files = GetDlgItem(chooser, IDC_PAGE_LIST);
    ASSERT_NE(files, nullptr);
    EXPECT_FALSE(IsEnabled(choose, IDC_OK));
    DoubleClickRow(Process(), files, 0);
    ASSERT_TRUE(WaitFor([&] { return ListText(Process(), files, 0, 0) == "hello.cmd"; }));
    SelectRows(Process(), files, {0});
    ASSERT_TRUE(WaitFor([&] { return IsEnabled(choose, IDC_OK); }));
    PressButton(choose, IDC_OK);
    ASSERT_TRUE(Closes(choose));
    HWND shortcut = Dialog("SHORTCUT_DIALOG", "0");
    ASSERT_NE(shortcut, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(shortcut, IDC_ITEM_NAME)), "hello");
    EXPECT_EQ(WindowText(GetDlgItem(shortcut, IDC_SHORTCUT_TARGET)), "%AppDir%\\bin\\hello.cmd");
    EXPECT_EQ(WindowText(GetDlgItem(shortcut, IDC_SHORTCUT_WORKING_FOLDER)), "%AppDir%\\bin");
    Type(shortcut, IDC_ITEM_NAME, "Quillset Demo");
    Type(shortcut, IDC_SHORTCUT_WORKING_FOLDER, "%AppDir%");
    ClickOk(shortcut);

    builder_.Command(ID_NEW_INTERNET_SHORTCUT);
    HWND internet = Dialog("INTERNET_SHORTCUT_DIALOG", "0");
    ASSERT_NE(internet, nullptr);
    Type(internet, IDC_ITEM_NAME, "Quillset Demo on the Web");
    EXPECT_EQ(ExpectWarning(internet), builder_.LanguageText("English", "STRINGS", "57"));
    ASSERT_TRUE(IsWindow(internet));
    Type(internet, IDC_INTERNET_URL, "http://www.example.com/");
    ClickOk(internet);
    ASSERT_EQ(ListRowCount(list_), 2);
    EXPECT_EQ(ListText(Process(), list_, 1, 1), builder_.LanguageText("English", "STRINGS", "33"));
    EXPECT_EQ(ListText(Process(), list_, 1, 2), "http://www.example.com/");

    EXPECT_EQ(Save(), Expected("PagesShortcuts.qsp"));
    ASSERT_TRUE(BuildAndInstall());
    bool found = false;
    for (int folder : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS})
        found = found || Exists(ProgramsFolder(folder) + "\\Quillset Demo\\Quillset Demo.lnk");
    EXPECT_TRUE(found) << "the shortcut is on the target";
    EXPECT_TRUE(Uninstall());
}

TEST_F(PagesTest, FileTypesAreAddedFromTheirDefaultsAndDeleted) {
    ASSERT_NO_FATAL_FAILURE(OpenWithout("FILE_TYPES", ID_PROJECT_FILE_TYPES, kFileTypesPage));
    ASSERT_NE(list_, nullptr);
    EXPECT_TRUE(ToolbarEnabled(ID_NEW_FILE_ASSOCIATION));
    builder_.Command(ID_NEW_FILE_ASSOCIATION);
    HWND dialog = Dialog("FILE_TYPE_PROPERTIES_DIALOG", "0");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_ITEM_NAME)), ".abc");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_FILE_TYPE_IDENTIFIER)), "abc.Document");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_FILE_TYPE_FULL_NAME)), "abc Document");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_FILE_TYPE_ICON_NUMBER)), "0");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_ITEM_LABEL + 3)), "&Opening program:");
    // The offered identifier and full name follow the extension until they are edited.
    Type(dialog, IDC_ITEM_NAME, ".pnote");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_FILE_TYPE_IDENTIFIER)), "pnote.Document");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_FILE_TYPE_FULL_NAME)), "pnote Document");
    Type(dialog, IDC_FILE_TYPE_FULL_NAME, "Pocket note");
    Type(dialog, IDC_ITEM_NAME, "qsdemo");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_FILE_TYPE_IDENTIFIER)), "qsdemo.Document");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_FILE_TYPE_FULL_NAME)), "Pocket note");
    Type(dialog, IDC_FILE_TYPE_IDENTIFIER, "QuillsetDemo.Document");
    Type(dialog, IDC_FILE_TYPE_FULL_NAME, "Quillset Demo document");
    Type(dialog, IDC_FILE_TYPE_PROGRAM, "%AppDir%\\bin\\hello.cmd");
    Type(dialog, IDC_FILE_TYPE_ICON, "%AppDir%\\bin\\hello,cmd");
    EXPECT_EQ(ExpectWarning(dialog), builder_.LanguageText("English", "STRINGS", "58"));
    Type(dialog, IDC_FILE_TYPE_ICON, "%AppDir%\\bin\\hello.cmd");
    ClickOk(dialog);
    for (int round = 0; round < 2; ++round) {
        builder_.Command(ID_NEW_FILE_ASSOCIATION);
        dialog = Dialog("FILE_TYPE_PROPERTIES_DIALOG", "0");
        ASSERT_NE(dialog, nullptr);
        if (round == 0) {
            ClickOk(dialog);
        } else {
            PressButton(dialog, IDC_OK);
            HWND box = builder_.WaitForDialog("Quillset");
            ASSERT_NE(box, nullptr) << "a second .abc is refused with a message";
            PressButton(box, IDOK);
            ASSERT_TRUE(Closes(box));
        }
    }
    ASSERT_EQ(ListRowCount(list_), 2);
    EXPECT_EQ(ListText(Process(), list_, 1, 0), ".abc");
    SelectRows(Process(), list_, {0, 1});
    EXPECT_FALSE(ToolbarEnabled(ID_PROPERTIES));
    SelectRows(Process(), list_, {1});
    EXPECT_TRUE(ToolbarEnabled(ID_PROPERTIES));
    builder_.Command(ID_DELETE);
    ASSERT_TRUE(WaitFor([&] { return ListRowCount(list_) == 1; }));

    EXPECT_EQ(Save(), ReadWhole(std::string(QS_EXAMPLE) + "\\Demo.qsp")) << "the example's own file types";
    ASSERT_TRUE(BuildAndInstall());
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "QuillsetDemo.Document", 0, KEY_READ, &key), ERROR_SUCCESS);
    if (key) RegCloseKey(key);
    EXPECT_TRUE(Uninstall());
}

}  // namespace
