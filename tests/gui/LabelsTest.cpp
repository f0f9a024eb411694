// The labels of the pages and item dialogs in a real window: their Alt+letter access keys, the
// names the trees show for folder variables in the window's language, and the Files page's mark
// of a product file missing from the disk with the File Properties dialog's Browse.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "BuilderTest.h"
#include "RemoteControls.h"
#include "resource.h"

namespace {

enum { kFilesPage = 3, kShortcutsPage = 4, kFileTypesPage = 6 };

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The letter after the "&" of a text (upper case), or 0 when it has none.
char AccessKey(const std::string& text) {
    for (size_t at = text.find('&'); at != std::string::npos && at + 1 < text.size(); at = text.find('&', at + 2))
        if (text[at + 1] != '&') return static_cast<char>(std::toupper(static_cast<unsigned char>(text[at + 1])));
    return 0;
}

std::vector<HWND> ChildrenInOrder(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

bool IsField(HWND control) {
    const std::string name = ClassOf(control);
    return (GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) &&
           (name == "Edit" || name == "ComboBox" || name == "ListBox");
}

// A static text or a group box: its access key puts the focus into the control after it.
bool IsLabel(HWND control) {
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    const std::string kind = ClassOf(control);
    return ((kind == "Static" && !(style & SS_NOPREFIX)) || (kind == "Button" && (style & 0x0F) == BS_GROUPBOX)) &&
           !WindowText(control).empty();
}

// The window that has the keyboard focus in the thread of `window`.
HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

// The first control after `label` that the dialog manager's next-control step reaches.
HWND NextTabStop(HWND label) {
    for (HWND next = GetWindow(label, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT))
        if ((GetWindowLongA(next, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(next) && IsWindowEnabled(next))
            return next;
    return nullptr;
}

// The access keys of a page or dialog: one letter a control at most, none of `reserved` (the
// menu bar's, for a page), one on every label of a field; Alt with a label's letter puts the
// focus into the control after the label.
void CheckAccessKeys(HWND dialog, const std::set<char>& reserved, const std::string& where) {
    std::map<char, std::string> used;
    int pressed = 0;
    const std::vector<HWND> children = ChildrenInOrder(dialog);
    for (size_t index = 0; index < children.size(); ++index) {
        HWND control = children[index];
        const std::string text = WindowText(control);
        const std::string kind = ClassOf(control);
        if (kind == "Static" && (GetWindowLongA(control, GWL_STYLE) & SS_NOPREFIX)) continue;
        const char key = AccessKey(text);
        if (IsLabel(control) && index + 1 < children.size() && IsField(children[index + 1])) {
            EXPECT_NE(key, 0) << where << ": the label \"" << text << "\" has no access key";
        }
        if (!key) continue;
        const auto [at, fresh] = used.emplace(key, text);
        EXPECT_TRUE(fresh) << where << ": \"" << text << "\" and \"" << at->second << "\" share " << key;
        EXPECT_EQ(reserved.count(key), 0u) << where << ": \"" << text << "\" takes the menu's " << key;
        // A disabled label's key does nothing, as the control it names is disabled with it.
        if (!IsLabel(control) || !IsWindowVisible(control) || !IsWindowEnabled(control)) continue;
        HWND expected = NextTabStop(control);
        if (!expected) continue;
        // Alt+letter as the keyboard delivers it to the window with the focus.
        PostMessageA(dialog, WM_SYSCHAR, static_cast<WPARAM>(std::tolower(static_cast<unsigned char>(key))), 1 << 29);
        EXPECT_TRUE(WaitFor([&] { return FocusOf(dialog) == expected; }, 5000))
            << where << ": Alt+" << key << " of \"" << text << "\" leaves the focus on \"" << WindowText(FocusOf(dialog))
            << "\" instead of control " << GetDlgCtrlID(expected);
        ++pressed;
    }
    EXPECT_GT(pressed, 0) << where << ": no label with an access key";
}

// The menu bar's letters in `language`: its titles are texts 1000 to 1006.
std::set<char> MenuLetters(const BuilderProcess& builder, const std::string& language) {
    std::set<char> letters;
    for (const char* key : {"1000", "1001", "1002", "1003", "1004", "1005", "1006"})
        if (const char letter = AccessKey(builder.LanguageText(language, "STRINGS", key))) letters.insert(letter);
    return letters;
}

int ListImage(DWORD process, HWND list, int row) {
    RemoteBuffer buffer(process, sizeof(LVITEMA));
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    buffer.Write(&item, sizeof item);
    SendMessageA(list, LVM_GETITEMA, 0, buffer.Param());
    buffer.Read(&item, sizeof item);
    return item.iImage;
}

class LabelsTest : public BuilderTest {
protected:
    void SetUp() override {
        BuilderTest::SetUp();
        OpenExample();
    }

    // An item dialog of the builder with the title of `key` in `section` of `language`.
    HWND Dialog(const char* section, const char* key, const std::string& language = "English") {
        return builder_.WaitForDialog(builder_.LanguageText(language, section, key));
    }

    void Cancel(HWND dialog) {
        PressButton(dialog, IDCANCEL);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    }

    HWND ShowFilesPage() {
        HWND page = ShowPage(ID_PROJECT_FILES, kFilesPage);
        EXPECT_NE(page, nullptr);
        return PageWindow(builder_.Main(), kFilesPage);
    }

    int RowNamed(HWND list, const std::string& name) {
        for (int row = 0; row < ListRowCount(list); ++row)
            if (ListText(builder_.Id(), list, row, 0) == name) return row;
        return -1;
    }
};

struct FormPage {
    UINT command;
    int control;
    const char* name;
};
constexpr FormPage kFormPages[] = {
    {ID_PROJECT_GENERAL_INFO, IDC_COMPANY_NAME, "General Info"},
    {ID_PROJECT_SETUP_INFO, IDC_INSTALLATION_PATH, "Setup Info"},
    {ID_PROJECT_REQUIREMENTS, IDC_DISK_SPACE, "Requirements"},
    {ID_PROJECT_DIALOGS, IDC_SPLASH_SCREEN, "Dialogs/Screens"},
    {ID_PROJECT_CREATE_SETUP, IDC_OUTPUT_FOLDER, "Create Setup"},
};

TEST_F(LabelsTest, EveryPagesAccessKeysFocusTheirFieldsInEnglishAndGerman) {
    for (const std::string language : {"English", "German"}) {
        if (language == "German") {
            builder_.Command(ID_LANGUAGE_FIRST + 1);  // English, German
            builder_.Command(ID_PROJECT_GENERAL_INFO);
            const std::string german = builder_.LanguageText("German", "GENERAL_INFO_TAB", "1");
            ASSERT_TRUE(WaitFor([&] {
                HWND form = builder_.FindForm(IDC_COMPANY_NAME);
                return form && WindowText(GetDlgItem(form, IDC_GENERAL_INFO_LABEL1)) == german;
            }));
        }
        const std::set<char> menu = MenuLetters(builder_, language);
        ASSERT_EQ(menu.size(), 7u) << language;
        for (const FormPage& page : kFormPages) {
            HWND form = ShowForm(page.command, page.control);
            ASSERT_NE(form, nullptr) << page.name;
            CheckAccessKeys(form, menu, language + " " + page.name);
        }
    }
}

TEST_F(LabelsTest, EveryItemDialogsAccessKeysFocusTheirFields) {
    HWND page = ShowFilesPage();
    HWND list = GetDlgItem(page, IDC_PAGE_LIST), tree = GetDlgItem(page, IDC_PAGE_TREE);
    SelectTreeItem(tree, TreeItemAt(tree, {0, 0}));
    ASSERT_TRUE(WaitFor([&] { return ListRowCount(list) == 5; }));
    builder_.Command(ID_NEW_FOLDER);
    HWND dialog = Dialog("NEW_FOLDER_DIALOG", "0");
    ASSERT_NE(dialog, nullptr);
    CheckAccessKeys(dialog, {}, "New Folder");
    Cancel(dialog);

    SelectRows(builder_.Id(), list, {RowNamed(list, "License.txt")});
    builder_.Command(ID_PROPERTIES);
    dialog = Dialog("FILE_PROPERTIES_DIALOG", "0");
    ASSERT_NE(dialog, nullptr);
    CheckAccessKeys(dialog, {}, "File Properties");
    Cancel(dialog);

    // The example's shortcuts: a program's and an internet shortcut, each opened in its dialog.
    HWND shortcutsPage = ShowPage(ID_PROJECT_SHORTCUTS, kShortcutsPage);
    ASSERT_NE(shortcutsPage, nullptr);
    HWND shortcuts = GetDlgItem(shortcutsPage, IDC_PAGE_LIST);
    ASSERT_TRUE(WaitFor([&] { return ListRowCount(shortcuts) > 0; }));
    for (const auto& [kind, section] : {std::pair<const char*, const char*>{"32", "SHORTCUT_DIALOG"},
                                        {"33", "INTERNET_SHORTCUT_DIALOG"}}) {
        int row = 0;
        const std::string kindText = builder_.LanguageText("English", "STRINGS", kind);
        while (row < ListRowCount(shortcuts) && ListText(builder_.Id(), shortcuts, row, 1) != kindText) ++row;
        ASSERT_LT(row, ListRowCount(shortcuts)) << kindText;
        SelectRows(builder_.Id(), shortcuts, {row});
        builder_.Command(ID_PROPERTIES);
        dialog = Dialog(section, "1");
        ASSERT_NE(dialog, nullptr) << section;
        CheckAccessKeys(dialog, {}, section);
        Cancel(dialog);
    }

    ASSERT_NE(ShowPage(ID_PROJECT_FILE_TYPES, kFileTypesPage), nullptr);
    builder_.Command(ID_NEW_FILE_ASSOCIATION);
    dialog = Dialog("FILE_TYPE_PROPERTIES_DIALOG", "0");
    ASSERT_NE(dialog, nullptr);
    CheckAccessKeys(dialog, {}, "File Association");
    Cancel(dialog);

    HWND screens = ShowForm(ID_PROJECT_DIALOGS, IDC_SETUP_WINDOW_SETTINGS);
    ASSERT_NE(screens, nullptr);
    PressButton(screens, IDC_SETUP_WINDOW_SETTINGS);
    dialog = Dialog("SETUP_WINDOWS_SETTINGS_DIALOG", "0");
    ASSERT_NE(dialog, nullptr);
    CheckAccessKeys(dialog, {}, "Setup Window Settings");
    Cancel(dialog);
}

// A product file gone from the disk shows the missing mark instead of its type's icon, in the
// window's language; Browse in its File Properties points it at the file's new place, kept
// relative to the project's folder, and the row is a file of its type again.
TEST_F(LabelsTest, AMissingFileIsMarkedAndBrowseGivesItItsNewSource) {
    const std::string moved = projectFolder_ + "\\files\\docs\\Read Me Now.txt";
    ASSERT_TRUE(MoveFileA((projectFolder_ + "\\files\\ReadMe.txt").c_str(), moved.c_str()));
    HWND page = ShowFilesPage();
    HWND list = GetDlgItem(page, IDC_PAGE_LIST), tree = GetDlgItem(page, IDC_PAGE_TREE);
    SelectTreeItem(tree, TreeItemAt(tree, {0, 0}));
    ASSERT_TRUE(WaitFor([&] { return ListRowCount(list) == 5; }));
    int missing = RowNamed(list, "ReadMe.txt");
    const int present = RowNamed(list, "License.txt");
    ASSERT_GE(missing, 0);
    ASSERT_GE(present, 0);
    const int textIcon = ListImage(builder_.Id(), list, present);
    const int missingIcon = ListImage(builder_.Id(), list, missing);
    EXPECT_GE(textIcon, 0);
    EXPECT_GE(missingIcon, 0);
    EXPECT_NE(missingIcon, textIcon) << "a missing .txt file shows the icon of a present one";
    EXPECT_NE(missingIcon, ListImage(builder_.Id(), list, RowNamed(list, "bin"))) << "nor a folder's";
    EXPECT_EQ(ListText(builder_.Id(), list, missing, 1), "missing");

    SelectRows(builder_.Id(), list, {missing});
    builder_.Command(ID_PROPERTIES);
    HWND properties = Dialog("FILE_PROPERTIES_DIALOG", "0");
    ASSERT_NE(properties, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(properties, IDC_FILE_SOURCE_BROWSE)), "&Browse...");
    PressButton(properties, IDC_FILE_SOURCE_BROWSE);
    HWND open = Dialog("FILE_PROPERTIES_DIALOG", "22");
    ASSERT_NE(open, nullptr) << "Browse opens the file dialog";
    ChooseInFileDialog(open, moved);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(open); }));
    EXPECT_TRUE(WaitFor([&] {
        return WindowText(GetDlgItem(properties, IDC_FILE_SOURCE_TEXT)) == "files\\docs\\Read Me Now.txt";
    })) << WindowText(GetDlgItem(properties, IDC_FILE_SOURCE_TEXT));
    PressButton(properties, IDC_OK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(properties); }));

    missing = RowNamed(list, "ReadMe.txt");
    ASSERT_GE(missing, 0) << "the file keeps its name on the target";
    EXPECT_TRUE(WaitFor([&] { return ListImage(builder_.Id(), list, missing) == textIcon; }));
    EXPECT_NE(ListText(builder_.Id(), list, missing, 1), "missing");
    builder_.Command(ID_FILE_SAVE);
    EXPECT_TRUE(WaitFor([&] {
        return ReadWhole(project_).find("File=%AppDir%\\ReadMe.txt,files\\docs\\Read Me Now.txt,1,0\r\n") !=
               std::string::npos;
    })) << ReadWhole(project_);
}

// In German the trees show the folder variables' German names and the Files page its size and
// missing texts in German.
TEST_F(LabelsTest, TreesAndTheFilesPageSpeakTheWindowsLanguage) {
    ASSERT_TRUE(DeleteFileA((projectFolder_ + "\\files\\ReadMe.txt").c_str()));
    HWND page = ShowFilesPage();
    HWND tree = GetDlgItem(page, IDC_PAGE_TREE);
    EXPECT_EQ(TreeText(builder_.Id(), tree, TreeItemAt(tree, {0})), "Destination Computer");
    builder_.Command(ID_LANGUAGE_FIRST + 1);  // English, German
    const std::string computer = builder_.LanguageText("German", "STRINGS", "700");
    const std::string application = builder_.LanguageText("German", "STRINGS", "703");
    ASSERT_EQ(computer, "Zielcomputer");
    EXPECT_TRUE(WaitFor([&] {
        page = PageWindow(builder_.Main(), kFilesPage);
        tree = GetDlgItem(page, IDC_PAGE_TREE);
        return TreeText(builder_.Id(), tree, TreeItemAt(tree, {0})) == computer;
    })) << TreeText(builder_.Id(), tree, TreeItemAt(tree, {0}));
    EXPECT_EQ(TreeText(builder_.Id(), tree, TreeItemAt(tree, {0, 0})), application);
    HWND list = GetDlgItem(page, IDC_PAGE_LIST);
    SelectTreeItem(tree, TreeItemAt(tree, {0, 0}));
    ASSERT_TRUE(WaitFor([&] { return ListRowCount(list) == 5; }));
    const int missing = RowNamed(list, "ReadMe.txt");
    ASSERT_GE(missing, 0);
    EXPECT_EQ(ListText(builder_.Id(), list, missing, 1), builder_.LanguageText("German", "STRINGS", "724"));
    EXPECT_EQ(ListText(builder_.Id(), list, missing, 2), builder_.LanguageText("German", "STRINGS", "723"));
    // License.txt has a few hundred bytes: "<n> Bytes".
    const std::string size = ListText(builder_.Id(), list, RowNamed(list, "License.txt"), 1);
    EXPECT_NE(size.find(" Bytes"), std::string::npos) << size;

    HWND shortcutsPage = ShowPage(ID_PROJECT_SHORTCUTS, kShortcutsPage);
    ASSERT_NE(shortcutsPage, nullptr);
    HWND shortcuts = GetDlgItem(shortcutsPage, IDC_PAGE_TREE);
    EXPECT_EQ(TreeText(builder_.Id(), shortcuts, TreeItemAt(shortcuts, {0})), computer);
}

}  // namespace
