#pragma once
// The five forms of the editor's form pages. Each fills its controls from its project section
// when it opens and writes every change back through the section's setters, each change an edit
// of the project that can be undone.
#include "editor/Form.h"

class GeneralInfoForm : public Form {
public:
    GeneralInfoForm(HWND dialog, void* context);
    bool OnInitDialog(HWND dialog) override;
    ProjectParts EditedParts() const override { return kGeneralInfoPart; }
};

class SetupInfoForm : public Form {
public:
    SetupInfoForm(HWND dialog, void* context);
    bool OnInitDialog(HWND dialog) override;
    ProjectParts EditedParts() const override { return kSetupInfoPart; }

protected:
    // The default language and the install scope.
    bool OnControl(HWND dialog, int id, int code, HWND control) override;
    void AfterEdit(HWND dialog, int controlId) override;
    bool OnButton(HWND dialog, int controlId) override;

private:
    void UpdateUninstallerFields(HWND dialog) const;
    void AddLanguage(HWND dialog);
    void RemoveLanguage(HWND dialog);
    void UpdateRemoveButton(HWND dialog) const;
};

class RequirementsForm : public Form {
public:
    RequirementsForm(HWND dialog, void* context);
    bool OnInitDialog(HWND dialog) override;
    ProjectParts EditedParts() const override { return kRequirementsPart; }

protected:
    void AfterEdit(HWND dialog, int controlId) override;

private:
    // With "any" on the six boxes show checked and disabled; otherwise the stored flags.
    void ShowVersions(HWND dialog) const;
};

class ScreensForm : public Form {
public:
    ScreensForm(HWND dialog, void* context);
    bool OnInitDialog(HWND dialog) override;
    ProjectParts EditedParts() const override { return kScreensPart; }

protected:
    void AfterEdit(HWND dialog, int controlId) override;
    bool OnButton(HWND dialog, int controlId) override;

private:
    void UpdateEnabling(HWND dialog) const;
    void BrowseForFile(HWND dialog, int fieldId, const char* filter) const;
    // The finish screen's files are files of the project, picked from its files tree.
    void ChooseProjectFile(HWND dialog, int fieldId) const;
    void EditSetupWindow(HWND dialog);
};

class CreateSetupForm : public Form {
public:
    CreateSetupForm(HWND dialog, void* context);
    bool OnInitDialog(HWND dialog) override;
    bool RunCommand(HWND dialog, UINT command) override;
    ProjectParts EditedParts() const override { return kOutputPart; }

protected:
    void AfterEdit(HWND dialog, int controlId) override;
    bool OnButton(HWND dialog, int controlId) override;

private:
    // The output folder as the build resolves it against the project's folder.
    std::string OutputFolder() const;
    // The built setup program: the output folder joined with the setup file name.
    std::string SetupProgram() const;
    void UpdateButtons(HWND dialog) const;
    // Shows the message of the first missing setting; true when both are given.
    bool CheckSettings(HWND dialog) const;
    void Build(HWND dialog);
    void TestRun(HWND dialog) const;
};
