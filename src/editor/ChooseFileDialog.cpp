#include "editor/ChooseFileDialog.h"

#include <commctrl.h>

#include "editor/EditorContext.h"
#include "editor/FormBinder.h"
#include "lang/LanguageSets.h"
#include "model/ProjectDocument.h"
#include "resource.h"

namespace {

constexpr const TextKeySet& kTexts = TextKeys::kChooseFileDialog;

void AddNodes(HWND tree, HTREEITEM parent, const TreeNode& node) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(node.Name().c_str());
    insert.item.lParam = reinterpret_cast<LPARAM>(&node);
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    for (size_t index = 0; index < node.ChildCount(); ++index) AddNodes(tree, item, *node.Child(index));
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

}  // namespace

ChooseFileDialog::ChooseFileDialog(HWND, void* context)
    : Dialog(context), chosen_(*static_cast<ChosenFile*>(context)) {}

bool ChooseFileDialog::OnInitDialog(HWND dialog) {
    const LanguageSets& texts = chosen_.context.Texts();
    SetWindowTextA(dialog, texts.UiText(kTexts.Key(0)).c_str());
    SetDlgItemTextA(dialog, IDC_CHOOSE_FILE_LABEL, texts.UiText(kTexts.Key(1)).c_str());
    SetDlgItemTextA(dialog, IDC_OK, texts.UiText(kTexts.Key(2)).c_str());
    SetDlgItemTextA(dialog, IDCANCEL, texts.UiText(kTexts.Key(3)).c_str());
    HWND tree = GetDlgItem(dialog, IDC_CHOOSE_FILE_TREE);
    const FileTree& files = chosen_.context.Project()->fileTree;
    for (size_t index = 0; index < files.TopLevelCount(); ++index) AddNodes(tree, TVI_ROOT, *files.TopLevel(index));
    EnableControl(dialog, IDC_OK, false);
    CentreOnDesktop(dialog);
    return true;
}

const TreeNode* ChooseFileDialog::SelectedFile(HWND dialog) const {
    HWND tree = GetDlgItem(dialog, IDC_CHOOSE_FILE_TREE);
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item.hItem || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    const auto* node = reinterpret_cast<const TreeNode*>(item.lParam);
    return FileTree::FileOf(node) ? node : nullptr;
}

void ChooseFileDialog::Accept(HWND dialog) {
    const TreeNode* file = SelectedFile(dialog);
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

bool ChooseFileDialog::OnNotify(HWND dialog, int controlId, NMHDR* header) {
    if (controlId != IDC_CHOOSE_FILE_TREE) return false;
    if (header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW) {
        EnableControl(dialog, IDC_OK, SelectedFile(dialog) != nullptr);
        return true;
    }
    if (header->code == static_cast<UINT>(NM_DBLCLK)) {
        Accept(dialog);
        return true;
    }
    return false;
}

bool RunChooseFileDialog(HWND owner, ChosenFile& chosen) {
    DialogCreatorOf<ChooseFileDialog> creator(&chosen);
    return ShowModalDialog(chosen.context.ResourceInstance(), IDD_CHOOSE_FILE, owner, creator) == IDC_OK;
}
