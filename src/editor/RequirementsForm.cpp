#include "editor/Forms.h"
#include "model/ProjectDocument.h"
#include "resource.h"

namespace {

int VersionBox(int version) { return IDC_WINDOWS_FIRST + version; }

// Windows 10 and 11 as the installer treats them: a project without their keys allows them
// when it allows an older version.
bool Allows(const SystemRequirements& requirements, SystemRequirements::Modern version) {
    bool older = false;
    for (int index = 0; index < SystemRequirements::kVersionCount; ++index)
        older = older || requirements.AllowsVersion(static_cast<SystemRequirements::Version>(index));
    if (version == SystemRequirements::Windows11)
        older = older || requirements.Setting(SystemRequirements::Windows10).value_or(false);
    return requirements.Setting(version).value_or(older);
}

const std::pair<int, SystemRequirements::Modern> kModernBoxes[] = {{IDC_WINDOWS_10, SystemRequirements::Windows10},
                                                                   {IDC_WINDOWS_11, SystemRequirements::Windows11}};

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
    for (const auto& [box, version] : kModernBoxes)
        binder_.BindFlag(box, [&requirements, version = version] { return Allows(requirements, version); },
                         [&requirements, version = version](bool on) { requirements.SetSetting(version, on, true); });
    binder_.BindFlag(IDC_ONLY_64BIT,
                     [&requirements] { return requirements.Setting(SystemRequirements::Only64Bit).value_or(false); },
                     [&requirements](bool on) { requirements.SetSetting(SystemRequirements::Only64Bit, on, true); });
    binder_.BindText(IDC_DISK_SPACE, [&requirements] { return requirements.RequiredDiskSpace(); },
                     [&requirements](const std::string& text) { requirements.SetRequiredDiskSpace(text, true); });
    binder_.BindFlag(IDC_ABORT_INSTALLATION, [&requirements] { return requirements.AbortInstallation(); },
                     [&requirements](bool on) { requirements.SetAbortInstallation(on, true); });
}

bool RequirementsForm::OnInitDialog(HWND dialog) {
    ApplyTexts(dialog, TextKeys::kRequirementsTab,
               {{IDC_REQUIREMENTS_GROUP, 1}, {IDC_ANY_WINDOWS, 2}, {IDC_REQUIREMENTS_LABEL_DISK, 3},
                {IDC_ABORT_INSTALLATION, 4}, {IDC_ONLY_64BIT, 5}});
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
    for (const auto& [box, version] : kModernBoxes) {
        CheckDlgButton(dialog, box, any || Allows(requirements, version) ? BST_CHECKED : BST_UNCHECKED);
        EnableControl(dialog, box, !any);
    }
}

void RequirementsForm::AfterEdit(HWND dialog, int controlId) {
    // The boxes of Windows 10 and 11 follow the older versions while the project has no keys for them.
    if (controlId == IDC_ANY_WINDOWS || (controlId >= VersionBox(0) && controlId < VersionBox(SystemRequirements::kVersionCount)) ||
        controlId == IDC_WINDOWS_10)
        ShowVersions(dialog);
}
