#include <vector>

#include "core/Path.h"
#include "core/Text.h"
#include "editor/BuildDialog.h"
#include "editor/Forms.h"
#include "editor/MessageBox.h"
#include "lang/LanguageSets.h"
#include "model/ProjectDocument.h"
#include "model/ProjectPaths.h"
#include "resource.h"
#include "commands/SetupPresence.h"
#include "editor/EditorContext.h"
#include "ui/FileChoosers.h"

namespace {

constexpr TextKey kNoOutputFolder = TextKeys::kFormMessages.Key(53);
constexpr TextKey kNoSetupFileName = TextKeys::kFormMessages.Key(54);
constexpr TextKey kCannotStartSetup = TextKeys::kFormMessages.Key(59);
constexpr TextKey kChooseOutputFolder = TextKeys::kFolderPickerTitles.Key(101);

}  // namespace

CreateSetupForm::CreateSetupForm(HWND, void* context) : Form(context) {
    OutputSettings& output = Project().outputSettings;
    binder_.BindText(IDC_OUTPUT_FOLDER, [&output] { return output.OutputFolder(); },
                     [&output](const std::string& text) { output.SetOutputFolder(text); }, FormBinder::kPathLength);
    binder_.BindText(IDC_SETUP_FILE_NAME, [&output] { return output.SetupFileName(); },
                     [&output](const std::string& text) { output.SetSetupFileName(text); }, FormBinder::kPathLength);
    binder_.BindText(IDC_SETUP_ICON, [&output] { return output.SetupIconPath(); },
                     [&output](const std::string& text) { output.SetSetupIconPath(text); }, FormBinder::kPathLength);
    binder_.BindFlag(IDC_SELF_EXTRACTING, [&output] { return output.CreateSelfExtractingSetup(); },
                     [&output](bool on) { output.SetCreateSelfExtractingSetup(on); });
    binder_.BindFlag(IDC_SMALL_SETUP, [&output] { return output.ArchiveCompression() == Compression::Small; },
                     [&output](bool on) { output.SetArchiveCompression(on ? Compression::Small : Compression::Standard); });
}

bool CreateSetupForm::OnInitDialog(HWND dialog) {
    ApplyTexts(dialog, TextKeys::kCreateSetupTab,
               {{IDC_CREATE_SETUP_LABEL1, 1}, {IDC_OUTPUT_FOLDER_BROWSE, 2}, {IDC_CREATE_SETUP_LABEL2, 3},
                {IDC_CREATE_SETUP_LABEL3, 4}, {IDC_SETUP_ICON_BROWSE, 5}, {IDC_SELF_EXTRACTING, 6},
                {IDC_SMALL_SETUP, 9}, {IDC_BUILD, 7}, {IDC_TEST_RUN, 8}});
    binder_.Fill(dialog);
    UpdateButtons(dialog);
    return true;
}

// Paths that are not absolute count from the project file's folder, as in the build.
std::string CreateSetupForm::OutputFolder() const {
    const ProjectDocument& project = Project();
    return ResolveProjectPath(FolderOf(project.Path()), project.outputSettings.OutputFolder());
}

std::string CreateSetupForm::SetupProgram() const {
    const ProjectDocument& project = Project();
    return BuiltSetupPath(project.Path(), project.outputSettings.OutputFolder(), project.outputSettings.SetupFileName());
}

// Both buttons follow their commands' states in the command table, as the menu and toolbar do;
// the toolbar learns of an edit at once too.
void CreateSetupForm::UpdateButtons(HWND dialog) const {
    EnableControl(dialog, IDC_BUILD, context_.IsCommandEnabled(ID_BUILD_SETUP));
    EnableControl(dialog, IDC_TEST_RUN, context_.IsCommandEnabled(ID_TEST_RUN));
}

void CreateSetupForm::AfterEdit(HWND dialog, int) {
    UpdateButtons(dialog);
    context_.UpdateCommandStates();
}

bool CreateSetupForm::RunCommand(HWND dialog, UINT command) {
    if (command == ID_BUILD_SETUP) return OnButton(dialog, IDC_BUILD);
    if (command == ID_TEST_RUN) return OnButton(dialog, IDC_TEST_RUN);
    return false;
}

bool CreateSetupForm::OnButton(HWND dialog, int controlId) {
    switch (controlId) {
    case IDC_BUILD: Build(dialog); return true;
    case IDC_TEST_RUN: TestRun(dialog); return true;
    case IDC_OUTPUT_FOLDER_BROWSE: {
        std::string folder;
        if (BrowseForFolder(folder, dialog, Text(kChooseOutputFolder).c_str()))
            SetDlgItemTextA(dialog, IDC_OUTPUT_FOLDER, folder.c_str());
        return true;
    }
    case IDC_SETUP_ICON_BROWSE: {
        char path[MAX_PATH] = "";
        if (ChooseFileToOpen(path, MAX_PATH, nullptr, dialog, "Icon files (*.ico)\0*.ico\0", nullptr, false, "Open"))
            SetDlgItemTextA(dialog, IDC_SETUP_ICON, path);
        return true;
    }
    default: return false;
    }
}

bool CreateSetupForm::CheckSettings(HWND dialog) const {
    const OutputSettings& output = Project().outputSettings;
    if (output.OutputFolder().empty()) {
        Warn(dialog, kNoOutputFolder);
        return false;
    }
    if (output.SetupFileName().empty()) {
        Warn(dialog, kNoSetupFileName);
        return false;
    }
    return true;
}

// The build reads the project as saved: only a project that was written is built.
void CreateSetupForm::Build(HWND dialog) {
    if (!CheckSettings(dialog) || !context_.SaveProject()) return;
    RunBuildDialog(context_.ResourceInstance(), GetAncestor(dialog, GA_ROOT), Project(), context_.SigningCommand(),
                   context_.Texts());
    // Whether the build wrote the program: looked up once, not on every idle pass after.
    context_.Setup().Built(SetupProgram(), false);
    UpdateButtons(dialog);
    context_.UpdateCommandStates();
}

// The program's path is quoted: with a blank in the output folder an unquoted command line
// could start another program ("C:\Program.exe" for "C:\Program Files\...").
void CreateSetupForm::TestRun(HWND dialog) const {
    if (!CheckSettings(dialog)) return;
    const std::string program = SetupProgram();
    std::string commandLine = "\"" + program + "\"";
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    const std::string folder = OutputFolder();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        context_.Setup().StartFailed(program);
        const std::string message = ReplaceFirstPlaceholder(Text(kCannotStartSetup), program);
        ShowMessage(dialog, message, context_.Texts(), MessageKind::Warning);
        return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}
