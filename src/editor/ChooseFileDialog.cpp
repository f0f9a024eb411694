#include "editor/ChooseFileDialog.h"

#include <commctrl.h>

#include "editor/EditorContext.h"
#include "editor/FilesPage.h"
#include "editor/FormBinder.h"
#include "lang/LanguageSets.h"
#include "model/ProjectDocument.h"
#include "platform/AppMessages.h"
#include "resource.h"

namespace {

constexpr const TextKeySet& kTexts = TextKeys::kChooseFileDialog;

}  // namespace

ChooseFileDialog::ChooseFileDialog(HWND, void* context)
    : Dialog(context), chosen_(*static_cast<ChosenFile*>(context)),
      page_(std::make_unique<FilesPage>(chosen_.context, false)) {}

ChooseFileDialog::~ChooseFileDialog() = default;

bool ChooseFileDialog::OnInitDialog(HWND dialog) {
    const LanguageSets& texts = chosen_.context.Texts();
    SetWindowTextA(dialog, texts.UiText(kTexts.Key(0)).c_str());
    SetDlgItemTextA(dialog, IDC_CHOOSE_FILE_LABEL, texts.UiText(kTexts.Key(1)).c_str());
    SetDlgItemTextA(dialog, IDC_OK, texts.UiText(kTexts.Key(2)).c_str());
    SetDlgItemTextA(dialog, IDCANCEL, texts.UiText(kTexts.Key(3)).c_str());
    // The files page takes the place of the placeholder.
    HWND placeholder = GetDlgItem(dialog, IDC_CHOOSE_FILE_TREE);
    RECT rect{};
    GetWindowRect(placeholder, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    DestroyWindow(placeholder);
    if (page_->Create(dialog, rect, IDC_CHOOSE_FILE_PAGE)) {
        page_->Relayout();
        page_->Reload();
        ShowWindow(page_->Handle(), SW_SHOW);
    }
    EnableControl(dialog, IDC_OK, false);
    CentreOnDesktop(dialog);
    return true;
}

void ChooseFileDialog::OnDestroy(HWND) { page_->Destroy(); }

void ChooseFileDialog::Accept(HWND dialog) {
    const TreeNode* file = page_->SelectedFile();
    if (!file) return;
    chosen_.path = FileTree::ShortPath(file);
    chosen_.displayName = file->Name().substr(0, file->Name().rfind('.'));
    EndDialog(dialog, IDC_OK);
}

bool ChooseFileDialog::OnCommand(HWND dialog, int id, int, HWND) {
    switch (id) {
    case IDC_OK: Accept(dialog); return true;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return true;
    default: return false;
    }
}

// The files page's row opened, or its selection changed.
bool ChooseFileDialog::OnAppMessage(HWND dialog, UINT message, LPARAM) {
    switch (message) {
    case app_messages::kActivateRow: Accept(dialog); return true;
    case app_messages::kPageSelection: EnableControl(dialog, IDC_OK, page_->SelectedFile() != nullptr); return true;
    default: return false;
    }
}

bool RunChooseFileDialog(HWND owner, ChosenFile& chosen) {
    DialogCreatorOf<ChooseFileDialog> creator(&chosen);
    return ShowModalDialog(chosen.context.ResourceInstance(), IDD_CHOOSE_FILE, owner, creator) == IDC_OK;
}
