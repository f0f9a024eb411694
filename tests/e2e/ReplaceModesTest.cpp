// Files that exist already are kept or replaced as their replace mode says: by date, by version,
// by contents, by the user's answer, or at the next restart when they are in use.
#include "E2ESupport.h"
#include "package/ExitCodes.h"
#include "SmallPackage.h"
#include "core/Path.h"

namespace {

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
    // Done, with a restart to complete it.
    ASSERT_EQ(code, kExitRestartRequired) << ReadBytes(package.Path("log.txt"));
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

}  // namespace
