// Today's Windows among the requirements: the project keys that older projects lack, their way
// into setup.ini, and the installer's decision by the running version.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Text.h"
#include "model/SystemRequirements.h"
#include "package/SetupScript.h"
#include "package/WindowsRequirement.h"
#include "profile/ProfileText.h"

namespace {

ProfileText Requirements(const std::string& lines) {
    return ProfileText::FromBytes(CrLfLineEnds("[SYSTEM_REQUIREMENTS]\n" + lines + "\n[NEXT]\nx=1\n"));
}

const std::string kOldLines =
    "AnyWindows=No\r\nWindows95=No\r\nWindows98=No\r\nWindowsME=No\r\nWindowsNT4=No\r\nWindows2000=No\r\nWindowsXP=No\r\n";

const RunningWindows kWindows7{6, 1, 7601, true}, kWindows10{10, 0, 19045, true}, kWindows11{10, 0, 22631, true};

}  // namespace

TEST(ModernWindowsKeys, StayAbsentUntilSetAndTravelThroughSaveAndExport) {
    SystemRequirements req;
    req.SetDefaults();
    req.Load(Requirements("AnyWindows=No\nWindows95=No\nWindows98=No\nWindowsME=No\nWindowsNT4=No\nWindows2000=No\n"
                          "WindowsXP=No\nRequiredDiskSpace=10\n"));
    for (auto key : {SystemRequirements::Windows10, SystemRequirements::Windows11, SystemRequirements::Only64Bit})
        EXPECT_FALSE(req.Setting(key).has_value());
    // An older project is written back as it was.
    EXPECT_EQ(SavedText(req), "[SYSTEM_REQUIREMENTS]\r\n" + kOldLines + "RequiredDiskSpace=10\r\nAbortInstallation=No\r\n\r\n");

    req.SetSetting(SystemRequirements::Windows11, true, true);
    req.SetSetting(SystemRequirements::Only64Bit, true, true);
    const std::string saved = SavedText(req);
    EXPECT_EQ(saved, "[SYSTEM_REQUIREMENTS]\r\n" + kOldLines +
                         "Windows11=Yes\r\nOnly64BitWindows=Yes\r\nRequiredDiskSpace=10\r\nAbortInstallation=No\r\n\r\n");
    EXPECT_EQ(ExportedText(req), "[SYSTEM_REQUIREMENTS]\r\n" + kOldLines +
                                     "Windows11=Yes\r\nOnly64BitWindows=Yes\r\nAbortInstallation=No\r\n\r\n"
                                     "[SETUP_INFO]\r\nRequiredDiskSpace=10\r\n\r\n");

    SystemRequirements again;
    again.SetDefaults();
    again.Load(ProfileText::FromBytes(saved));
    EXPECT_FALSE(again.Setting(SystemRequirements::Windows10).has_value());
    EXPECT_EQ(again.Setting(SystemRequirements::Windows11), std::optional<bool>(true));
    EXPECT_EQ(again.Setting(SystemRequirements::Only64Bit), std::optional<bool>(true));
    again.SetDefaults();
    EXPECT_FALSE(again.Setting(SystemRequirements::Windows11).has_value());
}

TEST(ModernWindowsKeys, TheInstallerDecidesByTheRunningVersion) {
    SetupScript s = ReadSetupScript(Requirements(
        "AnyWindows=No\nWindows95=No\nWindowsXP=No\nWindows10=Yes\nWindows11=No\nOnly64BitWindows=Yes\n"));
    ASSERT_TRUE(s.windows10 && s.windows11);
    EXPECT_TRUE(*s.windows10);
    EXPECT_FALSE(*s.windows11);
    EXPECT_TRUE(s.only64BitWindows);
    EXPECT_EQ(CheckWindows(s, kWindows10), WindowsVerdict::Allowed);
    EXPECT_EQ(CheckWindows(s, kWindows11), WindowsVerdict::WrongVersion);
    // Windows 10 and 11 are newer than Windows 7: a project for them alone refuses it.
    EXPECT_EQ(CheckWindows(s, kWindows7), WindowsVerdict::WrongVersion);
    EXPECT_EQ(CheckWindows(s, {10, 0, 19045, false}), WindowsVerdict::Needs64Bit);
    // Build 22000 is the first of Windows 11.
    EXPECT_EQ(CheckWindows(s, {10, 0, kWindows11Build - 1, true}), WindowsVerdict::Allowed);
    EXPECT_EQ(CheckWindows(s, {10, 0, kWindows11Build, true}), WindowsVerdict::WrongVersion);

    // Any Windows still means any version, but not a 32-bit one where the project says so.
    s.anyWindows = true;
    EXPECT_EQ(CheckWindows(s, kWindows11), WindowsVerdict::Allowed);
    EXPECT_EQ(CheckWindows(s, {6, 1, 7601, false}), WindowsVerdict::Needs64Bit);
}

TEST(ModernWindowsKeys, WithoutThemTheOldEntriesDecideAsBefore) {
    SetupScript old = ReadSetupScript(Requirements("AnyWindows=No\nWindows95=No\nWindowsXP=Yes\n"));
    EXPECT_FALSE(old.windows10.has_value());
    EXPECT_FALSE(old.only64BitWindows);
    // "XP and later": every running version newer than it.
    for (const RunningWindows& running : {kWindows7, kWindows10, kWindows11})
        EXPECT_EQ(CheckWindows(old, running), WindowsVerdict::Allowed);
    SetupScript none = ReadSetupScript(Requirements("AnyWindows=No\nWindows95=No\nWindowsXP=No\n"));
    EXPECT_EQ(CheckWindows(none, kWindows10), WindowsVerdict::WrongVersion);
    EXPECT_EQ(CheckWindows(none, {6, 1, 7601, false}), WindowsVerdict::WrongVersion);
    // Windows 10 allowed and Windows 11 not named: Windows 11 comes after it.
    SetupScript ten = ReadSetupScript(Requirements("AnyWindows=No\nWindowsXP=No\nWindows10=Yes\n"));
    EXPECT_EQ(CheckWindows(ten, kWindows11), WindowsVerdict::Allowed);
    // An explicit no outweighs an older version's yes.
    SetupScript notTen = ReadSetupScript(Requirements("AnyWindows=No\nWindowsXP=Yes\nWindows10=No\n"));
    EXPECT_EQ(CheckWindows(notTen, kWindows10), WindowsVerdict::WrongVersion);
    EXPECT_EQ(CheckWindows(notTen, kWindows11), WindowsVerdict::Allowed);
}
