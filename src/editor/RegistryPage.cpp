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

RegistryPage::RegistryPage(EditorContext& context)
    : SplitPage(context, "PageRegistry", kRegistryHelp, kRegistryPage, "0/0",
                {ID_REGISTRY_DELETE, ID_REGISTRY_DELETE_KEY, ID_REGISTRY_DELETE_SELECTION}) {}

RegistryTree& RegistryPage::Registry() const { return Project().registryTree; }
DestinationTree& RegistryPage::Tree() const { return Registry(); }

// The data column is wide enough for a path or a few dozen bytes.
std::vector<ListColumn> RegistryPage::Columns() const {
    return {{TextKeys::kListColumns.Key(11), 150}, {TextKeys::kListColumns.Key(16), 300}};
}

HIMAGELIST RegistryPage::ListImages() {
    return FolderAndIcons({IDI_REGISTRY_STRING, IDI_REGISTRY_BINARY, IDI_REGISTRY_NUMBER});
}

std::string RegistryPage::RowText(int row, int column) const {
    const TreeNode* value = RowNode(row);
    if (!value) return std::string();
    return column == 0 ? value->Name() : ValueDataText(value);
}

int RegistryPage::RowImage(int row) const {
    const TreeNode* value = RowNode(row);
    if (RegistryTree::IsTextValue(value)) return kStringImage;
    if (RegistryTree::IsBinaryValue(value)) return kBinaryImage;
    if (RegistryTree::IsNumberValue(value)) return kNumberImage;
    return kFolderImage;
}

bool RegistryPage::IsPageCommandEnabled(UINT command) const {
    switch (command) {
    case ID_NEW_KEY:
    case ID_NEW_STRING:
    case ID_NEW_BINARY:
    case ID_NEW_DWORD: return CanAddToFolder();
    default: return false;
    }
}

bool RegistryPage::RunPageCommand(UINT command, LPARAM) {
    switch (command) {
    case ID_NEW_KEY:
        if (CanAddToFolder()) NewKey();
        return true;
    case ID_NEW_STRING:
    case ID_NEW_BINARY:
    case ID_NEW_DWORD:
        if (CanAddToFolder()) NewValue(command);
        return true;
    default:
        return false;
    }
}

// A name with backslashes ("Software\Company\Product") makes the whole chain of keys.
void RegistryPage::NewKey() {
    NameRecord record;
    record.context = &context_;
    record.folder = false;
    record.checkName = [this](const std::string& path) { return CheckNewKeyPath(Registry(), SelectedFolder(), path); };
    if (!RunItemDialog<NewNameDialog>(IDD_NEW_KEY, record)) return;
    for (TreeNode* key : Registry().AddKeyChain(SelectedFolder(), record.name, true)) AddTreeItem(key);
}

bool RegistryPage::RunValueDialog(RegistryValueItem::Type type, RegistryValueRecord& record) const {
    switch (type) {
    case RegistryValueItem::kBinary: return RunItemDialog<BinaryValueDialog>(IDD_BINARY_VALUE, record);
    case RegistryValueItem::kNumber: return RunItemDialog<NumberValueDialog>(IDD_DWORD_VALUE, record);
    default: return RunItemDialog<StringValueDialog>(IDD_STRING_VALUE, record);
    }
}

void RegistryPage::NewValue(UINT command) {
    RegistryValueRecord record;
    record.context = &context_;
    const RegistryValueItem::Type type = command == ID_NEW_STRING   ? RegistryValueItem::kString
                                         : command == ID_NEW_BINARY ? RegistryValueItem::kBinary
                                                                    : RegistryValueItem::kNumber;
    CheckNamesOfNew(record, false);
    if (!RunValueDialog(type, record)) return;
    TreeNode* key = SelectedFolder();
    if (!key) return;
    if (type == RegistryValueItem::kString) Registry().AddTextValue(key, record.name, record.type, record.text, true);
    else if (type == RegistryValueItem::kBinary) Registry().AddBinaryValue(key, record.name, record.bytes, true);
    else Registry().AddNumberValue(key, record.name, record.number, true);
    ShowFolder();
}

bool RegistryPage::HasProperties(const TreeNode* node) const { return RegistryTree::ValueOf(node) != nullptr; }

void RegistryPage::ShowProperties(TreeNode* node) {
    const RegistryValueItem* value = RegistryTree::ValueOf(node);
    RegistryValueRecord record;
    record.context = &context_;
    record.isNew = false;
    record.name = node->Name();
    record.type = value->ValueType();
    record.text = RegistryTree::TextOf(node);
    record.bytes = value->BinaryData();
    record.number = value->NumberData();
    const RegistryValueItem::Type type = value->ValueType();
    const TreeNodeId id = node->Id();
    if (!RunValueDialog(type, record)) return;
    // The value is found again: the dialog's own message loop ran meanwhile.
    node = Registry().NodeById(id);
    if (!node) return;
    if (RegistryValueItem::IsTextType(type)) Registry().SetTextValue(node, record.type, record.text, true);
    else if (type == RegistryValueItem::kBinary) Registry().SetBinaryData(node, record.bytes, true);
    else Registry().SetNumberData(node, record.number, true);
    InvalidateRect(List().Handle(), nullptr, TRUE);
}
