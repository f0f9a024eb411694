// An installation repeated into the same folder counts a shared file once, and one uninstall
// removes everything.
#include "E2ESupport.h"
#include "SmallPackage.h"
#include "installer/win32/SharedCounts.h"

namespace {

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

// Uninstalled and installed again at once, as an update that removes the old version first does:
// the first uninstaller's removal of itself, finishing a moment later, leaves the new one alone.
TEST(Reinstall, AnUninstallFollowedAtOnceByAnInstallKeepsTheNewUninstaller) {
    const std::string name = "QsE2E Quick", appDir = "C:\\QsE2E Small\\" + name;
    Package package;
    package.Write(SmallScript(name, ""), SmallEntries());
    ASSERT_EQ(RunProgram(package.Path("Setup.exe"), "/S"), 0);
    ASSERT_EQ(RunProgram(appDir + "\\uninstall.exe", "/S"), 0);
    ASSERT_EQ(RunProgram(package.Path("Setup.exe"), "/S"), 0);
    // The old uninstaller, moved aside, is gone once its removal has run.
    bool removed = false;
    for (int i = 0; i < 300 && !removed; ++i) {
        removed = FolderListing(appDir).find("~uninstall-") == std::string::npos;
        if (!removed) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(removed) << FolderListing(appDir);
    EXPECT_TRUE(Exists(appDir + "\\uninstall.exe")) << FolderListing(appDir);
    ASSERT_EQ(RunProgram(appDir + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(appDir)) << FolderListing(appDir);
    EXPECT_FALSE(KeyExists("HKLM", std::string(kUninstallKey) + name));
    RemoveFolderTree("C:\\QsE2E Small");
    RemoveTestKeys();
}

}  // namespace
