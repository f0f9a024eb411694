// A program of the product kept running during an update and an uninstallation: its file is set
// aside and removed at the next restart (PendingFileRenameOperations) with the exit code 3010,
// or, with /CLOSEAPPLICATIONS, the program is closed and the update completes at once.
#include "E2ESupport.h"
#include "package/ExitCodes.h"

namespace {

const char kProduct[] = "QsE2E Running";
const std::string kEntry = std::string(kUninstallKey) + kProduct, kAppDir = "C:\\QsE2E Running";
const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";

std::string RunningScript(const std::string& version) {
    return Replace(Replace(R"([SETUP_INFO]
DefaultInstallationPath=C:\QsE2E Running
DefaultShortcutFolderName=@
EnableUninstaller=Yes

[GENERAL_INFO]
ProductName=@
ProductVersion=#

[APPLICATION_FILES]
,uninstall.exe,%AppDir%\uninstall.exe,1,0
,AppDir\b.exe,%AppDir%\b.exe,1,0
,AppDir\a.txt,%AppDir%\a.txt,1,0

[REGISTRY_ENTRIES]
key,HKLM,SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\%ProductName%
value,HKLM,SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\%ProductName%,DisplayName,S,@
value,HKLM,SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\%ProductName%,UninstallString,S,"%AppDir%\uninstall.exe"

[SYSTEM_REQUIREMENTS]
AnyWindows=Yes
)", "@", kProduct), "#", version);
}

// The program's bytes with a version mark appended, so that each version's file differs.
std::vector<TestEntry> RunningEntries(const std::string& version) {
    return {{"uninstall.exe", ReadBytes(QS_UNINSTALL_EXE)},
            {"AppDir\\b.exe", ReadBytes(QS_HOLDING_APP) + "version " + version},
            {"AppDir\\a.txt", "a of " + version}};
}

// The files that the system renames or deletes at the next restart, as the registry lists them.
std::string PendingOperations() {
    DWORD type = 0;
    std::string data;
    ReadValue("HKLM", kSessionManager, "PendingFileRenameOperations", type, data);
    return data;
}

class RunningProgram {
public:
    explicit RunningProgram(const std::string& path) {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::string line = "\"" + path + "\"";
        started_ = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_) != FALSE;
        if (started_) WaitForInputIdle(pi_.hProcess, 10000);
    }
    ~RunningProgram() {
        if (!started_) return;
        TerminateProcess(pi_.hProcess, 0);
        WaitForSingleObject(pi_.hProcess, 10000);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    bool Started() const { return started_; }
    bool Ended(DWORD milliseconds) const { return WaitForSingleObject(pi_.hProcess, milliseconds) == WAIT_OBJECT_0; }

private:
    bool started_ = false;
    PROCESS_INFORMATION pi_ = {};
};

class RunningPrograms : public ::testing::Test {
protected:
    void SetUp() override {
        Clean();
        v1_.Write(RunningScript("1.0"), RunningEntries("1.0"));
        v2_.Write(RunningScript("2.0"), RunningEntries("2.0"));
        ASSERT_EQ(RunProgram(v1_.Path("Setup.exe"), "/S"), 0);
    }
    void TearDown() override { Clean(); }
    static void Clean() {
        RemoveFolderTree(kAppDir);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kEntry.c_str());
        // What the tests scheduled would happen at a restart of the test prefix.
        RegistryKey key;
        if (key.Open(HKEY_LOCAL_MACHINE, kSessionManager, kWriteAccess)) key.DeleteValue("PendingFileRenameOperations");
    }
    Package v1_, v2_;
};

TEST_F(RunningPrograms, AnUpdateAndAnUninstallationLeaveTheRunningProgramToTheRestart) {
    RunningProgram program(kAppDir + "\\b.exe");
    ASSERT_TRUE(program.Started());
    const std::string log = v2_.Path("setup.log");
    ASSERT_EQ(RunProgram(v2_.Path("Setup.exe"), "/S /LOG=" + log), kExitRestartRequired) << ReadBytes(log);
    EXPECT_EQ(ReadBytes(kAppDir + "\\a.txt"), "a of 2.0");
    const std::string program2 = ReadBytes(kAppDir + "\\b.exe");
    EXPECT_EQ(program2.substr(program2.size() - 11), "version 2.0");
    // The earlier program, still running, waits for the restart beside the new one, logged.
    EXPECT_TRUE(Exists(kAppDir + "\\b.exe.qs-old"));
    EXPECT_NE(PendingOperations().find(kAppDir + "\\b.exe.qs-old"), std::string::npos);
    EXPECT_NE(ReadBytes(log).find("removed at the next restart: " + kAppDir + "\\b.exe.qs-old"), std::string::npos);

    // Uninstalled while it still runs: done, with a restart to complete it.
    ASSERT_EQ(RunProgram(kAppDir + "\\uninstall.exe", "/S"), kExitRestartRequired);
    EXPECT_FALSE(KeyExists("HKLM", kEntry));
    EXPECT_FALSE(Exists(kAppDir + "\\a.txt"));
    EXPECT_FALSE(Exists(kAppDir + "\\install.log"));
    const std::string pending = PendingOperations();
    EXPECT_NE(pending.find(kAppDir + "\\b.exe"), std::string::npos);
    EXPECT_NE(pending.find(kAppDir + std::string(1, '\0')), std::string::npos) << "the folder goes after its file";
}

TEST_F(RunningPrograms, CloseApplicationsEndsTheProgramAndTheUpdateCompletesAtOnce) {
    RunningProgram program(kAppDir + "\\b.exe");
    ASSERT_TRUE(program.Started());
    const std::string log = v2_.Path("setup.log");
    ASSERT_EQ(RunProgram(v2_.Path("Setup.exe"), "/S /CLOSEAPPLICATIONS /LOG=" + log), 0) << ReadBytes(log);
    EXPECT_TRUE(program.Ended(5000));
    EXPECT_FALSE(Exists(kAppDir + "\\b.exe.qs-old"));
    EXPECT_NE(ReadBytes(log).find("Closing b.exe"), std::string::npos);
    ASSERT_EQ(RunProgram(kAppDir + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(kAppDir));
}

}  // namespace
