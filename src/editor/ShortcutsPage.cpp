#include "editor/ShortcutsPage.h"

#include "core/Path.h"
#include "editor/ChooseFileDialog.h"
#include "editor/EditorContext.h"
#include "editor/ItemDialogs.h"
#include "model/ProjectDocument.h"
#include "model/Variables.h"
#include "resource.h"

namespace {

constexpr DWORD kShortcutsHelp = 1130;
enum ListImage { kFolderImage, kShortcutImage, kInternetShortcutImage };
// Type column texts of a folder, a shortcut and an internet shortcut.
constexpr TextKey kFolderText = TextKeys::kItemKinds.Key(31);
constexpr TextKey kShortcutText = TextKeys::kItemKinds.Key(32);
constexpr TextKey kInternetShortcutText = TextKeys::kItemKinds.Key(33);

}  // namespace

ShortcutsPage::ShortcutsPage(EditorContext& context)
    : SplitPage(context, "PageShortcuts", kShortcutsHelp, kShortcutsPage, "0/0/0/0",
                {ID_SHORTCUTS_DELETE, ID_SHORTCUTS_DELETE_FOLDER, ID_SHORTCUTS_DELETE_SELECTION}) {}

ShortcutTree& ShortcutsPage::Shortcuts() const { return Project().shortcutTree; }
DestinationTree& ShortcutsPage::Tree() const { return Shortcuts(); }

std::vector<ListColumn> ShortcutsPage::Columns() const {
    const TextKeySet& headers = TextKeys::kListColumns;
    return {{headers.Key(11), 100}, {headers.Key(13), 100}, {headers.Key(17), 200}};
}

HIMAGELIST ShortcutsPage::ListImages() { return FolderAndIcons({IDI_SHORTCUT, IDI_INTERNET_SHORTCUT}); }

std::string ShortcutsPage::RowText(int row, int column) const {
    const TreeNode* node = RowNode(row);
    if (!node) return std::string();
    const ShortcutFields* fields = ShortcutTree::FieldsOf(node);
    switch (column) {
    case 0: return NodeDisplayName(node->Name());
    case 1: return UiString(!fields ? kFolderText : fields->internet ? kInternetShortcutText : kShortcutText);
    case 2: return fields ? fields->target : std::string();
    default: return std::string();
    }
}

int ShortcutsPage::RowImage(int row) const {
    const TreeNode* node = RowNode(row);
    if (ShortcutTree::IsFolder(node)) return kFolderImage;
    return ShortcutTree::IsInternetShortcut(node) ? kInternetShortcutImage : kShortcutImage;
}

bool ShortcutsPage::IsPageCommandEnabled(UINT command) const {
    switch (command) {
    case ID_NEW_SHORTCUT_FOLDER: return ShortcutTree::NewFoldersAllowed(SelectedFolder());
    case ID_NEW_SHORTCUT:
    case ID_NEW_INTERNET_SHORTCUT: return CanAddToFolder();
    default: return false;
    }
}

bool ShortcutsPage::RunPageCommand(UINT command, LPARAM) {
    switch (command) {
    case ID_NEW_SHORTCUT_FOLDER:
        if (IsPageCommandEnabled(command)) NewFolder();
        return true;
    case ID_NEW_SHORTCUT:
        if (CanAddToFolder()) NewShortcut();
        return true;
    case ID_NEW_INTERNET_SHORTCUT:
        if (CanAddToFolder()) NewInternetShortcut();
        return true;
    default:
        return false;
    }
}

void ShortcutsPage::NewFolder() {
    std::string name;
    if (!AskForFolderName(name)) return;
    if (TreeNode* folder = Shortcuts().AddFolder(SelectedFolder(), name, true)) AddTreeItem(folder);
}

void ShortcutsPage::NewShortcut() {
    ChosenFile chosen{context_, "", ""};
    if (!RunChooseFileDialog(DialogOwner(), chosen)) return;
    ShortcutRecord record;
    record.context = &context_;
    record.name = chosen.displayName;
    record.fields.target = chosen.path;
    record.fields.workingFolder = FolderOf(chosen.path);
    record.fields.showCommand = SW_SHOWNORMAL;
    AddShortcut(record);
}

void ShortcutsPage::NewInternetShortcut() {
    ShortcutRecord record;
    record.context = &context_;
    record.fields.internet = true;
    AddShortcut(record);
}

bool ShortcutsPage::RunShortcutDialog(ShortcutRecord& record) const {
    if (record.fields.internet) return RunItemDialog<InternetShortcutDialog>(IDD_INTERNET_SHORTCUT, record);
    return RunItemDialog<ShortcutDialog>(IDD_SHORTCUT, record);
}

void ShortcutsPage::AddShortcut(ShortcutRecord& record) {
    CheckNamesOfNew(record, false);
    if (!RunShortcutDialog(record)) return;
    Shortcuts().AddShortcut(SelectedFolder(), record.name, record.fields, true);
    ShowFolder();
}

bool ShortcutsPage::HasProperties(const TreeNode* node) const { return ShortcutTree::FieldsOf(node) != nullptr; }

void ShortcutsPage::ShowProperties(TreeNode* node) {
    const ShortcutFields* fields = ShortcutTree::FieldsOf(node);
    ShortcutRecord record;
    record.context = &context_;
    record.isNew = false;
    record.name = node->Name();
    record.fields = *fields;
    const TreeNodeId id = node->Id();
    if (!RunShortcutDialog(record)) return;
    // The shortcut is found again: the dialog's own message loop ran meanwhile.
    node = Shortcuts().NodeById(id);
    if (node && Shortcuts().SetFields(node, record.fields, true)) InvalidateRect(List().Handle(), nullptr, TRUE);
}
