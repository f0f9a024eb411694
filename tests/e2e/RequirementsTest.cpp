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
