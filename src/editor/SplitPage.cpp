#include "editor/SplitPage.h"

#include <algorithm>

#include "editor/EditorContext.h"
#include "editor/ItemDialogs.h"
#include "editor/PageTexts.h"
#include "model/DestinationTree.h"
#include "model/Variables.h"
#include "platform/AppMessages.h"
#include "model/ValueText.h"
#include "ui/DpiResources.h"
#include "ui/FileChoosers.h"
#include "resource.h"

namespace {

// The splitter's width at 96 DPI.
constexpr int kSplitterWidth = 3;
// Tree images: the program's icon for the top node, then the closed and the open folder.
constexpr int kTopNodeImage = 0;
constexpr int kClosedFolderImage = 1;
constexpr int kOpenFolderImage = 2;

// A tree item carries the id of the node it shows.
static_assert(sizeof(LPARAM) >= sizeof(TreeNodeId));
LPARAM ItemData(const TreeNode& node) { return static_cast<LPARAM>(node.Id()); }

}  // namespace

TreeNode* SplitPage::NodeOfItem(HTREEITEM item) const {
    if (!item || !context_.Project()) return nullptr;
    TVITEMA data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (!SendMessageA(tree_.Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return nullptr;
    return Tree().NodeById(static_cast<TreeNodeId>(data.lParam));
}

TreeNode* SplitPage::ShownFolder() const {
    return shownFolder_ != kNoTreeNode && context_.Project() ? Tree().NodeById(shownFolder_) : nullptr;
}

SplitPage::SplitPage(EditorContext& context, const char* className, DWORD helpContext, int page,
                     const char* initialSelection, DeleteCommands deleteCommands)
    : ListPage(context, className, helpContext, page),
      initialSelection_(initialSelection),
      deleteCommands_(deleteCommands),
      splitter_(app_messages::kSplitPosition) {}

// The controls go first: while they exist they may still use the image lists and this page.
SplitPage::~SplitPage() {
    SplitPage::Destroy();
    for (HIMAGELIST images : {treeImages_, listImages_})
        if (images) ImageList_Destroy(images);
}

HIMAGELIST SplitPage::FolderAndIcons(std::initializer_list<int> icons) {
    if (!listImages_) {
        listIcons_.assign(icons);
        listImages_ = MakeListImages();
    }
    return listImages_;
}

HIMAGELIST SplitPage::MakeListImages() const {
    const int size = ImageSize(context_.Dpi());
    HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, static_cast<int>(listIcons_.size()) + 1, 0);
    HICON folder = SystemFolderIcon(false, size);
    ImageList_AddIcon(images, folder);
    if (folder) DestroyIcon(folder);
    for (int id : listIcons_) {
        HICON icon = static_cast<HICON>(
            LoadImageA(context_.ResourceInstance(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
        ImageList_AddIcon(images, icon);
        if (icon) DestroyIcon(icon);
    }
    return images;
}

// The images are made anew at the new size; the old ones go once no control shows them.
void SplitPage::OnDpiChanged() {
    SetWindowFont(tree_.Handle(), context_.Font());
    HIMAGELIST oldTree = treeImages_, oldList = listImages_;
    treeImages_ = listImages_ = nullptr;
    if (oldTree) {
        FillTreeImages();
        SendMessageA(tree_.Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(treeImages_));
    }
    if (oldList) {
        listImages_ = MakeListImages();
        List().SetSmallImages(listImages_);
    }
    for (HIMAGELIST images : {oldTree, oldList})
        if (images) ImageList_Destroy(images);
}

void SplitPage::Destroy() {
    tree_.Destroy();
    splitter_.Destroy();
    ListPage::Destroy();
}

void SplitPage::FillTreeImages() {
    if (treeImages_) return;
    const int size = ImageSize(context_.Dpi());
    treeImages_ = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 3, 0);
    HICON program = static_cast<HICON>(
        LoadImageA(context_.ResourceInstance(), MAKEINTRESOURCEA(IDI_APPLICATION_ICON), IMAGE_ICON, size, size, 0));
    for (HICON icon : {program, SystemFolderIcon(false, size), SystemFolderIcon(true, size)}) {
        ImageList_AddIcon(treeImages_, icon);
        if (icon) DestroyIcon(icon);
    }
}

bool SplitPage::OnCreateControls() {
    const RECT none{0, 0, 0, 0};
    HINSTANCE instance = context_.ResourceInstance();
    if (!CreateList(none, Columns(), editable_)) return false;
    if (HIMAGELIST images = ListImages()) List().SetSmallImages(images);
    FillTreeImages();
    if (!tree_.HasWindow()) {
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                            TVS_SHOWSELALWAYS | WS_BORDER;
        if (!tree_.Create(WS_EX_CLIENTEDGE, style, none, Handle(), IDC_PAGE_TREE, instance)) return false;
        SetWindowFont(tree_.Handle(), context_.Font());
        SendMessageA(tree_.Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(treeImages_));
    }
    if (!splitter_.HasWindow() && !splitter_.Create(Handle(), none, IDC_PAGE_SPLITTER, instance)) return false;
    ShowWindow(splitter_.Handle(), SW_SHOW);
    return true;
}

void SplitPage::Layout(int width, int height) {
    const int percent = localSplit_ >= 0 ? localSplit_ : context_.SplitPosition();
    const int split = std::max(0, width * percent / 100);
    const int splitter = context_.Dpi().Scale(kSplitterWidth);
    MoveWindow(tree_.Handle(), 0, 0, split, height, TRUE);
    MoveWindow(splitter_.Handle(), split, 0, splitter, height, TRUE);
    MoveWindow(List().Handle(), split + splitter, 0, std::max(0, width - split - splitter), height, TRUE);
}

HTREEITEM SplitPage::InsertTreeItem(HTREEITEM parentItem, TreeNode* container) {
    const bool top = DestinationTree::IsTopNode(container);
    return tree_.InsertItemAt(NodeDisplayName(container->Name()), top ? kTopNodeImage : kClosedFolderImage,
                              top ? kTopNodeImage : kOpenFolderImage, ItemData(*container),
                              parentItem, static_cast<int>(DestinationTree::Position(container)));
}

void SplitPage::Reload() {
    if (!tree_.HasWindow() || !context_.Project()) return;
    SendMessageA(tree_.Handle(), WM_SETREDRAW, FALSE, 0);
    SendMessageA(tree_.Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    // Containers come first among their siblings and the walk visits a parent before its
    // children, so each item goes in after its earlier siblings: at the end of its parent's.
    std::vector<std::pair<const TreeNode*, HTREEITEM>> chain;
    Tree().Walk([&](const TreeNode& node) {
        if (!DestinationTree::IsContainer(&node)) return;
        while (!chain.empty() && chain.back().first != node.Parent()) chain.pop_back();
        HTREEITEM parent = chain.empty() ? TVI_ROOT : chain.back().second;
        const bool top = DestinationTree::IsTopNode(&node);
        HTREEITEM item = tree_.InsertItem(NodeDisplayName(node.Name()), top ? kTopNodeImage : kClosedFolderImage,
                                          top ? kTopNodeImage : kOpenFolderImage,
                                          ItemData(node), parent, TVI_LAST);
        chain.emplace_back(&node, item);
    });
    SendMessageA(tree_.Handle(), WM_SETREDRAW, TRUE, 0);
    tree_.Expand(tree_.Root());
    HTREEITEM first = tree_.ItemFromPath(initialSelection_);
    for (HTREEITEM up = first ? reinterpret_cast<HTREEITEM>(SendMessageA(tree_.Handle(), TVM_GETNEXTITEM, TVGN_PARENT,
                                                                           reinterpret_cast<LPARAM>(first)))
                              : nullptr;
         up; up = reinterpret_cast<HTREEITEM>(
                 SendMessageA(tree_.Handle(), TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(up))))
        tree_.Expand(up);
    tree_.Select(first ? first : tree_.Root());
    ShowFolder();
}

std::string SplitPage::SelectionPath() const {
    const TreeNode* folder = SelectedFolder();
    return folder ? DestinationTree::IndexPath(folder, '/') : std::string();
}

// The folder at the path, or the nearest one above it that is there (a deleted folder's parent).
void SplitPage::SelectPath(const std::string& path) {
    if (!tree_.HasWindow()) return;
    std::string place = path;
    for (;;) {
        const TreeNode* node = Tree().FindByIndexPath(place, '/');
        HTREEITEM item = DestinationTree::IsContainer(node) ? ItemOf(node) : nullptr;
        if (item) {
            tree_.Select(item);
            return;
        }
        const size_t cut = place.find_last_of('/');
        if (cut == std::string::npos) return;
        place.resize(cut);
    }
}

TreeNode* SplitPage::SelectedFolder() const { return NodeOfItem(tree_.Selection()); }

size_t SplitPage::FirstRow(const TreeNode* folder) const {
    if (!folder || !LeavesOnly()) return 0;
    size_t first = 0;
    while (first < folder->ChildCount() && DestinationTree::IsContainer(folder->Child(first))) ++first;
    return first;
}

int SplitPage::RowCount(const TreeNode* folder) const {
    return folder ? static_cast<int>(folder->ChildCount() - FirstRow(folder)) : 0;
}

TreeNode* SplitPage::RowNode(int row) const {
    const TreeNode* folder = ShownFolder();
    if (!folder || row < 0) return nullptr;
    return folder->Child(FirstRow(folder) + static_cast<size_t>(row));
}

TreeNode* SplitPage::SingleRowNode() const {
    const std::vector<int> rows = SelectedRows();
    return rows.size() == 1 ? RowNode(rows.front()) : nullptr;
}

void SplitPage::ShowFolder() {
    ForgetRows();
    const TreeNode* folder = SelectedFolder();
    shownFolder_ = folder ? folder->Id() : kNoTreeNode;
    ResetRows(RowCount(folder));
    ReportSelection();
}

void SplitPage::ReportSelection() const {
    if (!editable_) SendMessageA(GetParent(Handle()), app_messages::kPageSelection, 0, 0);
}

// The item at the node's place, when it shows that node.
HTREEITEM SplitPage::ItemOf(const TreeNode* node) const {
    if (!node) return nullptr;
    HTREEITEM parent = node->Parent() ? ItemOf(node->Parent()) : TVI_ROOT;
    HTREEITEM item = parent ? tree_.ChildAt(parent, static_cast<int>(DestinationTree::Position(node))) : nullptr;
    return item && NodeOfItem(item) == node ? item : nullptr;
}

void SplitPage::AddTreeItem(TreeNode* container) {
    HTREEITEM parent = ItemOf(container->Parent());
    InsertTreeItem(parent, container);
    tree_.Expand(parent);
    ShowFolder();
}

bool SplitPage::CanAddToFolder() const {
    const TreeNode* folder = SelectedFolder();
    return folder && !DestinationTree::IsTopNode(folder);
}

void SplitPage::CheckNamesOfNew(ItemRecord& record, bool container) const {
    record.checkName = [this, container](const std::string& name) {
        return CheckNewName(Tree(), SelectedFolder(), name, container);
    };
}

bool SplitPage::AskForFolderName(std::string& name) const {
    NameRecord record;
    record.context = &context_;
    CheckNamesOfNew(record, true);
    if (!RunItemDialog<NewNameDialog>(IDD_NEW_FOLDER, record)) return false;
    name = record.name;
    return true;
}

bool SplitPage::CanDeleteRow(const TreeNode* node) const { return node && !DestinationTree::IsFixed(node); }

bool SplitPage::CanDeleteFolder() const {
    const TreeNode* folder = SelectedFolder();
    return folder && !DestinationTree::IsFixed(folder) && !DestinationTree::IsTopNode(folder);
}

void SplitPage::DeleteRows() {
    std::vector<int> rows = SelectedRows();
    std::vector<const TreeNode*> going;
    for (int row : rows)
        if (CanDeleteRow(RowNode(row))) going.push_back(RowNode(row));
    if (going.empty() || !ConfirmDelete(going)) return;
    bool removed = false;
    // From the last row to the first, so that the rows still to go keep their numbers.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        TreeNode* node = RowNode(*row);
        if (!CanDeleteRow(node)) continue;
        if (DestinationTree::IsContainer(node)) tree_.Delete(ItemOf(node));
        Tree().Remove(node);
        removed = true;
    }
    if (!removed) return;
    Tree().SetModified();
    ShowFolder();
}

void SplitPage::DeleteFolder() {
    TreeNode* folder = SelectedFolder();
    if (!CanDeleteFolder() || !ConfirmDelete({folder})) return;
    HTREEITEM item = tree_.Selection();
    // The tree moves its selection before the node goes: the list must not show it meanwhile.
    shownFolder_ = kNoTreeNode;
    ResetRows(0);
    HTREEITEM next = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree_.Handle(), TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
    tree_.Select(next);
    tree_.Delete(item);
    Tree().Remove(folder);
    Tree().SetModified();
    tree_.Expand(tree_.Selection());
    ShowFolder();
}

bool SplitPage::OpenFolderRow(int row) {
    TreeNode* node = RowNode(row);
    if (!DestinationTree::IsContainer(node)) return false;
    HTREEITEM item = ItemOf(node);
    tree_.Expand(tree_.Selection());
    tree_.Expand(item);
    tree_.Select(item);
    return true;
}

void SplitPage::DeleteKey(bool inTree) {
    if (!editable_) return;
    if (inTree) {
        if (CanDeleteFolder()) DeleteFolder();
    } else if (IsCommandEnabled(deleteCommands_.rows)) {
        DeleteRows();
    }
}

bool SplitPage::RunCommand(UINT command, LPARAM extra) {
    if (command == deleteCommands_.rows) {
        DeleteRows();
        return true;
    }
    if (command == deleteCommands_.folder) {
        DeleteFolder();
        return true;
    }
    if (command == deleteCommands_.selection) {
        if (IsCommandEnabled(deleteCommands_.rows)) DeleteRows();
        else DeleteFolder();
        return true;
    }
    if (command == ID_PROPERTIES) {
        ShowSelectedProperties();
        return true;
    }
    return RunPageCommand(command, extra);
}

bool SplitPage::RunMessage(UINT message, LPARAM extra) {
    if (message == app_messages::kSplitPosition && !editable_) {
        localSplit_ = static_cast<int>(extra);
        Relayout();
        return true;
    }
    if (message == app_messages::kActivateRow) {
        if (OpenFolderRow(static_cast<int>(extra))) return true;
        // Any other row: its Properties; in the read-only chooser the hosting dialog takes it.
        if (editable_) ShowSelectedProperties();
    }
    return false;
}

bool SplitPage::IsDeleteCommand(UINT command) const {
    return command == deleteCommands_.rows || command == deleteCommands_.folder || command == deleteCommands_.selection;
}

std::vector<int> SplitPage::RowsDeletedBy(UINT command) const {
    if (command == deleteCommands_.selection && IsCommandEnabled(deleteCommands_.rows)) command = deleteCommands_.rows;
    std::vector<int> rows;
    if (command != deleteCommands_.rows) return rows;
    for (int row : SelectedRows())
        if (CanDeleteRow(RowNode(row))) rows.push_back(row);
    return rows;
}

bool SplitPage::RowIsContainer(int row) const {
    const TreeNode* node = RowNode(row);
    return node && DestinationTree::IsContainer(node);
}

void SplitPage::ShowSelectedProperties() {
    TreeNode* node = SingleRowNode();
    if (HasProperties(node)) ShowProperties(node);
}

bool SplitPage::IsCommandEnabled(UINT command) const {
    if (command == deleteCommands_.rows) {
        const TreeNode* folder = SelectedFolder();
        if (!folder) return false;
        int row = -1;
        while ((row = static_cast<int>(SendMessageA(const_cast<SplitPage*>(this)->List().Handle(), LVM_GETNEXTITEM,
                                                     row, LVNI_SELECTED))) >= 0)
            if (CanDeleteRow(RowNode(row))) return true;
        return false;
    }
    if (command == deleteCommands_.folder) return CanDeleteFolder();
    if (command == deleteCommands_.selection) return IsCommandEnabled(deleteCommands_.rows) || CanDeleteFolder();
    if (command == ID_PROPERTIES) return HasProperties(SingleRowNode());
    return IsPageCommandEnabled(command);
}

bool SplitPage::OnNotify(int controlId, NMHDR* header, LRESULT& result) {
    if (controlId == IDC_PAGE_LIST && header->code == LVN_ITEMCHANGED) {
        ReportSelection();
        return false;
    }
    if (controlId != IDC_PAGE_TREE) return ListPage::OnNotify(controlId, header, result);
    switch (header->code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        ShowFolder();
        return true;
    case TVN_KEYDOWN: {
        const WORD key = reinterpret_cast<NMTVKEYDOWN*>(header)->wVKey;
        if (key == VK_INSERT) OpenContextMenu(tree_.Handle(), -1, -1);
        else if (key == VK_DELETE) DeleteKeyAsEdit(true);
        return false;
    }
    case NM_RCLICK: {
        POINT point{};
        GetCursorPos(&point);
        ScreenToClient(tree_.Handle(), &point);
        if (HTREEITEM item = tree_.HitTest(point)) tree_.Select(item);
        return false;
    }
    default:
        return false;
    }
}
