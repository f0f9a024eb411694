// The decisions about an installation of the same product that is there already: which version
// wins, which of its files go, and what an uninstaller does with a log it finds.
#include <gtest/gtest.h>

#include "installer/Upgrade.h"
#include "package/CommandLine.h"
#include "package/SetupScript.h"

namespace {

InstallAction FileAction(const std::string& path, int options = kCompress) {
    InstallAction a;
    a.kind = ActionKind::File;
    a.path = path;
    a.options = options;
    return a;
}

InstallAction FolderAction(const std::string& path) {
    InstallAction a;
    a.kind = ActionKind::Folder;
    a.path = path;
    return a;
}

}  // namespace

TEST(Upgrade, VersionsCompareByNumberPartByPart) {
    EXPECT_EQ(CompareVersions("1.10", "1.9"), 1);
    EXPECT_EQ(CompareVersions("1.9", "1.10"), -1);
    EXPECT_EQ(CompareVersions("2.0", "2"), 0);
    EXPECT_EQ(CompareVersions("2.0.0.1", "2"), 1);
    EXPECT_EQ(CompareVersions(" 1.2 ", "1.2"), 0);
    EXPECT_EQ(CompareVersions("01.002", "1.2"), 0);
    // Numbers longer than any integer still compare by value.
    EXPECT_EQ(CompareVersions("123456789012345678901234", "99999999999999999999999"), 1);
    // The text after a part's number counts after the number, without regard to case.
    EXPECT_EQ(CompareVersions("1.0b", "1.0"), 1);
    EXPECT_EQ(CompareVersions("1.0B", "1.0b"), 0);
    EXPECT_EQ(CompareVersions("1.0a", "1.0b"), -1);
    EXPECT_EQ(CompareVersions("1.1a", "1.0z"), 1);
}

TEST(Upgrade, AnOlderVersionIsRefusedUnlessAllowedAndAnUnknownOneNever) {
    EXPECT_EQ(DecideUpgrade(false, "", "1.0", false), UpgradeKind::Fresh);
    EXPECT_EQ(DecideUpgrade(false, "9.0", "1.0", false), UpgradeKind::Fresh);
    EXPECT_EQ(DecideUpgrade(true, "1.0", "2.0", false), UpgradeKind::Update);
    EXPECT_EQ(DecideUpgrade(true, "2.0", "2.0", false), UpgradeKind::Update);
    EXPECT_EQ(DecideUpgrade(true, "2.0", "1.0", false), UpgradeKind::Refused);
    EXPECT_EQ(DecideUpgrade(true, "2.0", "1.0", true), UpgradeKind::Downgrade);
    EXPECT_EQ(DecideUpgrade(true, "1.10", "1.9", false), UpgradeKind::Refused);
    // Without a version on either side there is nothing to compare: the setup updates.
    EXPECT_EQ(DecideUpgrade(true, "", "1.0", false), UpgradeKind::Update);
    EXPECT_EQ(DecideUpgrade(true, "2.0", " ", false), UpgradeKind::Update);
}

TEST(Upgrade, ObsoleteFilesAreTheEarlierOnesThatTheNewVersionLacks) {
    InstallLog earlier;
    earlier.Add(FolderAction("C:\\App"));
    earlier.Add(FileAction("C:\\App\\uninstall.exe"));
    earlier.Add(FileAction("C:\\App\\old.dll"));
    earlier.Add(FileAction("C:\\App\\Kept.txt"));
    earlier.Add(FileAction("C:\\App\\data.ini", kNeverUninstall));
    earlier.Add(FileAction("C:\\Windows\\System32\\shared.dll", kSharedFile));
    earlier.Add(FileAction("C:\\App\\server.dll", kSelfRegister));
    earlier.Add(FileAction("C:\\App\\found.dll", kSharedFile | kKeptExisting));
    earlier.Add(FileAction("C:\\Users\\Public\\Desktop\\App.lnk"));
    // The same file twice (an earlier update merged its log) is removed once.
    earlier.Add(FileAction("C:\\App\\OLD.dll"));
    std::vector<std::string> planned = {"C:\\App\\uninstall.exe", "C:\\App\\kept.txt", "C:\\App\\new.dll"};
    EXPECT_EQ(ObsoleteFiles(earlier, planned),
              (std::vector<std::string>{"C:\\App\\old.dll", "C:\\Users\\Public\\Desktop\\App.lnk"}));
    EXPECT_TRUE(ObsoleteFiles(InstallLog(), planned).empty());

    // What the update removed leaves the log; folders, other files and registry entries stay.
    InstallLog kept = WithoutFiles(earlier, {"c:\\app\\old.dll", "C:\\Users\\Public\\Desktop\\App.lnk"});
    ASSERT_EQ(kept.Actions().size(), earlier.Actions().size() - 3);
    EXPECT_FALSE(kept.Covers(FileAction("C:\\App\\old.dll")));
    EXPECT_TRUE(kept.Covers(FolderAction("C:\\App")));
    EXPECT_TRUE(kept.Covers(FileAction("C:\\App\\data.ini")));
}

TEST(Upgrade, EachProductHasItsOwnLockInTheNamespaceOfItsScope) {
    const std::string all = ProductLockName("Red App", true), user = ProductLockName("Red App", false);
    EXPECT_EQ(all.rfind("Global\\", 0), 0u);
    EXPECT_EQ(user.rfind("Local\\", 0), 0u);
    EXPECT_EQ(all.substr(7), user.substr(6));
    // Letter case does not make another product, as in the uninstall entry's name.
    EXPECT_EQ(ProductLockName("RED APP", true), all);
    EXPECT_NE(ProductLockName("Red App 2", true), all);
    // A backslash would start another namespace.
    EXPECT_EQ(ProductLockName("A\\B", true).find('\\', 7), std::string::npos);
}

TEST(Upgrade, AnUninstallerActsOnlyOnATrustedLogAndSaysWhyOtherwise) {
    UninstallFacts facts;
    facts.folder = "C:\\App";
    facts.program = "C:\\App\\uninstall.exe";
    facts.trust = LogTrust::Trusted;
    EXPECT_EQ(JudgeUninstall(facts), UninstallVerdict::Act);

    facts.trust = LogTrust::OtherFolder;
    EXPECT_EQ(JudgeUninstall(facts), UninstallVerdict::OtherFolder);

    // No entry: a stopped uninstallation when nothing else is left, else a product no longer registered.
    facts.trust = LogTrust::NoFingerprint;
    EXPECT_EQ(JudgeUninstall(facts), UninstallVerdict::Finish);
    facts.filesLeft = true;
    EXPECT_EQ(JudgeUninstall(facts), UninstallVerdict::EntryGone);

    facts.entryExists = true;
    facts.entryFolder = "C:\\Program Files\\App";
    facts.entryUninstaller = "C:\\Program Files\\App\\uninstall.exe";
    EXPECT_EQ(JudgeUninstall(facts), UninstallVerdict::InstalledAgain);

    // The entry names this folder: another uninstaller there takes over; this one, the log changed.
    facts.trust = LogTrust::Changed;
    facts.entryFolder = "c:\\app\\";
    facts.entryUninstaller = "C:\\App\\unins001.exe";
    EXPECT_EQ(JudgeUninstall(facts), UninstallVerdict::HandOver);
    facts.entryUninstaller = "c:\\app\\UNINSTALL.exe";
    EXPECT_EQ(JudgeUninstall(facts), UninstallVerdict::Changed);
    facts.entryUninstaller.clear();
    EXPECT_EQ(JudgeUninstall(facts), UninstallVerdict::Changed);
}

TEST(InstallerSwitches, AllowDowngradeAndCloseApplicationsAreSwitchesWithoutValue) {
    InstallerOptions both = ParseInstallerArguments("/S /allowdowngrade /CloseApplications /D=C:\\A B");
    EXPECT_TRUE(both.allowDowngrade && both.closeApplications);
    EXPECT_EQ(both.folder, "C:\\A B");
    EXPECT_FALSE(ParseInstallerArguments("/S").closeApplications);
    EXPECT_FALSE(ParseInstallerArguments("/S").allowDowngrade);
    InstallerOptions o = ParseInstallerArguments("/ALLOWDOWNGRADE=1");
    EXPECT_FALSE(o.allowDowngrade);
    EXPECT_EQ(o.unknown.size(), 1u);
}
