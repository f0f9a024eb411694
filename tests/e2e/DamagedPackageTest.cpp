// A package that is damaged or unsafe is refused before anything is installed (exit 4); a value
// of the project that cannot be installed is a failure naming the value (exit 3).
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

TEST(DamagedPackage, AValueThatCannotBeInstalledIsAFailureThatNamesIt) {
    struct Case {
        const char* extraFiles;
        const char* sections;
        const char* logged;
    };
    const Case cases[] = {
        {"", "[FILE_TYPES]\ntxt,,Demo document,,%WinSysDir%\\shell32.dll,0\n", "Error: the file type txt has no identifier"},
        {"", "[APPLICATION_FOLDERS]\n%AppDir%\\CON\n",
         "Error: the destination %AppDir%\\CON holds the name \"CON\", which Windows reserves or changes"},
        {",AppDir\\b.txt,%AppDir%\\b.txt,1,12\n", "", "Error: the replace mode 12 is unknown"},
    };
    for (const Case& c : cases) {
        Package package;
        package.Write(SmallScript("QsE2E Value", c.extraFiles) + "\n" + c.sections, SmallEntries());
        EXPECT_EQ(RunProgram(package.Path("Setup.exe"), "/S /LOG=" + package.Path("log.txt")), 3) << c.sections;
        EXPECT_NE(ReadBytes(package.Path("log.txt")).find(c.logged), std::string::npos) << ReadBytes(package.Path("log.txt"));
        EXPECT_FALSE(Exists("C:\\QsE2E Small\\QsE2E Value")) << c.sections;
    }
}

}  // namespace
