// The New Project Wizard in a real window: its four pages, the answers it keeps between runs,
// the project it makes (byte for byte what `qsbuild --new` writes for the same answers) and the
// open project that Cancel leaves alone.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "BuilderTest.h"
#include "RemoteControls.h"
#include "resource.h"

namespace {

// The six general texts in the order of the wizard's fields and of qsbuild's options.
struct GeneralAnswer {
    int id;
    const char* option;
    const char* text;
};
constexpr GeneralAnswer kAnswers[] = {
    {IDC_WIZARD_COMPANY_NAME, "--company", "Acme Tools"},
    {IDC_WIZARD_PRODUCT_NAME, "--product", "Rocket Writer"},
    {IDC_WIZARD_PRODUCT_VERSION, "--product-version", "2.5"},
    {IDC_WIZARD_PRODUCT_DESCRIPTION, "--description", "Writes rockets, fast"},
    {IDC_WIZARD_PRODUCT_URL, "--url", "http://example.org/rocket"},
    {IDC_WIZARD_COPYRIGHT_NOTICE, "--copyright", "Copyright (C) 2027 Acme"},
};
// What a fresh wizard offers, in the same order.
constexpr const char* kDefaults[] = {"My Company", "My Application", "1.0", "My Application Description",
                                     "http://www.example.com", "Copyright (C)"};

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// A file whose name is UTF-8 text, made through the wide API: this program's code page need not
// hold the name's characters.
bool WriteUtf8Named(const std::string& folder, const std::string& name, const std::string& text) {
    const std::string path = folder + "\\" + name;
    std::wstring wide(path.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_UTF8, 0, path.c_str(), static_cast<int>(path.size()), wide.data(), static_cast<int>(wide.size()))));
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool done = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
    CloseHandle(file);
    return done;
}

// The value of `key` ("SetupFilename=") in a project's text.
std::string ProjectValue(const std::string& project, const std::string& key) {
    const size_t at = project.find("\r\n" + key);
    if (at == std::string::npos) return std::string();
    const size_t start = at + 2 + key.size();
    return project.substr(start, project.find("\r\n", start) - start);
}

// The rectangle of a toolbar button of another process: the toolbar writes it into memory of
// its own process, read back from here.
RECT ToolbarButtonRect(HWND toolbar, LRESULT index) {
    RECT rect{};
    DWORD id = 0;
    GetWindowThreadProcessId(toolbar, &id);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
    if (!process) return rect;
    void* remote = VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT, PAGE_READWRITE);
    if (remote) {
        SendMessageA(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return rect;
}

std::string FieldText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

class WizardTest : public BuilderTest {
protected:
    void SetUp() override {
        BuilderTest::SetUp();
        // Files at the top, in a subfolder and below it, and an empty folder.
        product_ = folder_.Path() + "\\Rocket product";
        for (const char* folder : {"", "\\bin", "\\bin\\plugins", "\\empty"})
            CreateDirectoryA((product_ + folder).c_str(), nullptr);
        WriteFile(product_ + "\\Rocket.exe", "MZ rocket");
        WriteFile(product_ + "\\Readme.txt", "read me");
        WriteFile(product_ + "\\bin\\engine.dll", "engine");
        WriteFile(product_ + "\\bin\\plugins\\fuel.dat", "fuel");
    }

    // The wizard page whose title is key 0 of `section`.
    HWND WaitForPage(BuilderProcess& builder, const char* section) {
        return builder.WaitForDialog(builder.LanguageText("English", section, "0"));
    }

    // Leaves `page` with its button `id` for the wizard page titled with key 0 of `section`.
    HWND Leave(BuilderProcess& builder, HWND page, int id, const char* section) {
        return builder.LeaveDialog(page, id, builder.LanguageText("English", section, "0"));
    }

    // From the welcome page to the finish page, answering the locate files page with `folder`
    // and the subfolders box; the general texts stay as the wizard offers them.
    HWND ToFinish(BuilderProcess& builder, const std::string& folder, bool subfolders) {
        HWND page = WaitForPage(builder, "WIZARD_WELCOME_DIALOG");
        if (!page) return nullptr;
        page = Leave(builder, page, IDC_WIZARD_NEXT, "WIZARD_GENERAL_INFO_DIALOG");
        if (!page) return nullptr;
        page = Leave(builder, page, IDC_WIZARD_NEXT, "WIZARD_LOCATE_FILES_DIALOG");
        if (!page) return nullptr;
        Type(page, IDC_WIZARD_FOLDER, folder);
        if (IsChecked(page, IDC_WIZARD_SUBFOLDERS) != subfolders) Click(page, IDC_WIZARD_SUBFOLDERS);
        return Leave(builder, page, IDC_WIZARD_NEXT, "WIZARD_FINISH_DIALOG");
    }

    // Checks that the general information page shows kAnswers; goes on to the next page.
    HWND ExpectAnswersAndGoOn(BuilderProcess& builder, HWND page) {
        for (const GeneralAnswer& answer : kAnswers) EXPECT_EQ(FieldText(page, answer.id), answer.text);
        return Leave(builder, page, IDC_WIZARD_NEXT, "WIZARD_LOCATE_FILES_DIALOG");
    }

    void SaveAs(BuilderProcess& builder, const std::string& path) {
        builder.Command(ID_FILE_SAVE_AS);
        HWND save = builder.WaitForDialog();
        ASSERT_NE(save, nullptr);
        ChooseInFileDialog(save, path);
        const std::string name = path.substr(path.rfind('\\') + 1);
        ASSERT_TRUE(builder.WaitForTitle("Quillset - [" + name.substr(0, name.size() - 4) + "]")) << builder.Title();
    }

    // The project that qsbuild.exe --new writes for the answers of kAnswers and `extra` options.
    std::string QsbuildNew(const std::string& name, const std::string& extra) {
        std::string arguments = "--new \"" + folder_.Path() + "\\" + name + "\" --files \"" + product_ + "\"" + extra;
        for (const GeneralAnswer& answer : kAnswers) arguments += std::string(" ") + answer.option + " \"" + answer.text + "\"";
        BuilderProcess qsbuild;
        if (!qsbuild.Start(folder_.CommandLineBuilder(), arguments)) return "<qsbuild did not start>";
        if (qsbuild.WaitForExit() != 0) return "<qsbuild failed>";
        return ReadWhole(folder_.Path() + "\\" + name);
    }

    static bool SaveEnabled(const BuilderProcess& builder) { return ToolbarEnabled(builder, ID_FILE_SAVE); }

    void Close(BuilderProcess& builder) {
        PostMessageA(builder.Main(), WM_CLOSE, 0, 0);
        EXPECT_EQ(builder.WaitForExit(), 0u);
    }

    std::string product_;
};

TEST_F(WizardTest, TheWizardWritesWhatQsbuildNewWritesAndKeepsItsAnswersForTheNextRun) {
    BuilderProcess builder;
    ASSERT_NO_FATAL_FAILURE(StartPastWelcome(builder, CMD_WIZARD_STEP1));

    HWND page = WaitForPage(builder, "WIZARD_WELCOME_DIALOG");
    ASSERT_NE(page, nullptr) << "the Welcome dialog starts the wizard";
    EXPECT_EQ(FieldText(page, IDC_WIZARD_TEXT1), builder.LanguageText("English", "WIZARD_WELCOME_DIALOG", "1"));
    EXPECT_FALSE(IsEnabled(page, IDC_WIZARD_BACK));
    page = Leave(builder, page, IDC_WIZARD_NEXT, "WIZARD_GENERAL_INFO_DIALOG");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(FieldText(page, IDC_WIZARD_LABEL1 + 5), builder.LanguageText("English", "WIZARD_GENERAL_INFO_DIALOG", "6"));
    EXPECT_EQ(FieldText(page, IDC_WIZARD_NEXT), builder.LanguageText("English", "WIZARD_GENERAL_INFO_DIALOG", "8"));
    for (size_t field = 0; field < 6; ++field) EXPECT_EQ(FieldText(page, kAnswers[field].id), kDefaults[field]);
    for (const GeneralAnswer& answer : kAnswers) Type(page, answer.id, answer.text);
    // Back keeps what was typed.
    page = Leave(builder, page, IDC_WIZARD_BACK, "WIZARD_WELCOME_DIALOG");
    ASSERT_NE(page, nullptr);
    page = Leave(builder, page, IDC_WIZARD_NEXT, "WIZARD_GENERAL_INFO_DIALOG");
    ASSERT_NE(page, nullptr);
    page = ExpectAnswersAndGoOn(builder, page);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(FieldText(page, IDC_WIZARD_FOLDER), "");
    EXPECT_TRUE(IsChecked(page, IDC_WIZARD_SUBFOLDERS));

    // Next without a folder is refused with a message, on the same page.
    PressButton(page, IDC_WIZARD_NEXT);
    HWND message = builder.WaitForDialog(builder.LanguageText("English", "STRINGS", "0"));
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(message, 0xFFFF)), builder.LanguageText("English", "STRINGS", "50"));
    PressButton(message, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(message); }));
    EXPECT_TRUE(IsWindowVisible(page));

    Type(page, IDC_WIZARD_FOLDER, product_);
    page = Leave(builder, page, IDC_WIZARD_NEXT, "WIZARD_FINISH_DIALOG");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(FieldText(page, IDC_WIZARD_NEXT), builder.LanguageText("English", "WIZARD_FINISH_DIALOG", "3"));
    const std::string summary = FieldText(page, IDC_WIZARD_SUMMARY);
    EXPECT_NE(summary.find("Rocket Writer 2.5"), std::string::npos) << summary;
    EXPECT_NE(summary.find(product_), std::string::npos) << summary;
    page = Leave(builder, page, IDC_WIZARD_BACK, "WIZARD_LOCATE_FILES_DIALOG");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(FieldText(page, IDC_WIZARD_FOLDER), product_);
    page = Leave(builder, page, IDC_WIZARD_NEXT, "WIZARD_FINISH_DIALOG");
    ASSERT_NE(page, nullptr);
    PressButton(page, IDC_WIZARD_NEXT);
    const std::string word = builder.LanguageText("English", "STRINGS", "2");
    ASSERT_TRUE(builder.WaitForTitle("Quillset - [" + word + "-1*]")) << "the new project is modified";
    HWND general = builder.WaitForForm(IDC_COMPANY_NAME);
    ASSERT_NE(general, nullptr) << "the new project is shown in the pages";
    EXPECT_TRUE(WaitFor([&] { return IsShownOnTop(GetDlgItem(general, IDC_COMPANY_NAME)); }, 5000))
        << "the General Info page is drawn at once, not hidden behind the tabs";
    EXPECT_EQ(FieldText(general, IDC_COMPANY_NAME), "Acme Tools");
    EXPECT_EQ(FieldText(general, IDC_COPYRIGHT_NOTICE), "Copyright (C) 2027 Acme");
    EXPECT_TRUE(SaveEnabled(builder)) << "the new project is modified";
    EXPECT_EQ(builder.FindDialog(builder.LanguageText("English", "STRINGS", "0")), nullptr)
        << "a folder with files gives no message";

    SaveAs(builder, folder_.Path() + "\\Wizard.qsp");
    const std::string wizard = ReadWhole(folder_.Path() + "\\Wizard.qsp");
    EXPECT_EQ(Occurrences(wizard, "\r\nFile=%AppDir%\\"), 4u) << wizard;
    EXPECT_EQ(Occurrences(wizard, "\r\nFolder=%AppDir%\\"), 3u) << wizard;
    // Saved above the product's files, the project names them relative to its folder, and builds
    // beside itself: the folder builds wherever it is checked out.
    EXPECT_NE(wizard.find("\r\nFile=%AppDir%\\bin\\plugins\\fuel.dat,Rocket product\\bin\\plugins\\fuel.dat,1,0\r\n"),
              std::string::npos) << wizard;
    EXPECT_NE(wizard.find("\r\nOutputFolder=output\r\n"), std::string::npos) << wizard;
    EXPECT_TRUE(wizard == QsbuildNew("Cli.qsp", "")) << "the wizard's project differs from qsbuild --new's";

    // The second run, from the File menu, starts with the first run's answers; without
    // subfolders only the top folder's files come.
    builder.Command(ID_FILE_WIZARD);
    page = WaitForPage(builder, "WIZARD_WELCOME_DIALOG");
    ASSERT_NE(page, nullptr);
    page = Leave(builder, page, IDC_WIZARD_NEXT, "WIZARD_GENERAL_INFO_DIALOG");
    ASSERT_NE(page, nullptr);
    page = ExpectAnswersAndGoOn(builder, page);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(FieldText(page, IDC_WIZARD_FOLDER), product_);
    Click(page, IDC_WIZARD_SUBFOLDERS);
    page = Leave(builder, page, IDC_WIZARD_NEXT, "WIZARD_FINISH_DIALOG");
    ASSERT_NE(page, nullptr);
    PressButton(page, IDC_WIZARD_NEXT);
    ASSERT_TRUE(builder.WaitForTitle("Quillset - [" + word + "-2*]")) << "the saved project needs no question";
    SaveAs(builder, folder_.Path() + "\\Flat.qsp");
    const std::string flat = ReadWhole(folder_.Path() + "\\Flat.qsp");
    EXPECT_EQ(Occurrences(flat, "\r\nFile=%AppDir%\\"), 2u) << flat;
    EXPECT_EQ(Occurrences(flat, "\r\nFolder="), 0u) << flat;
    EXPECT_TRUE(flat == QsbuildNew("CliFlat.qsp", " --flat")) << "the flat project differs from qsbuild --new --flat's";
    Close(builder);
}

TEST_F(WizardTest, CancelOnAnyPageOrAtTheSaveQuestionLeavesTheOpenProjectAlone) {
    BuilderProcess builder;
    ASSERT_NO_FATAL_FAILURE(StartPastWelcome(builder, CMD_NEW_PROJECT));
    HWND general = builder.WaitForForm(IDC_COMPANY_NAME);
    ASSERT_NE(general, nullptr);
    Type(general, IDC_COMPANY_NAME, "Kept Company");
    ASSERT_TRUE(WaitFor([&] { return SaveEnabled(builder); }));
    const std::string title = builder.Title();
    EXPECT_EQ(title.substr(title.size() - 2), "*]") << "the typed name marks the project modified";

    // The toolbar's button starts the wizard as the menu does: a click on it.
    HWND toolbar = GetDlgItem(builder.Main(), ID_TOOLBAR);
    const LRESULT index = SendMessageA(toolbar, TB_COMMANDTOINDEX, ID_FILE_WIZARD, 0);
    ASSERT_GE(index, 0);
    const RECT button = ToolbarButtonRect(toolbar, index);
    ASSERT_GT(button.right, button.left);
    const LPARAM middle = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    SendMessageA(toolbar, WM_MOUSEMOVE, 0, middle);
    SendMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    PostMessageA(toolbar, WM_LBUTTONUP, 0, middle);
    HWND page = WaitForPage(builder, "WIZARD_WELCOME_DIALOG");
    ASSERT_NE(page, nullptr) << "the toolbar starts the wizard";
    PressButton(page, IDCANCEL);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(page); }));

    // Cancel on each later page, with the fields changed first, and the close box on the last.
    const char* sections[] = {"WIZARD_GENERAL_INFO_DIALOG", "WIZARD_LOCATE_FILES_DIALOG", "WIZARD_FINISH_DIALOG"};
    for (int last = 0; last < 3; ++last) {
        builder.Command(ID_FILE_WIZARD);
        page = WaitForPage(builder, "WIZARD_WELCOME_DIALOG");
        ASSERT_NE(page, nullptr);
        for (int step = 0; step <= last; ++step) {
            page = Leave(builder, page, IDC_WIZARD_NEXT, sections[step]);
            ASSERT_NE(page, nullptr) << sections[step];
            // What the first round typed was cancelled: the wizard still offers its own text.
            if (step == 0 && last == 1) {
                EXPECT_EQ(FieldText(page, IDC_WIZARD_COMPANY_NAME), "My Company");
            }
            if (step == 0) Type(page, IDC_WIZARD_COMPANY_NAME, "Typed then cancelled");
            if (step == 1) Type(page, IDC_WIZARD_FOLDER, product_);
        }
        if (last == 2)
            PostMessageA(page, WM_CLOSE, 0, 0);
        else
            PressButton(page, IDCANCEL);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(page); }));
        EXPECT_EQ(builder.Title(), title);
        EXPECT_EQ(FieldText(builder.FindForm(IDC_COMPANY_NAME), IDC_COMPANY_NAME), "Kept Company");
        EXPECT_TRUE(SaveEnabled(builder));
    }

    // Cancel at the save question stops the wizard; the open project stays as it was.
    const std::string missing = folder_.Path() + "\\No such folder";
    builder.Command(ID_FILE_WIZARD);
    page = ToFinish(builder, missing, true);
    ASSERT_NE(page, nullptr);
    PressButton(page, IDC_WIZARD_NEXT);
    HWND question = builder.WaitForDialog("Quillset");
    ASSERT_NE(question, nullptr);
    ASSERT_NE(GetDlgItem(question, CMD_SAVE_CANCEL), nullptr);
    PressButton(question, CMD_SAVE_CANCEL);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }));
    Sleep(300);
    EXPECT_EQ(builder.Title(), title);
    EXPECT_EQ(FieldText(builder.FindForm(IDC_COMPANY_NAME), IDC_COMPANY_NAME), "Kept Company");
    EXPECT_TRUE(SaveEnabled(builder));

    // No at the question drops the changes; a folder that does not exist still gives the
    // project, and the user hears why it has no files.
    builder.Command(ID_FILE_WIZARD);
    page = ToFinish(builder, missing, true);
    ASSERT_NE(page, nullptr);
    PressButton(page, IDC_WIZARD_NEXT);
    question = builder.WaitForDialog("Quillset");
    ASSERT_NE(question, nullptr);
    PressButton(question, CMD_SAVE_NO);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }));
    HWND report = builder.WaitForDialog(builder.LanguageText("English", "STRINGS", "0"));
    ASSERT_NE(report, nullptr);
    std::string expected = builder.LanguageText("English", "STRINGS", "850");
    expected.replace(expected.find("%1"), 2, missing);
    EXPECT_EQ(WindowText(GetDlgItem(report, 0xFFFF)), expected);
    PressButton(report, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(report); }));
    EXPECT_NE(builder.Title(), title);
    HWND form = builder.WaitForForm(IDC_COMPANY_NAME);
    ASSERT_NE(form, nullptr);
    // The company typed in the rounds above went on with Next, so the wizard kept it.
    EXPECT_EQ(FieldText(form, IDC_COMPANY_NAME), "Typed then cancelled");

    // A folder holding only subfolders, scanned without them: a project without files, and why.
    const std::string nested = folder_.Path() + "\\Nested";
    CreateDirectoryA(nested.c_str(), nullptr);
    CopyFolder(product_ + "\\bin", nested + "\\bin");
    builder.Command(ID_FILE_WIZARD);
    page = ToFinish(builder, nested, false);
    ASSERT_NE(page, nullptr);
    PressButton(page, IDC_WIZARD_NEXT);
    question = builder.WaitForDialog("Quillset");
    ASSERT_NE(question, nullptr) << "the wizard's project is modified";
    PressButton(question, CMD_SAVE_NO);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }));
    report = builder.WaitForDialog(builder.LanguageText("English", "STRINGS", "0"));
    ASSERT_NE(report, nullptr);
    expected = builder.LanguageText("English", "STRINGS", "853");
    expected.replace(expected.find("%1"), 2, nested);
    EXPECT_EQ(WindowText(GetDlgItem(report, 0xFFFF)), expected);
    PressButton(report, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(report); }));
    PostMessageA(builder.Main(), WM_CLOSE, 0, 0);
    question = builder.WaitForDialog("Quillset");
    ASSERT_NE(question, nullptr);
    PressButton(question, CMD_SAVE_NO);
    EXPECT_EQ(builder.WaitForExit(), 0u);
}

// Names beyond ASCII and beyond the code page: the wizard on a product folder holding them lists
// them on the Files page as the disk spells them, saves them, reads them back, and the window's
// build of the reopened project is byte for byte qsbuild.exe's build of the same project.
TEST_F(WizardTest, NamesInAnyScriptComeThroughTheWizardTheFilesPageAndTheBuild) {
    const std::string names = folder_.Path() + "\\Names product";
    ASSERT_TRUE(CreateDirectoryA(names.c_str(), nullptr));
    std::vector<std::string> expected = {"\xC3\x9Cn\xC3\xAF" "c\xC3\xB6" "d\xC3\xA9.txt",   // Ünïcödé.txt
                                         "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt",        // 日本語.txt
                                         "emoji-\xF0\x9F\x98\x80.txt"};                      // emoji-😀.txt
    for (const std::string& name : expected) ASSERT_TRUE(WriteUtf8Named(names, name, "contents of " + name + "\r\n"));
    std::sort(expected.begin(), expected.end());

    BuilderProcess builder;
    ASSERT_NO_FATAL_FAILURE(StartPastWelcome(builder, CMD_WIZARD_STEP1));
    HWND page = ToFinish(builder, names, true);
    ASSERT_NE(page, nullptr);
    PressButton(page, IDC_WIZARD_NEXT);
    const std::string word = builder.LanguageText("English", "STRINGS", "2");
    ASSERT_TRUE(builder.WaitForTitle("Quillset - [" + word + "-1*]"));

    // The application folder's rows, sorted.
    const auto listed = [&](BuilderProcess& shown) {
        shown.Command(ID_PROJECT_FILES);
        std::vector<std::string> rows;
        if (!WaitFor([&] { return IsWindowVisible(PageWindow(shown.Main(), 3)) != FALSE; })) return rows;
        HWND files = PageWindow(shown.Main(), 3);
        HWND tree = GetDlgItem(files, IDC_PAGE_TREE), list = GetDlgItem(files, IDC_PAGE_LIST);
        SelectTreeItem(tree, TreeItemAt(tree, {0, 0}));
        WaitFor([&] { return ListRowCount(list) == 3; }, 10000);
        for (int row = 0; row < ListRowCount(list); ++row) {
            rows.push_back(ListText(shown.Id(), list, row, 0));
            EXPECT_NE(ListText(shown.Id(), list, row, 1), "missing") << rows.back();
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    };
    EXPECT_EQ(listed(builder), expected);

    const std::string project = folder_.Path() + "\\Names.qsp";
    SaveAs(builder, project);
    const std::string text = ReadWhole(project);
    for (const std::string& name : expected)
        EXPECT_NE(text.find("Names product\\" + name + ",1,0\r\n"), std::string::npos) << name << " in\n" << text;
    Close(builder);

    BuilderProcess reopened;
    ASSERT_TRUE(reopened.Start(folder_.Executable(), "\"" + project + "\""));
    ASSERT_TRUE(reopened.WaitForMainWindow());
    ASSERT_TRUE(reopened.WaitForTitle("Quillset - [Names]")) << reopened.Title();
    EXPECT_EQ(listed(reopened), expected) << "the names read back as they were saved";

    reopened.Command(ID_BUILD_SETUP);
    HWND build = reopened.WaitForDialog("Build");
    ASSERT_NE(build, nullptr);
    EXPECT_TRUE(WaitFor([&] { return FieldText(build, IDCANCEL) == "Close"; }, 180000));
    const std::string log = FieldText(build, IDC_BUILD_LOG);
    EXPECT_NE(log.find("Errors: 0"), std::string::npos) << log;
    PressButton(build, IDCANCEL);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(build); }));
    const std::string setupName = ProjectValue(text, "SetupFilename=");
    ASSERT_FALSE(setupName.empty()) << text;
    const std::string built = ReadWhole(folder_.Path() + "\\" + ProjectValue(text, "OutputFolder=") + "\\" + setupName);
    EXPECT_GT(built.size(), 10000u);
    const std::string reference = folder_.Path() + "\\reference";
    BuilderProcess qsbuild;
    ASSERT_TRUE(qsbuild.Start(folder_.CommandLineBuilder(), "--quiet --output \"" + reference + "\" \"" + project + "\""));
    ASSERT_EQ(qsbuild.WaitForExit(180000), 0u);
    EXPECT_TRUE(built == ReadWhole(reference + "\\" + setupName)) << "the window's build differs from qsbuild.exe's";
    Close(reopened);
}

}  // namespace
