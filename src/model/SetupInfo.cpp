#include "model/SetupInfo.h"

#include <algorithm>

#include "profile/ScriptBuilder.h"
#include "core/Text.h"
#include "lang/UiTextSource.h"
#include "profile/ProfileText.h"
#include "model/SectionLines.h"
#include "scope/InstallScope.h"

static const char kHeader[] = "[SETUP_INFO]";
static const std::string kInstallationPath = "DefaultInstallationPath=";
static const std::string kShortcutFolder = "DefaultShortcutFolderName=";
static const std::string kEnableUninstaller = "EnableUninstaller=";
static const std::string kAddRemoveDescription = "AddRemoveProgramsDescription=";
static const std::string kCreateUninstallerIcon = "CreateUninstallerIcon=";
static const std::string kUninstallerIconDescription = "UninstallerIconDescription=";
static const std::string kSetupType = "SetupType=";
static const std::string kDefaultLanguage = "DefaultSetupLanguage=";
static const std::string kLanguages = "SetupLanguages=";
static const char kEnglish[] = "English";

// The uninstaller's entry in the Add/Remove Programs list of the target computer; the installer
// puts it below the hive of the installation's scope.
static const std::string kUninstallKey = std::string(UninstallEntryHive()) + "," + kUninstallEntries + "%ProductName%";

void SetupInfo::SetDefaults(const UiTextSource& texts) {
    installationPath_ = texts.UiText(TextKeys::kSetupInfoDefaults[0]);
    shortcutFolder_ = texts.UiText(TextKeys::kSetupInfoDefaults[1]);
    enableUninstaller_ = true;
    addRemoveDescription_ = texts.UiText(TextKeys::kSetupInfoDefaults[2]);
    createUninstallerIcon_ = false;
    uninstallerIconDescription_ = texts.UiText(TextKeys::kSetupInfoDefaults[3]);
    setupType_ = 0;
    scope_ = ScopeChoice::AllUsers;
    languages_.assign(1, kEnglish);
    defaultLanguage_ = kEnglish;
}

void SetupInfo::Clear() {
    installationPath_.clear();
    shortcutFolder_.clear();
    addRemoveDescription_.clear();
    uninstallerIconDescription_.clear();
    defaultLanguage_.clear();
    languages_.clear();
}

// Pieces between "," in order; empty pieces are dropped, the rest kept as they are.
static std::vector<std::string> SplitLanguages(const std::string& text) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = std::min(text.find(',', start), text.size());
        if (comma > start) names.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return names;
}

void SetupInfo::Load(const ProfileText& project) {
    scope_ = ScopeChoice::AllUsers;
    // No key is the beginning of another, so each line matches one key at most.
    ForEachLine(project, "SETUP_INFO", [this](const std::string& line) {
        std::string value;
        if (ValueAfter(line, kInstallationPath, installationPath_) || ValueAfter(line, kShortcutFolder, shortcutFolder_))
            return;
        if (ValueAfter(line, kEnableUninstaller, value)) enableUninstaller_ = ReadYesNo(value);
        if (ValueAfter(line, kAddRemoveDescription, addRemoveDescription_)) return;
        if (ValueAfter(line, kCreateUninstallerIcon, value)) createUninstallerIcon_ = ReadYesNo(value);
        if (ValueAfter(line, kUninstallerIconDescription, uninstallerIconDescription_)) return;
        if (ValueAfter(line, kSetupType, value)) setupType_ = ReadLeadingInt(value);
        if (ValueAfter(line, kDefaultLanguage, defaultLanguage_)) return;
        if (ValueAfter(line, kLanguages, value)) languages_ = SplitLanguages(value);
        // An unknown scope is read as all users, the scope of every project before scopes.
        if (ValueAfter(line, kInstallScopeKey, value) && !ReadScopeChoice(value, scope_))
            scope_ = ScopeChoice::AllUsers;
    });
    if (languages_.empty()) languages_.assign(1, kEnglish);
}

std::string SetupInfo::JoinedLanguages() const {
    std::string joined;
    for (const std::string& name : languages_) joined += (joined.empty() ? "" : ",") + name;
    return joined;
}

std::string SetupInfo::ScopeLine() const { return kInstallScopeKey + std::string(ScopeChoiceName(scope_)); }

// The scope's line only where it is not all users, so that projects without scopes stay as they were.
bool SetupInfo::Save(LineSink& out) const {
    std::vector<std::string> lines = {kInstallationPath + installationPath_, kShortcutFolder + shortcutFolder_,
                                      kEnableUninstaller + YesNoText(enableUninstaller_),
                                      kAddRemoveDescription + addRemoveDescription_,
                                      kCreateUninstallerIcon + YesNoText(createUninstallerIcon_),
                                      kUninstallerIconDescription + uninstallerIconDescription_,
                                      kSetupType + std::to_string(setupType_), kLanguages + JoinedLanguages(),
                                      kDefaultLanguage + defaultLanguage_};
    if (scope_ != ScopeChoice::AllUsers) lines.push_back(ScopeLine());
    return WriteSection(out, kHeader, lines);
}

// The uninstaller's lines go in between the first two [SETUP_INFO] lines and the rest, so that
// [APPLICATION_FILES], [REGISTRY_ENTRIES] and [SHORTCUTS] begin with them in the script.
void SetupInfo::Export(ScriptBuilder& script) const {
    script.AddLine(kHeader, kInstallationPath + installationPath_);
    script.AddLine(kHeader, kShortcutFolder + shortcutFolder_);
    if (enableUninstaller_) {
        script.AddLine("[APPLICATION_FILES]", ",uninstall.exe,%AppDir%\\uninstall.exe,1,0");
        script.AddLine("[REGISTRY_ENTRIES]", "key," + kUninstallKey);
        script.AddLine("[REGISTRY_ENTRIES]", "value," + kUninstallKey + ",DisplayName,S," + addRemoveDescription_);
        script.AddLine("[REGISTRY_ENTRIES]",
                       "value," + kUninstallKey + ",UninstallString,S,\"%AppDir%\\uninstall.exe\"");
        if (createUninstallerIcon_)
            script.AddLine("[SHORTCUTS]", "s,%AppSCFolder%\\" + uninstallerIconDescription_ +
                                              ",%AppDir%\\uninstall.exe,,,,0,%AppDir%");
    }
    script.AddLine(kHeader, kEnableUninstaller + YesNoText(enableUninstaller_));
    script.AddLine(kHeader, kAddRemoveDescription + addRemoveDescription_);
    script.AddLine(kHeader, kCreateUninstallerIcon + YesNoText(createUninstallerIcon_));
    script.AddLine(kHeader, kUninstallerIconDescription + uninstallerIconDescription_);
    script.AddLine(kHeader, kSetupType + std::to_string(setupType_));
    script.AddLine(kHeader, kLanguages + JoinedLanguages());
    script.AddLine(kHeader, kDefaultLanguage + defaultLanguage_);
    if (scope_ != ScopeChoice::AllUsers) script.AddLine(kHeader, ScopeLine());
}

bool SetupInfo::GetLanguage(size_t index, std::string& name) const {
    if (index >= languages_.size()) {
        name.clear();
        return false;
    }
    name = languages_[index];
    return true;
}

void SetupInfo::AddLanguage(const std::string& name, bool markModified) {
    languages_.push_back(name);
    SetModified(markModified);
}

void SetupInfo::RemoveLanguage(const std::string& name, bool markModified) {
    languages_.erase(std::remove(languages_.begin(), languages_.end(), name), languages_.end());
    SetModified(markModified);
}
