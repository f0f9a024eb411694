// A product installed again: found through its uninstall entry and updated where it is, moved
// to another folder under one rollback, never replaced by an older version unless allowed, one
// setup or uninstaller of it at a time, and an uninstaller that finishes what was stopped.
#include "E2ESupport.h"
#include "installer/Upgrade.h"
#include "installer/win32/ProductLock.h"
#include "package/ExitCodes.h"

namespace {

const char kProduct[] = "QsE2E Upgrade";
const std::string kEntry = std::string(kUninstallKey) + kProduct;
const std::string kRed = "C:\\QsE2E Up\\Red", kBlue = "C:\\QsE2E Up\\Blue", kDefault = "C:\\QsE2E Up\\Default";

// Version 1 has Sub\old.txt, which version 2 no longer installs; `extraFiles` are more lines.
std::string UpgradeScript(const std::string& version, const std::string& extraFiles = std::string()) {
    std::string files = ",uninstall.exe,%AppDir%\\uninstall.exe,1,0\n,AppDir\\a.txt,%AppDir%\\a.txt,1,0\n"
                        ",AppDir\\big.bin,%AppDir%\\big.bin,1,0\n";
    if (version == "1.0") files += ",AppDir\\old.txt,%AppDir%\\Sub\\old.txt,1,0\n";
    return Replace(Replace(R"([SETUP_INFO]
DefaultInstallationPath=C:\QsE2E Up\Default
DefaultShortcutFolderName=@
EnableUninstaller=Yes

[GENERAL_INFO]
ProductName=@
ProductVersion=#

[APPLICATION_FILES]
)" + files + extraFiles + R"(
[REGISTRY_ENTRIES]
key,HKLM,SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\%ProductName%
value,HKLM,SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\%ProductName%,DisplayName,S,@ #
value,HKLM,SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\%ProductName%,UninstallString,S,"%AppDir%\uninstall.exe"
key,HKLM,Software\QsE2E\@
value,HKLM,Software\QsE2E\@,Version,s,#

[SHORTCUTS]
s,%Desktop%\@,%AppDir%\a.txt,,,,1,%AppDir%

[SYSTEM_REQUIREMENTS]
AnyWindows=Yes
)", "@", kProduct), "#", version);
}

std::vector<TestEntry> UpgradeEntries(const std::string& version) {
    return {{"uninstall.exe", ReadBytes(QS_UNINSTALL_EXE)}, {"AppDir\\a.txt", "a of " + version},
            {"AppDir\\old.txt", "old of " + version}, {"AppDir\\big.bin", std::string(6 << 20, 'x')}};
}

void RemoveUpgradeLeftovers() {
    RemoveFolderTree("C:\\QsE2E Up");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kEntry.c_str());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\QsE2E");
    DeleteFileA((ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\" + kProduct + ".lnk").c_str());
}

class Upgrade : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveUpgradeLeftovers();
        v1_.Write(UpgradeScript("1.0"), UpgradeEntries("1.0"));
        v2_.Write(UpgradeScript("2.0"), UpgradeEntries("2.0"));
    }
    void TearDown() override { RemoveUpgradeLeftovers(); }

    static void ExpectVersion1In(const std::string& folder) {
        EXPECT_EQ(ReadBytes(folder + "\\a.txt"), "a of 1.0");
        EXPECT_EQ(ReadBytes(folder + "\\Sub\\old.txt"), "old of 1.0");
        EXPECT_EQ(StringValue("HKLM", kEntry, "DisplayVersion"), "1.0");
        EXPECT_EQ(StringValue("HKLM", kEntry, "InstallLocation"), folder);
    }
    static void ExpectVersion2In(const std::string& folder) {
        EXPECT_EQ(ReadBytes(folder + "\\a.txt"), "a of 2.0");
        EXPECT_FALSE(Exists(folder + "\\Sub")) << "the obsolete file and its folder stay";
        EXPECT_EQ(StringValue("HKLM", kEntry, "DisplayVersion"), "2.0");
        EXPECT_EQ(StringValue("HKLM", kEntry, "DisplayName"), std::string(kProduct) + " 2.0");
        EXPECT_EQ(StringValue("HKLM", kEntry, "InstallLocation"), folder);
        EXPECT_EQ(StringValue("HKLM", "Software\\QsE2E\\" + std::string(kProduct), "Version"), "2.0");
        // One log: the installation's own, without the file that went.
        const std::string log = ReadBytes(folder + "\\install.log");
        EXPECT_EQ(log.find("old.txt"), std::string::npos);
        EXPECT_NE(log.find("a.txt"), std::string::npos);
    }
    // The final uninstallation leaves nothing of either version.
    static void ExpectUninstalledCompletely(const std::string& folder) {
        ASSERT_EQ(RunProgram(folder + "\\uninstall.exe", "/S"), 0);
        EXPECT_TRUE(Disappears(folder));
        EXPECT_FALSE(KeyExists("HKLM", kEntry));
        EXPECT_FALSE(KeyExists("HKLM", "Software\\QsE2E\\" + std::string(kProduct)));
        EXPECT_FALSE(Exists(ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\" + kProduct + ".lnk"));
        for (const std::string& f : {kRed, kBlue, kDefault}) EXPECT_FALSE(Exists(f)) << f;
    }

    Package v1_, v2_;
};

TEST_F(Upgrade, ANewVersionWithoutAFolderUpdatesTheEarlierOneWhereItIs) {
    ASSERT_EQ(RunProgram(v1_.Path("Setup.exe"), "/S /D=" + kRed), 0);
    ExpectVersion1In(kRed);
    ASSERT_EQ(RunProgram(v2_.Path("Setup.exe"), "/S"), 0);
    ExpectVersion2In(kRed);
    EXPECT_FALSE(Exists(kDefault));
    EXPECT_FALSE(Exists(kRed + "\\Sub\\old.txt.qs-old"));
    ExpectUninstalledCompletely(kRed);
}

TEST_F(Upgrade, AnotherFolderGetsTheNewVersionAndTheEarlierInstallationGoes) {
    ASSERT_EQ(RunProgram(v1_.Path("Setup.exe"), "/S /D=" + kRed), 0);
    ASSERT_EQ(RunProgram(v2_.Path("Setup.exe"), "/S /D=" + kBlue), 0);
    ExpectVersion2In(kBlue);
    EXPECT_FALSE(Exists(kRed)) << "the earlier installation stays beside the new one";
    ExpectUninstalledCompletely(kBlue);
}

TEST_F(Upgrade, AFailedUpdateLeavesTheEarlierVersionAsItWas) {
    ASSERT_EQ(RunProgram(v1_.Path("Setup.exe"), "/S /D=" + kRed), 0);
    // A file of the earlier version that cannot be set aside (a folder stands in the way): the
    // update fails after the earlier files before it were set aside, and names the system's reason.
    ASSERT_TRUE(CreateDirectoryA((kRed + "\\Sub\\old.txt.qs-old").c_str(), nullptr));
    const std::string log = v2_.Path("setup.log");
    EXPECT_EQ(RunProgram(v2_.Path("Setup.exe"), "/S /D=" + kBlue + " /LOG=" + log), kExitFailed);
    RemoveDirectoryA((kRed + "\\Sub\\old.txt.qs-old").c_str());
    const std::string written = ReadBytes(log);
    EXPECT_NE(written.find("old.txt: "), std::string::npos) << written;
    ExpectVersion1In(kRed);
    EXPECT_TRUE(Exists(kRed + "\\uninstall.exe"));
    EXPECT_FALSE(Exists(kBlue));
    ExpectUninstalledCompletely(kRed);
}

TEST_F(Upgrade, AnOlderVersionIsRefusedUnlessAllowed) {
    ASSERT_EQ(RunProgram(v2_.Path("Setup.exe"), "/S /D=" + kRed), 0);
    EXPECT_EQ(RunProgram(v1_.Path("Setup.exe"), "/S"), kExitNewerInstalled);
    EXPECT_EQ(RunProgram(v1_.Path("Setup.exe"), "/S /D=" + kBlue), kExitNewerInstalled);
    EXPECT_FALSE(Exists(kBlue));
    EXPECT_FALSE(Exists(kDefault));
    ExpectVersion2In(kRed);
    ASSERT_EQ(RunProgram(v1_.Path("Setup.exe"), "/S /ALLOWDOWNGRADE"), 0);
    ExpectVersion1In(kRed);
    ExpectUninstalledCompletely(kRed);
}

TEST_F(Upgrade, AnEntryThatNamesNoInstallationIsTakenOverAndRemovedWithTheProduct) {
    SetString("HKLM", kEntry, "InstallLocation", "C:\\QsE2E Up\\Gone");
    SetString("HKLM", kEntry, "Leftover", "of a damaged installation");
    ASSERT_EQ(RunProgram(v1_.Path("Setup.exe"), "/S"), 0);
    ExpectVersion1In(kDefault);
    ExpectUninstalledCompletely(kDefault);
}

TEST_F(Upgrade, AnUninstallationStoppedAfterItsEntryWentIsFinished) {
    ASSERT_EQ(RunProgram(v1_.Path("Setup.exe"), "/S /D=" + kRed), 0);
    // What a power loss leaves between the removal of the entry and that of the log.
    for (const char* file : {"\\a.txt", "\\Sub\\old.txt", "\\big.bin"}) DeleteFileA((kRed + file).c_str());
    DeleteFileA((ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\" + kProduct + ".lnk").c_str());
    RemoveDirectoryA((kRed + "\\Sub").c_str());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\QsE2E");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kEntry.c_str());
    ASSERT_EQ(RunProgram(kRed + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(kRed));
}

TEST_F(Upgrade, AnUninstallerWhoseProductWasInstalledElsewhereRemovesNothing) {
    ASSERT_EQ(RunProgram(v1_.Path("Setup.exe"), "/S /D=" + kRed), 0);
    // An installation of another setup that left this one in place.
    SetString("HKLM", kEntry, "InstallLocation", kBlue);
    SetString("HKLM", kEntry, "InstallLogSha256", "00");
    EXPECT_EQ(RunProgram(kRed + "\\uninstall.exe", "/S"), kExitDamaged);
    EXPECT_EQ(ReadBytes(kRed + "\\a.txt"), "a of 1.0");
}

TEST_F(Upgrade, OneSetupOfAProductAtATime) {
    // Held by another setup of the product: a silent setup changes nothing.
    HANDLE held = CreateMutexA(nullptr, TRUE, ProductLockName(kProduct, true).c_str());
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(RunProgram(v1_.Path("Setup.exe"), "/S"), kExitBusy);
    EXPECT_FALSE(Exists(kDefault));
    ReleaseMutex(held);
    CloseHandle(held);

    // An uninstaller's removal copy still at work: a silent setup waits for it, then installs.
    HANDLE removal = CreateMutexA(nullptr, TRUE, PendingRemovalName(ProductLockName(kProduct, true)).c_str());
    ASSERT_NE(removal, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION waiting = {};
    std::string line = "\"" + v1_.Path("Setup.exe") + "\" /S";
    ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &waiting));
    EXPECT_EQ(WaitForSingleObject(waiting.hProcess, 3000), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_FALSE(Exists(kDefault));
    ReleaseMutex(removal);
    CloseHandle(removal);
    DWORD code = 99;
    WaitForSingleObject(waiting.hProcess, 120000);
    GetExitCodeProcess(waiting.hProcess, &code);
    CloseHandle(waiting.hProcess);
    CloseHandle(waiting.hThread);
    EXPECT_EQ(code, 0u);
    ExpectVersion1In(kDefault);
    ASSERT_EQ(RunProgram(kDefault + "\\uninstall.exe", "/S"), 0);

    // Two setups started 0.3 s apart into the same folder.
    PROCESS_INFORMATION first = {}, second = {};
    std::string line1 = "\"" + v1_.Path("Setup.exe") + "\" /S", line2 = line1;
    ASSERT_TRUE(CreateProcessA(nullptr, &line1[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &first));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(CreateProcessA(nullptr, &line2[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &second));
    DWORD codes[2] = {99, 99};
    for (auto [process, code] : {std::pair{&first, &codes[0]}, std::pair{&second, &codes[1]}}) {
        WaitForSingleObject(process->hProcess, 120000);
        GetExitCodeProcess(process->hProcess, code);
        CloseHandle(process->hProcess);
        CloseHandle(process->hThread);
    }
    // Whether the second overlaps the first depends on the machine: it leaves with 1618 or, when
    // it starts after the first ended, updates the installation. Either way one log holds all.
    EXPECT_EQ(std::min(codes[0], codes[1]), 0u);
    for (DWORD code : codes) EXPECT_TRUE(code == 0 || code == static_cast<DWORD>(kExitBusy)) << code;
    ExpectVersion1In(kDefault);
    ExpectUninstalledCompletely(kDefault);
}

}  // namespace
