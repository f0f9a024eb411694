#include "editor/RegistryPage.h"

#include "editor/EditorContext.h"
#include "editor/ItemDialogs.h"
#include "model/ProjectDocument.h"
#include "model/ValueText.h"
#include "resource.h"

namespace {

constexpr DWORD kRegistryHelp = 1140;
// The list's images: a folder, then a string, a binary and a number value.
enum ListImage { kFolderImage, kStringImage, kBinaryImage, kNumberImage };

}  // namespace

RegistryPage::RegistryPage(EditorContext& context) : SplitPage(context, "PageRegistry", kRegistryHelp, "0/0") {}

RegistryTree& RegistryPage::Registry() const { return Project().registryTree; }
DestinationTree& RegistryPage::Tree() const { return Registry(); }

// The data column is wide enough for a path or a few dozen bytes.
std::vector<ListColumn> RegistryPage::Columns() const {
    return {{TextKeys::kListColumns.Key(11), 150}, {TextKeys::kListColumns.Key(16), 300}};
}

HIMAGELIST RegistryPage::ListImages() {
    return FolderAndIcons({IDI_REGISTRY_STRING, IDI_REGISTRY_BINARY, IDI_REGISTRY_NUMBER});
}

UINT RegistryPage::DeleteRowsCommand() const { return ID_REGISTRY_DELETE; }
UINT RegistryPage::DeleteFolderCommand() const { return ID_REGISTRY_DELETE_KEY; }
UINT RegistryPage::DeleteSelectionCommand() const { return ID_REGISTRY_DELETE_SELECTION; }

std::string RegistryPage::RowText(int row, int column) const {
    const TreeNode* value = RowNode(row);
    if (!value) return std::string();
    return column == 0 ? value->Name() : ValueDataText(value);
}

int RegistryPage::RowImage(int row) const {
    const TreeNode* value = RowNode(row);
    if (RegistryTree::IsStringValue(value)) return kStringImage;
    if (RegistryTree::IsBinaryValue(value)) return kBinaryImage;
    if (RegistryTree::IsNumberValue(value)) return kNumberImage;
    return kFolderImage;
}

bool RegistryPage::CanAdd() const {
    const TreeNode* key = SelectedFolder();
    return key && !DestinationTree::IsTopNode(key);
}

bool RegistryPage::IsPageCommandEnabled(UINT command) const {
    switch (command) {
    case ID_NEW_KEY:
    case ID_NEW_STRING:
    case ID_NEW_BINARY:
    case ID_NEW_DWORD: return CanAdd();
    case ID_PROPERTIES:
        return SendMessageA(const_cast<RegistryPage*>(this)->List().Handle(), LVM_GETSELECTEDCOUNT, 0, 0) == 1;
    default: return false;
    }
}

bool RegistryPage::RunPageCommand(UINT command, LPARAM) {
    switch (command) {
    case ID_NEW_KEY:
        if (CanAdd()) NewKey();
        return true;
    case ID_NEW_STRING:
    case ID_NEW_BINARY:
    case ID_NEW_DWORD:
        if (CanAdd()) NewValue(command);
        return true;
    case ID_PROPERTIES:
        ShowProperties();
        return true;
    case CMD_ACTIVATE_ROW:
        ShowProperties();
        return false;
    default:
        return false;
    }
}

ContextMenu RegistryPage::MenuOf(bool fromTree) const {
    const TextKeySet& texts = TextKeys::kRegistryMenu;
    std::vector<MenuText> items = {{ID_NEW_KEY, texts.Key(1181)}, {ID_NEW_STRING, texts.Key(1182)},
                                   {ID_NEW_BINARY, texts.Key(1183)}, {ID_NEW_DWORD, texts.Key(1184)}};
    if (fromTree) {
        items.push_back({ID_REGISTRY_DELETE_KEY, texts.Key(1186)});
        return {IDR_REGISTRY_TREE_MENU, items, texts.Key(1180)};
    }
    items.push_back({ID_REGISTRY_DELETE, texts.Key(1185)});
    items.push_back({ID_PROPERTIES, texts.Key(1187)});
    return {IDR_REGISTRY_LIST_MENU, items, texts.Key(1180)};
}

void RegistryPage::NewKey() {
    std::string name;
    if (!AskForContainerName(false, name)) return;
    if (TreeNode* key = Registry().AddKey(SelectedFolder(), name, true)) AddTreeItem(key);
}

void RegistryPage::NewValue(UINT command) {
    RegistryValueRecord record;
    record.context = &context_;
    TreeNode* key = SelectedFolder();
    bool accepted = false;
    if (command == ID_NEW_STRING) {
        DialogCreatorOf<StringValueDialog> creator(&record);
        accepted = RunDialog(IDD_STRING_VALUE, creator);
    } else if (command == ID_NEW_BINARY) {
        DialogCreatorOf<BinaryValueDialog> creator(&record);
        accepted = RunDialog(IDD_BINARY_VALUE, creator);
    } else {
        DialogCreatorOf<NumberValueDialog> creator(&record);
        accepted = RunDialog(IDD_DWORD_VALUE, creator);
    }
    if (!accepted || !NameFits(record.name, false)) return;
    if (command == ID_NEW_STRING) Registry().AddStringValue(key, record.name, record.text, true);
    else if (command == ID_NEW_BINARY) Registry().AddBinaryValue(key, record.name, record.bytes, true);
    else Registry().AddNumberValue(key, record.name, record.number, true);
    ShowFolder();
}

void RegistryPage::ShowProperties() {
    const std::vector<int> rows = SelectedRows();
    if (rows.size() != 1) return;
    TreeNode* node = RowNode(rows.front());
    const RegistryValueItem* value = RegistryTree::ValueOf(node);
    if (!value) return;
    RegistryValueRecord record;
    record.context = &context_;
    record.isNew = false;
    record.name = node->Name();
    record.text = value->StringData();
    record.bytes = value->BinaryData();
    record.number = value->NumberData();
    bool accepted = false;
    if (value->ValueType() == RegistryValueItem::kString) {
        DialogCreatorOf<StringValueDialog> creator(&record);
        if ((accepted = RunDialog(IDD_STRING_VALUE, creator))) Registry().SetStringData(node, record.text, true);
    } else if (value->ValueType() == RegistryValueItem::kBinary) {
        DialogCreatorOf<BinaryValueDialog> creator(&record);
        if ((accepted = RunDialog(IDD_BINARY_VALUE, creator))) Registry().SetBinaryData(node, record.bytes, true);
    } else {
        DialogCreatorOf<NumberValueDialog> creator(&record);
        if ((accepted = RunDialog(IDD_DWORD_VALUE, creator))) Registry().SetNumberData(node, record.number, true);
    }
    if (accepted) InvalidateRect(List().Handle(), nullptr, TRUE);
}
