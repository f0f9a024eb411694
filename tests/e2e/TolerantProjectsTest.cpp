// Ordinary projects with harmless empty values build without errors, install silently and
// uninstall completely: an empty company name in the folder and group paths, an empty program
// group, and a company name that ends in a dot.
#include "BuilderFolder.h"
#include "E2ESupport.h"

namespace {

class TolerantProject : public ::testing::Test {
protected:
    // Builds `project` (product files tool.exe and Guide.pdf beside it) with qsbuild and
    // returns the setup program, or "" when the build failed.
    std::string BuildSetup(const std::string& project) {
        WriteTestFile(sources_.Path("tool.exe"), "tool");
        WriteTestFile(sources_.Path("Guide.pdf"), "%PDF-1.4");
        WriteTestFile(sources_.Path("Project.qsp"), CrLfLineEnds(project));
        const std::string builder = LayOutBuilder(builder_), output = builder_.Path("output");
        const int code = RunProgram(builder + "qsbuild.exe", "--quiet --output \"" + output + "\" \"" +
                                                                 sources_.Path("Project.qsp") + "\"");
        EXPECT_EQ(code, 0);
        return code == 0 ? output + "\\Setup.exe" : std::string();
    }

    Package sources_, builder_;
};

TEST_F(TolerantProject, AnEmptyCompanyNameLeavesNoEmptyFolderName) {
    const std::string setup = BuildSetup(R"([GENERAL_INFO]
CompanyName=
ProductName=Super, Duper
ProductVersion=1.0

[SETUP_INFO]
DefaultInstallationPath=%ProgramFiles%\%CompanyName%\%ProductName%
DefaultShortcutFolderName=%CompanyName%\%ProductName%
EnableUninstaller=Yes
AddRemoveProgramsDescription=%ProductName%
CreateUninstallerIcon=Yes
UninstallerIconDescription=Uninstall %ProductName%

[APPLICATION_FILES]
File=%AppDir%\tool.exe,tool.exe,1,0
File=%AppDir%\%CompanyName%\Guide.pdf,Guide.pdf,1,0

[SHORTCUTS]
Shortcut=%AppSCFolder%\Tool,%AppDir%\tool.exe,,,,1,%AppDir%
)");
    ASSERT_FALSE(setup.empty());
    const std::string appDir = ShellFolder(CSIDL_PROGRAM_FILES) + "\\Super, Duper";
    const std::string group = ProgramsFolder() + "\\Super, Duper";
    Package logs;
    ASSERT_EQ(RunProgram(setup, "/S /LOG=" + logs.Path("log.txt")), 0) << ReadBytes(logs.Path("log.txt"));
    EXPECT_EQ(ReadBytes(appDir + "\\tool.exe"), "tool");
    EXPECT_EQ(ReadBytes(appDir + "\\Guide.pdf"), "%PDF-1.4");
    ShellLinkFields link;
    ASSERT_TRUE(LoadShellLink(group + "\\Tool.lnk", link));
    EXPECT_EQ(link.target, appDir + "\\tool.exe");
    EXPECT_TRUE(LoadShellLink(group + "\\Uninstall Super, Duper.lnk", link));
    EXPECT_EQ(StringValue("HKLM", std::string(kUninstallKey) + "Super, Duper", "DisplayName"), "Super, Duper");

    ASSERT_EQ(RunProgram(appDir + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(appDir));
    EXPECT_FALSE(Exists(group));
    EXPECT_FALSE(KeyExists("HKLM", std::string(kUninstallKey) + "Super, Duper"));
    RemoveFolderTree(appDir);
}

TEST_F(TolerantProject, AnEmptyProgramGroupIsNoFaultWhenNothingGoesIntoIt) {
    const std::string setup = BuildSetup(R"([GENERAL_INFO]
CompanyName=Quill
ProductName=QsE2E No Group

[SETUP_INFO]
DefaultInstallationPath=%ProgramFiles%\%CompanyName%\%ProductName%
DefaultShortcutFolderName=
EnableUninstaller=Yes
CreateUninstallerIcon=No

[APPLICATION_FILES]
File=%AppDir%\tool.exe,tool.exe,1,0

[SHORTCUTS]
Shortcut=%Desktop%\QsE2E No Group,%AppDir%\tool.exe,,,,1,%AppDir%
)");
    ASSERT_FALSE(setup.empty());
    const std::string appDir = ShellFolder(CSIDL_PROGRAM_FILES) + "\\Quill\\QsE2E No Group";
    const std::string desktopLink = ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\QsE2E No Group.lnk";
    const std::vector<std::string> before = FolderNames(ProgramsFolder());
    ASSERT_EQ(RunProgram(setup, "/S"), 0);
    EXPECT_EQ(ReadBytes(appDir + "\\tool.exe"), "tool");
    EXPECT_TRUE(Exists(desktopLink));
    EXPECT_EQ(FolderNames(ProgramsFolder()), before);  // no program group was made

    ASSERT_EQ(RunProgram(appDir + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(appDir));
    EXPECT_FALSE(Exists(desktopLink));
    // The Start menu's programs folder itself stays, with what it held.
    EXPECT_EQ(FolderNames(ProgramsFolder()), before);
    RemoveFolderTree(ShellFolder(CSIDL_PROGRAM_FILES) + "\\Quill");
}

// "Widgets, Inc." makes folder names that end in a dot, which Windows drops: the installer makes
// the folders as Windows names them, and the uninstaller removes exactly those.
TEST_F(TolerantProject, ACompanyNameEndingInADotGivesTheFolderWindowsMakes) {
    const std::string setup = BuildSetup(R"([GENERAL_INFO]
CompanyName=Widgets, Inc.
ProductName=QsE2E Widget

[SETUP_INFO]
DefaultInstallationPath=%ProgramFiles%\%CompanyName%\%ProductName%
DefaultShortcutFolderName=%CompanyName%
EnableUninstaller=Yes
CreateUninstallerIcon=No

[APPLICATION_FILES]
File=%AppDir%\tool.exe,tool.exe,1,0

[SHORTCUTS]
Shortcut=%AppSCFolder%\Tool,%AppDir%\tool.exe,,,,1,%AppDir%
)");
    ASSERT_FALSE(setup.empty());
    const std::string company = ShellFolder(CSIDL_PROGRAM_FILES) + "\\Widgets, Inc";
    const std::string group = ProgramsFolder() + "\\Widgets, Inc";
    Package logs;
    ASSERT_EQ(RunProgram(setup, "/S /LOG=" + logs.Path("log.txt")), 0) << ReadBytes(logs.Path("log.txt"));
    EXPECT_EQ(ReadBytes(company + "\\QsE2E Widget\\tool.exe"), "tool");
    EXPECT_NE(ReadBytes(logs.Path("log.txt")).find("%AppDir% = " + company + "\\QsE2E Widget"), std::string::npos);
    ShellLinkFields link;
    ASSERT_TRUE(LoadShellLink(group + "\\Tool.lnk", link));
    EXPECT_EQ(link.target, company + "\\QsE2E Widget\\tool.exe");

    ASSERT_EQ(RunProgram(company + "\\QsE2E Widget\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(company));
    EXPECT_FALSE(Exists(group));
    RemoveFolderTree(company);
}

// With no program group name at all, the shortcuts that go into the group go straight into the
// Start menu's programs, which the uninstaller leaves.
TEST_F(TolerantProject, AnEmptyProgramGroupPutsItsShortcutsIntoThePrograms) {
    const std::string setup = BuildSetup(R"([GENERAL_INFO]
CompanyName=
ProductName=QsE2E Groupless

[SETUP_INFO]
DefaultInstallationPath=%ProgramFiles%\%ProductName%
DefaultShortcutFolderName=%CompanyName%
EnableUninstaller=Yes
CreateUninstallerIcon=No

[APPLICATION_FILES]
File=%AppDir%\tool.exe,tool.exe,1,0

[SHORTCUTS]
Shortcut=%AppSCFolder%\QsE2E Groupless Tool,%AppDir%\tool.exe,,,,1,%AppDir%
)");
    ASSERT_FALSE(setup.empty());
    const std::string appDir = ShellFolder(CSIDL_PROGRAM_FILES) + "\\QsE2E Groupless";
    const std::string link = ProgramsFolder() + "\\QsE2E Groupless Tool.lnk";
    ASSERT_EQ(RunProgram(setup, "/S"), 0);
    EXPECT_TRUE(Exists(link));
    ASSERT_EQ(RunProgram(appDir + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(appDir));
    EXPECT_FALSE(Exists(link));
    EXPECT_TRUE(Exists(ProgramsFolder()));
    RemoveFolderTree(appDir);
}

}  // namespace
