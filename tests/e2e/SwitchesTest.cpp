// The installer's switches: the installation folder, the language and a relative log file.
#include "E2ESupport.h"
#include "SmallPackage.h"

namespace {

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

}  // namespace
