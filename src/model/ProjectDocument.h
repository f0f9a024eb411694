#pragma once
// One setup project: the only owner of its sections, read from and written to a .qsp file.
#include <functional>
#include <string>
#include <vector>

#include "model/BuilderInfo.h"
#include "model/DocumentBase.h"
#include "model/EditStack.h"
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

class File;
class ScriptBuilder;
class UiTextSource;

// What the document announces after each change of its parts.
struct ProjectChange {
    enum Kind { Done, Undone, Redone };
    Kind kind;
    // The edit that changed the project; it stays valid until the next change.
    const ProjectEdit& edit;
};

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
    // The one way the editor changes the project: `change` runs as the edit `edit`, which can
    // then be undone. `edit.Parts()` must name every part that `change` touches. An edit that
    // changes nothing is not kept; one with the merge key of the open top edit joins it; one
    // applied while another runs belongs to that one (and returns null). The
    // modified flag follows the stack: undone back to the saved state, the project is unmodified.
    // Returns the edit kept on top of the stack, or null when nothing changed.
    ProjectEdit* Apply(ProjectEdit edit, const std::function<void()>& change);
    // Typing in a field ends: its next change is a new edit.
    void EndMerge() { edits_.EndMerge(); }
    bool Undo();
    bool Redo();
    const EditStack& Edits() const { return edits_; }
    // Called after every applied, undone and redone edit.
    void SetChangeListener(std::function<void(const ProjectChange&)> listener) {
        changeListener_ = std::move(listener);
    }
    // The project file's lines of one part, as Save writes them.
    std::string PartLines(ProjectPart part) const;

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
    void Saved() override { edits_.MarkSaved(); }
    void SectionChanged() override;

private:
    void SetDefaults();
    // Reads the project at `path`; false when `filesFromFile` and the file changed while it was read.
    bool Load(const std::string& path, bool filesFromFile);
    void RebasePaths(const std::string& from, const std::string& to);
    bool SaveSections(File& file) const;
    bool WriteInForm(const std::string& path);
    // Sets a part to the state that `lines` (from PartLines) describe.
    void RestorePart(ProjectPart part, const std::string& lines);
    // Swaps the kept lines of `edit` with the current state of its parts.
    void Swap(ProjectEdit& edit);
    void Announce(ProjectChange::Kind kind, const ProjectEdit& edit);

    const UiTextSource& texts_;
    TextForm form_ = TextForm::Utf8;
    bool formChanged_ = false;
    std::vector<std::string> readFindings_;
    EditStack edits_;
    // Set while an edit changes or restores parts: the sections' change marks are its own.
    bool editing_ = false;
    std::function<void(const ProjectChange&)> changeListener_;
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
