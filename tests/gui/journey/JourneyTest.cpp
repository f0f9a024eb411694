// A user's whole road through the builder's window, with no project file written by hand: the
// New Project Wizard on a product folder, the pages, Save As, a build from the window; then the
// built setup installs silently, the test checks the target, and the uninstaller takes it all
// away again.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "../BuilderProcess.h"
#include "E2ESupport.h"
#include "resource.h"

namespace {

// Switches a box of a form on, as a click would, when it is off.
void SwitchOn(HWND form, int id) {
    if (!IsChecked(form, id)) Click(form, id);
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
        target_ = "C:\\Program Files\\Journey Test " + std::to_string(GetCurrentProcessId());
        group_ = ProgramsFolder() + "\\Journey App";
        uninstallKey_ = std::string(kUninstallKey) + "Journey App";
    }

    void TearDown() override {
        RemoveFolder(target_);
        RemoveFolder(group_);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, uninstallKey_.c_str());
    }

    // Leaves `page` with its button `id` for the wizard page titled with key 0 of `section`.
    HWND Leave(BuilderProcess& builder, HWND page, int id, const char* section) {
        return builder.LeaveDialog(page, id, builder.LanguageText("English", section, "0"));
    }

    HWND ShowPage(BuilderProcess& builder, UINT command, int controlId) {
        builder.Command(command);
        return builder.WaitForForm(controlId);
    }

    ProgramFolder folder_;
    std::string product_;
    std::string target_;
    std::string group_;
    std::string uninstallKey_;
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

    // The pages: an uninstall icon in the shortcut folder, screens switched on, the output.
    HWND setup = ShowPage(builder, ID_PROJECT_SETUP_INFO, IDC_CREATE_UNINSTALL_ICON);
    ASSERT_NE(setup, nullptr);
    SwitchOn(setup, IDC_CREATE_UNINSTALL_ICON);
    HWND screens = ShowPage(builder, ID_PROJECT_DIALOGS, IDC_WELCOME_SCREEN);
    ASSERT_NE(screens, nullptr);
    for (int id : {IDC_WELCOME_SCREEN, IDC_TARGET_FOLDER_SCREEN, IDC_PROGRAM_GROUP_SCREEN, IDC_FINISH_SCREEN})
        SwitchOn(screens, id);
    HWND create = ShowPage(builder, ID_PROJECT_CREATE_SETUP, IDC_OUTPUT_FOLDER);
    ASSERT_NE(create, nullptr);
    const std::string output = folder_.Path() + "\\output";
    Type(create, IDC_OUTPUT_FOLDER, output);
    Type(create, IDC_SETUP_FILE_NAME, "JourneySetup.exe");

    const std::string project = folder_.Path() + "\\Journey.qsp";
    builder.Command(ID_FILE_SAVE_AS);
    HWND save = builder.WaitForDialog();
    ASSERT_NE(save, nullptr);
    ChooseInFileDialog(save, project);
    ASSERT_TRUE(builder.WaitForTitle("Quillset - [Journey]")) << builder.Title();
    const std::string saved = ReadWhole(project);
    for (const char* line : {"ProductName=Journey App\r\n", "CreateUninstallerIcon=Yes\r\n", "WelcomeDialog=Yes\r\n",
                             "TargetDirectoryDialog=Yes\r\n", "FinishDialog=Yes\r\n",
                             "File=%AppDir%\\bin\\tool.cmd,"})
        EXPECT_NE(saved.find(line), std::string::npos) << line << " in\n" << saved;

    // The build from the window.
    builder.Command(ID_BUILD_SETUP);
    HWND build = builder.WaitForDialog("Build");
    ASSERT_NE(build, nullptr);
    ASSERT_TRUE(WaitFor([&] { return WindowText(GetDlgItem(build, IDCANCEL)) == "Close"; }, 180000));
    const std::string log = WindowText(GetDlgItem(build, IDC_BUILD_LOG));
    EXPECT_NE(log.find("Errors: 0  Warnings: 0"), std::string::npos) << log;
    PressButton(build, IDCANCEL);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(build); }));
    PostMessageA(builder.Main(), WM_CLOSE, 0, 0);
    ASSERT_EQ(builder.WaitForExit(), 0u) << "the build saved the project: nothing to ask";

    // The silent installation and what it leaves on the target.
    const std::string setupProgram = output + "\\JourneySetup.exe";
    ASSERT_TRUE(Exists(setupProgram));
    ASSERT_EQ(RunProgram(setupProgram, "/S \"/D=" + target_ + "\""), 0);
    for (const char* file : {"\\Journey.exe", "\\bin\\tool.cmd", "\\docs\\readme.txt", "\\uninstall.exe"})
        EXPECT_TRUE(Exists(target_ + file)) << file;
    EXPECT_EQ(ReadBytes(target_ + "\\docs\\readme.txt"), "Read me first.\r\n");
    EXPECT_EQ(StringValue("HKLM", uninstallKey_, "DisplayName"), "Journey App");
    EXPECT_EQ(StringValue("HKLM", uninstallKey_, "UninstallString"), "\"" + target_ + "\\uninstall.exe\"");
    ShellLinkFields link;
    ASSERT_TRUE(LoadShellLink(group_ + "\\Uninstall Journey App.lnk", link));
    EXPECT_EQ(link.target, target_ + "\\uninstall.exe");

    // The uninstaller removes everything the installation made.
    ASSERT_EQ(RunProgram(target_ + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(target_ + "\\uninstall.exe"));
    EXPECT_TRUE(Disappears(target_)) << "the installation folder is left";
    EXPECT_FALSE(Exists(group_)) << "the shortcut folder is left";
    EXPECT_FALSE(KeyExists("HKLM", uninstallKey_));
}

}  // namespace
