#pragma once
// The installer's and the uninstaller's own texts: the numbered [STRINGS] of an installer
// language file (LanguageSets\Setup\<Name>.dat), with "%1", "%2"... filled in.
#include <memory>
#include <string>
#include <vector>

#include "profile/ProfileText.h"

enum SetupText {
    kTextCaption = 1,         // "%1 Setup"
    kTextInstalling = 2,      // "Installing %1..."
    kTextInstalled = 3,
    kTextCancelled = 4,
    kTextFailed = 5,
    kTextWrongWindows = 6,
    kTextDiskSpace = 7,
    kTextContinueAnyway = 8,
    kTextReplaceFile = 9,
    kTextCancel = 10,
    kTextUninstallCaption = 11,
    kTextConfirmRemove = 12,
    kTextRemoved = 13,
    kTextNotRemoved = 14,
    kTextRemoving = 15,
    kTextUsage = 16,
    kTextCannotWrite = 17,
    kTextCannotRegister = 18,
    kTextFolder = 19,
    kTextConfirmCancel = 20,
    kTextBack = 21,
    kTextNext = 22,
    kTextInstall = 23,
    kTextFinish = 24,
    kTextOk = 25,
    kTextLanguagePrompt = 26,
    kTextLanguageTitle = 27,
    kTextWelcomeTitle = 28,
    kTextWelcomeBody = 29,
    kTextLicenseTitle = 30,
    kTextLicenseSubtitle = 31,
    kTextAccept = 32,
    kTextDecline = 33,
    kTextReadmeTitle = 34,
    kTextReadmeSubtitle = 35,
    kTextUserTitle = 36,
    kTextUserSubtitle = 37,
    kTextUserName = 38,
    kTextCompany = 39,
    kTextFolderTitle = 40,
    kTextFolderSubtitle = 41,
    kTextFolderBody = 42,
    kTextFolderLabel = 43,
    kTextBrowse = 44,
    kTextSpaceRequired = 45,
    kTextSpaceAvailable = 46,
    kTextChooseOtherDrive = 47,
    kTextNotAFolder = 48,
    kTextBrowsePrompt = 49,
    kTextGroupTitle = 50,
    kTextGroupSubtitle = 51,
    kTextGroupBody = 52,
    kTextGroupLabel = 53,
    kTextExistingGroups = 54,
    kTextNotAGroup = 55,
    kTextStartTitle = 56,
    kTextStartSubtitle = 57,
    kTextStartBody = 58,
    kTextSummaryFolder = 59,
    kTextSummaryGroup = 60,
    kTextSummaryUser = 61,
    kTextProgressTitle = 62,
    kTextProgressSubtitle = 63,
    kTextFinishTitle = 64,
    kTextFinishBody = 65,
    kTextViewReadme = 66,
    kTextRunApplication = 67,
    kTextInterruptedTitle = 68,
    kTextFailedTitle = 69,
    kTextCannotStart = 70,
    kTextUninstallTitle = 71,
    kTextUninstallSubtitle = 72,
    kTextUninstallBody = 73,
    kTextUninstallButton = 74,
    kTextRemovingTitle = 75,
    kTextRemovingSubtitle = 76,
    kTextRemovedTitle = 77,
    kTextNotRemovedTitle = 78,
    kTextClose = 79,
    kTextDecimalPoint = 80,
    kTextNewerInstalled = 81,          // product, installed version, its folder, this setup's version
    kTextUpdatedHere = 82,             // "Version %1 is installed here and will be updated."
    kTextUpdatedHereUnversioned = 83,  // the product
    kTextMovedHere = 84,               // the installed version, its folder
    kTextMovedHereUnversioned = 85,    // the product, its folder
    kTextWaitingForOther = 86,         // the product
    kTextRemovedAtRestart = 87,        // the product, the files removed at the next restart
    kTextRestartRequired = 88,         // the product
    kTextScopeTitle = 89,
    kTextScopeSubtitle = 90,      // "Choose for whom %1 is installed."
    kTextScopeBody = 91,
    kTextScopeAllUsers = 92,
    kTextScopeCurrentUser = 93,
    kTextScopeNotForUser = 94,    // "... not possible: %1." with the reason
    kTextScopeNoRights = 95,
    kTextRetryWrite = 96,              // "Do you want to try again?"
    kTextInUseTitle = 97,
    kTextInUseSubtitle = 98,           // the product
    kTextInUseBody = 99,
    kTextCloseAutomatically = 100,     // "Close the programs automatically"
    kTextDoNotClose = 101,             // "Do not close"
    kTextRetry = 102,
    kTextNeeds64Bit = 103,  // "%1 needs a 64-bit version of Windows."
    kTextPathTooLong = 104,            // the path, its length, the most Windows takes
    kTextNoRoomForFiles = 105,         // the kilobytes needed, the drive, its free kilobytes
    kTextLast = kTextNoRoomForFiles,
};

class SetupTexts {
public:
    // Takes the texts of a loaded language file (or of an install log that carries them).
    explicit SetupTexts(std::shared_ptr<const ProfileText> profile) : profile_(std::move(profile)) {}

    // Text `id` with each "%n" replaced by argument n; empty when the file lacks it.
    std::string Get(int id, const std::vector<std::string>& arguments = {}) const;
    // The [STRINGS] section as profile lines, to carry the texts on to the uninstaller.
    std::string Lines() const;

private:
    std::shared_ptr<const ProfileText> profile_;
};

// Replaces "%1" ... "%9" in `text` by the arguments; other percent signs stay.
std::string FillArguments(const std::string& text, const std::vector<std::string>& arguments);
