// Components that register themselves: registered when installed, unregistered before removal.
#include "E2ESupport.h"
#include "SmallPackage.h"

namespace {

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

// A package made by hand can still mark a document for self-registration: the installation
// fails, is rolled back, and the log says why.
TEST(SelfRegister, AComponentThatCannotRegisterFailsTheInstallationWithItsReason) {
    const std::string appDir = "C:\\QsE2E Small\\QsE2E Document";
    Package package;
    std::vector<TestEntry> entries = SmallEntries();
    entries.push_back({"AppDir\\Setup Guide.pdf", "%PDF-1.4"});
    package.Write(SmallScript("QsE2E Document", ",AppDir\\Setup Guide.pdf,%AppDir%\\Setup Guide.pdf,3,0\n"), entries);
    ASSERT_EQ(RunProgram(package.Path("Setup.exe"), "/S /LOG=" + package.Path("log.txt")), 3);
    const std::string log = ReadBytes(package.Path("log.txt"));
    EXPECT_NE(log.find("Cannot register " + appDir + "\\Setup Guide.pdf: it cannot be loaded as a library"),
              std::string::npos)
        << log;
    EXPECT_FALSE(Exists(appDir));
    RemoveFolderTree("C:\\QsE2E Small");
    RemoveTestKeys();
}

}  // namespace
