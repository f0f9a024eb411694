#include "editor/Forms.h"
#include "model/ProjectDocument.h"
#include "resource.h"

namespace {

int VersionBox(int version) { return IDC_WINDOWS_FIRST + version; }

}  // namespace

RequirementsForm::RequirementsForm(HWND, void* context) : Form(context) {
    SystemRequirements& requirements = Project().systemRequirements;
    binder_.BindFlag(IDC_ANY_WINDOWS, [&requirements] { return requirements.AnyWindows(); },
                     [&requirements](bool on) { requirements.SetAnyWindows(on, true); });
    for (int index = 0; index < SystemRequirements::kVersionCount; ++index) {
        const auto version = static_cast<SystemRequirements::Version>(index);
        binder_.BindFlag(VersionBox(index), [&requirements, version] { return requirements.AllowsVersion(version); },
                         [&requirements, version](bool on) { requirements.SetAllowsVersion(version, on, true); });
    }
    binder_.BindText(IDC_DISK_SPACE, [&requirements] { return requirements.RequiredDiskSpace(); },
                     [&requirements](const std::string& text) { requirements.SetRequiredDiskSpace(text, true); });
    binder_.BindFlag(IDC_ABORT_INSTALLATION, [&requirements] { return requirements.AbortInstallation(); },
                     [&requirements](bool on) { requirements.SetAbortInstallation(on, true); });
}

bool RequirementsForm::OnInitDialog(HWND dialog) {
    ApplyTexts(dialog, TextKeys::kRequirementsTab,
               {{IDC_REQUIREMENTS_GROUP, 1}, {IDC_ANY_WINDOWS, 2}, {IDC_REQUIREMENTS_LABEL_DISK, 3},
                {IDC_ABORT_INSTALLATION, 4}});
    binder_.Fill(dialog);
    ShowVersions(dialog);
    return true;
}

// The boxes show the stored flags whenever they can be changed: a box that shows a check the
// project does not hold would install on versions the user never chose.
void RequirementsForm::ShowVersions(HWND dialog) const {
    const SystemRequirements& requirements = Project().systemRequirements;
    const bool any = requirements.AnyWindows();
    for (int index = 0; index < SystemRequirements::kVersionCount; ++index) {
        const bool allowed = requirements.AllowsVersion(static_cast<SystemRequirements::Version>(index));
        CheckDlgButton(dialog, VersionBox(index), any || allowed ? BST_CHECKED : BST_UNCHECKED);
        EnableControl(dialog, VersionBox(index), !any);
    }
}

void RequirementsForm::AfterEdit(HWND dialog, int controlId) {
    if (controlId == IDC_ANY_WINDOWS) ShowVersions(dialog);
}
