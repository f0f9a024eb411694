// A package with something in every folder variable, every shortcut kind and every registry
// value type, installed silently beside its files and from one self-extracting program, checked
// item by item, and uninstalled again.
#include "E2ESupport.h"
#include "installer/InstallLog.h"
#include "installer/win32/SharedCounts.h"

namespace {

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
    // A file made read-only goes too, as does a replaced program that an update left beside its
    // file (no restart removed it) in a folder of other files.
    ASSERT_TRUE(SetFileAttributesA((appDir + "\\app.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    WriteTestFile(appDir + "\\bin\\nested\\deep.txt" + kReplacedSuffix, "replaced");
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

}  // namespace
