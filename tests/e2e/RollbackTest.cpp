// An installation that fails or is cancelled leaves the computer as it was before.
#include "E2ESupport.h"
#include "SmallPackage.h"

namespace {

// Files, a value and a shortcut that were there before the installation.
class Rollback : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA("C:\\QsE2E Small", nullptr);
        CreateDirectoryA(appDir_.c_str(), nullptr);
        WriteTestFile(appDir_ + "\\a.txt", "original a");
        SetString("HKLM", key_, "Kept", "old");
    }
    void TearDown() override {
        RemoveFolderTree("C:\\QsE2E Small");
        RemoveTestKeys();
    }
    // The computer is as it was: the replaced file and value are back, nothing new is left.
    void ExpectUnchanged() {
        EXPECT_EQ(ReadBytes(appDir_ + "\\a.txt"), "original a");
        EXPECT_FALSE(Exists(appDir_ + "\\b.txt"));
        EXPECT_FALSE(Exists(appDir_ + "\\uninstall.exe"));
        EXPECT_FALSE(Exists(appDir_ + "\\a.txt.qs-old"));
        EXPECT_FALSE(Exists(appDir_ + "\\sub"));
        EXPECT_FALSE(Exists(ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\QsE2E Rollback.lnk"));
        EXPECT_EQ(StringValue("HKLM", key_, "Kept"), "old");
        EXPECT_EQ(StringValue("HKLM", key_, "Added"), "<none>");
    }
    const std::string appDir_ = "C:\\QsE2E Small\\QsE2E Rollback";
    const std::string key_ = "Software\\QsE2E\\QsE2E Rollback";
};

TEST_F(Rollback, AFailureAtTheLastStepUndoesEverything) {
    Package package;
    package.Write(SmallScript("QsE2E Rollback", ",AppDir\\b.txt,%AppDir%\\sub\\b.txt,1,0\n"), SmallEntries());
    // The install log cannot be written where a folder of that name stands.
    CreateDirectoryA((appDir_ + "\\install.log").c_str(), nullptr);
    EXPECT_EQ(RunProgram(package.Path("Setup.exe"), "/S /LOG=" + package.Path("log.txt")), 3);
    ExpectUnchanged();
    EXPECT_NE(ReadBytes(package.Path("log.txt")).find("Rollback complete"), std::string::npos);
}

// A file that a program holds is replaced at the next restart (see RunningProgramsTest); one that
// cannot be set aside at all fails the installation.
TEST_F(Rollback, AFileThatCannotBeReplacedHalfwayUndoesWhatCameBefore) {
    Package package;
    package.Write(SmallScript("QsE2E Rollback", ",AppDir\\b.txt,%AppDir%\\sub\\b.txt,1,0\n,AppDir\\b.txt,%AppDir%\\locked.txt,1,0\n"),
                  SmallEntries());
    WriteTestFile(appDir_ + "\\locked.txt", "in use");
    // A folder where the replaced file would be set aside.
    CreateDirectoryA((appDir_ + "\\locked.txt.qs-old").c_str(), nullptr);
    EXPECT_EQ(RunProgram(package.Path("Setup.exe"), "/S /LOG=" + package.Path("log.txt")), 3);
    EXPECT_NE(ReadBytes(package.Path("log.txt")).find("Failed: Cannot write " + appDir_ + "\\locked.txt"), std::string::npos)
        << ReadBytes(package.Path("log.txt"));
    ExpectUnchanged();
    EXPECT_EQ(ReadBytes(appDir_ + "\\locked.txt"), "in use");
}

TEST(Cancel, CancellingWhileAQuestionIsOpenRollsEverythingBack) {
    const std::string appDir = "C:\\QsE2E Small\\QsE2E Cancel";
    CreateDirectoryA("C:\\QsE2E Small", nullptr);
    CreateDirectoryA(appDir.c_str(), nullptr);
    WriteTestFile(appDir + "\\ask.txt", "existing");
    Package package;
    // The question about ask.txt holds the installation after a.txt while the user cancels.
    package.Write(SmallScript("QsE2E Cancel", ",AppDir\\b.txt,%AppDir%\\ask.txt,1,5\n,AppDir\\b.txt,%AppDir%\\c.txt,1,0\n"),
                  SmallEntries());
    std::string commandLine = "\"" + package.Path("Setup.exe") + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    HWND question = WaitForMessageBox(pi.dwProcessId, "ask.txt");
    HWND progress = FindWindowA("QuillsetProgress", nullptr);
    EXPECT_TRUE(question && progress);
    if (progress) PostMessageA(progress, WM_COMMAND, IDCANCEL, 0);
    HWND confirm = WaitForMessageBox(pi.dwProcessId, "cancel");
    EXPECT_TRUE(confirm);
    if (confirm) PostMessageA(confirm, WM_COMMAND, IDYES, 0);
    if (question) PostMessageA(question, WM_COMMAND, IDNO, 0);
    HWND done = WaitForMessageBox(pi.dwProcessId, "cancelled");
    EXPECT_TRUE(done);
    if (done) PostMessageA(done, WM_COMMAND, IDOK, 0);
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 99);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 1u);
    EXPECT_EQ(ReadBytes(appDir + "\\ask.txt"), "existing");
    for (const char* gone : {"\\a.txt", "\\c.txt", "\\uninstall.exe", "\\install.log"})
        EXPECT_FALSE(Exists(appDir + gone)) << gone;
    EXPECT_FALSE(KeyExists("HKLM", "Software\\QsE2E\\QsE2E Cancel"));
    RemoveFolderTree("C:\\QsE2E Small");
    RemoveTestKeys();
}

}  // namespace
