// A project built into a setup program (through the sections' exports, and by qsbuild in both
// output modes) installs exactly what the project says.
#include "BuilderFolder.h"
#include "E2ESupport.h"
#include "core/Path.h"
#include "core/Text.h"
#include "model/ProjectDocument.h"
#include "profile/ScriptBuilder.h"

namespace {

// A project file as the builder saves it, with its product files in `sources`.
std::string ProjectText(const std::string& sources) {
    return Replace(R"([BUILDER_INFO]
Version=1.0

[GENERAL_INFO]
CompanyName=Quill Project Co
ProductName=QsE2E Project
ProductVersion=3.1
ProductDescription=Built from a project
ProductURL=http://example.com/project
CopyrightNotice=(c) 2026

[SETUP_INFO]
DefaultInstallationPath=%ProgramFiles%\%CompanyName%\%ProductName%
DefaultShortcutFolderName=%ProductName%
EnableUninstaller=Yes
AddRemoveProgramsDescription=%ProductName% %ProductVersion%
CreateUninstallerIcon=Yes
UninstallerIconDescription=Uninstall QsE2E Project
SetupType=0
SetupLanguages=English,German
DefaultSetupLanguage=German

[SYSTEM_REQUIREMENTS]
AnyWindows=Yes
RequiredDiskSpace=64
AbortInstallation=Yes

[APPLICATION_FILES]
Folder=%AppDir%\Docs
File=%AppDir%\Tool.exe,@\tool.bin,1,0
File=%AppDir%\Docs\Read Me.txt,@\readme.txt,1,0
File=%CommonFiles%\QsE2E Project\common.dll,@\common.bin,5,0
File=%WinSysDir%\qse2e-project.dll,@\system.bin,1,0

[SHORTCUTS]
ShortcutFolder=%AppSCFolder%\Tools
Shortcut=%AppSCFolder%\Tools\Tool,%AppDir%\Tool.exe,--start,%AppDir%\Tool.exe,0,1,%AppDir%
Shortcut=%Desktop%\QsE2E Project,%AppDir%\Tool.exe,,,,7,%AppDir%
InternetShortcut=%AppSCFolder%\Home Page,http://example.com/project,,,,,,

[REGISTRY_ENTRIES]
KEY=%HKEY_LOCAL_MACHINE%\Software\QsE2E\Project
STRING=%HKEY_LOCAL_MACHINE%\Software\QsE2E\Project\InstallDir,%AppDir%
BINARY=%HKEY_LOCAL_MACHINE%\Software\QsE2E\Project\Blob,01 A0 FF
DWORD=%HKEY_LOCAL_MACHINE%\Software\QsE2E\Project\Level,0x0000000A

[FILE_TYPES]
qsproj,QsE2E.Project,QsE2E project file,%AppDir%\Tool.exe,%AppDir%\Tool.exe,0
)", "@", sources);
}

// How a test turns the project into a setup program.
enum class Build { Sections, QsbuildSingleFile, QsbuildSideBySide };

class BuiltFromAProject : public ::testing::TestWithParam<Build> {
protected:
    void SetUp() override {
        const std::pair<const char*, const char*> files[] = {
            {"tool.bin", "tool"}, {"readme.txt", "read me"}, {"common.bin", "common"}, {"system.bin", "system"}};
        for (const auto& [name, bytes] : files) WriteTestFile(sources_.Path(name), bytes);
        WriteTestFile(sources_.Path("Project.qsp"), CrLfLineEnds(ProjectText(sources_.Path(""))));
    }

    // setup.ini through the sections' exports, setup.zip from the files tree by entry name,
    // wrapped into a self-extracting setup program.
    std::string BuildWithSections() {
        ProjectDocument project(EnglishTexts());
        if (!project.Open(sources_.Path("Project.qsp"))) return "<project not opened>";
        ScriptBuilder script;
        project.Export(script);
        std::vector<TestEntry> entries;
        project.fileTree.Walk([&](const TreeNode& node) {
            if (const FileItem* file = FileTree::FileOf(&node))
                entries.push_back({FileTree::EntryName(&node), ReadBytes(file->SourcePath())});
        });
        EXPECT_EQ(entries.size(), 4u);
        entries.push_back({"uninstall.exe", ReadBytes(QS_UNINSTALL_EXE)});
        package_.Write(script.Text(), entries);
        return package_.WrapSelfExtracting();
    }

    // qsbuild as a user runs it, from a builder folder laid out like dist/Quillset.
    std::string BuildWithQsbuild(bool singleFile) {
        const std::string builder = LayOutBuilder(builder_), output = builder_.Path("output");
        std::string arguments = "--quiet --output \"" + output + "\" " + (singleFile ? "--single-file" : "--side-by-side") +
                                " \"" + sources_.Path("Project.qsp") + "\"";
        EXPECT_EQ(RunProgram(builder + "qsbuild.exe", arguments), 0);
        return output + "\\Setup.exe";
    }

    std::string Build() {
        switch (GetParam()) {
            case Build::QsbuildSingleFile: return BuildWithQsbuild(true);
            case Build::QsbuildSideBySide: return BuildWithQsbuild(false);
            default: return BuildWithSections();
        }
    }

    Package sources_, package_, builder_;
};

TEST_P(BuiltFromAProject, WhatTheProjectSaysIsWhatTheInstallerInstalls) {
    const std::string setup = Build();
    const std::string appDir = ShellFolder(CSIDL_PROGRAM_FILES) + "\\Quill Project Co\\QsE2E Project";
    const std::string group = ProgramsFolder() + "\\QsE2E Project";
    const std::string common = ShellFolder(CSIDL_PROGRAM_FILES_COMMON) + "\\QsE2E Project";
    ASSERT_EQ(RunProgram(setup, "/S /LOG=" + package_.Path("log.txt")), 0) << ReadBytes(package_.Path("log.txt"));

    EXPECT_EQ(ReadBytes(appDir + "\\Tool.exe"), "tool");
    EXPECT_EQ(ReadBytes(appDir + "\\Docs\\Read Me.txt"), "read me");
    EXPECT_EQ(ReadBytes(common + "\\common.dll"), "common");
    EXPECT_EQ(ReadBytes(SystemFolder() + "\\qse2e-project.dll"), "system");
    EXPECT_EQ(StringValue("HKLM", "Software\\QsE2E\\Project", "InstallDir"), appDir);
    DWORD type = 0;
    std::string data;
    EXPECT_TRUE(ReadValue("HKLM", "Software\\QsE2E\\Project", "Level", type, data) && data == DwordData(10));
    EXPECT_TRUE(ReadValue("HKLM", "Software\\QsE2E\\Project", "Blob", type, data) && data == "\x01\xA0\xFF");
    EXPECT_EQ(StringValue("HKLM", std::string(kUninstallKey) + "QsE2E Project", "DisplayName"), "QsE2E Project 3.1");
    EXPECT_EQ(StringValue("HKCR", ".qsproj", ""), "QsE2E.Project");
    ShellLinkFields link;
    ASSERT_TRUE(LoadShellLink(group + "\\Tools\\Tool.lnk", link));
    EXPECT_EQ(link.target, appDir + "\\Tool.exe");
    EXPECT_EQ(link.arguments, "--start");
    ASSERT_TRUE(LoadShellLink(group + "\\Uninstall QsE2E Project.lnk", link));
    EXPECT_EQ(link.target, appDir + "\\uninstall.exe");
    ASSERT_TRUE(LoadShellLink(ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\QsE2E Project.lnk", link));
    EXPECT_EQ(link.showCommand, SW_SHOWMINNOACTIVE);
    EXPECT_NE(ReadBytes(group + "\\Home Page.url").find("URL=http://example.com/project"), std::string::npos);
    // The default language of the project is the installer's language.
    EXPECT_NE(ReadBytes(appDir + "\\install.log").find("deinstallieren"), std::string::npos);

    ASSERT_EQ(RunProgram(appDir + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(ShellFolder(CSIDL_PROGRAM_FILES) + "\\Quill Project Co"));
    for (const std::string& gone : {common, group, SystemFolder() + "\\qse2e-project.dll"}) EXPECT_FALSE(Exists(gone)) << gone;
    EXPECT_FALSE(KeyExists("HKLM", "Software\\QsE2E"));
    EXPECT_FALSE(KeyExists("HKCR", ".qsproj"));
    RemoveFolderTree(ShellFolder(CSIDL_PROGRAM_FILES) + "\\Quill Project Co");
    RemoveTestKeys();
}

INSTANTIATE_TEST_SUITE_P(Builds, BuiltFromAProject,
                         ::testing::Values(Build::Sections, Build::QsbuildSingleFile, Build::QsbuildSideBySide));

}  // namespace
