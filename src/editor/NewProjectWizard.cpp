#include "editor/NewProjectWizard.h"

#include <string>
#include <utility>
#include <vector>

#include "core/Text.h"
#include "editor/FormBinder.h"
#include "editor/MessageBox.h"
#include "editor/ScopeList.h"
#include "lang/LanguageSets.h"
#include "model/ProjectDocument.h"
#include "model/WizardProject.h"
#include "resource.h"
#include "ui/Dialog.h"
#include "ui/FileChoosers.h"

namespace {

// "Please choose the folder that holds the product's files."
constexpr TextKey kNoFolderText = TextKeys::kFormMessages.Key(50);
// The folder picker's title.
constexpr TextKey kChooseFolderTitle = TextKeys::kFolderPickerTitles.Key(100);
// Why the product folder gave no files: it does not exist, cannot be read, holds none (with its
// subfolders), holds none of its own (without them).
constexpr TextKey kFolderMissingText = TextKeys::kWizardNoFiles.Key(850);
constexpr TextKey kFolderUnreadableText = TextKeys::kWizardNoFiles.Key(851);
constexpr TextKey kNoFilesText = TextKeys::kWizardNoFiles.Key(852);
constexpr TextKey kNoFilesWithoutSubfoldersText = TextKeys::kWizardNoFiles.Key(853);

// What every page works on.
struct WizardSession {
    const LanguageSets& texts;
    ProjectWizardData& answers;
};

// Which key (by number) of the page's language section labels which control.
using ControlTexts = std::vector<std::pair<int, int>>;

// One page: its language section, the texts of its controls (the buttons among them), and the
// commands that Back and Next lead to (none for Back on the first page). Cancel and the close
// box end the page with nothing to do and keep the answers as they were.
class WizardPage : public Dialog {
public:
    WizardPage(void* session, const TextKeySet& section, ControlTexts texts, int back, int next)
        : Dialog(session), session_(*static_cast<WizardSession*>(session)), section_(section),
          texts_(std::move(texts)), back_(back), next_(next) {}

    bool OnInitDialog(HWND dialog) override {
        SetWindowTextA(dialog, Text(0).c_str());
        for (const auto& [id, number] : texts_) SetDlgItemTextA(dialog, id, Text(number).c_str());
        EnableControl(dialog, IDC_WIZARD_BACK, back_ != CMD_NOTHING);
        Fill(dialog);
        CentreOnDesktop(dialog);
        // The first field, or Next: Enter goes on, never back.
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, FirstControl())), TRUE);
        return false;
    }

    bool OnCommand(HWND dialog, int id, int code, HWND) override {
        if (code != BN_CLICKED) return false;
        switch (id) {
        case IDC_WIZARD_BACK:
            Store(dialog);
            EndDialog(dialog, back_);
            return true;
        case IDC_WIZARD_NEXT:
            Store(dialog);
            if (CanGoOn(dialog)) EndDialog(dialog, next_);
            return true;
        case IDCANCEL:
            EndDialog(dialog, CMD_NOTHING);
            return true;
        default:
            return OnButton(dialog, id);
        }
    }

protected:
    virtual int FirstControl() const { return IDC_WIZARD_NEXT; }
    virtual void Fill(HWND /*dialog*/) {}
    // Copies the page's fields into the answers.
    virtual void Store(HWND /*dialog*/) {}
    // Whether Next may leave the page; a page that refuses tells the user why.
    virtual bool CanGoOn(HWND /*dialog*/) { return true; }
    virtual bool OnButton(HWND /*dialog*/, int /*id*/) { return false; }

    std::string Text(int number) const { return session_.texts.UiText(section_.Key(number)); }
    ProjectWizardData& Answers() const { return session_.answers; }
    const LanguageSets& Texts() const { return session_.texts; }

private:
    WizardSession& session_;
    const TextKeySet& section_;
    ControlTexts texts_;
    int back_;
    int next_;
};

class WelcomePage : public WizardPage {
public:
    WelcomePage(HWND, void* session)
        : WizardPage(session, TextKeys::kWizardWelcomeDialog,
                     {{IDC_WIZARD_TEXT1, 1}, {IDC_WIZARD_TEXT1 + 1, 2}, {IDC_WIZARD_TEXT1 + 2, 3},
                      {IDC_WIZARD_BACK, 4}, {IDC_WIZARD_NEXT, 5}, {IDCANCEL, 6}},
                     CMD_NOTHING, CMD_WIZARD_STEP2) {}
};

// The six texts in the order of their fields, each with its place in the answers.
struct GeneralField {
    int id;
    const std::string& (ProjectWizardData::*get)() const;
    void (ProjectWizardData::*set)(const std::string&);
};
constexpr GeneralField kGeneralFields[] = {
    {IDC_WIZARD_COMPANY_NAME, &ProjectWizardData::CompanyName, &ProjectWizardData::SetCompanyName},
    {IDC_WIZARD_PRODUCT_NAME, &ProjectWizardData::ProductName, &ProjectWizardData::SetProductName},
    {IDC_WIZARD_PRODUCT_VERSION, &ProjectWizardData::ProductVersion, &ProjectWizardData::SetProductVersion},
    {IDC_WIZARD_PRODUCT_DESCRIPTION, &ProjectWizardData::ProductDescription,
     &ProjectWizardData::SetProductDescription},
    {IDC_WIZARD_PRODUCT_URL, &ProjectWizardData::ProductWebAddress, &ProjectWizardData::SetProductWebAddress},
    {IDC_WIZARD_COPYRIGHT_NOTICE, &ProjectWizardData::CopyrightNotice, &ProjectWizardData::SetCopyrightNotice},
};

class GeneralInfoPage : public WizardPage {
public:
    GeneralInfoPage(HWND, void* session)
        : WizardPage(session, TextKeys::kWizardGeneralInfoDialog,
                     {{IDC_WIZARD_LABEL1, 1}, {IDC_WIZARD_LABEL1 + 1, 2}, {IDC_WIZARD_LABEL1 + 2, 3},
                      {IDC_WIZARD_LABEL1 + 3, 4}, {IDC_WIZARD_LABEL1 + 4, 5}, {IDC_WIZARD_LABEL1 + 5, 6},
                      {IDC_WIZARD_BACK, 7}, {IDC_WIZARD_NEXT, 8}, {IDCANCEL, 9}},
                     CMD_WIZARD_STEP1, CMD_WIZARD_STEP3) {}

protected:
    int FirstControl() const override { return IDC_WIZARD_COMPANY_NAME; }
    void Fill(HWND dialog) override {
        for (const GeneralField& field : kGeneralFields)
            SetDlgItemTextA(dialog, field.id, (Answers().*field.get)().c_str());
    }
    void Store(HWND dialog) override {
        for (const GeneralField& field : kGeneralFields) (Answers().*field.set)(ControlText(dialog, field.id));
    }
};

class LocateFilesPage : public WizardPage {
public:
    LocateFilesPage(HWND, void* session)
        : WizardPage(session, TextKeys::kWizardLocateFilesDialog,
                     {{IDC_WIZARD_TEXT1, 1}, {IDC_WIZARD_FOLDER_LABEL, 2}, {IDC_WIZARD_BROWSE, 3},
                      {IDC_WIZARD_SUBFOLDERS, 4}, {IDC_WIZARD_BACK, 5}, {IDC_WIZARD_NEXT, 6},
                      {IDCANCEL, 7}},
                     CMD_WIZARD_STEP2, CMD_WIZARD_STEP4) {}

protected:
    int FirstControl() const override { return IDC_WIZARD_FOLDER; }
    void Fill(HWND dialog) override {
        SendDlgItemMessageA(dialog, IDC_WIZARD_FOLDER, EM_LIMITTEXT, FormBinder::kPathLength, 0);
        SetDlgItemTextA(dialog, IDC_WIZARD_FOLDER, Answers().FilesFolder().c_str());
        CheckDlgButton(dialog, IDC_WIZARD_SUBFOLDERS, Answers().scanOption ? BST_CHECKED : BST_UNCHECKED);
        // The Setup Info page's words for whom the setup installs for.
        SetDlgItemTextA(dialog, IDC_WIZARD_SCOPE_LABEL, Texts().UiText(TextKeys::kSetupInfoTab.Key(19)).c_str());
        FillScopeList(GetDlgItem(dialog, IDC_WIZARD_SCOPE), Texts(), Answers().scope);
    }
    void Store(HWND dialog) override {
        Answers().SetFilesFolder(ControlText(dialog, IDC_WIZARD_FOLDER));
        Answers().scanOption = IsChecked(dialog, IDC_WIZARD_SUBFOLDERS);
        SelectedScope(GetDlgItem(dialog, IDC_WIZARD_SCOPE), Answers().scope);
    }
    // Whether the folder exists is told after the project is made (ReportWizardFiles).
    bool CanGoOn(HWND dialog) override {
        if (!Answers().FilesFolder().empty()) return true;
        ShowMessage(dialog, Texts().UiText(kNoFolderText), Texts(), MessageKind::Warning);
        SetFocus(GetDlgItem(dialog, IDC_WIZARD_FOLDER));
        return false;
    }
    bool OnButton(HWND dialog, int id) override {
        if (id != IDC_WIZARD_BROWSE) return false;
        std::string folder;
        if (BrowseForFolder(folder, dialog, Texts().UiText(kChooseFolderTitle).c_str()))
            SetDlgItemTextA(dialog, IDC_WIZARD_FOLDER, folder.c_str());
        return true;
    }
};

class FinishPage : public WizardPage {
public:
    FinishPage(HWND, void* session)
        : WizardPage(session, TextKeys::kWizardFinishDialog,
                     {{IDC_WIZARD_TEXT1, 1}, {IDC_WIZARD_BACK, 2}, {IDC_WIZARD_NEXT, 3}, {IDCANCEL, 4}},
                     CMD_WIZARD_STEP3, CMD_NEW_FROM_WIZARD) {}

protected:
    // What the project will be made of: the product, its company and the folder of its files.
    void Fill(HWND dialog) override {
        const ProjectWizardData& answers = Answers();
        const std::string product = answers.ProductName() + " " + answers.ProductVersion();
        const std::string summary = ReplaceFirstPlaceholder(Text(5), product) + "\r\n" +
                                    ReplaceFirstPlaceholder(Text(6), answers.CompanyName()) + "\r\n" +
                                    ReplaceFirstPlaceholder(Text(7), answers.FilesFolder()) + " " +
                                    Text(answers.scanOption ? 8 : 9);
        SetDlgItemTextA(dialog, IDC_WIZARD_SUMMARY, summary.c_str());
    }
};

template <typename Page>
int RunPage(int templateId, HWND owner, HINSTANCE instance, WizardSession& session) {
    DialogCreatorOf<Page> creator(&session);
    INT_PTR result = ShowModalDialog(instance, templateId, owner, creator);
    return result > 0 ? static_cast<int>(result) : CMD_NOTHING;
}

}  // namespace

int RunWizardPage(UINT step, HWND owner, HINSTANCE instance, const LanguageSets& texts,
                  ProjectWizardData& answers) {
    WizardSession session{texts, answers};
    switch (step) {
    case CMD_WIZARD_STEP1: return RunPage<WelcomePage>(IDD_WIZARD_WELCOME, owner, instance, session);
    case CMD_WIZARD_STEP2: return RunPage<GeneralInfoPage>(IDD_WIZARD_GENERAL_INFO, owner, instance, session);
    case CMD_WIZARD_STEP3: return RunPage<LocateFilesPage>(IDD_WIZARD_LOCATE_FILES, owner, instance, session);
    case CMD_WIZARD_STEP4: return RunPage<FinishPage>(IDD_WIZARD_FINISH, owner, instance, session);
    default: return CMD_NOTHING;
    }
}

void ReportWizardFiles(HWND owner, const LanguageSets& texts, const ProjectWizardData& answers,
                       const WizardFiles& added) {
    if (added.files > 0) return;
    TextKey text = kNoFilesText;
    MessageKind kind = MessageKind::Information;
    switch (added.problem) {
    case WizardFiles::NoFolder: return;  // the locate files page asks for a folder
    case WizardFiles::Missing: text = kFolderMissingText; kind = MessageKind::Warning; break;
    case WizardFiles::Unreadable: text = kFolderUnreadableText; kind = MessageKind::Warning; break;
    case WizardFiles::None: text = answers.scanOption ? kNoFilesText : kNoFilesWithoutSubfoldersText; break;
    }
    ShowMessage(owner, ReplaceFirstPlaceholder(texts.UiText(text), answers.FilesFolder()), texts, kind);
}
