// A setup or uninstaller stopped dead (the process killed, as a power loss stops it) partway
// through a large installation: the next run of the setup, or of the uninstaller, takes back what
// the journal records, and a final uninstallation leaves nothing.
#include "E2ESupport.h"
#include "installer/win32/Recovery.h"
#include "package/ExitCodes.h"

namespace {

const char kProduct[] = "QsE2E Crash";
const std::string kEntry = std::string(kUninstallKey) + kProduct, kAppDir = "C:\\QsE2E Crash\\App";
constexpr int kFiles = 800;

std::string CrashScript() {
    std::string files = ",uninstall.exe,%AppDir%\\uninstall.exe,1,0\n";
    for (int i = 0; i < kFiles; ++i)
        files += ",AppDir\\f" + std::to_string(i) + ".bin,%AppDir%\\Part" + std::to_string(i / 100) + "\\f" +
                 std::to_string(i) + ".bin,1,0\n";
    return Replace(R"([SETUP_INFO]
DefaultInstallationPath=C:\QsE2E Crash\App
DefaultShortcutFolderName=@
EnableUninstaller=Yes

[GENERAL_INFO]
ProductName=@
ProductVersion=1.0

[APPLICATION_FILES]
)" + files + R"(
[REGISTRY_ENTRIES]
key,HKLM,SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\%ProductName%
value,HKLM,SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\%ProductName%,DisplayName,S,@
value,HKLM,SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\%ProductName%,UninstallString,S,"%AppDir%\uninstall.exe"

[SYSTEM_REQUIREMENTS]
AnyWindows=Yes
)", "@", kProduct);
}

std::vector<TestEntry> CrashEntries() {
    std::vector<TestEntry> entries = {{"uninstall.exe", ReadBytes(QS_UNINSTALL_EXE)}};
    std::uint32_t seed = 1;
    for (int i = 0; i < kFiles; ++i) {
        std::string bytes(24 << 10, '\0');
        for (char& c : bytes) c = static_cast<char>((seed = seed * 1103515245 + 12345) >> 24);
        entries.push_back({"AppDir\\f" + std::to_string(i) + ".bin", bytes});
    }
    return entries;
}

int CountFiles(const std::string& folder) {
    int count = 0;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        count += (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? CountFiles(folder + "\\" + name) : 1;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return count;
}

// Starts `commandLine` and kills it once `reached` says so; false when it ended first.
bool KillWhen(const std::string& commandLine, const std::function<bool()>& reached) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    bool killed = false;
    for (int i = 0; i < 60000 && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; ++i) {
        if (reached()) {
            killed = TerminateProcess(pi.hProcess, 99) != FALSE;
            break;
        }
        Sleep(2);
    }
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return killed;
}

class PowerLoss : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        package_ = new Package;
        package_->Write(CrashScript(), CrashEntries());
    }
    static void TearDownTestSuite() { delete package_; }
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        RemoveFolderTree("C:\\QsE2E Crash");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kEntry.c_str());
        DeleteFileA(JournalPathFor(kEntry).c_str());
    }
    static std::string SetupLine() { return "\"" + package_->Path("Setup.exe") + "\" /S"; }
    // Nothing of the product is left.
    static void ExpectNothingLeft() {
        EXPECT_TRUE(Disappears("C:\\QsE2E Crash"));
        EXPECT_FALSE(KeyExists("HKLM", kEntry));
        EXPECT_FALSE(Exists(JournalPathFor(kEntry)));
    }
    static Package* package_;
};

Package* PowerLoss::package_ = nullptr;

TEST_F(PowerLoss, ASetupStoppedAtAThirdAndAtTwoThirdsIsTakenBackByTheNextSetup) {
    for (int percent : {30, 70}) {
        ASSERT_TRUE(KillWhen(SetupLine(), [&] { return CountFiles(kAppDir) >= kFiles * percent / 100; })) << percent;
        // What the stopped setup left can be found: its entry, marked, names the journal.
        EXPECT_NE(StringValue("HKLM", kEntry, kJournalValue), "<none>") << percent;
        ASSERT_EQ(RunProgram(package_->Path("Setup.exe"), "/S"), 0) << percent;
        EXPECT_EQ(CountFiles(kAppDir), kFiles + 2) << "the files, the uninstaller and the log";
        EXPECT_EQ(StringValue("HKLM", kEntry, kJournalValue), "<none>");
        ASSERT_EQ(RunProgram(kAppDir + "\\uninstall.exe", "/S"), 0);
        ExpectNothingLeft();
    }
}

TEST_F(PowerLoss, TheUninstallerOfAStoppedFirstInstallationTakesItBack) {
    ASSERT_TRUE(KillWhen(SetupLine(), [] { return CountFiles(kAppDir) >= kFiles / 2; }));
    ASSERT_TRUE(Exists(kAppDir + "\\uninstall.exe"));
    EXPECT_EQ(RunProgram(kAppDir + "\\uninstall.exe", "/S"), 0);
    ExpectNothingLeft();
}

TEST_F(PowerLoss, AnUninstallerStoppedHalfwayFinishesWhenRunAgain) {
    ASSERT_EQ(RunProgram(package_->Path("Setup.exe"), "/S"), 0);
    ASSERT_TRUE(KillWhen("\"" + kAppDir + "\\uninstall.exe\" /S", [] { return CountFiles(kAppDir) <= kFiles / 2; }));
    // The entry stays until the end, so the uninstaller can be found and run again.
    EXPECT_TRUE(KeyExists("HKLM", kEntry));
    EXPECT_EQ(RunProgram(kAppDir + "\\uninstall.exe", "/S"), 0);
    ExpectNothingLeft();
}

}  // namespace
