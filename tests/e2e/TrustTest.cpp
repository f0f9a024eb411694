// What the installer programs trust: an install log only with its fingerprint in the uninstall
// entry, names with a TAB through the whole round, private extraction folders, and clean-up
// that stops at junctions.
#include "E2ESupport.h"

#include <winioctl.h>
#include "SmallPackage.h"
#include "installer/InstallLog.h"
#include "installer/win32/FileOperations.h"
#include "installer/win32/PrivateFolder.h"

namespace {

const char kEntries[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class Trust : public ::testing::Test {
protected:
    void TearDown() override {
        RemoveFolderTree("C:\\QsE2E Small");
        RemoveFolderTree(victim_);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(kEntries) + name_).c_str());
        RemoveTestKeys();
    }

    // Installs the small package (an uninstaller, no uninstall entry of its own) silently.
    void Install(const std::string& extraRegistry = std::string()) {
        package_.Write(Replace(SmallScript(name_), "[REGISTRY_ENTRIES]\n",
                               "[REGISTRY_ENTRIES]\n" + Replace(extraRegistry, "@", name_)),
                       SmallEntries());
        ASSERT_EQ(RunProgram(package_.Path("Setup.exe"), "/S"), 0);
    }

    // Uninstalls silently and waits until the uninstaller, which finishes its clean-up after its
    // exit code is in, has removed itself: the next test installs into the same folder.
    void Uninstall() {
        ASSERT_EQ(RunProgram(appDir_ + "\\uninstall.exe", "/S"), 0);
        EXPECT_TRUE(Disappears(appDir_ + "\\uninstall.exe"));
    }

    // A file that someone who can write the installation folder wants removed.
    std::string Victim() {
        CreateDirectoryA(victim_.c_str(), nullptr);
        std::string path = victim_ + "\\precious.txt";
        WriteFileBytes(path, "keep me");
        return path;
    }

    const std::string name_ = "QsE2E Trust";
    const std::string appDir_ = "C:\\QsE2E Small\\QsE2E Trust";
    const std::string victim_ = "C:\\QsE2E Victim";
    Package package_;
};

TEST_F(Trust, TheLogsFingerprintIsKeptInTheUninstallEntryAndGoesWithIt) {
    Install();
    std::string log = ReadBytes(appDir_ + "\\install.log");
    EXPECT_NE(log.find("\r\nUninstallKey=" + std::string(kEntries) + name_ + "\r\n"), std::string::npos);
    EXPECT_EQ(StringValue("HKLM", kEntries + name_, "InstallLogSha256"), InstallLogFingerprint(log));
    ASSERT_EQ(RunProgram(appDir_ + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(appDir_));
    EXPECT_FALSE(KeyExists("HKLM", kEntries + name_));
}

TEST_F(Trust, AChangedLogIsRefusedWithNothingRemoved) {
    Install();
    const std::string victim = Victim();
    const std::string log = appDir_ + "\\install.log";
    WriteFileBytes(log, ReadBytes(log) + "File=0\t-1\t" + victim + "\r\n");
    EXPECT_EQ(RunProgram(appDir_ + "\\uninstall.exe", "/S"), 4);
    EXPECT_TRUE(Exists(victim));
    EXPECT_TRUE(Exists(appDir_ + "\\a.txt"));
    EXPECT_EQ(StringValue("HKLM", "Software\\QsE2E\\" + name_, "Kept"), "new");
}

TEST_F(Trust, ALogWithoutAKeptFingerprintIsRefused) {
    Install();
    RegistryKey entry;
    ASSERT_TRUE(entry.Open(HKEY_LOCAL_MACHINE, kEntries + name_, KEY_WRITE | KEY_WOW64_64KEY));
    ASSERT_TRUE(entry.DeleteValue("InstallLogSha256"));
    EXPECT_EQ(RunProgram(appDir_ + "\\uninstall.exe", "/S"), 4);
    EXPECT_TRUE(Exists(appDir_ + "\\a.txt"));
}

TEST_F(Trust, AForgedLogInTheFolderIsNotMergedIntoTheNextInstallation) {
    const std::string victim = Victim();
    CreateDirectoryA("C:\\QsE2E Small", nullptr);
    CreateDirectoryA(appDir_.c_str(), nullptr);
    WriteFileBytes(appDir_ + "\\install.log", "[UNINSTALL]\r\nAppDir=" + appDir_ + "\r\nUninstallKey=" + kEntries + name_ +
                                                  "\r\n\r\n[ACTIONS]\r\nFile=0\t-1\t" + victim + "\r\n\r\n");
    Install();
    EXPECT_EQ(ReadBytes(appDir_ + "\\install.log").find(victim), std::string::npos);
    Uninstall();
    EXPECT_TRUE(Exists(victim));
}

TEST_F(Trust, RegistryNamesWithATabAreInstalledAndRemoved) {
    Install("value,HKLM,Software\\QsE2E\\@,Tab\there,s,x\nkey,HKLM,Software\\QsE2E\\@\\Key\twith tab\n");
    EXPECT_EQ(StringValue("HKLM", "Software\\QsE2E\\" + name_, "Tab\there"), "x");
    EXPECT_TRUE(KeyExists("HKLM", "Software\\QsE2E\\" + name_ + "\\Key\twith tab"));
    Uninstall();
    EXPECT_FALSE(KeyExists("HKLM", "Software\\QsE2E\\" + name_));
}

TEST(PrivateFolders, AreUnguessableHeldAgainstChangesAndRemoved) {
    std::string path;
    {
        PrivateFolder folder;
        ASSERT_TRUE(folder.Create(platform::TempFolder(), "qs-test-"));
        path = folder.Path();
        const std::string name = path.substr(path.find_last_of('\\') + 1);
        EXPECT_EQ(name.size(), 8u + 32u) << name;
        PrivateFolder other;
        ASSERT_TRUE(other.Create(platform::TempFolder(), "qs-test-"));
        EXPECT_NE(other.Path(), path);
        WriteFileBytes(path + "\\setup.exe", "MZ");
        ASSERT_TRUE(folder.Hold("setup.exe"));
        // Read as often as wanted; never written, renamed or deleted while held.
        EXPECT_EQ(ReadBytes(path + "\\setup.exe"), "MZ");
        File writer;
        EXPECT_FALSE(writer.Open(path + "\\setup.exe", WriteExisting));
        EXPECT_FALSE(MoveFileA((path + "\\setup.exe").c_str(), (path + "\\moved.exe").c_str()));
        EXPECT_FALSE(DeleteFileA((path + "\\setup.exe").c_str()));
    }
    EXPECT_FALSE(Exists(path));
}

// A junction as the system's own tools make it: a mount-point reparse point on an empty folder.
bool MakeJunction(const std::string& link, const std::string& target) {
    if (!CreateDirectoryA(link.c_str(), nullptr)) return false;
    HANDLE handle = CreateFileA(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    std::wstring substitute = L"\\??\\" + std::wstring(target.begin(), target.end()), print(target.begin(), target.end());
    std::vector<char> buffer(sizeof(DWORD) + 2 * sizeof(WORD) + 4 * sizeof(WORD) +
                             (substitute.size() + print.size() + 2) * sizeof(wchar_t));
    auto* header = reinterpret_cast<DWORD*>(buffer.data());
    header[0] = IO_REPARSE_TAG_MOUNT_POINT;
    auto* words = reinterpret_cast<WORD*>(buffer.data() + sizeof(DWORD));
    words[0] = static_cast<WORD>(buffer.size() - 8);  // data length
    words[2] = 0;                                                            // substitute offset
    words[3] = static_cast<WORD>(substitute.size() * sizeof(wchar_t));        // substitute length
    words[4] = static_cast<WORD>((substitute.size() + 1) * sizeof(wchar_t));  // print offset
    words[5] = static_cast<WORD>(print.size() * sizeof(wchar_t));             // print length
    auto* path = reinterpret_cast<wchar_t*>(buffer.data() + 8 + 4 * sizeof(WORD));
    std::copy(substitute.begin(), substitute.end(), path);
    std::copy(print.begin(), print.end(), path + substitute.size() + 1);
    DWORD done = 0;
    bool ok = DeviceIoControl(handle, FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()),
                              nullptr, 0, &done, nullptr);
    CloseHandle(handle);
    return ok;
}

TEST(CleanUp, StopsAtAJunctionAndKeepsWhatItPointsTo) {
    const std::string root = JoinPath(platform::TempFolder(), "qs-junction-test"), target = root + "-target";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA(target.c_str(), nullptr);
    WriteFileBytes(target + "\\precious.txt", "keep me");
    // Wine answers a junction with success but makes none: only a real one makes the test.
    bool made = MakeJunction(root + "\\link", target);
    DWORD link = GetFileAttributesA((root + "\\link").c_str());
    if (!made || link == INVALID_FILE_ATTRIBUTES || !(link & FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveFolderTree(root);
        RemoveFolderTree(target);
        GTEST_SKIP() << "this system makes no junctions";
    }
    EXPECT_TRUE(RemoveFolderTree(root));
    EXPECT_FALSE(Exists(root));
    EXPECT_TRUE(Exists(target + "\\precious.txt"));
    DeleteFileA((target + "\\precious.txt").c_str());
    RemoveDirectoryA(target.c_str());
}

}  // namespace
