#pragma once
// The installer's and the uninstaller's own texts: the numbered [STRINGS] of an installer
// language file (LanguageSets\Setup\<Name>.dat), with "%1", "%2"... filled in.
#include <memory>
#include <string>
#include <vector>

#include "model/ProfileText.h"

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
