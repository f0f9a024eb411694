#include "editor/ChooseFileDialog.h"
#include "editor/Forms.h"
#include "editor/SetupWindowDialog.h"
#include "model/ProjectDocument.h"
#include "resource.h"
#include "ui/FileChoosers.h"

namespace {

using Screen = ScreenSettings::Screen;

struct ScreenBox {
    int id;
    Screen screen;
};
constexpr ScreenBox kScreenBoxes[] = {
    {IDC_SPLASH_SCREEN, ScreenSettings::SplashWindow},
    {IDC_SETUP_WINDOW, ScreenSettings::SetupWindow},
    {IDC_LANGUAGE_SCREEN, ScreenSettings::LanguageDialog},
    {IDC_WELCOME_SCREEN, ScreenSettings::WelcomeDialog},
    {IDC_LICENSE_SCREEN, ScreenSettings::LicenseDialog},
    {IDC_README_SCREEN, ScreenSettings::ReadmeDialog},
    {IDC_TARGET_FOLDER_SCREEN, ScreenSettings::TargetDirectoryDialog},
    {IDC_PROGRAM_GROUP_SCREEN, ScreenSettings::ProgramGroupDialog},
    {IDC_START_SCREEN, ScreenSettings::StartDialog},
    {IDC_FINISH_SCREEN, ScreenSettings::FinishDialog},
};

// The controls that a box enables while it is checked.
struct Dependants {
    int box;
    int controls[4];
};
constexpr Dependants kDependants[] = {
    {IDC_SPLASH_SCREEN, {IDC_SPLASH_BITMAP, IDC_SPLASH_BROWSE, IDC_SCREENS_LABEL_BITMAP, 0}},
    {IDC_SETUP_WINDOW, {IDC_SETUP_WINDOW_SETTINGS, 0, 0, 0}},
    {IDC_LICENSE_SCREEN, {IDC_LICENSE_FILE, IDC_LICENSE_BROWSE, IDC_SCREENS_LABEL_LICENSE, 0}},
    {IDC_README_SCREEN, {IDC_README_FILE, IDC_README_BROWSE, IDC_SCREENS_LABEL_README, 0}},
};
// The finish screen's two boxes with their own dependants.
constexpr Dependants kFinishDependants[] = {
    {IDC_VIEW_README,
     {IDC_VIEW_README_CHECKED, IDC_FINISH_README, IDC_FINISH_README_BROWSE, IDC_SCREENS_LABEL_FINISH_README}},
    {IDC_RUN_APPLICATION,
     {IDC_RUN_APPLICATION_CHECKED, IDC_RUN_APPLICATION_PATH, IDC_RUN_APPLICATION_BROWSE, IDC_SCREENS_LABEL_APPLICATION}},
};

constexpr char kBitmapFilter[] = "Bitmap files (*.bmp)\0*.bmp\0";
constexpr char kTextFilter[] = "Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";

}  // namespace

ScreensForm::ScreensForm(HWND, void* context) : Form(context) {
    InstallerScreens& screens = Project().installerScreens;
    for (const ScreenBox& box : kScreenBoxes) {
        const Screen screen = box.screen;
        binder_.BindFlag(box.id, [&screens, screen] { return screens.shows[screen]; },
                         [&screens, screen](bool on) { screens.SetShows(screen, on); });
    }
    auto bindText = [&](int id, std::string ScreenSettings::*field, int limit) {
        binder_.BindText(id, [&screens, field] { return screens.*field; },
                         [&screens, field](const std::string& text) { screens.Set(field, text); }, limit);
    };
    bindText(IDC_SPLASH_BITMAP, &ScreenSettings::splashBitmapPath, FormBinder::kPathLength);
    bindText(IDC_LICENSE_FILE, &ScreenSettings::licensePath, FormBinder::kPathLength);
    bindText(IDC_README_FILE, &ScreenSettings::readmePath, FormBinder::kPathLength);
    bindText(IDC_FINISH_README, &ScreenSettings::finishReadmePath, FormBinder::kWholeText);
    bindText(IDC_RUN_APPLICATION_PATH, &ScreenSettings::finishApplicationPath, FormBinder::kWholeText);
    auto bindFlag = [&](int id, bool ScreenSettings::*field) {
        binder_.BindFlag(id, [&screens, field] { return screens.*field; },
                         [&screens, field](bool on) { screens.Set(field, on); });
    };
    bindFlag(IDC_VIEW_README, &ScreenSettings::showViewReadme);
    bindFlag(IDC_VIEW_README_CHECKED, &ScreenSettings::viewReadmeChecked);
    bindFlag(IDC_RUN_APPLICATION, &ScreenSettings::showRunApplication);
    bindFlag(IDC_RUN_APPLICATION_CHECKED, &ScreenSettings::runApplicationChecked);
}

bool ScreensForm::OnInitDialog(HWND dialog) {
    ApplyTexts(dialog, TextKeys::kDialogsTab,
               {{IDC_SPLASH_SCREEN, 1}, {IDC_SCREENS_LABEL_BITMAP, 2}, {IDC_SETUP_WINDOW, 3},
                {IDC_SETUP_WINDOW_SETTINGS, 4}, {IDC_LANGUAGE_SCREEN, 5}, {IDC_WELCOME_SCREEN, 6},
                {IDC_LICENSE_SCREEN, 7}, {IDC_SCREENS_LABEL_LICENSE, 8}, {IDC_README_SCREEN, 9},
                {IDC_SCREENS_LABEL_README, 10}, {IDC_TARGET_FOLDER_SCREEN, 11},
                {IDC_PROGRAM_GROUP_SCREEN, 12}, {IDC_START_SCREEN, 13}, {IDC_FINISH_SCREEN, 14},
                {IDC_VIEW_README, 15}, {IDC_VIEW_README_CHECKED, 16}, {IDC_SCREENS_LABEL_FINISH_README, 17},
                {IDC_RUN_APPLICATION, 18}, {IDC_RUN_APPLICATION_CHECKED, 19},
                {IDC_SCREENS_LABEL_APPLICATION, 20}, {IDC_SPLASH_BROWSE, 21}, {IDC_LICENSE_BROWSE, 21},
                {IDC_README_BROWSE, 21}, {IDC_FINISH_README_BROWSE, 21}, {IDC_RUN_APPLICATION_BROWSE, 21}});
    binder_.Fill(dialog);
    UpdateEnabling(dialog);
    return true;
}

void ScreensForm::UpdateEnabling(HWND dialog) const {
    for (const Dependants& dependants : kDependants)
        for (int id : dependants.controls)
            if (id) EnableControl(dialog, id, IsChecked(dialog, dependants.box));
    const bool finish = IsChecked(dialog, IDC_FINISH_SCREEN);
    for (const Dependants& dependants : kFinishDependants) {
        EnableControl(dialog, dependants.box, finish);
        for (int id : dependants.controls)
            if (id) EnableControl(dialog, id, finish && IsChecked(dialog, dependants.box));
    }
}

void ScreensForm::AfterEdit(HWND dialog, int) { UpdateEnabling(dialog); }

bool ScreensForm::OnButton(HWND dialog, int controlId) {
    switch (controlId) {
    case IDC_SPLASH_BROWSE: BrowseForFile(dialog, IDC_SPLASH_BITMAP, kBitmapFilter); return true;
    case IDC_LICENSE_BROWSE: BrowseForFile(dialog, IDC_LICENSE_FILE, kTextFilter); return true;
    case IDC_README_BROWSE: BrowseForFile(dialog, IDC_README_FILE, kTextFilter); return true;
    case IDC_FINISH_README_BROWSE: ChooseProjectFile(dialog, IDC_FINISH_README); return true;
    case IDC_RUN_APPLICATION_BROWSE: ChooseProjectFile(dialog, IDC_RUN_APPLICATION_PATH); return true;
    case IDC_SETUP_WINDOW_SETTINGS: EditSetupWindow(dialog); return true;
    default: return false;
    }
}

// The chosen path goes into the field as if typed, and the field stores it.
void ScreensForm::BrowseForFile(HWND dialog, int fieldId, const char* filter) const {
    char path[MAX_PATH] = "";
    if (ChooseFileToOpen(path, MAX_PATH, nullptr, dialog, filter, nullptr, false, "Open"))
        SetDlgItemTextA(dialog, fieldId, path);
}

void ScreensForm::ChooseProjectFile(HWND dialog, int fieldId) const {
    ChosenFile chosen{context_, "", ""};
    if (RunChooseFileDialog(dialog, chosen)) SetDlgItemTextA(dialog, fieldId, chosen.path.c_str());
}

void ScreensForm::EditSetupWindow(HWND dialog) {
    InstallerScreens& screens = Project().installerScreens;
    SetupWindowEdit edit{context_, screens};
    if (RunSetupWindowDialog(dialog, edit)) screens.SetSetupWindow(edit.settings);
}
