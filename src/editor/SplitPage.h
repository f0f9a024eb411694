#pragma once
// The design that the Files, Shortcuts and Registry pages share: the folders (or keys) of a
// destination tree in a tree control on the left, a splitter at the shared split position, and
// on the right an owner-data list of the entries of the folder selected in the tree.
//
// Each tree item carries the id of the node it shows, so that what the user selected is always
// the node acted on, however deep the tree or long its names, and a node removed since is found
// no more instead of being used after it went. The tree holds exactly the containers of
// the document in the document's order: a container's tree item is the child of its parent's
// item at the container's position among its siblings (containers come first).
#include <initializer_list>
#include <string>
#include <vector>

#include "editor/ListPage.h"
#include "model/DestinationTree.h"
#include "ui/Splitter.h"
#include "ui/TreeViewControl.h"

class DestinationTree;
class TreeNode;
struct ItemRecord;

// The page's three delete commands: the rows, the tree's folder, and the toolbar's, which
// deletes the rows when it can and the folder otherwise.
struct DeleteCommands {
    UINT rows;
    UINT folder;
    UINT selection;
};

class SplitPage : public ListPage {
public:
    // `initialSelection` is the index path of the tree item selected after Reload ("0/0").
    SplitPage(EditorContext& context, const char* className, DWORD helpContext, int page,
              const char* initialSelection, DeleteCommands deleteCommands);
    ~SplitPage() override;

    void Destroy() override;
    void Reload() override;
    bool OnCreateControls() override;
    void Layout(int width, int height) override;
    bool OnNotify(int controlId, NMHDR* header, LRESULT& result) override;
    std::string SelectionPath() const override;
    void SelectPath(const std::string& path) override;

    // The container selected in the tree; null when none is (or its node is gone).
    TreeNode* SelectedFolder() const;
    // The node shown in `row` of the list; null past the end.
    TreeNode* RowNode(int row) const;
    // The node of the single selected row; null when none or several rows are selected.
    TreeNode* SingleRowNode() const;

protected:
    virtual DestinationTree& Tree() const = 0;
    virtual std::vector<ListColumn> Columns() const = 0;
    // Whether the list shows only the leaves of a folder (the registry's values).
    virtual bool LeavesOnly() const { return false; }
    // The list's image list; none leaves it without images.
    virtual HIMAGELIST ListImages() { return nullptr; }
    // Whether the node of a row has a Properties dialog, and that dialog for it.
    virtual bool HasProperties(const TreeNode* node) const = 0;
    virtual void ShowProperties(TreeNode* node) = 0;
    // The page's own commands, after the shared ones.
    virtual bool RunPageCommand(UINT command, LPARAM extra) = 0;
    virtual bool IsPageCommandEnabled(UINT command) const = 0;
    // Whether the page allows a new folder (and, where there is only one test, anything) in
    // the selected folder.
    virtual bool CanDeleteRow(const TreeNode* node) const;
    // Whether the nodes (with all below them) may go; asked before anything is deleted.
    virtual bool ConfirmDelete(const std::vector<const TreeNode*>& /*nodes*/) const { return true; }
    virtual bool CanDeleteFolder() const;

    bool RunCommand(UINT command, LPARAM extra) override;
    bool RunMessage(UINT message, LPARAM extra) override;
    bool IsDeleteCommand(UINT command) const override;
    std::vector<int> RowsDeletedBy(UINT command) const override;
    UINT RowsDeleteCommand() const override { return deleteCommands_.rows; }
    bool RowIsContainer(int row) const override;
    bool IsCommandEnabled(UINT command) const override;
    void DeleteKey(bool inTree) override;
    HWND TreeHandle() const override { return tree_.Handle(); }

    // Shows the selected folder's entries again: the row count, nothing selected.
    void ShowFolder();
    // What a page keeps about the rows of the folder shown (read from disk) goes stale when
    // another folder is shown or the folder changes.
    virtual void ForgetRows() {}
    // The number of rows of `folder`, and the position of its first row among its children.
    int RowCount(const TreeNode* folder) const;
    size_t FirstRow(const TreeNode* folder) const;
    // A new container's tree item under its parent's, at the node's place; the parent is
    // expanded, the selection stays and its folder is shown again.
    void AddTreeItem(TreeNode* container);
    // A new container's tree item under `parentItem` at the node's place.
    HTREEITEM InsertTreeItem(HTREEITEM parentItem, TreeNode* container);
    // The item that shows the container `node`, found from its parent's item.
    HTREEITEM ItemOf(const TreeNode* node) const;

    // Whether something new may go into the selected folder: there is one, and it is not the
    // top node.
    bool CanAddToFolder() const;
    // Has the record's dialog refuse a name that a sibling in the selected folder has, or that the
    // tree cannot keep, while the user can still mend it.
    void CheckNamesOfNew(ItemRecord& record, bool container) const;
    // Asks for the name of a new folder in the selected folder; true with a name that fits there.
    bool AskForFolderName(std::string& name) const;

    void DeleteRows();
    void DeleteFolder();
    // The list's images, made once: the closed folder, then the program's icons `icons`.
    HIMAGELIST FolderAndIcons(std::initializer_list<int> icons);
    // A folder row opens that folder in the tree; true when the row was one.
    bool OpenFolderRow(int row);

    TreeViewControl tree_;
    int localSplit_ = -1;

private:
    // The node an item of the tree shows; null when it is gone.
    TreeNode* NodeOfItem(HTREEITEM item) const;
    // The folder whose entries the list shows; null when none is or it is gone.
    TreeNode* ShownFolder() const;
    void FillTreeImages();
    // The list's images at the context's DPI: the closed folder, then the icons `listIcons_`.
    HIMAGELIST MakeListImages() const;
    // The tree's font and the images of tree and list at the context's DPI.
    void OnDpiChanged() override;
    // The Properties dialog of the single selected row, when it has one.
    void ShowSelectedProperties();
    // Tells the hosting dialog of a read-only page that the selection changed.
    void ReportSelection() const;

    const char* initialSelection_;
    DeleteCommands deleteCommands_;
    // The id of the folder whose entries the list shows: the tree's selection when ShowFolder
    // ran, which runs after every change of the selection or of the folder.
    TreeNodeId shownFolder_ = kNoTreeNode;
    Splitter splitter_;
    HIMAGELIST treeImages_ = nullptr;
    HIMAGELIST listImages_ = nullptr;
    std::vector<int> listIcons_;
};
