#pragma once
// One setup project: the only owner of its sections, read from and written to a .qsp file.
#include <string>
#include <vector>

#include "model/BuilderInfo.h"
#include "model/DocumentBase.h"
#include "model/FileTree.h"
#include "model/FileTypes.h"
#include "model/GeneralInfo.h"
#include "model/InstallerScreens.h"
#include "model/OutputSettings.h"
#include "model/RegistryTree.h"
#include "model/SetupInfo.h"
#include "model/ShortcutTree.h"
#include "model/SystemRequirements.h"
#include "profile/TextForm.h"

class ScriptBuilder;
class UiTextSource;

class ProjectDocument : public DocumentBase {
public:
    // `texts` gives the word in the titles of new projects and the defaults that some sections
    // take from the interface language; it must outlive the document.
    explicit ProjectDocument(const UiTextSource& texts);
    ~ProjectDocument() override = default;
    ProjectDocument(const ProjectDocument&) = delete;
    ProjectDocument& operator=(const ProjectDocument&) = delete;

    bool New() override;
    // Every section's lines for setup.ini, in the order the installer expects them.
    void Export(ScriptBuilder& script) const;
    // What the last Open found in the file that the sections do not read (CheckProjectText):
    // the build reports each as a warning. Empty for a new project.
    const std::vector<std::string>& ReadFindings() const { return readFindings_; }

    // The form the project file keeps (TextForm): a project that was opened in the CodePage
    // form is saved in it again while the code page can hold every character.
    TextForm Form() const { return form_; }
    // True once after a save that had to write a CodePage project in the Utf8 form, so that
    // the user is told once.
    bool TakeFormChange() {
        bool changed = formChanged_;
        formChanged_ = false;
        return changed;
    }

    // Sections, in member order.
    BuilderInfo builderInfo;
    GeneralInfo generalInfo;
    SetupInfo setupInfo;
    SystemRequirements systemRequirements;
    FileTree fileTree;
    ShortcutTree shortcutTree;
    RegistryTree registryTree;
    FileTypeList fileTypes;
    InstallerScreens installerScreens;
    OutputSettings outputSettings;

protected:
    void ClearAll() override;
    bool DoLoad(const std::string& path) override;
    bool DoSave(const std::string& path) override;

private:
    void SetDefaults();
    void RebasePaths(const std::string& from, const std::string& to);
    bool SaveSections(File& file) const;
    bool WriteInForm(const std::string& path);

    const UiTextSource& texts_;
    TextForm form_ = TextForm::Utf8;
    bool formChanged_ = false;
    std::vector<std::string> readFindings_;
};

// What the new-project wizard asks for before a project is created. Never read or written.
class ProjectWizardData : public DocumentBase {
public:
    const std::string& CompanyName() const { return companyName_; }
    const std::string& ProductName() const { return productName_; }
    const std::string& ProductVersion() const { return productVersion_; }
    const std::string& ProductDescription() const { return productDescription_; }
    const std::string& ProductWebAddress() const { return productWebAddress_; }
    const std::string& CopyrightNotice() const { return copyrightNotice_; }
    const std::string& FilesFolder() const { return filesFolder_; }

    // Each setter marks the wizard data modified only when the text really changes.
    void SetCompanyName(const std::string& text) { Assign(companyName_, text); }
    void SetProductName(const std::string& text) { Assign(productName_, text); }
    void SetProductVersion(const std::string& text) { Assign(productVersion_, text); }
    void SetProductDescription(const std::string& text) { Assign(productDescription_, text); }
    void SetProductWebAddress(const std::string& text) { Assign(productWebAddress_, text); }
    void SetCopyrightNotice(const std::string& text) { Assign(copyrightNotice_, text); }
    void SetFilesFolder(const std::string& text) { Assign(filesFolder_, text); }

    bool scanOption = true;
    ScopeChoice scope = ScopeChoice::AllUsers;  // whom the project's setup installs for

private:
    void Assign(std::string& field, const std::string& text);

    std::string companyName_ = "My Company";
    std::string productName_ = "My Application";
    std::string productVersion_ = "1.0";
    std::string productDescription_ = "My Application Description";
    std::string productWebAddress_ = "http://www.example.com";
    std::string copyrightNotice_ = "Copyright (C)";
    std::string filesFolder_;
};
