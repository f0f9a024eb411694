// A user's whole road through the builder's window, with no project file written by hand: the
// New Project Wizard on a product folder, the pages and their dialogs (a shortcut, registry
// values of the three string types, a file type, the installer's screens, the setup's icon),
// Save As, a build from the window; then the built setup shows its screens, installs silently,
// the test checks the target with readers of its own, and the uninstaller takes it all away again.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "../BuilderProcess.h"
#include "../RemoteControls.h"
#include "E2ESupport.h"
#include "installer/win32/ScreenIds.h"
#include "resource.h"

namespace {

enum { kFilesPage = 3, kShortcutsPage = 4, kRegistryPage = 5, kFileTypesPage = 6 };

// Switches a box of a form on, as a click would, when it is off.
void SwitchOn(HWND form, int id) {
    if (!IsChecked(form, id)) Click(form, id);
}

// What a Windows program writes to its output, and its exit code.
struct ProgramOutput {
    int code = -1;
    std::string text;
};

ProgramOutput RunForOutput(const std::string& commandLine) {
    ProgramOutput output;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE reader = nullptr, writer = nullptr;
    if (!CreatePipe(&reader, &writer, &inherit, 0)) return output;
    SetHandleInformation(reader, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = writer;
    PROCESS_INFORMATION pi = {};
    std::string line = commandLine;
    const bool started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(writer);
    if (started) {
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(reader, chunk, sizeof chunk, &got, nullptr) && got) output.text.append(chunk, got);
        WaitForSingleObject(pi.hProcess, 60000);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        output.code = static_cast<int>(code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(reader);
    return output;
}

// A registry key as Wine's own reg.exe lists it; an empty text when it is not there.
std::string RegQuery(const std::string& key) {
    const ProgramOutput output = RunForOutput("reg.exe query \"" + key + "\"");
    if (output.code == 1) return std::string();
    return output.code == 0 ? output.text : "<reg.exe failed with " + std::to_string(output.code) + ">";
}

// Chooses entry `index` of a dialog's drop-down list, as a user's click does.
void ChooseListEntry(HWND dialog, int id, int index) {
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The image descriptions (size, colours, depth, bytes) of a program's first icon group, in order,
// in the 12 bytes each that an icon file gives them too.
std::vector<std::string> ProgramIconImages(const std::string& program) {
    std::vector<std::string> images;
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return images;
    LPSTR first = nullptr;
    EnumResourceNamesA(
        module, RT_GROUP_ICON,
        [](HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
            *reinterpret_cast<LPSTR*>(found) = name;
            return FALSE;
        },
        reinterpret_cast<LONG_PTR>(&first));
    HRSRC group = first ? FindResourceA(module, first, RT_GROUP_ICON) : nullptr;
    if (group) {
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, group)));
        const int count = static_cast<unsigned char>(bytes[4]) | static_cast<unsigned char>(bytes[5]) << 8;
        for (int i = 0; i < count; ++i) images.emplace_back(bytes + 6 + 14 * i, 12);
    }
    FreeLibrary(module);
    return images;
}

std::vector<std::string> IconFileImages(const std::string& icon) {
    const std::string bytes = ReadBytes(icon);
    std::vector<std::string> images;
    const int count = bytes.size() < 6 ? 0 : static_cast<unsigned char>(bytes[4]) | static_cast<unsigned char>(bytes[5]) << 8;
    for (int i = 0; i < count && bytes.size() >= 6 + 16 * (i + 1u); ++i) images.push_back(bytes.substr(6 + 16 * i, 12));
    return images;
}

// The Linux path that Wine gives a Windows path.
std::string UnixPath(const std::string& path) {
    using Convert = char*(CDECL*)(const WCHAR*);
    const auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return std::string();
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    char* unix = convert(wide.c_str());
    const std::string result = unix ? unix : "";
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

std::string ShellQuoted(const std::string& text) { return "'" + Replace(text, "'", "'\\''") + "'"; }

// lnkinfo's report of a link file: a reader of the link format that owes nothing to the shell
// that wrote it. Wine starts a Linux program with neither a process handle nor the caller's
// output, so the shell writes the report into a file and renames it once it is whole.
std::string LinkReport(const std::string& link, const std::string& scratchFolder) {
    const std::string report = scratchFolder + "\\lnkinfo.txt";
    const std::string unixReport = UnixPath(report);
    const std::string script = "lnkinfo " + ShellQuoted(UnixPath(link)) + " > " + ShellQuoted(unixReport + ".part") +
                               " 2>&1; mv " + ShellQuoted(unixReport + ".part") + " " + ShellQuoted(unixReport);
    DeleteFileA(report.c_str());
    const std::string shell = "Z:\\bin\\sh";
    std::string commandLine = "sh -c \"" + script + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(shell.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return "<sh did not start>";
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    if (!WaitFor([&] { return Exists(report); })) return "<no report from lnkinfo>";
    return ReadWhole(report);
}

// The value after "name :" (tabs and blanks between) in lnkinfo's report.
std::string ReportField(const std::string& report, const std::string& name) {
    const size_t at = report.find("\t" + name);
    if (at == std::string::npos) return "<no " + name + ">";
    const size_t colon = report.find(": ", at);
    return report.substr(colon + 2, report.find('\n', colon) - colon - 2);
}

// The row of a list whose first column is `text`; -1 when none.
int RowNamed(DWORD process, HWND list, const std::string& text) {
    for (int row = 0; row < ListRowCount(list); ++row)
        if (ListText(process, list, row, 0) == text) return row;
    return -1;
}

class JourneyTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        product_ = folder_.Path() + "\\Journey product";
        for (const char* folder : {"", "\\bin", "\\docs"}) CreateDirectoryA((product_ + folder).c_str(), nullptr);
        WriteFileBytes(product_ + "\\Journey.exe", "MZ journey");
        WriteFileBytes(product_ + "\\bin\\tool.cmd", "@echo tool\r\n");
        WriteFileBytes(product_ + "\\docs\\readme.txt", "Read me first.\r\n");
        license_ = folder_.Path() + "\\Journey license.txt";
        WriteFileBytes(license_, "JOURNEY TERMS\r\nUse with care.\r\n");
        const std::string unique = std::to_string(GetCurrentProcessId());
        target_ = "C:\\Program Files\\Journey Test " + unique;
        group_ = ProgramsFolder() + "\\Journey App";
        uninstallKey_ = std::string(kUninstallKey) + "Journey App";
        valueKey_ = "Software\\Quillset Journey " + unique;
        extension_ = ".qsjourney" + unique;
        identifier_ = "QsJourney" + unique + ".Document";
        RemoveLeftovers();
    }

    void TearDown() override {
        RemoveFolder(target_);
        RemoveLeftovers();
    }

    void RemoveLeftovers() {
        RemoveFolder(group_);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, uninstallKey_.c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, valueKey_.c_str());
        RegDeleteTreeA(HKEY_CLASSES_ROOT, extension_.c_str());
        RegDeleteTreeA(HKEY_CLASSES_ROOT, identifier_.c_str());
    }

    // Leaves `page` with its button `id` for the wizard page titled with key 0 of `section`.
    HWND Leave(BuilderProcess& builder, HWND page, int id, const char* section) {
        return builder.LeaveDialog(page, id, builder.LanguageText("English", section, "0"));
    }

    HWND ShowPage(BuilderProcess& builder, UINT command, int controlId) {
        builder.Command(command);
        return builder.WaitForForm(controlId);
    }

    // Brings up a list page; its window once visible.
    HWND ShowListPage(BuilderProcess& builder, UINT command, int page) {
        builder.Command(command);
        WaitFor([&] { return IsWindowVisible(PageWindow(builder.Main(), page)) != FALSE; });
        return PageWindow(builder.Main(), page);
    }

    HWND Dialog(BuilderProcess& builder, const char* section) {
        return builder.WaitForDialog(builder.LanguageText("English", section, "0"));
    }

    // Picks Journey.exe at the top of the installation folder in the Choose File dialog, which
    // `builder` has just been asked to show.
    bool ChooseJourneyProgram(BuilderProcess& builder) {
        HWND choose = Dialog(builder, "CHOOSE_FILE_DIALOG");
        if (!choose) return false;
        HWND files = GetDlgItem(GetDlgItem(choose, IDC_CHOOSE_FILE_PAGE), IDC_PAGE_LIST);
        int row = -1;
        WaitFor([&] { return (row = RowNamed(builder.Id(), files, "Journey.exe")) >= 0; });
        if (row < 0) return false;
        SelectRows(builder.Id(), files, {row});
        if (!WaitFor([&] { return IsEnabled(choose, IDC_OK); })) return false;
        PressButton(choose, IDC_OK);
        return WaitFor([&] { return !IsWindow(choose); });
    }

    ProgramFolder folder_;
    std::string product_, license_, target_, group_, uninstallKey_, valueKey_, extension_, identifier_;
};

TEST_F(JourneyTest, FromAProductFolderThroughTheWindowToAnInstalledAndRemovedProduct) {
    BuilderProcess builder;
    ASSERT_TRUE(builder.Start(folder_.Executable()));
    ASSERT_TRUE(builder.WaitForMainWindow());
    HWND welcome = builder.WaitForDialog(builder.LanguageText("English", "WELCOME_DIALOG", "0"));
    ASSERT_NE(welcome, nullptr);
    PressButton(welcome, CMD_WIZARD_STEP1);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(welcome); }));

    // The wizard: the product's name and the folder of its files.
    HWND page = builder.WaitForDialog(builder.LanguageText("English", "WIZARD_WELCOME_DIALOG", "0"));
    ASSERT_NE(page, nullptr);
    page = Leave(builder, page, IDC_WIZARD_NEXT, "WIZARD_GENERAL_INFO_DIALOG");
    ASSERT_NE(page, nullptr);
    Type(page, IDC_WIZARD_COMPANY_NAME, "Journey Works");
    Type(page, IDC_WIZARD_PRODUCT_NAME, "Journey App");
    Type(page, IDC_WIZARD_PRODUCT_VERSION, "3.2");
    page = Leave(builder, page, IDC_WIZARD_NEXT, "WIZARD_LOCATE_FILES_DIALOG");
    ASSERT_NE(page, nullptr);
    Type(page, IDC_WIZARD_FOLDER, product_);
    page = Leave(builder, page, IDC_WIZARD_NEXT, "WIZARD_FINISH_DIALOG");
    ASSERT_NE(page, nullptr);
    PressButton(page, IDC_WIZARD_NEXT);
    ASSERT_TRUE(WaitFor([&] { return builder.Title() != "Quillset"; }));

    // A shortcut in the program group to Journey.exe, chosen among the project's files.
    HWND shortcuts = ShowListPage(builder, ID_PROJECT_SHORTCUTS, kShortcutsPage);
    ASSERT_TRUE(IsWindowVisible(shortcuts));
    HWND tree = GetDlgItem(shortcuts, IDC_PAGE_TREE);
    ASSERT_EQ(TreeText(builder.Id(), tree, TreeSelection(tree)), "Application Shortcut Folder");
    builder.Command(ID_NEW_SHORTCUT);
    ASSERT_TRUE(ChooseJourneyProgram(builder));
    HWND shortcut = Dialog(builder, "SHORTCUT_DIALOG");
    ASSERT_NE(shortcut, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(shortcut, IDC_ITEM_NAME)), "Journey");
    EXPECT_EQ(WindowText(GetDlgItem(shortcut, IDC_SHORTCUT_TARGET)), "%AppDir%\\Journey.exe");
    PressButton(shortcut, IDC_OK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(shortcut); }));
    EXPECT_EQ(ListText(builder.Id(), GetDlgItem(shortcuts, IDC_PAGE_LIST), 0, 0), "Journey");

    // A string value under a key of its own below HKEY_CURRENT_USER\Software.
    HWND registry = ShowListPage(builder, ID_PROJECT_REGISTRY, kRegistryPage);
    ASSERT_TRUE(IsWindowVisible(registry));
    tree = GetDlgItem(registry, IDC_PAGE_TREE);
    std::vector<int> path = {0, 1};
    ASSERT_EQ(TreeText(builder.Id(), tree, TreeItemAt(tree, path)), "HKEY_CURRENT_USER");
    SelectTreeItem(tree, TreeItemAt(tree, path));
    // The key path typed whole, as the user knows it: New Key makes the chain of keys.
    builder.Command(ID_NEW_KEY);
    HWND newKey = Dialog(builder, "NEW_KEY_DIALOG");
    ASSERT_NE(newKey, nullptr);
    Type(newKey, IDC_ITEM_NAME, valueKey_);
    PressButton(newKey, IDC_OK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(newKey); }));
    for (const std::string& key : {std::string("Software"), valueKey_.substr(valueKey_.find('\\') + 1)}) {
        path.push_back(0);
        ASSERT_EQ(TreeText(builder.Id(), tree, TreeItemAt(tree, path)), key);
    }
    SelectTreeItem(tree, TreeItemAt(tree, path));
    builder.Command(ID_NEW_STRING);
    HWND value = Dialog(builder, "REGISTRY_STRING_VALUE_DIALOG");
    ASSERT_NE(value, nullptr);
    Type(value, IDC_ITEM_NAME, "InstallPath");
    Type(value, IDC_VALUE_DATA, "%AppDir%");
    PressButton(value, IDC_OK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(value); }));
    EXPECT_EQ(ListRowCount(GetDlgItem(registry, IDC_PAGE_LIST)), 1);
    // An expandable string keeps what Windows expands; a multi-string takes one string a line,
    // which a plain string refuses, keeping the dialog open with the text as typed.
    builder.Command(ID_NEW_STRING);
    value = Dialog(builder, "REGISTRY_STRING_VALUE_DIALOG");
    ASSERT_NE(value, nullptr);
    Type(value, IDC_ITEM_NAME, "SearchPath");
    ChooseListEntry(value, IDC_VALUE_TYPE, 1);
    Type(value, IDC_VALUE_DATA, "%AppDir%\\bin;%SystemRoot%");
    PressButton(value, IDC_OK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(value); }));
    builder.Command(ID_NEW_STRING);
    value = Dialog(builder, "REGISTRY_STRING_VALUE_DIALOG");
    ASSERT_NE(value, nullptr);
    Type(value, IDC_ITEM_NAME, "Folders");
    Type(value, IDC_VALUE_DATA, "%AppDir%\r\n%AppDir%\\docs");
    PressButton(value, IDC_OK);
    HWND oneLine = builder.WaitForDialog("Quillset");
    ASSERT_NE(oneLine, nullptr) << "a plain string with two lines is refused";
    EXPECT_EQ(WindowText(GetDlgItem(oneLine, 0xFFFF)),
              builder.LanguageText("English", "REGISTRY_STRING_VALUE_DIALOG", "11"));
    PressButton(oneLine, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(oneLine); }));
    ASSERT_TRUE(IsWindow(value));
    EXPECT_EQ(WindowText(GetDlgItem(value, IDC_VALUE_DATA)), "%AppDir%\r\n%AppDir%\\docs");
    ChooseListEntry(value, IDC_VALUE_TYPE, 2);
    PressButton(value, IDC_OK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(value); }));
    HWND valueList = GetDlgItem(registry, IDC_PAGE_LIST);
    ASSERT_EQ(ListRowCount(valueList), 3);
    const int folders = RowNamed(builder.Id(), valueList, "Folders");
    ASSERT_GE(folders, 0);
    EXPECT_EQ(ListText(builder.Id(), valueList, folders, 1), "\"%AppDir%\" \"%AppDir%\\docs\"");

    // A file type of the test's own that Journey.exe opens, its program chosen with Browse.
    HWND fileTypes = ShowListPage(builder, ID_PROJECT_FILE_TYPES, kFileTypesPage);
    ASSERT_TRUE(IsWindowVisible(fileTypes));
    builder.Command(ID_NEW_FILE_ASSOCIATION);
    HWND fileType = Dialog(builder, "FILE_TYPE_PROPERTIES_DIALOG");
    ASSERT_NE(fileType, nullptr);
    Type(fileType, IDC_ITEM_NAME, extension_);
    Type(fileType, IDC_FILE_TYPE_IDENTIFIER, identifier_);
    Type(fileType, IDC_FILE_TYPE_FULL_NAME, "Journey document");
    PressButton(fileType, IDC_FILE_TYPE_PROGRAM_BROWSE);
    ASSERT_TRUE(ChooseJourneyProgram(builder));
    EXPECT_EQ(WindowText(GetDlgItem(fileType, IDC_FILE_TYPE_PROGRAM)), "%AppDir%\\Journey.exe");
    PressButton(fileType, IDC_OK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(fileType); }));
    EXPECT_EQ(ListRowCount(GetDlgItem(fileTypes, IDC_PAGE_LIST)), 1);

    // Deleting Journey.exe, which the shortcut and the file type name, asks first and names them;
    // No keeps the file.
    HWND files = ShowListPage(builder, ID_PROJECT_FILES, kFilesPage);
    ASSERT_TRUE(IsWindowVisible(files));
    HWND fileTree = GetDlgItem(files, IDC_PAGE_TREE);
    SelectTreeItem(fileTree, TreeItemAt(fileTree, {0, 0}));
    HWND fileList = GetDlgItem(files, IDC_PAGE_LIST);
    int journeyRow = -1;
    ASSERT_TRUE(WaitFor([&] { return (journeyRow = RowNamed(builder.Id(), fileList, "Journey.exe")) >= 0; }));
    SelectRows(builder.Id(), fileList, {journeyRow});
    builder.Command(ID_DELETE);
    HWND question = builder.WaitForDialog();
    ASSERT_NE(question, nullptr);
    const std::string asked = WindowText(GetDlgItem(question, 0xFFFF));
    EXPECT_NE(asked.find(builder.LanguageText("English", "STRINGS", "908")), std::string::npos) << asked;
    EXPECT_NE(asked.find("\\Journey.exe: Shortcut %AppSCFolder%\\Journey"), std::string::npos) << asked;
    EXPECT_NE(asked.find("\\Journey.exe: File type " + extension_), std::string::npos) << asked;
    PressButton(question, IDNO);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }));
    EXPECT_GE(RowNamed(builder.Id(), fileList, "Journey.exe"), 0) << "No keeps the file";

    // The program moved away on disk shows as missing once F5 reads the files again, and as
    // present when it is back.
    const std::string program = product_ + "\\Journey.exe", moved = product_ + "\\Journey.moved";
    ASSERT_TRUE(MoveFileA(program.c_str(), moved.c_str()));
    builder.Command(ID_VIEW_REFRESH);
    EXPECT_TRUE(WaitFor([&] {
        journeyRow = RowNamed(builder.Id(), fileList, "Journey.exe");
        return journeyRow >= 0 && ListText(builder.Id(), fileList, journeyRow, 1) == "missing";
    })) << ListText(builder.Id(), fileList, journeyRow, 1);
    ASSERT_TRUE(MoveFileA(moved.c_str(), program.c_str()));
    builder.Command(ID_VIEW_REFRESH);
    EXPECT_TRUE(WaitFor([&] {
        journeyRow = RowNamed(builder.Id(), fileList, "Journey.exe");
        return journeyRow >= 0 && ListText(builder.Id(), fileList, journeyRow, 1) == "10 bytes";
    })) << ListText(builder.Id(), fileList, journeyRow, 1);

    // An uninstall icon in the shortcut folder, screens switched on (the license file chosen
    // with Browse), the output.
    HWND setup = ShowPage(builder, ID_PROJECT_SETUP_INFO, IDC_CREATE_UNINSTALL_ICON);
    ASSERT_NE(setup, nullptr);
    SwitchOn(setup, IDC_CREATE_UNINSTALL_ICON);
    HWND screens = ShowPage(builder, ID_PROJECT_DIALOGS, IDC_WELCOME_SCREEN);
    ASSERT_NE(screens, nullptr);
    for (int id : {IDC_WELCOME_SCREEN, IDC_LICENSE_SCREEN, IDC_TARGET_FOLDER_SCREEN, IDC_PROGRAM_GROUP_SCREEN,
                   IDC_FINISH_SCREEN})
        SwitchOn(screens, id);
    ASSERT_TRUE(IsEnabled(screens, IDC_LICENSE_BROWSE));
    PressButton(screens, IDC_LICENSE_BROWSE);
    HWND open = builder.WaitForDialog("Open");
    ASSERT_NE(open, nullptr);
    ChooseInFileDialog(open, license_);
    ASSERT_TRUE(WaitFor([&] { return WindowText(GetDlgItem(screens, IDC_LICENSE_FILE)) == license_; }))
        << WindowText(GetDlgItem(screens, IDC_LICENSE_FILE));
    HWND create = ShowPage(builder, ID_PROJECT_CREATE_SETUP, IDC_OUTPUT_FOLDER);
    ASSERT_NE(create, nullptr);
    const std::string output = folder_.Path() + "\\output";
    Type(create, IDC_OUTPUT_FOLDER, output);
    // The setup's icon, which the uninstaller and its entry in Add/Remove Programs show too.
    const std::string icon = folder_.Path() + "\\Journey.ico";
    ASSERT_TRUE(CopyFileA(DataPath("..\\..\\examples\\Demo\\Demo.ico").c_str(), icon.c_str(), FALSE));
    Type(create, IDC_SETUP_ICON, icon);
    Type(create, IDC_SETUP_FILE_NAME, "JourneySetup.exe");

    const std::string project = folder_.Path() + "\\Journey.qsp";
    builder.Command(ID_FILE_SAVE_AS);
    HWND save = builder.WaitForDialog();
    ASSERT_NE(save, nullptr);
    ChooseInFileDialog(save, project);
    ASSERT_TRUE(builder.WaitForTitle("Quillset - [Journey]")) << builder.Title();
    const std::string saved = ReadWhole(project);
    for (const std::string& line :
         {std::string("ProductName=Journey App\r\n"), std::string("CreateUninstallerIcon=Yes\r\n"),
          std::string("WelcomeDialog=Yes\r\n"), std::string("LicenseDialog=Yes\r\n"),
          std::string("TargetDirectoryDialog=Yes\r\n"), std::string("FinishDialog=Yes\r\n"),
          std::string("File=%AppDir%\\bin\\tool.cmd,"),
          std::string("EXPANDSTRING=%HKEY_CURRENT_USER%\\" + valueKey_ + "\\SearchPath,%AppDir%\\bin;%SystemRoot%\r\n"),
          std::string("MULTISTRING=%HKEY_CURRENT_USER%\\" + valueKey_ + "\\Folders,\"%AppDir%\",\"%AppDir%\\docs\"\r\n"),
          // Saved beside it, the project names its license relative to its own folder.
          std::string("License_Pathname=Journey license.txt\r\n")})
        EXPECT_NE(saved.find(line), std::string::npos) << line << " in\n" << saved;

    // The build from the window.
    builder.Command(ID_BUILD_SETUP);
    HWND build = builder.WaitForDialog("Build");
    ASSERT_NE(build, nullptr);
    ASSERT_TRUE(WaitFor([&] { return WindowText(GetDlgItem(build, IDCANCEL)) == "Close"; }, 180000));
    const std::string log = WindowText(GetDlgItem(build, IDC_BUILD_LOG));
    EXPECT_NE(log.find("Errors: 0  Warnings: 0\r\nThe setup is " + output + "\\JourneySetup.exe\r\n"), std::string::npos)
        << log;
    EXPECT_TRUE(IsEnabled(build, IDC_BUILD_OPEN_FOLDER));
    PressButton(build, IDCANCEL);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(build); }));
    PostMessageA(builder.Main(), WM_CLOSE, 0, 0);
    ASSERT_EQ(builder.WaitForExit(), 0u) << "the build saved the project: nothing to ask";

    // Started as a person would, the setup welcomes and then shows the test's license.
    const std::string setupProgram = output + "\\JourneySetup.exe";
    ASSERT_TRUE(Exists(setupProgram));
    {
        BuilderProcess interactive;
        ASSERT_TRUE(interactive.Start(setupProgram));
        // The self-extracting stub hands over to the setup program, a process of its own.
        HWND wizard = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (wizard = FindWindowA("QuillsetWizard", nullptr)) && IsWindowVisible(wizard); }));
        DWORD setupProcess = 0;
        GetWindowThreadProcessId(wizard, &setupProcess);
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(wizard, kIdBody)) != FALSE; }));
        EXPECT_NE(WindowText(GetDlgItem(wizard, kIdTitle)).find("Journey App"), std::string::npos);
        PressButton(wizard, kIdNext);
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(wizard, kIdLicenseText)) != FALSE; }));
        EXPECT_EQ(WindowText(GetDlgItem(wizard, kIdLicenseText)), "JOURNEY TERMS\r\nUse with care.\r\n");
        PressButton(wizard, kIdCancel);
        HWND confirm = WaitForMessageBox(setupProcess, "");
        ASSERT_NE(confirm, nullptr);
        PressButton(confirm, IDYES);
        EXPECT_NE(interactive.WaitForExit(), 0xDEADu);
        EXPECT_FALSE(Exists(target_)) << "a cancelled setup installs nothing";
    }

    // The silent installation and what it leaves on the target.
    ASSERT_EQ(RunProgram(setupProgram, "/S \"/D=" + target_ + "\""), 0);
    for (const char* file : {"\\Journey.exe", "\\bin\\tool.cmd", "\\docs\\readme.txt", "\\uninstall.exe"})
        EXPECT_TRUE(Exists(target_ + file)) << file;
    EXPECT_EQ(ReadBytes(target_ + "\\docs\\readme.txt"), "Read me first.\r\n");
    EXPECT_EQ(StringValue("HKLM", uninstallKey_, "DisplayName"), "Journey App");
    EXPECT_EQ(StringValue("HKLM", uninstallKey_, "UninstallString"), "\"" + target_ + "\\uninstall.exe\"");
    ShellLinkFields link;
    ASSERT_TRUE(LoadShellLink(group_ + "\\Uninstall Journey App.lnk", link));
    EXPECT_EQ(link.target, target_ + "\\uninstall.exe");
    const std::string journeyLink = group_ + "\\Journey.lnk";
    ASSERT_TRUE(Exists(journeyLink));
    const std::string report = LinkReport(journeyLink, folder_.Path());
    EXPECT_EQ(ReportField(report, "Local path"), target_ + "\\Journey.exe") << report;
    EXPECT_EQ(ReportField(report, "Working directory"), target_) << report;
    const std::string values = RegQuery("HKCU\\" + valueKey_);
    EXPECT_NE(values.find("InstallPath    REG_SZ    " + target_ + "\r\n"), std::string::npos) << values;
    EXPECT_NE(values.find("SearchPath    REG_EXPAND_SZ    " + target_ + "\\bin;%SystemRoot%\r\n"), std::string::npos)
        << values;
    EXPECT_NE(values.find("Folders    REG_MULTI_SZ    " + target_ + "\\0" + target_ + "\\docs\r\n"), std::string::npos)
        << values;
    // The uninstaller and its entry show the project's icon, every image of it.
    const std::vector<std::string> images = IconFileImages(icon);
    ASSERT_EQ(images.size(), 5u);
    EXPECT_EQ(ProgramIconImages(target_ + "\\uninstall.exe"), images);
    EXPECT_EQ(StringValue("HKLM", uninstallKey_, "DisplayIcon"), target_ + "\\uninstall.exe,0");
    const std::string type = RegQuery("HKCR\\" + extension_);
    EXPECT_NE(type.find("REG_SZ    " + identifier_ + "\r\n"), std::string::npos) << type;
    const std::string command = RegQuery("HKCR\\" + identifier_ + "\\shell\\open\\command");
    EXPECT_NE(command.find("REG_SZ    \"" + target_ + "\\Journey.exe\" \"%1\"\r\n"), std::string::npos) << command;

    // The uninstaller removes everything the installation made.
    ASSERT_EQ(RunProgram(target_ + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(target_ + "\\uninstall.exe"));
    EXPECT_TRUE(Disappears(target_)) << "the installation folder is left";
    EXPECT_FALSE(Exists(journeyLink));
    EXPECT_FALSE(Exists(group_)) << "the shortcut folder is left";
    EXPECT_FALSE(KeyExists("HKLM", uninstallKey_));
    EXPECT_EQ(RegQuery("HKCU\\" + valueKey_), "") << "the registry value's key is left";
    EXPECT_EQ(RegQuery("HKCR\\" + extension_), "") << "the file type's extension is left";
    EXPECT_EQ(RegQuery("HKCR\\" + identifier_), "") << "the file type is left";
}

}  // namespace
