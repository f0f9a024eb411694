#pragma once
// [SETUP_INFO]: installation folder, shortcut folder, uninstaller and installer languages.
// Its export also adds the uninstaller's file, registry and shortcut lines to setup.ini.
#include <cstdint>
#include <string>
#include <vector>

#include "model/DocumentBase.h"
#include "scope/InstallScope.h"

class LineSink;
class ProfileText;
class ScriptBuilder;
class UiTextSource;

class SetupInfo : public Section {
public:
    // The four default texts come from the current interface language.
    void SetDefaults(const UiTextSource& texts);
    // Empties the texts and the language list; yes/no values and the setup type stay.
    void Clear();
    void Load(const ProfileText& project);
    bool Save(LineSink& out) const;
    void Export(ScriptBuilder& script) const;

    const std::string& DefaultInstallationPath() const { return installationPath_; }
    const std::string& DefaultShortcutFolderName() const { return shortcutFolder_; }
    bool EnableUninstaller() const { return enableUninstaller_; }
    const std::string& AddRemoveProgramsDescription() const { return addRemoveDescription_; }
    bool CreateUninstallerIcon() const { return createUninstallerIcon_; }
    const std::string& UninstallerIconDescription() const { return uninstallerIconDescription_; }
    std::int32_t SetupType() const { return setupType_; }
    const std::vector<std::string>& SetupLanguages() const { return languages_; }
    const std::string& DefaultSetupLanguage() const { return defaultLanguage_; }
    // Whom the setup installs for; all users in a project without the key.
    ScopeChoice Scope() const { return scope_; }

    // Each setter marks the document modified when `markModified` is set.
    void SetDefaultInstallationPath(const std::string& v, bool markModified) {
        Set(installationPath_, v, markModified);
    }
    void SetDefaultShortcutFolderName(const std::string& v, bool markModified) {
        Set(shortcutFolder_, v, markModified);
    }
    void SetEnableUninstaller(bool v, bool markModified) { Set(enableUninstaller_, v, markModified); }
    void SetAddRemoveProgramsDescription(const std::string& v, bool markModified) {
        Set(addRemoveDescription_, v, markModified);
    }
    void SetCreateUninstallerIcon(bool v, bool markModified) { Set(createUninstallerIcon_, v, markModified); }
    void SetUninstallerIconDescription(const std::string& v, bool markModified) {
        Set(uninstallerIconDescription_, v, markModified);
    }
    void SetSetupType(std::int32_t v, bool markModified) { Set(setupType_, v, markModified); }
    void SetScope(ScopeChoice v, bool markModified) { Set(scope_, v, markModified); }
    void SetDefaultSetupLanguage(const std::string& v, bool markModified) {
        Set(defaultLanguage_, v, markModified);
    }

    // The language at `index`; false and empty past the end.
    bool GetLanguage(size_t index, std::string& name) const;
    // Appends without looking for duplicates.
    void AddLanguage(const std::string& name, bool markModified);
    // Removes every entry equal to `name` (same bytes).
    void RemoveLanguage(const std::string& name, bool markModified);

private:
    template <class T, class V>
    void Set(T& field, const V& value, bool markModified) {
        field = value;
        SetModified(markModified);
    }
    std::string JoinedLanguages() const;
    std::string ScopeLine() const;

    std::string installationPath_;
    std::string shortcutFolder_;
    bool enableUninstaller_ = true;
    std::string addRemoveDescription_;
    bool createUninstallerIcon_ = false;
    std::string uninstallerIconDescription_;
    std::int32_t setupType_ = 0;
    std::vector<std::string> languages_;
    std::string defaultLanguage_;
    ScopeChoice scope_ = ScopeChoice::AllUsers;
};
