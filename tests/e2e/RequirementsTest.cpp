// System requirements that the computer does not meet: the installation stops, or goes on
// with a warning when the project allows it.
#include "E2ESupport.h"
#include "SmallPackage.h"

namespace {

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

// The Windows version that Wine reports to programs named Setup.exe, for as long as it lives.
class WineVersionForSetup {
public:
    explicit WineVersionForSetup(const char* version) {
        RegistryKey key;
        if (key.Create(HKEY_CURRENT_USER, kKey, KEY_SET_VALUE)) key.SetValue("Version", REG_SZ, std::string(version) + '\0');
    }
    ~WineVersionForSetup() { RegDeleteTreeA(HKEY_CURRENT_USER, kKey); }

private:
    static constexpr const char* kKey = "Software\\Wine\\AppDefaults\\Setup.exe";
};

// Refused or not by the keys of today's Windows, with the refusal in the language chosen.
int RunWithRequirements(const std::string& requirements, const std::string& language, std::string& log) {
    Package package;
    package.Write(SmallScript("QsE2E Modern", std::string(), requirements + "AbortInstallation=Yes\n"), SmallEntries());
    const int code = RunProgram(package.Path("Setup.exe"), "/S /LANG=" + language + " /LOG=" + package.Path("log.txt"));
    log = ReadBytes(package.Path("log.txt"));
    if (code == 0) {
        EXPECT_EQ(RunProgram("C:\\QsE2E Small\\QsE2E Modern\\uninstall.exe", "/S"), 0);
    }
    EXPECT_TRUE(Disappears("C:\\QsE2E Small\\QsE2E Modern"));
    return code;
}

// Windows 10 refused by its own key although Windows XP is allowed, allowed by it while Windows 11
// is refused, and Windows 7 refused by a project for Windows 10 and 11 alone. (Wine 8 cannot
// pretend to be Windows 11: the unit tests decide by its build number.)
TEST(Requirements, TodaysWindowsAreDecidedByTheirOwnKeys) {
    const std::string english = "cannot be installed on this version of Windows";
    const std::string german = "kann unter dieser Windows-Version nicht installiert werden";
    std::string log;
    {
        WineVersionForSetup wine("win10");
        EXPECT_EQ(RunWithRequirements("AnyWindows=No\nWindowsXP=Yes\nWindows10=No\n", "English", log), 2);
        EXPECT_NE(log.find(english), std::string::npos) << log;
        EXPECT_EQ(RunWithRequirements("AnyWindows=No\nWindowsXP=Yes\nWindows10=No\n", "German", log), 2);
        EXPECT_NE(log.find(german), std::string::npos) << log;
        EXPECT_EQ(RunWithRequirements("AnyWindows=No\nWindowsXP=No\nWindows10=Yes\nWindows11=No\nOnly64BitWindows=Yes\n",
                                      "English", log), 0) << log;
    }
    WineVersionForSetup wine("win7");
    EXPECT_EQ(RunWithRequirements("AnyWindows=No\nWindowsXP=No\nWindows10=Yes\nWindows11=Yes\n", "English", log), 2);
    EXPECT_NE(log.find(english), std::string::npos) << log;
    RemoveFolderTree("C:\\QsE2E Small");
    RemoveTestKeys();
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

}  // namespace
