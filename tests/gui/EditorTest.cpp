// The project editor under test in a real window: the example project opened, every form read,
// edited and saved, built from the window and test-run, driven from this process.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "BuilderTest.h"
#include "RemoteControls.h"
#include "resource.h"

namespace {

void WriteWhole(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

LRESULT Count(HWND dialog, int id, UINT message) { return SendDlgItemMessageA(dialog, id, message, 0, 0); }

// The whole text of a control, however long.
std::string Text(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::string text(static_cast<size_t>(SendMessageA(control, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(
        SendMessageA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

void Select(HWND dialog, int listId, const std::string& text) {
    LRESULT index = SendDlgItemMessageA(dialog, listId, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(text.c_str()));
    SendDlgItemMessageA(dialog, listId, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// The visible top-level windows of processes other than these two.
std::set<HWND> WindowsOfOthers(DWORD builder) {
    struct Found {
        DWORD builder;
        std::set<HWND> windows;
    } found{builder, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* found = reinterpret_cast<Found*>(data);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (IsWindowVisible(window) && process != found->builder && process != GetCurrentProcessId())
                found->windows.insert(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

// Temporary folders that a build makes for itself.
std::set<std::string> BuildFolders() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(temp) + "qs-build-*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.insert(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Ends the process that owns `window`, started by the builder for the test.
void EndProcessOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (HANDLE handle = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process)) {
        TerminateProcess(handle, 1);
        WaitForSingleObject(handle, 10000);
        CloseHandle(handle);
    }
}

// The example's copy has a blank in its folder's name: the output folder below it has one too.
class EditorTest : public BuilderTest {
protected:
    void Open(BuilderProcess& builder) {
        ASSERT_NO_FATAL_FAILURE(OpenExample(builder));
        HWND general = builder.WaitForForm(IDC_COMPANY_NAME);
        EXPECT_TRUE(WaitFor([&] { return IsShownOnTop(GetDlgItem(general, IDC_COMPANY_NAME)); }, 5000))
            << "the General Info page of a project named on the command line is drawn at once";
    }

    bool SaveEnabled(const BuilderProcess& builder) const { return ToolbarEnabled(builder, ID_FILE_SAVE); }

    void Save(BuilderProcess& builder) {
        builder.Command(ID_FILE_SAVE);
        EXPECT_TRUE(WaitFor([&] { return !SaveEnabled(builder); }));
    }

    void Close(BuilderProcess& builder) {
        PostMessageA(builder.Main(), WM_CLOSE, 0, 0);
        EXPECT_EQ(builder.WaitForExit(), 0u);
    }

    // Runs the build dialog to its end and hands it to `atEnd` before closing it; its log.
    std::string BuildFromTheMenu(BuilderProcess& builder, const std::function<void(HWND)>& atEnd = nullptr) {
        builder.Command(ID_BUILD_SETUP);
        HWND build = builder.WaitForDialog("Build");
        if (!build) return "<no build dialog>";
        EXPECT_TRUE(WaitFor([&] { return Text(build, IDCANCEL) == "Close"; }, 180000));
        EXPECT_EQ(SendDlgItemMessageA(build, IDC_BUILD_PROGRESS, PBM_GETPOS, 0, 0), 99);
        const std::string log = Text(build, IDC_BUILD_LOG);
        if (atEnd) atEnd(build);
        PressButton(build, IDCANCEL);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(build); }));
        return log;
    }
};

TEST_F(EditorTest, EveryFormShowsTheProjectAndWritesEachChange) {
    BuilderProcess builder;
    ASSERT_NO_FATAL_FAILURE(Open(builder));

    HWND general = builder.WaitForForm(IDC_COMPANY_NAME);
    ASSERT_NE(general, nullptr);
    EXPECT_EQ(Text(general, IDC_COMPANY_NAME), "Quillset Examples");
    EXPECT_EQ(Text(general, IDC_PRODUCT_NAME), "Quillset Demo");
    EXPECT_EQ(Text(general, IDC_PRODUCT_VERSION), "1.0");
    EXPECT_EQ(Text(general, IDC_PRODUCT_URL), "http://www.example.com");
    EXPECT_EQ(Text(general, IDC_COPYRIGHT_NOTICE), "Copyright (C) 2026");
    EXPECT_EQ(Text(general, IDC_GENERAL_INFO_LABEL1), builder.LanguageText("English", "GENERAL_INFO_TAB", "1"));
    EXPECT_FALSE(SaveEnabled(builder)) << "filling the forms is not an edit";
    Type(general, IDC_COMPANY_NAME, "Acme Tools");
    Type(general, IDC_PRODUCT_NAME, "Demo Writer");
    Type(general, IDC_PRODUCT_VERSION, "2.5");
    // Longer than the 511 characters a fixed buffer would keep.
    Type(general, IDC_PRODUCT_DESCRIPTION, std::string(600, 'd') + "!");
    Type(general, IDC_PRODUCT_URL, "http://example.org/demo");
    Type(general, IDC_COPYRIGHT_NOTICE, "Copyright (C) 2027 Acme");
    EXPECT_TRUE(WaitFor([&] { return SaveEnabled(builder); }));

    HWND setup = ShowForm(builder, ID_PROJECT_SETUP_INFO, IDC_INSTALLATION_PATH);
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(Text(setup, IDC_INSTALLATION_PATH), "%ProgramFiles%\\%CompanyName%\\%ProductName%");
    EXPECT_EQ(Text(setup, IDC_UNINSTALL_ICON_DESCRIPTION), "Uninstall Quillset Demo");
    EXPECT_TRUE(IsChecked(setup, IDC_ENABLE_UNINSTALLER));
    EXPECT_TRUE(IsEnabled(setup, IDC_UNINSTALL_ICON_DESCRIPTION));
    Type(setup, IDC_SHORTCUT_FOLDER, "Demo Tools");
    Click(setup, IDC_CREATE_UNINSTALL_ICON);
    EXPECT_FALSE(IsEnabled(setup, IDC_UNINSTALL_ICON_DESCRIPTION));
    Click(setup, IDC_ENABLE_UNINSTALLER);
    EXPECT_FALSE(IsEnabled(setup, IDC_ADD_REMOVE_DESCRIPTION));
    EXPECT_FALSE(IsEnabled(setup, IDC_CREATE_UNINSTALL_ICON));
    EXPECT_TRUE(IsEnabled(setup, IDC_ENABLE_UNINSTALLER));
    Click(setup, IDC_ENABLE_UNINSTALLER);
    EXPECT_TRUE(IsEnabled(setup, IDC_ADD_REMOVE_DESCRIPTION));
    EXPECT_TRUE(IsEnabled(setup, IDC_CREATE_UNINSTALL_ICON));
    EXPECT_FALSE(IsEnabled(setup, IDC_UNINSTALL_ICON_DESCRIPTION)) << "the icon box is still off";

    // The languages: down to one, never none, the default always among those selected.
    EXPECT_EQ(Count(setup, IDC_SELECTED_LANGUAGES, LB_GETCOUNT), 2);
    EXPECT_EQ(Text(setup, IDC_DEFAULT_LANGUAGE), "English");
    Select(setup, IDC_SELECTED_LANGUAGES, "English");
    Click(setup, IDC_REMOVE_LANGUAGE);
    EXPECT_EQ(Count(setup, IDC_SELECTED_LANGUAGES, LB_GETCOUNT), 1);
    EXPECT_EQ(Count(setup, IDC_DEFAULT_LANGUAGE, CB_GETCOUNT), 1);
    EXPECT_EQ(Text(setup, IDC_DEFAULT_LANGUAGE), "German");
    EXPECT_FALSE(IsEnabled(setup, IDC_REMOVE_LANGUAGE));
    Select(setup, IDC_AVAILABLE_LANGUAGES, "German");
    Click(setup, IDC_ADD_LANGUAGE);
    EXPECT_EQ(Count(setup, IDC_SELECTED_LANGUAGES, LB_GETCOUNT), 1) << "a language is selected once";
    Select(setup, IDC_AVAILABLE_LANGUAGES, "English");
    Click(setup, IDC_ADD_LANGUAGE);
    EXPECT_EQ(Count(setup, IDC_SELECTED_LANGUAGES, LB_GETCOUNT), 2);
    EXPECT_TRUE(IsEnabled(setup, IDC_REMOVE_LANGUAGE));
    Select(setup, IDC_SELECTED_LANGUAGES, "German");
    Click(setup, IDC_REMOVE_LANGUAGE);
    EXPECT_EQ(Text(setup, IDC_DEFAULT_LANGUAGE), "English");
    EXPECT_FALSE(IsEnabled(setup, IDC_REMOVE_LANGUAGE));

    // "Any" shows the six versions checked and disabled and never changes them.
    HWND requirements = ShowForm(builder, ID_PROJECT_REQUIREMENTS, IDC_ANY_WINDOWS);
    ASSERT_NE(requirements, nullptr);
    EXPECT_TRUE(IsChecked(requirements, IDC_ANY_WINDOWS));
    for (int version = 0; version < 6; ++version) {
        EXPECT_TRUE(IsChecked(requirements, IDC_WINDOWS_FIRST + version));
        EXPECT_FALSE(IsEnabled(requirements, IDC_WINDOWS_FIRST + version));
    }
    EXPECT_EQ(Text(requirements, IDC_DISK_SPACE), "1024");
    Click(requirements, IDC_ANY_WINDOWS);
    EXPECT_TRUE(IsEnabled(requirements, IDC_WINDOWS_FIRST));
    Click(requirements, IDC_WINDOWS_FIRST);
    EXPECT_FALSE(IsChecked(requirements, IDC_WINDOWS_FIRST));
    Click(requirements, IDC_ANY_WINDOWS);
    EXPECT_TRUE(IsChecked(requirements, IDC_WINDOWS_FIRST));
    EXPECT_FALSE(IsEnabled(requirements, IDC_WINDOWS_FIRST));
    Type(requirements, IDC_DISK_SPACE, "2048");
    Click(requirements, IDC_ABORT_INSTALLATION);

    HWND screens = ShowForm(builder, ID_PROJECT_DIALOGS, IDC_SPLASH_SCREEN);
    ASSERT_NE(screens, nullptr);
    EXPECT_EQ(Text(screens, IDC_LICENSE_FILE), "files\\License.txt");
    EXPECT_FALSE(IsChecked(screens, IDC_SPLASH_SCREEN));
    EXPECT_FALSE(IsEnabled(screens, IDC_SPLASH_BITMAP));
    EXPECT_FALSE(IsEnabled(screens, IDC_SPLASH_BROWSE));
    Click(screens, IDC_SPLASH_SCREEN);
    EXPECT_TRUE(IsEnabled(screens, IDC_SPLASH_BITMAP));
    EXPECT_TRUE(IsEnabled(screens, IDC_SPLASH_BROWSE));
    Type(screens, IDC_SPLASH_BITMAP, "files\\Splash.bmp");
    Click(screens, IDC_LICENSE_SCREEN);
    EXPECT_FALSE(IsEnabled(screens, IDC_LICENSE_FILE));
    EXPECT_TRUE(IsEnabled(screens, IDC_FINISH_README));
    EXPECT_FALSE(IsEnabled(screens, IDC_RUN_APPLICATION_PATH)) << "Run Application is off";
    Click(screens, IDC_FINISH_SCREEN);
    for (int id : {IDC_VIEW_README, IDC_VIEW_README_CHECKED, IDC_FINISH_README, IDC_RUN_APPLICATION})
        EXPECT_FALSE(IsEnabled(screens, id)) << id;
    Click(screens, IDC_FINISH_SCREEN);
    EXPECT_TRUE(IsEnabled(screens, IDC_FINISH_README));
    EXPECT_TRUE(IsEnabled(screens, IDC_RUN_APPLICATION));
    Click(screens, IDC_RUN_APPLICATION);
    EXPECT_TRUE(IsEnabled(screens, IDC_RUN_APPLICATION_PATH));
    // The application is a file of the project, picked in its files: %AppDir%\bin, then hello.cmd.
    PressButton(screens, IDC_RUN_APPLICATION_BROWSE);
    HWND choose = builder.WaitForDialog(builder.LanguageText("English", "CHOOSE_FILE_DIALOG", "0"));
    ASSERT_NE(choose, nullptr);
    EXPECT_FALSE(IsEnabled(choose, IDC_OK)) << "nothing chosen yet";
    HWND files = GetDlgItem(choose, IDC_CHOOSE_FILE_PAGE);
    HWND tree = GetDlgItem(files, IDC_PAGE_TREE);
    SelectTreeItem(tree, TreeItemAt(tree, {0, 0, 0}));
    EXPECT_FALSE(IsEnabled(choose, IDC_OK)) << "a folder is no choice";
    SelectRows(builder.Id(), GetDlgItem(files, IDC_PAGE_LIST), {0});
    EXPECT_TRUE(WaitFor([&] { return IsEnabled(choose, IDC_OK); }));
    PressButton(choose, IDC_OK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(choose); }));
    EXPECT_EQ(Text(screens, IDC_RUN_APPLICATION_PATH), "%AppDir%\\bin\\hello.cmd");

    HWND create = ShowForm(builder, ID_PROJECT_CREATE_SETUP, IDC_OUTPUT_FOLDER);
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(Text(create, IDC_SETUP_FILE_NAME), "DemoSetup.exe");
    EXPECT_TRUE(IsEnabled(create, IDC_BUILD));
    EXPECT_FALSE(IsEnabled(create, IDC_TEST_RUN)) << "nothing was built yet";
    Type(create, IDC_SETUP_FILE_NAME, "");
    EXPECT_FALSE(IsEnabled(create, IDC_BUILD));
    Type(create, IDC_SETUP_FILE_NAME, "Other Setup.exe");
    EXPECT_TRUE(IsEnabled(create, IDC_BUILD));
    Click(create, IDC_SELF_EXTRACTING);

    Save(builder);
    EXPECT_EQ(ReadWhole(project_), ReadWhole(QS_EXPECTED "\\EditedDemo.qsp"));

    // Whom the setup installs for: all users until the user chooses, then saved as a key of its own.
    setup = ShowForm(builder, ID_PROJECT_SETUP_INFO, IDC_INSTALL_SCOPE);
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(Text(setup, IDC_INSTALL_SCOPE), builder.LanguageText("English", "SETUP_INFO_TAB", "20"));
    EXPECT_EQ(Count(setup, IDC_INSTALL_SCOPE, CB_GETCOUNT), 3);
    SendDlgItemMessageA(setup, IDC_INSTALL_SCOPE, CB_SETCURSEL, 2, 0);
    SendMessageA(setup, WM_COMMAND, MAKEWPARAM(IDC_INSTALL_SCOPE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(setup, IDC_INSTALL_SCOPE)));
    EXPECT_TRUE(WaitFor([&] { return SaveEnabled(builder); }));
    Save(builder);
    std::string expected = ReadWhole(QS_EXPECTED "\\EditedDemo.qsp");
    const std::string language = "DefaultSetupLanguage=English\r\n";
    expected.insert(expected.find(language) + language.size(), "InstallScope=ask\r\n");
    EXPECT_EQ(ReadWhole(project_), expected);
    Close(builder);
}

// Every filter of the file dialogs that the builder opens, each as "Name (*.ext)" as Windows
// names them, its patterns in the parentheses.
TEST_F(EditorTest, EveryFileFilterReadsAsWindowsNamesThem) {
    BuilderProcess builder;
    ASSERT_NO_FATAL_FAILURE(Open(builder));
    auto filters = [&](UINT command, HWND owner, int button) {
        if (owner) PressButton(owner, button);
        else builder.Command(command);
        HWND dialog = builder.WaitForDialog();
        std::vector<std::string> names;
        if (!dialog) return names;
        HWND types = GetDlgItem(dialog, cmb1);
        for (LRESULT i = 0, n = SendMessageA(types, CB_GETCOUNT, 0, 0); i < n; ++i) {
            // The dialog's list is a Unicode window, whose text comes across processes only whole
            // through the wide message.
            wchar_t wide[256] = {};
            SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
            char text[256] = {};
            WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
            names.push_back(text);
        }
        PressButton(dialog, IDCANCEL);
        WaitFor([&] { return !IsWindow(dialog); });
        return names;
    };
    using Names = std::vector<std::string>;
    const std::string all = "All files (*.*)";
    EXPECT_EQ(filters(ID_FILE_OPEN, nullptr, 0), (Names{"Quillset Project files (*.qsp)", all}));
    EXPECT_EQ(filters(ID_FILE_SAVE_AS, nullptr, 0), (Names{"Quillset Project files (*.qsp)", all}));
    HWND create = ShowForm(builder, ID_PROJECT_CREATE_SETUP, IDC_OUTPUT_FOLDER);
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(filters(0, create, IDC_SETUP_ICON_BROWSE), (Names{"Icon files (*.ico)"}));
    HWND screens = ShowForm(builder, ID_PROJECT_DIALOGS, IDC_SPLASH_SCREEN);
    ASSERT_NE(screens, nullptr);
    for (int box : {IDC_SPLASH_SCREEN, IDC_README_SCREEN})
        if (!IsChecked(screens, box)) Click(screens, box);
    EXPECT_EQ(filters(0, screens, IDC_SPLASH_BROWSE), (Names{"Bitmap files (*.bmp)"}));
    EXPECT_EQ(filters(0, screens, IDC_LICENSE_BROWSE), (Names{"Text files (*.txt)", all}));
    EXPECT_EQ(filters(0, screens, IDC_README_BROWSE), (Names{"Text files (*.txt)", all}));
    builder.Command(ID_PROJECT_FILES);
    EXPECT_EQ(filters(ID_INSERT_FILES, nullptr, 0), (Names{all}));
}

TEST_F(EditorTest, SetupWindowSettingsOkWithoutAChangeIsCancel) {
    BuilderProcess builder;
    ASSERT_NO_FATAL_FAILURE(Open(builder));
    HWND screens = ShowForm(builder, ID_PROJECT_DIALOGS, IDC_SETUP_WINDOW_SETTINGS);
    ASSERT_NE(screens, nullptr);
    const std::string title = builder.LanguageText("English", "SETUP_WINDOWS_SETTINGS_DIALOG", "0");
    PressButton(screens, IDC_SETUP_WINDOW_SETTINGS);
    HWND settings = builder.WaitForDialog(title);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(Text(settings, IDC_WINDOW_TITLE), "Quillset Demo Setup");
    EXPECT_TRUE(IsChecked(settings, IDC_GRADIENT_FILL));
    EXPECT_TRUE(IsEnabled(settings, IDC_COLOUR_TO));
    PressButton(settings, IDC_OK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(settings); }));
    Sleep(300);
    EXPECT_FALSE(SaveEnabled(builder));

    PressButton(screens, IDC_SETUP_WINDOW_SETTINGS);
    settings = builder.WaitForDialog(title);
    ASSERT_NE(settings, nullptr);
    Click(settings, IDC_SOLID_FILL);
    EXPECT_FALSE(IsEnabled(settings, IDC_COLOUR_TO));
    Click(settings, IDC_HEADING_FIRST + IDC_LINE_3D);
    Type(settings, IDC_FOOTER_FIRST + IDC_LINE_TEXT, "Made with care");
    PressButton(settings, IDC_OK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(settings); }));
    EXPECT_TRUE(WaitFor([&] { return SaveEnabled(builder); }));
    Save(builder);
    const std::string saved = ReadWhole(project_);
    EXPECT_NE(saved.find("GradientFill=No\r\n"), std::string::npos);
    EXPECT_NE(saved.find("Heading3D=No\r\n"), std::string::npos);
    EXPECT_NE(saved.find("Footer=Made with care\r\n"), std::string::npos);
    Close(builder);
}

TEST_F(EditorTest, BuildFromTheMenuMakesWhatQsbuildMakesAndTestRunStartsIt) {
    BuilderProcess builder;
    ASSERT_NO_FATAL_FAILURE(Open(builder));
    EXPECT_TRUE(ToolbarEnabled(builder, ID_BUILD_SETUP)) << "the toolbar builds from any page, as the menu and F7 do";
    const std::string built = projectFolder_ + "\\output\\DemoSetup.exe";
    // Open Folder shows the setup in Explorer, a program of its own.
    const std::string log = BuildFromTheMenu(builder, [&](HWND build) {
        EXPECT_EQ(Text(build, IDC_BUILD_OPEN_FOLDER), "&Open Folder");
        ASSERT_TRUE(IsEnabled(build, IDC_BUILD_OPEN_FOLDER));
        const std::set<HWND> before = WindowsOfOthers(builder.Id());
        PressButton(build, IDC_BUILD_OPEN_FOLDER);
        HWND explorer = nullptr;
        EXPECT_TRUE(WaitFor([&] {
            for (HWND window : WindowsOfOthers(builder.Id()))
                if (!before.count(window)) explorer = window;
            return explorer != nullptr;
        })) << "no Explorer window";
        if (explorer) EndProcessOf(explorer);
    });
    EXPECT_NE(log.find("Setup build process started\r\n"), std::string::npos) << log;
    // The log ends with where the setup is.
    const std::string end = "Errors: 0  Warnings: 0\r\nThe setup is " + built + "\r\n";
    EXPECT_EQ(log.substr(log.size() - std::min(log.size(), end.size())), end) << log;
    HWND create = builder.FindForm(IDC_BUILD);
    ASSERT_NE(create, nullptr) << "Build Setup shows the Create Setup page";
    EXPECT_TRUE(WaitFor([&] { return ToolbarEnabled(builder, ID_BUILD_SETUP); }));
    EXPECT_TRUE(IsEnabled(create, IDC_TEST_RUN));

    const std::string reference = folder_.Path() + "\\reference";
    BuilderProcess qsbuild;
    ASSERT_TRUE(qsbuild.Start(folder_.CommandLineBuilder(), "--quiet --output \"" + reference + "\" \"" + project_ + "\""));
    ASSERT_EQ(qsbuild.WaitForExit(180000), 0u);
    const std::string bytes = ReadWhole(built);
    EXPECT_GT(bytes.size(), 10000u);
    EXPECT_TRUE(bytes == ReadWhole(reference + "\\DemoSetup.exe")) << "the window's build differs from qsbuild's";

    const std::set<HWND> before = WindowsOfOthers(builder.Id());
    builder.Command(ID_TEST_RUN);
    HWND started = nullptr;
    EXPECT_TRUE(WaitFor([&] {
        for (HWND window : WindowsOfOthers(builder.Id()))
            if (!before.count(window)) started = window;
        return started != nullptr;
    }));
    if (started) EndProcessOf(started);
    Close(builder);
}

// The builder's signing command (Build Options) signs every program of a window build: here a
// command that notes each path it is given.
TEST_F(EditorTest, AWindowBuildRunsTheSigningCommandOnEveryProgram) {
    const std::string marker = folder_.Path() + "\\signed.txt";
    const std::string command = "echo {file}>>\"" + marker + "\"";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "signCommand", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
    RegCloseKey(key);
    BuilderProcess builder;
    ASSERT_NO_FATAL_FAILURE(Open(builder));
    const std::string log = BuildFromTheMenu(builder);
    for (const char* line : {"Signing setup.exe - OK\r\n", "Signing uninstall.exe - OK\r\n", "Signing DemoSetup.exe - OK\r\n",
                             "Errors: 0  Warnings: 0\r\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line << log;
    const std::string signedPaths = ReadWhole(marker);
    EXPECT_NE(signedPaths.find(projectFolder_ + "\\output\\DemoSetup.exe"), std::string::npos) << signedPaths;
    size_t lines = 0;
    for (char c : signedPaths) lines += c == '\n';
    EXPECT_EQ(lines, 3u) << signedPaths;
    EXPECT_TRUE(Exists(projectFolder_ + "\\output\\DemoSetup.exe"));
    Close(builder);
}

TEST_F(EditorTest, ATestRunThatCannotStartIsReported) {
    BuilderProcess builder;
    ASSERT_NO_FATAL_FAILURE(Open(builder));
    HWND create = ShowForm(builder, ID_PROJECT_CREATE_SETUP, IDC_TEST_RUN);
    ASSERT_NE(create, nullptr);
    // A file that exists but is no program: Test Run is offered, and starting it fails.
    Type(create, IDC_OUTPUT_FOLDER, projectFolder_);
    Type(create, IDC_SETUP_FILE_NAME, "Demo.qsp");
    ASSERT_TRUE(IsEnabled(create, IDC_TEST_RUN));
    PressButton(create, IDC_TEST_RUN);
    HWND report = builder.WaitForDialog(builder.LanguageText("English", "STRINGS", "0"));
    ASSERT_NE(report, nullptr);
    EXPECT_NE(WindowText(GetDlgItem(report, 0xFFFF)).find("Demo.qsp"), std::string::npos);
    PressButton(report, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(report); }));
    PostMessageA(builder.Main(), WM_CLOSE, 0, 0);
    HWND prompt = builder.WaitForDialog("Quillset");
    ASSERT_NE(prompt, nullptr) << "the edits are offered for saving";
    PressButton(prompt, CMD_SAVE_NO);
    EXPECT_EQ(builder.WaitForExit(), 0u);
}

TEST_F(EditorTest, CancelStopsTheBuildAndLeavesNoTemporaryFiles) {
    // Enough product data that the archive step is still running when Cancel comes.
    CreateDirectoryA((projectFolder_ + "\\big").c_str(), nullptr);
    std::string lines = "[APPLICATION_FILES]\r\nFolder=%AppDir%\\big\r\n";
    unsigned state = 12345;
    for (int index = 0; index < 40; ++index) {
        std::string data(2 << 20, '\0');
        for (char& byte : data) byte = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
        const std::string name = "big\\f" + std::to_string(index) + ".bin";
        WriteWhole(projectFolder_ + "\\" + name, data);
        lines += "File=%AppDir%\\" + name + "," + name + ",1,0\r\n";
    }
    std::string text = ReadWhole(project_);
    text.replace(text.find("[APPLICATION_FILES]\r\n"), 21, lines);
    WriteWhole(project_, text);
    const std::set<std::string> before = BuildFolders();

    BuilderProcess builder;
    ASSERT_NO_FATAL_FAILURE(Open(builder));
    builder.Command(ID_BUILD_SETUP);
    HWND build = builder.WaitForDialog("Build");
    ASSERT_NE(build, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Text(build, IDC_BUILD_LOG).find("f0.bin - OK") != std::string::npos; }));
    EXPECT_NE(BuildFolders(), before) << "the build works in a folder of its own";
    PressButton(build, IDCANCEL);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(build); }, 120000)) << "a cancelled build closes its dialog";
    EXPECT_EQ(BuildFolders(), before);
    EXPECT_FALSE(Exists(projectFolder_ + "\\output\\DemoSetup.exe"));
    Close(builder);
}

TEST_F(EditorTest, TheBuildDialogShowsWhyABuildFailedAndNoSetupIsLeft) {
    const std::string missing = projectFolder_ + "\\files\\docs\\Guide.html";
    ASSERT_TRUE(DeleteFileA(missing.c_str()));
    BuilderProcess builder;
    ASSERT_NO_FATAL_FAILURE(Open(builder));
    builder.Command(ID_BUILD_SETUP);
    HWND build = builder.WaitForDialog("Build");
    ASSERT_NE(build, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Text(build, IDCANCEL) == "Close"; }, 180000));
    const std::string log = Text(build, IDC_BUILD_LOG);
    const std::string error = "Error! Can not read product file Guide.html\r\n  " + missing + ": ";
    const size_t at = log.find(error);
    ASSERT_NE(at, std::string::npos) << log;
    EXPECT_GT(log.find("\r\n", at + error.size()), at + error.size()) << "the system's reason follows the path";
    const std::string end = "Errors: 1  Warnings: 0\r\nNo setup was produced because of the errors above\r\n";
    ASSERT_GE(log.size(), end.size());
    EXPECT_EQ(log.substr(log.size() - end.size()), end);
    EXPECT_EQ(log.find("setup.zip"), std::string::npos) << "nothing is packed after a failed check";
    EXPECT_FALSE(Exists(projectFolder_ + "\\output\\DemoSetup.exe"));
    PressButton(build, IDCANCEL);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(build); }));
    Close(builder);
}

TEST_F(EditorTest, ALanguageSwitchRebuildsThePagesInTheNewLanguage) {
    BuilderProcess builder;
    ASSERT_NO_FATAL_FAILURE(Open(builder));
    HWND general = builder.WaitForForm(IDC_COMPANY_NAME);
    ASSERT_NE(general, nullptr);
    builder.Command(ID_LANGUAGE_FIRST + 1);  // English, German
    const std::string german = builder.LanguageText("German", "GENERAL_INFO_TAB", "1");
    EXPECT_TRUE(WaitFor([&] {
        HWND form = builder.FindForm(IDC_COMPANY_NAME);
        return form && Text(form, IDC_GENERAL_INFO_LABEL1) == german;
    }));
    EXPECT_EQ(Text(builder.FindForm(IDC_COMPANY_NAME), IDC_COMPANY_NAME), "Quillset Examples");
    Close(builder);
}

}  // namespace
