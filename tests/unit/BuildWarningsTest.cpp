#include <gtest/gtest.h>

#include <map>

#include "BuildFixture.h"
#include "pipeline/BuildWarnings.h"
#include "platform/FileSystem.h"

namespace {

// Product files a.txt (one byte) and empty.dat (none), installed below %AppDir% with a docs
// folder, and the uninstaller.
const char kFiles[] =
    "[SETUP_INFO]\r\nEnableUninstaller=Yes\r\nDefaultShortcutFolderName=Docs\r\n\r\n"
    "[APPLICATION_FILES]\r\nFolder=%AppDir%\\docs\r\nFile=%AppDir%\\docs\\a.txt,a.txt,1,0\r\n\r\n";

std::vector<std::string> WarningsOf(const ProjectDocument& project, const std::map<std::string, std::uint64_t>& sizes) {
    return ProjectWarnings(project, [&](const TreeNode& node, std::uint64_t& size) {
        const auto found = sizes.find(node.Name());
        if (found == sizes.end()) return false;
        size = found->second;
        return true;
    });
}

}  // namespace

class Warnings : public Build {
protected:
    void SetUp() override {
        Build::SetUp();
        scratch.Write("project\\a.txt", "a");
    }
    std::vector<std::string> Of(const std::string& sections, const std::map<std::string, std::uint64_t>& sizes = {}) {
        OpenProject("CreateSelfExtractedSetup=Yes\r\n", kFiles + sections);
        return WarningsOf(*project, sizes);
    }
};

TEST_F(Warnings, ShortcutsFileTypesAndTheFinishScreenMustNameWhatTheProjectInstalls) {
    EXPECT_EQ(Of("[SHORTCUTS]\r\n"
                 "Shortcut=%AppSCFolder%\\Missing,%AppDir%\\docs\\b.txt,,,,1,%AppDir%\r\n"
                 "Shortcut=%AppSCFolder%\\Installed,%APPDIR%\\Docs\\A.TXT,,,,1,%AppDir%\r\n"
                 "Shortcut=%AppSCFolder%\\Folder,%AppDir%\\docs\\,,,,1,%AppDir%\r\n"
                 "Shortcut=%AppSCFolder%\\Uninstall,%AppDir%\\uninstall.exe,,,,1,%AppDir%\r\n"
                 "Shortcut=%AppSCFolder%\\System,%WinDir%\\notepad.exe,,,,1,%AppDir%\r\n"
                 "Shortcut=%AppSCFolder%\\Absolute,C:\\Tools\\x.exe,,,,1,%AppDir%\r\n"
                 "InternetShortcut=%AppSCFolder%\\Web,http://www.example.com/,,,,,,\r\n\r\n"
                 "[DIALOGS]\r\nFinishDialog=Yes\r\n\r\n"
                 "[FINISH_DIALOG]\r\nShow_ViewReadme_CheckBox=Yes\r\nShow_RunApplication_CheckBox=Yes\r\n"
                 "Readme_Pathname=%DestComp%\\%AppDir%\\ReadMe.txt\r\nApplication_Pathname=%AppDir%\\docs\\a.txt\r\n\r\n"
                 "[FILE_TYPES]\r\n.qa,Q.A,Q,%AppDir%\\app.exe,%AppDir%\\docs\\a.txt,0\r\n"
                 ".qb,Q.B,Q,%AppDir%\\docs\\a.txt,%AppDir%\\q.ico,0\r\n"
                 ".qc,Q.C,Q,%WinDir%\\notepad.exe,,0\r\n\r\n"),
              (std::vector<std::string>{
                  "The shortcut %AppSCFolder%\\Missing starts %AppDir%\\docs\\b.txt, which no file of the project installs",
                  "The finish screen shows the readme %AppDir%\\ReadMe.txt, which no file of the project installs",
                  "The file type .qa opens with %AppDir%\\app.exe, which no file of the project installs",
                  "The file type .qb takes its icon from %AppDir%\\q.ico, which no file of the project installs"}));

    // The finish screen's paths count only where it shows them.
    EXPECT_TRUE(Of("[DIALOGS]\r\nFinishDialog=No\r\n\r\n"
                   "[FINISH_DIALOG]\r\nShow_ViewReadme_CheckBox=Yes\r\nReadme_Pathname=%AppDir%\\ReadMe.txt\r\n\r\n")
                    .empty());
    EXPECT_TRUE(Of("[DIALOGS]\r\nFinishDialog=Yes\r\n\r\n"
                   "[FINISH_DIALOG]\r\nShow_ViewReadme_CheckBox=No\r\nReadme_Pathname=%AppDir%\\ReadMe.txt\r\n\r\n")
                    .empty());
}

TEST_F(Warnings, AFolderThatTheProjectInstallsIntoIsCheckedLikeTheApplicationFolder) {
    OpenProject("CreateSelfExtractedSetup=Yes\r\n",
                "[SETUP_INFO]\r\nDefaultShortcutFolderName=Helpers\r\n\r\n"
                "[APPLICATION_FILES]\r\nFile=%WinSysDir%\\helper.dll,a.txt,5,0\r\n\r\n"
                "[SHORTCUTS]\r\nShortcut=%AppSCFolder%\\Helper,%WinSysDir%\\helper2.dll,,,,1,%AppDir%\r\n"
           "Shortcut=%AppSCFolder%\\Notepad,%WinDir%\\notepad.exe,,,,1,%AppDir%\r\n\r\n");
    EXPECT_EQ(WarningsOf(*project, {}), (std::vector<std::string>{"The shortcut %AppSCFolder%\\Helper starts %WinSysDir%\\helper2.dll, "
                                               "which no file of the project installs"}));
}

TEST_F(Warnings, TwoFilesToOneDestinationHugeFilesAndLongPathsButNoEmptyFiles) {
    scratch.Write("project\\uninstall.exe", "mine");
    const std::string longName(220, 'n');
    OpenProject("CreateSelfExtractedSetup=Yes\r\n",
                std::string("[GENERAL_INFO]\r\nCompanyName=Example Company\r\nProductName=Example Product\r\n\r\n"
                    "[SETUP_INFO]\r\nDefaultInstallationPath=%ProgramFiles%\\%CompanyName%\\%ProductName%\r\n"
                    "EnableUninstaller=Yes\r\n\r\n"
                    "[APPLICATION_FILES]\r\nFile=%AppDir%\\a.txt,a.txt,1,0\r\nFile=%AppDir%\\uninstall.exe,uninstall.exe,1,0\r\n"
                    "File=%AppDir%\\empty.dat,a.txt,1,0\r\nFile=%AppDir%\\huge.bin,a.txt,1,0\r\n") +
                    "File=%AppDir%\\" + longName + ".txt,a.txt,1,0\r\n\r\n");
    const std::string appDir = "C:\\Program Files\\Example Company\\Example Product";
    EXPECT_EQ(DefaultInstallPath(*project, "%AppDir%\\%Unknown%\\100%\\x"), appDir + "\\%Unknown%\\100%\\x");
    const std::string source = platform::NativePath(JoinPath(projectFolder, "a.txt"));
    const std::string installedLong = appDir + "\\" + longName + ".txt";
    EXPECT_EQ(WarningsOf(*project, {{"a.txt", 1}, {"empty.dat", 0}, {"huge.bin", kLargeProductFile + 1}}),
              (std::vector<std::string>{
                  "Two files are installed to %AppDir%\\uninstall.exe: the uninstaller and " +
                      platform::NativePath(JoinPath(projectFolder, "uninstall.exe")) +
                      "; the later one replaces the earlier",
                  "The product file " + source + " is larger than 2 GiB (2147483649 bytes): the setup is slow to unpack it",
                  "The destination %AppDir%\\" + longName + ".txt is " + std::to_string(installedLong.size()) +
                      " characters long when installed as " + installedLong +
                      ", beyond Windows' classic limit of 259 (260 with the final zero)"}));
    ASSERT_GE(installedLong.size(), kClassicPathLimit);
    EXPECT_EQ(WarningsOf(*project, {{"huge.bin", kLargeProductFile}}).size(), 2u)
        << "exactly 2 GiB is not more than 2 GiB";
}

TEST_F(Warnings, TheExampleProjectHasNone) {
    project = std::make_unique<ProjectDocument>(texts);
    project->Open(JoinPath(SourceFolder(), "examples\\Demo\\Demo.qsp"));
    EXPECT_TRUE(WarningsOf(*project, {}).empty());
}

// Through a build: warnings are counted and logged before the archive and never stop the build;
// as errors they do, and nothing is left.
TEST_F(Warnings, ABuildLogsAndCountsThemOrTurnsThemIntoErrors) {
    scratch.Write("project\\empty.dat", "");
    const std::string sections =
        "[GENERAL_INFO]\r\nCompanyName=Widgets, Inc.\r\nProductName=Demo\r\n\r\n"
        "[SETUP_INFO]\r\nEnableUninstaller=No\r\nDefaultShortcutFolderName=Demo\r\n"
        "DefaultInstallationPath=%ProgramFiles%\\%CompanyName%\\%ProductName%\r\n\r\n"
        "[APPLICATION_FILES]\r\nFile=%AppDir%\\empty.dat,empty.dat,1,0\r\n\r\n"
        "[SHORTCUTS]\r\nShortcut=%AppSCFolder%\\App,%AppDir%\\app.exe,,,,1,%AppDir%\r\n\r\n";
    const std::string folder = "The installation folder %ProgramFiles%\\%CompanyName%\\%ProductName% is created as "
                               "C:\\Program Files\\Widgets, Inc\\Demo: Windows drops the dots and blanks at the end "
                               "of a folder's name";
    const std::string shortcut = "The shortcut %AppSCFolder%\\App starts %AppDir%\\app.exe, which no file of the project installs";
    OpenProject("CreateSelfExtractedSetup=Yes\r\n", sections);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(warnings, 2);
    ASSERT_GE(log->lines.size(), 5u);
    EXPECT_EQ(log->lines[2], "Warning! " + shortcut);
    EXPECT_EQ(log->lines[3], "Warning! " + folder);
    EXPECT_EQ(log->lines[4], "Creating setup.ini file...");
    EXPECT_EQ(log->lines[log->lines.size() - 2], "Errors: 0  Warnings: 2");
    EXPECT_EQ(OutputNames(), std::vector<std::string>{"Setup.exe"});

    RemoveFile(JoinPath(projectFolder, "out\\Setup.exe"));
    log = std::make_unique<RecordingLog>();
    warningsAsErrors = true;
    EXPECT_EQ(Run(), 2);
    EXPECT_EQ(warnings, 0);
    EXPECT_EQ(log->Text(), LogLines({"Setup build process started", "Checking dependencies..."}) + "Error! " +
                               shortcut + "\nError! " + folder + "\n" + Summary(2));
    EXPECT_TRUE(OutputNames().empty());
    EXPECT_TRUE(FolderNames(tempFolder).empty());
}

// Product texts with a dot or blank at their end, and no program group name at all: the setup
// is built, and the build says once what the target computer will see.
TEST_F(Warnings, FolderNamesAsWindowsStoresThemAndAnEmptyProgramGroup) {
    const auto warningsOf = [this](const std::string& sections) {
        OpenProject("CreateSelfExtractedSetup=Yes\r\n",
                    sections + "[APPLICATION_FILES]\r\nFile=%AppDir%\\a.txt,a.txt,1,0\r\n\r\n");
        return WarningsOf(*project, {});
    };
    const std::string names =
        "[GENERAL_INFO]\r\nCompanyName=Widgets, Inc.\r\nProductName=Notes \r\n\r\n"
        "[SETUP_INFO]\r\nDefaultInstallationPath=%ProgramFiles%\\%CompanyName%\\%ProductName%\r\n";
    EXPECT_EQ(warningsOf(names + "DefaultShortcutFolderName=%CompanyName%\\%ProductName%\r\n\r\n"),
              (std::vector<std::string>{
                  "The installation folder %ProgramFiles%\\%CompanyName%\\%ProductName% is created as C:\\Program "
                  "Files\\Widgets, Inc\\Notes: Windows drops the dots and blanks at the end of a folder's name",
                  "The program group %CompanyName%\\%ProductName% is created as Widgets, Inc\\Notes: Windows drops the "
                  "dots and blanks at the end of a folder's name"}));
    const std::string plain =
        "[GENERAL_INFO]\r\nCompanyName=\r\nProductName=Notes\r\n\r\n"
        "[SETUP_INFO]\r\nDefaultInstallationPath=%ProgramFiles%\\%CompanyName%\\%ProductName%\r\n"
        "DefaultShortcutFolderName=%CompanyName%\r\n";
    EXPECT_TRUE(warningsOf(plain + "EnableUninstaller=No\r\n\r\n").empty()) << "an empty group that holds nothing";
    const std::string empty = "The program group name %CompanyName% is empty: the shortcuts of the program group go "
                              "straight into the Start menu's Programs folder";
    EXPECT_EQ(warningsOf(plain + "EnableUninstaller=No\r\n\r\n"
                                 "[SHORTCUTS]\r\nShortcut=%AppSCFolder%\\A,%AppDir%\\a.txt,,,,1,%AppDir%\r\n\r\n"),
              std::vector<std::string>{empty});
    EXPECT_EQ(warningsOf(plain + "EnableUninstaller=Yes\r\nCreateUninstallerIcon=Yes\r\n\r\n"),
              std::vector<std::string>{empty})
        << "the uninstaller's shortcut goes into the group";
}
