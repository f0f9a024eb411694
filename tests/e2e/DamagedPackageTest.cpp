// A package that is damaged or unsafe is refused before anything is installed.
#include "E2ESupport.h"
#include "SmallPackage.h"

namespace {

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

}  // namespace
