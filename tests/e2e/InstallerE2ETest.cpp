// Real installations under Wine: packages are assembled here exactly as a build lays them out,
// installed with /S, checked file by file, value by value and shortcut by shortcut, and removed.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <gtest/gtest.h>
#include <zip.h>

#include <chrono>
#include <thread>

#include "E2ESupport.h"
#include "TestSupport.h"
#include "profile/ScriptBuilder.h"
#include "model/ProjectDocument.h"
#include "installer/win32/Registry.h"
#include "installer/win32/Shell.h"
#include "installer/win32/Undo.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace {


std::string ProgramsFolder() { return ShellFolder(CSIDL_COMMON_PROGRAMS); }

// A project with files in every variable folder, nested folders, every shortcut kind, every
// registry value type in every hive, a file type and the uninstaller, for product `name`.
std::string FullScript(const std::string& name) {
    return Replace(R"([SETUP_INFO]
Version=1.0
DefaultInstallationPath=%ProgramFiles%\%ProductName%
DefaultShortcutFolderName=%ProductName% Group
EnableUninstaller=Yes
AddRemoveProgramsDescription=@ (test)
CreateUninstallerIcon=Yes
UninstallerIconDescription=Uninstall @
SetupType=0
SetupLanguages=English,German
DefaultSetupLanguage=English
RequiredDiskSpace=100

[GENERAL_INFO]
CompanyName=Quill Test Co
ProductName=@
ProductVersion=2.5
ProductDescription=End-to-end product
ProductURL=http://example.com/@
CopyrightNotice=(c) 2026

[APPLICATION_FILES]
,uninstall.exe,%AppDir%\uninstall.exe,1,0
,AppDir\app.txt,%AppDir%\app.txt,1,0
,AppDir\bin\nested\deep.txt,%AppDir%\bin\nested\deep.txt,1,0

[REGISTRY_ENTRIES]
key,HKLM,SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\%ProductName%
value,HKLM,SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\%ProductName%,DisplayName,S,@ (test)
value,HKLM,SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\%ProductName%,UninstallString,S,"%AppDir%\uninstall.exe"
key,HKLM,Software\QsE2E\@
value,HKLM,Software\QsE2E\@,Text,s,%AppDir%\app.txt, 50%
value,HKLM,Software\QsE2E\@,Bin,b,01 A0 FF
value,HKLM,Software\QsE2E\@,Num,d,0x0000000A
value,HKCU,Software\QsE2E\@,User,s,current user
value,HKU,.DEFAULT\Software\QsE2E\@,Default,s,users
value,HKCR,QsE2E.@.Extra,Extra,s,classes

[SHORTCUTS]
s,%AppSCFolder%\Uninstall @,%AppDir%\uninstall.exe,,,,0,%AppDir%
s,%AppSCFolder%\Tools\App,%AppDir%\app.txt,-a "b",%AppDir%\bin\nested\deep.txt,2,3,%AppDir%\bin
s,%Desktop%\@ Desktop,%AppDir%\app.txt,,,,1,%AppDir%
s,%StartMenu%\@ Start,%AppDir%\app.txt,,,,7,%AppDir%
s,%StartMenuPrograms%\@ Programs,%AppDir%\app.txt,,,,1,%AppDir%
s,%StartUp%\@ Startup,%AppDir%\app.txt,,,,1,%AppDir%
i,%AppSCFolder%\Web,http://example.com/q?a=1&b=%20,,,,,,

[SYSTEM_REQUIREMENTS]
AnyWindows=No
Windows95=No
Windows98=No
WindowsME=No
WindowsNT4=No
Windows2000=Yes
WindowsXP=No
AbortInstallation=Yes

[APPLICATION_FOLDERS]
%AppDir%
%AppDir%\bin
%AppDir%\bin\nested
%AppDir%\empty

[SHARED_FOLDERS]
%CommonFiles%\@

[SYSTEM_FOLDERS]
%WinDir%\@

[SHARED_FILES]
,CommonFiles\@\shared.dll,%CommonFiles%\@\shared.dll,5,0

[SYSTEM_FILES]
,WinDir\@\win.txt,%WinDir%\@\win.txt,1,0
,WinSysDir\@.txt,%WinSysDir%\@.txt,9,0

[SHORTCUT_FOLDERS]
%AppSCFolder%
%AppSCFolder%\Tools

[FILE_TYPES]
@x,QsE2E.@.Document,@ document,%AppDir%\app.txt,,3
)", "@", name);
}

std::vector<TestEntry> FullEntries(const std::string& name) {
    return {{"uninstall.exe", ReadBytes(QS_UNINSTALL_EXE)},
            {"AppDir\\app.txt", "application " + name},
            {"AppDir\\bin\\nested\\deep.txt", std::string(70000, 'd')},
            {"CommonFiles\\" + name + "\\shared.dll", "shared " + name},
            {"WinDir\\" + name + "\\win.txt", "windows " + name},
            {"WinSysDir\\" + name + ".txt", "system " + name}};
}

class FullInstall : public ::testing::TestWithParam<bool> {};

TEST_P(FullInstall, InstallsEverythingAndUninstallRemovesOnlyWhatItMade) {
    const bool selfExtracting = GetParam();
    const std::string name = selfExtracting ? "QsE2E Sfx" : "QsE2E Side";
    const std::string appDir = selfExtracting ? "C:\\QsE2E Sfx Target\\App Dir" : ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + name;
    const std::string common = ShellFolder(CSIDL_PROGRAM_FILES_COMMON) + "\\" + name;
    const std::string group = ProgramsFolder() + "\\" + name + " Group";
    const std::string winDir = WindowsFolder(), sysFile = SystemFolder() + "\\" + name + ".txt";
    const std::string appKey = "Software\\QsE2E\\" + name, uninstallKey = kUninstallKey + name;
    Package package;
    package.Write(FullScript(name), FullEntries(name));
    // Something that is not the installer's: a value in a key above its own, and another
    // product's count on the shared file.
    SetString("HKLM", "Software\\QsE2E", "Foreign", "stays");
    CreateDirectoryA(common.c_str(), nullptr);
    WriteTestFile(common + "\\shared.dll", "older shared");
    ASSERT_TRUE(SetSharedCount(common + "\\shared.dll", 1));

    int code = selfExtracting ? RunProgram(package.WrapSelfExtracting(), "/S \"/D=" + appDir + "\" /LOG=" + package.Path("log.txt"))
                              : RunProgram(package.Path("Setup.exe"), "/VERYSILENT /LOG=" + package.Path("log.txt"));
    ASSERT_EQ(code, 0) << ReadBytes(package.Path("log.txt"));

    // Files, with their contents, in every variable folder.
    EXPECT_EQ(ReadBytes(appDir + "\\app.txt"), "application " + name);
    EXPECT_EQ(ReadBytes(appDir + "\\bin\\nested\\deep.txt"), std::string(70000, 'd'));
    EXPECT_EQ(ReadBytes(appDir + "\\uninstall.exe"), ReadBytes(QS_UNINSTALL_EXE));
    EXPECT_TRUE(platform::IsFolder(appDir + "\\empty"));
    EXPECT_EQ(ReadBytes(common + "\\shared.dll"), "shared " + name);
    EXPECT_EQ(SharedCount(common + "\\shared.dll"), 2);
    EXPECT_EQ(ReadBytes(winDir + "\\" + name + "\\win.txt"), "windows " + name);
    EXPECT_EQ(ReadBytes(sysFile), "system " + name);

    // Registry values of every type in every hive, and the uninstall entry.
    EXPECT_EQ(StringValue("HKLM", appKey, "Text"), appDir + "\\app.txt, 50%");
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(ReadValue("HKLM", appKey, "Bin", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(data, "\x01\xA0\xFF");
    ASSERT_TRUE(ReadValue("HKLM", appKey, "Num", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, DwordData(10));
    EXPECT_EQ(StringValue("HKCU", appKey, "User"), "current user");
    EXPECT_EQ(StringValue("HKU", ".DEFAULT\\" + appKey, "Default"), "users");
    EXPECT_EQ(StringValue("HKCR", "QsE2E." + name + ".Extra", "Extra"), "classes");
    EXPECT_EQ(StringValue("HKLM", uninstallKey, "DisplayName"), name + " (test)");
    EXPECT_EQ(StringValue("HKLM", uninstallKey, "UninstallString"), "\"" + appDir + "\\uninstall.exe\"");
    EXPECT_EQ(StringValue("HKLM", uninstallKey, "QuietUninstallString"), "\"" + appDir + "\\uninstall.exe\" /S");
    EXPECT_EQ(StringValue("HKLM", uninstallKey, "DisplayVersion"), "2.5");
    EXPECT_EQ(StringValue("HKLM", uninstallKey, "Publisher"), "Quill Test Co");
    EXPECT_EQ(StringValue("HKLM", uninstallKey, "InstallLocation"), appDir);
    ASSERT_TRUE(ReadValue("HKLM", uninstallKey, "EstimatedSize", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    DWORD kilobytes = 0;
    memcpy(&kilobytes, data.data(), sizeof kilobytes);
    EXPECT_GE(kilobytes, 70000u / 1024 + ReadBytes(QS_UNINSTALL_EXE).size() / 1024);
    ASSERT_TRUE(ReadValue("HKLM", uninstallKey, "NoModify", type, data));
    EXPECT_EQ(data, DwordData(1));

    // The file type.
    EXPECT_EQ(StringValue("HKCR", "." + name + "x", ""), "QsE2E." + name + ".Document");
    EXPECT_EQ(StringValue("HKCR", "QsE2E." + name + ".Document", ""), name + " document");
    EXPECT_EQ(StringValue("HKCR", "QsE2E." + name + ".Document\\DefaultIcon", ""), appDir + "\\app.txt,3");
    EXPECT_EQ(StringValue("HKCR", "QsE2E." + name + ".Document\\shell\\open\\command", ""),
              "\"" + appDir + "\\app.txt\" \"%1\"");

    // Every shortcut kind and place.
    ShellLinkFields link;
    ASSERT_TRUE(LoadShellLink(group + "\\Tools\\App.lnk", link));
    EXPECT_EQ(link.target, appDir + "\\app.txt");
    EXPECT_EQ(link.arguments, "-a \"b\"");
    EXPECT_EQ(link.iconPath, appDir + "\\bin\\nested\\deep.txt");
    EXPECT_EQ(link.iconIndex, 2);
    EXPECT_EQ(link.showCommand, SW_SHOWMAXIMIZED);
    EXPECT_EQ(link.workingFolder, appDir + "\\bin");
    ASSERT_TRUE(LoadShellLink(group + "\\Uninstall " + name + ".lnk", link));
    EXPECT_EQ(link.target, appDir + "\\uninstall.exe");
    const std::string others[] = {ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\" + name + " Desktop.lnk",
                                  ShellFolder(CSIDL_COMMON_STARTMENU) + "\\" + name + " Start.lnk",
                                  ProgramsFolder() + "\\" + name + " Programs.lnk",
                                  ShellFolder(CSIDL_COMMON_STARTUP) + "\\" + name + " Startup.lnk"};
    for (const std::string& path : others) {
        ASSERT_TRUE(LoadShellLink(path, link)) << path;
        EXPECT_EQ(link.target, appDir + "\\app.txt") << path;
    }
    EXPECT_EQ(ReadBytes(group + "\\Web.url"), "[InternetShortcut]\r\nURL=http://example.com/q?a=1&b=%20\r\n");

    // A file the user makes in the installation folder stays; everything the installer made goes.
    WriteTestFile(appDir + "\\bin\\user notes.txt", "mine");
    ASSERT_EQ(RunProgram(appDir + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(appDir + "\\uninstall.exe"));
    EXPECT_EQ(ReadBytes(appDir + "\\bin\\user notes.txt"), "mine");
    for (const std::string& gone : {appDir + "\\app.txt", appDir + "\\install.log", appDir + "\\bin\\nested",
                                    appDir + "\\empty", winDir + "\\" + name, group})
        EXPECT_FALSE(Exists(gone)) << gone;
    for (const std::string& path : others) EXPECT_FALSE(Exists(path)) << path;
    // The shared file keeps the other product's count; the file marked never to uninstall stays.
    EXPECT_EQ(ReadBytes(common + "\\shared.dll"), "shared " + name);
    EXPECT_EQ(SharedCount(common + "\\shared.dll"), 1);
    EXPECT_EQ(ReadBytes(sysFile), "system " + name);
    for (const auto& [hive, key] : std::initializer_list<std::pair<std::string, std::string>>{
             {"HKLM", appKey}, {"HKCU", appKey}, {"HKU", ".DEFAULT\\" + appKey}, {"HKCR", "QsE2E." + name + ".Extra"},
             {"HKCR", "." + name + "x"}, {"HKCR", "QsE2E." + name + ".Document"}, {"HKLM", uninstallKey}})
        EXPECT_FALSE(KeyExists(hive, key)) << hive << "\\" << key;
    EXPECT_EQ(StringValue("HKLM", "Software\\QsE2E", "Foreign"), "stays");

    // What the test itself put there.
    RemoveFolderTree(selfExtracting ? "C:\\QsE2E Sfx Target" : appDir);
    RemoveFolderTree(common);
    SetSharedCount(common + "\\shared.dll", -1);
    DeleteFileA(sysFile.c_str());
    RemoveTestKeys();
}

INSTANTIATE_TEST_SUITE_P(BothModes, FullInstall, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "SelfExtracting" : "SideBySide"; });


// A small project: two files in the application folder, one registry value and one shortcut.
std::string SmallScript(const std::string& name, const std::string& extraFiles = std::string(),
                        const std::string& requirements = "AnyWindows=Yes\nAbortInstallation=Yes\n") {
    return Replace(R"([SETUP_INFO]
DefaultInstallationPath=C:\QsE2E Small\@
DefaultShortcutFolderName=@
EnableUninstaller=Yes
RequiredDiskSpace=10

[GENERAL_INFO]
ProductName=@

[APPLICATION_FILES]
,uninstall.exe,%AppDir%\uninstall.exe,1,0
,AppDir\a.txt,%AppDir%\a.txt,1,0
)" + extraFiles + R"(
[REGISTRY_ENTRIES]
key,HKLM,Software\QsE2E\@
value,HKLM,Software\QsE2E\@,Kept,s,new
value,HKLM,Software\QsE2E\@,Added,d,0x00000001

[SHORTCUTS]
s,%Desktop%\@,%AppDir%\a.txt,,,,1,%AppDir%

[SYSTEM_REQUIREMENTS]
)" + requirements, "@", name);
}

std::vector<TestEntry> SmallEntries() {
    return {{"uninstall.exe", ReadBytes(QS_UNINSTALL_EXE)}, {"AppDir\\a.txt", "new a"}, {"AppDir\\b.txt", "new b"}};
}

TEST(DamagedPackage, AChangedOrMissingByteIsRefusedBeforeAnythingIsInstalled) {
    Package package;
    package.Write(SmallScript("QsE2E Damaged"), SmallEntries());
    std::string good = ReadBytes(package.WrapSelfExtracting());
    std::string changed = good;
    changed[good.size() / 2] = static_cast<char>(changed[good.size() / 2] ^ 1);
    for (const std::string& bad : {changed, good.substr(0, good.size() - 1), good.substr(0, good.size() - 100000)}) {
        WriteTestFile(package.Path("Bad.exe"), bad);
        EXPECT_EQ(RunProgram(package.Path("Bad.exe"), "/S"), 4);
        EXPECT_FALSE(Exists("C:\\QsE2E Small\\QsE2E Damaged"));
    }
    // The stub alone holds no package at all.
    EXPECT_EQ(RunProgram(QS_SFX_EXE, "/S"), 4);
}

TEST(DamagedPackage, UnsafeNamesAndUnknownVariablesAreRefused) {
    const std::string evil = "C:\\QsE2E Small\\evil.txt";
    for (const char* line : {",..\\evil.txt,%AppDir%\\b.txt,1,0\n", ",AppDir\\b.txt,%AppDir%\\..\\evil.txt,1,0\n",
                             ",AppDir\\b.txt,C:\\QsE2E Small\\evil.txt,1,0\n", ",AppDir\\b.txt,%Nowhere%\\b.txt,1,0\n",
                             ",AppDir\\missing.txt,%AppDir%\\b.txt,1,0\n"}) {
        Package package;
        std::vector<TestEntry> entries = SmallEntries();
        entries.push_back({"..\\evil.txt", "evil"});
        package.Write(SmallScript("QsE2E Unsafe", line), entries);
        EXPECT_EQ(RunProgram(package.Path("Setup.exe"), "/S"), 4) << line;
        EXPECT_FALSE(Exists(evil)) << line;
        EXPECT_FALSE(Exists("C:\\QsE2E Small\\QsE2E Unsafe")) << line;
    }
}

TEST(SelfExtracting, ARelativeLogFileLandsInTheCallersFolder) {
    Package package;
    package.Write(SmallScript("QsE2E Relative"), SmallEntries());
    const std::string setup = package.WrapSelfExtracting();
    ASSERT_EQ(RunProgram(setup, "/S /LOG=relative.log", package.Path("")), 0);
    EXPECT_NE(ReadBytes(package.Path("relative.log")).find("Installation complete"), std::string::npos);
    ASSERT_EQ(RunProgram("C:\\QsE2E Small\\QsE2E Relative\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears("C:\\QsE2E Small\\QsE2E Relative"));
    RemoveFolderTree("C:\\QsE2E Small");
    RemoveTestKeys();
}

TEST(Requirements, AWindowsVersionOrDiskSpaceNotMetStopsWithCode2) {
    for (const char* requirements :
         {"AnyWindows=No\nWindows95=No\nWindows98=No\nWindowsME=No\nWindowsNT4=No\nWindows2000=No\nWindowsXP=No\n"
          "AbortInstallation=Yes\n",
          "AnyWindows=Yes\nAbortInstallation=Yes\n"}) {
        Package package;
        std::string script = SmallScript("QsE2E Requirements", std::string(), requirements);
        if (std::string(requirements).find("AnyWindows=Yes") != std::string::npos)
            script = Replace(script, "RequiredDiskSpace=10", "RequiredDiskSpace=999999999999");
        package.Write(script, SmallEntries());
        EXPECT_EQ(RunProgram(package.Path("Setup.exe"), "/S"), 2) << requirements;
        EXPECT_FALSE(Exists("C:\\QsE2E Small\\QsE2E Requirements"));
    }
}

TEST(Requirements, WithoutAbortTheInstallationGoesOnAndLogsTheWarning) {
    Package package;
    std::string script = Replace(SmallScript("QsE2E Warned", std::string(), "AnyWindows=No\nAbortInstallation=No\n"),
                                 ",uninstall.exe,%AppDir%\\uninstall.exe,1,0\n", "");
    for (const char* flag : {"Windows95", "Windows98", "WindowsME", "WindowsNT4", "Windows2000", "WindowsXP"})
        script += std::string(flag) + "=No\n";
    package.Write(script, SmallEntries());
    ASSERT_EQ(RunProgram(package.Path("Setup.exe"), "/S /LOG=" + package.Path("log.txt")), 0);
    EXPECT_NE(ReadBytes(package.Path("log.txt")).find("Requirement not met"), std::string::npos);
    EXPECT_EQ(ReadBytes("C:\\QsE2E Small\\QsE2E Warned\\a.txt"), "new a");
    // Without an uninstaller there is no install log either: nothing would ever remove it.
    EXPECT_FALSE(Exists("C:\\QsE2E Small\\QsE2E Warned\\install.log"));
    RemoveFolderTree("C:\\QsE2E Small");
    RemoveTestKeys();
    DeleteFileA((ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\QsE2E Warned.lnk").c_str());
}

// Files, a value and a shortcut that were there before the installation.
class Rollback : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA("C:\\QsE2E Small", nullptr);
        CreateDirectoryA(appDir_.c_str(), nullptr);
        WriteTestFile(appDir_ + "\\a.txt", "original a");
        SetString("HKLM", key_, "Kept", "old");
    }
    void TearDown() override {
        RemoveFolderTree("C:\\QsE2E Small");
        RemoveTestKeys();
    }
    // The computer is as it was: the replaced file and value are back, nothing new is left.
    void ExpectUnchanged() {
        EXPECT_EQ(ReadBytes(appDir_ + "\\a.txt"), "original a");
        EXPECT_FALSE(Exists(appDir_ + "\\b.txt"));
        EXPECT_FALSE(Exists(appDir_ + "\\uninstall.exe"));
        EXPECT_FALSE(Exists(appDir_ + "\\a.txt.qs-old"));
        EXPECT_FALSE(Exists(appDir_ + "\\sub"));
        EXPECT_FALSE(Exists(ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\QsE2E Rollback.lnk"));
        EXPECT_EQ(StringValue("HKLM", key_, "Kept"), "old");
        EXPECT_EQ(StringValue("HKLM", key_, "Added"), "<none>");
    }
    const std::string appDir_ = "C:\\QsE2E Small\\QsE2E Rollback";
    const std::string key_ = "Software\\QsE2E\\QsE2E Rollback";
};

TEST_F(Rollback, AFailureAtTheLastStepUndoesEverything) {
    Package package;
    package.Write(SmallScript("QsE2E Rollback", ",AppDir\\b.txt,%AppDir%\\sub\\b.txt,1,0\n"), SmallEntries());
    // The install log cannot be written where a folder of that name stands.
    CreateDirectoryA((appDir_ + "\\install.log").c_str(), nullptr);
    EXPECT_EQ(RunProgram(package.Path("Setup.exe"), "/S /LOG=" + package.Path("log.txt")), 3);
    ExpectUnchanged();
    EXPECT_NE(ReadBytes(package.Path("log.txt")).find("Rollback complete"), std::string::npos);
}

TEST_F(Rollback, AFileInUseHalfwayUndoesWhatCameBefore) {
    Package package;
    package.Write(SmallScript("QsE2E Rollback", ",AppDir\\b.txt,%AppDir%\\sub\\b.txt,1,0\n,AppDir\\b.txt,%AppDir%\\locked.txt,1,0\n"),
                  SmallEntries());
    WriteTestFile(appDir_ + "\\locked.txt", "in use");
    HANDLE locked = CreateFileA((appDir_ + "\\locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_EQ(RunProgram(package.Path("Setup.exe"), "/S /LOG=" + package.Path("log.txt")), 3);
    CloseHandle(locked);
    EXPECT_NE(ReadBytes(package.Path("log.txt")).find("Failed: Cannot write " + appDir_ + "\\locked.txt"), std::string::npos)
        << ReadBytes(package.Path("log.txt"));
    ExpectUnchanged();
    EXPECT_EQ(ReadBytes(appDir_ + "\\locked.txt"), "in use");
}

TEST(ReplaceModes, ExistingFilesAreKeptOrReplacedAsTheModeSays) {
    const std::string appDir = "C:\\QsE2E Small\\QsE2E Replace";
    CreateDirectoryA("C:\\QsE2E Small", nullptr);
    CreateDirectoryA(appDir.c_str(), nullptr);
    // The existing files are newer than the package's entries, which are dated 2001, and have no
    // version, like the entries.
    const std::pair<const char*, int> modes[] = {{"always", 0}, {"never", 1},   {"older", 2},   {"version", 3},
                                                 {"either", 4}, {"ask", 5},     {"differ", 6},  {"same", 6},
                                                 {"inuse", 7},  {"absent", 1}};
    std::string files;
    for (const auto& [name, mode] : modes) {
        if (std::string(name) != "absent") WriteTestFile(appDir + "\\" + name + ".txt", name == std::string("same") ? "new b" : "existing");
        files += ",AppDir\\b.txt,%AppDir%\\" + std::string(name) + ".txt,1," + std::to_string(mode) + "\n";
    }
    HANDLE inUse = CreateFileA((appDir + "\\inuse.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(inUse, INVALID_HANDLE_VALUE);
    Package package;
    package.Write(SmallScript("QsE2E Replace", files), SmallEntries(), true);
    int code = RunProgram(package.Path("Setup.exe"), "/S /SUPPRESSMSGBOXES /LOG=" + package.Path("log.txt"));
    CloseHandle(inUse);
    ASSERT_EQ(code, 0) << ReadBytes(package.Path("log.txt"));
    for (const char* replaced : {"always", "ask", "differ", "absent"})
        EXPECT_EQ(ReadBytes(appDir + "\\" + replaced + ".txt"), "new b") << replaced;
    for (const char* kept : {"never", "older", "version", "either", "inuse"})
        EXPECT_EQ(ReadBytes(appDir + "\\" + kept + ".txt"), "existing") << kept;
    // The file in use gets its replacement at the next restart.
    EXPECT_EQ(ReadBytes(appDir + "\\inuse.txt.qs-new"), "new b");
    EXPECT_NE(ReadBytes(package.Path("log.txt")).find("replaced at the next restart: " + appDir + "\\inuse.txt"),
              std::string::npos);
    // Uninstalling removes the files it wrote and keeps the ones it left alone.
    ASSERT_EQ(RunProgram(appDir + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(appDir + "\\uninstall.exe"));
    EXPECT_FALSE(Exists(appDir + "\\always.txt"));
    EXPECT_FALSE(Exists(appDir + "\\differ.txt"));
    EXPECT_EQ(ReadBytes(appDir + "\\never.txt"), "existing");
    EXPECT_EQ(ReadBytes(appDir + "\\same.txt"), "new b");
    RemoveFolderTree("C:\\QsE2E Small");
    RemoveTestKeys();
}

// The year of a file's last write time.
int WriteYear(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    SYSTEMTIME st = {};
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) FileTimeToSystemTime(&data.ftLastWriteTime, &st);
    return st.wYear;
}

TEST(ReplaceModes, VersionsDecideBeforeDates) {
    const std::string appDir = "C:\\QsE2E Small\\QsE2E Versions";
    const std::string v1 = ReadBytes(JoinPath(QS_VERSION_DLLS, "qs_version1_test.dll"));
    const std::string v2 = ReadBytes(JoinPath(QS_VERSION_DLLS, "qs_version2_test.dll"));
    ASSERT_NE(v1, v2);
    CreateDirectoryA("C:\\QsE2E Small", nullptr);
    CreateDirectoryA(appDir.c_str(), nullptr);
    // Each existing file: its version's bytes, whether it is dated 2001 (before the entries,
    // which are dated 2025), the entry that meets it and the replace mode.
    struct Case {
        const char* name;
        const std::string* existing;
        bool old;
        const char* entry;
        int mode;
    };
    const Case cases[] = {{"higher3.dll", &v2, true, "AppDir\\v1.dll", 3},   {"lower3.dll", &v1, false, "AppDir\\v2.dll", 3},
                          {"same3.dll", &v2, true, "AppDir\\v2.dll", 3},     {"higher4.dll", &v2, true, "AppDir\\v1.dll", 4},
                          {"sameolder4.dll", &v2, true, "AppDir\\v2.dll", 4}, {"samenewer4.dll", &v2, false, "AppDir\\v2.dll", 4}};
    std::string files;
    for (const Case& c : cases) {
        std::string path = appDir + "\\" + c.name;
        WriteTestFile(path, *c.existing);
        if (c.old) {
            SYSTEMTIME st = {2001, 1, 0, 1, 0, 0, 0, 0};
            FILETIME ft;
            SystemTimeToFileTime(&st, &ft);
            HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            SetFileTime(h, nullptr, nullptr, &ft);
            CloseHandle(h);
        }
        files += std::string(",") + c.entry + ",%AppDir%\\" + c.name + ",1," + std::to_string(c.mode) + "\n";
    }
    std::vector<TestEntry> entries = SmallEntries();
    entries.push_back({"AppDir\\v1.dll", v1});
    entries.push_back({"AppDir\\v2.dll", v2});
    Package package;
    package.Write(SmallScript("QsE2E Versions", files), entries);
    ASSERT_EQ(RunProgram(package.Path("Setup.exe"), "/S"), 0);
    EXPECT_EQ(ReadBytes(appDir + "\\higher3.dll"), v2);  // a higher version stays, however old
    EXPECT_EQ(ReadBytes(appDir + "\\lower3.dll"), v2);   // a lower version goes, however new
    EXPECT_EQ(ReadBytes(appDir + "\\higher4.dll"), v2);
    // The same version: mode 3 keeps it; mode 4 replaces it only when it is older.
    EXPECT_EQ(WriteYear(appDir + "\\same3.dll"), 2001);
    EXPECT_EQ(WriteYear(appDir + "\\sameolder4.dll"), 2025);
    EXPECT_GT(WriteYear(appDir + "\\samenewer4.dll"), 2025);
    RemoveFolderTree("C:\\QsE2E Small");
    RemoveTestKeys();
}

TEST(Reinstall, AnInstallationRepeatedIntoTheSameFolderIsRemovedCompletely) {
    const std::string name = "QsE2E Again", appDir = "C:\\QsE2E Small\\" + name;
    const std::string shared = "C:\\QsE2E Small\\" + name + "\\shared.dll";
    Package package;
    package.Write(Replace(SmallScript(name, ",AppDir\\b.txt,%AppDir%\\shared.dll,5,0\n"), "[REGISTRY_ENTRIES]\n",
                          "[REGISTRY_ENTRIES]\nkey,HKLM,SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\%ProductName%\n"
                          "value,HKLM,SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\%ProductName%,DisplayName,S,x\n"),
                  SmallEntries());
    ASSERT_EQ(RunProgram(package.Path("Setup.exe"), "/S"), 0);
    EXPECT_EQ(StringValue("HKLM", std::string(kUninstallKey) + name, "DisplayName"), "x");
    EXPECT_EQ(SharedCount(shared), 1);
    ASSERT_EQ(RunProgram(package.Path("Setup.exe"), "/S"), 0);
    ASSERT_EQ(RunProgram(appDir + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(appDir));
    EXPECT_FALSE(KeyExists("HKLM", std::string(kUninstallKey) + name));
    EXPECT_FALSE(KeyExists("HKLM", "Software\\QsE2E\\" + name));
    EXPECT_EQ(SharedCount(shared), -1);
    EXPECT_FALSE(Exists(ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\" + name + ".lnk"));
    RemoveFolderTree("C:\\QsE2E Small");
    RemoveTestKeys();
}

TEST(Switches, ARelativeInstallationFolderIsRefusedWithoutChangingAnything) {
    Package package;
    package.Write(SmallScript("QsE2E Switches"), SmallEntries());
    EXPECT_EQ(RunProgram(package.Path("Setup.exe"), "/S /D=relative\\folder"), 3);
    EXPECT_FALSE(Exists("C:\\QsE2E Small\\QsE2E Switches"));
    // German texts travel with the installation into its log, for the uninstaller.
    ASSERT_EQ(RunProgram(package.Path("Setup.exe"), "/S /LANG=German /D=C:\\QsE2E Small\\Sw Dir"), 0);
    EXPECT_NE(ReadBytes("C:\\QsE2E Small\\Sw Dir\\install.log").find("deinstallieren"), std::string::npos);
    ASSERT_EQ(RunProgram("C:\\QsE2E Small\\Sw Dir\\uninstall.exe", "/VERYSILENT"), 0);
    EXPECT_TRUE(Disappears("C:\\QsE2E Small\\Sw Dir"));
    RemoveFolderTree("C:\\QsE2E Small");
    RemoveTestKeys();
}

TEST(SelfRegister, AComponentIsRegisteredOnInstallAndUnregisteredBeforeItIsRemoved) {
    const std::string appDir = "C:\\QsE2E Small\\QsE2E Register";
    Package package;
    std::vector<TestEntry> entries = SmallEntries();
    entries.push_back({"AppDir\\component.dll", ReadBytes(QS_SELFREGISTER_DLL)});
    package.Write(SmallScript("QsE2E Register", ",AppDir\\component.dll,%AppDir%\\bin\\component.dll,3,0\n"), entries);
    ASSERT_EQ(RunProgram(package.Path("Setup.exe"), "/S"), 0);
    EXPECT_EQ(StringValue("HKLM", "Software\\QsE2E\\SelfRegister", "Registered"), appDir + "\\bin\\component.dll");
    ASSERT_EQ(RunProgram(appDir + "\\uninstall.exe", "/S"), 0);
    EXPECT_EQ(StringValue("HKLM", "Software\\QsE2E\\SelfRegister", "Registered"), "<none>");
    EXPECT_TRUE(Disappears(appDir));
    RemoveFolderTree("C:\\QsE2E Small");
    RemoveTestKeys();
}

TEST(Cancel, CancellingWhileAQuestionIsOpenRollsEverythingBack) {
    const std::string appDir = "C:\\QsE2E Small\\QsE2E Cancel";
    CreateDirectoryA("C:\\QsE2E Small", nullptr);
    CreateDirectoryA(appDir.c_str(), nullptr);
    WriteTestFile(appDir + "\\ask.txt", "existing");
    Package package;
    // The question about ask.txt holds the installation after a.txt while the user cancels.
    package.Write(SmallScript("QsE2E Cancel", ",AppDir\\b.txt,%AppDir%\\ask.txt,1,5\n,AppDir\\b.txt,%AppDir%\\c.txt,1,0\n"),
                  SmallEntries());
    std::string commandLine = "\"" + package.Path("Setup.exe") + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    HWND question = WaitForMessageBox(pi.dwProcessId, "ask.txt");
    HWND progress = FindWindowA("QuillsetProgress", nullptr);
    EXPECT_TRUE(question && progress);
    if (progress) PostMessageA(progress, WM_COMMAND, IDCANCEL, 0);
    HWND confirm = WaitForMessageBox(pi.dwProcessId, "cancel");
    EXPECT_TRUE(confirm);
    if (confirm) PostMessageA(confirm, WM_COMMAND, IDYES, 0);
    if (question) PostMessageA(question, WM_COMMAND, IDNO, 0);
    HWND done = WaitForMessageBox(pi.dwProcessId, "cancelled");
    EXPECT_TRUE(done);
    if (done) PostMessageA(done, WM_COMMAND, IDOK, 0);
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 99);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 1u);
    EXPECT_EQ(ReadBytes(appDir + "\\ask.txt"), "existing");
    for (const char* gone : {"\\a.txt", "\\c.txt", "\\uninstall.exe", "\\install.log"})
        EXPECT_FALSE(Exists(appDir + gone)) << gone;
    EXPECT_FALSE(KeyExists("HKLM", "Software\\QsE2E\\QsE2E Cancel"));
    RemoveFolderTree("C:\\QsE2E Small");
    RemoveTestKeys();
}

TEST(Programs, CarryTheApplicationIconAsTheirFirstIconGroup) {
    // The group the system shows for the file, and the one a build replaces by the project's icon.
    const std::string icon = ReadBytes(DataPath("..\\..\\resources\\Quillset.ico"));
    ASSERT_GT(icon.size(), 6u);
    for (const char* program : {QS_SETUP_EXE, QS_SFX_EXE, QS_UNINSTALL_EXE}) {
        HMODULE module = LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << program;
        ULONG_PTR first = 0;
        EnumResourceNamesA(module, RT_GROUP_ICON, [](HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
            *reinterpret_cast<ULONG_PTR*>(found) = reinterpret_cast<ULONG_PTR>(name);
            return FALSE;
        }, reinterpret_cast<LONG_PTR>(&first));
        EXPECT_EQ(first, 107u) << program;
        HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(107), RT_GROUP_ICON);
        ASSERT_NE(group, nullptr) << program;
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, group)));
        EXPECT_EQ(std::string(bytes + 4, 2), icon.substr(4, 2)) << program << ": one image per image of Quillset.ico";
        FreeLibrary(module);
    }
}

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
        WriteTestFile(sources_.Path("Project.qsp"), Crlf(ProjectText(sources_.Path(""))));
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
        const std::string builder = builder_.Path("") + "\\", output = builder_.Path("output");
        for (const char* folder : {"LanguageSets", "LanguageSets\\Builder", "LanguageSets\\Setup", "setup"})
            CreateDirectoryA((builder + folder).c_str(), nullptr);
        const std::pair<std::string, std::string> copies[] = {
            {QS_QSBUILD_EXE, "qsbuild.exe"},
            {JoinPath(QS_BUILDER_LANGUAGES, "English.dat"), "LanguageSets\\Builder\\English.dat"},
            {JoinPath(QS_SETUP_LANGUAGES, "English.dat"), "LanguageSets\\Setup\\English.dat"},
            {JoinPath(QS_SETUP_LANGUAGES, "German.dat"), "LanguageSets\\Setup\\German.dat"},
            {QS_SETUP_EXE, "setup\\_setup.exe"}, {QS_SFX_EXE, "setup\\_sfx.exe"}, {QS_UNINSTALL_EXE, "setup\\_uninstall.exe"}};
        for (const auto& [from, to] : copies) EXPECT_TRUE(CopyFileA(from.c_str(), (builder + to).c_str(), FALSE)) << to;
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

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
