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

}  // namespace
