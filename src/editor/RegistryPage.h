#pragma once
// The Registry page: the keys in the tree, the values of the selected key in the list with
// their data, and the dialogs that add keys and the three kinds of values and edit values.
#include "editor/SplitPage.h"
#include "model/RegistryTree.h"

struct RegistryValueRecord;

class RegistryPage : public SplitPage {
public:
    explicit RegistryPage(EditorContext& context);
    ProjectParts EditedParts() const override { return kRegistryPart; }

protected:
    TextKey CountedDeleteName() const override { return TextKeys::kCountedDelete.Key(864); }
    DestinationTree& Tree() const override;
    std::vector<ListColumn> Columns() const override;
    bool LeavesOnly() const override { return true; }
    HIMAGELIST ListImages() override;
    bool HasProperties(const TreeNode* node) const override;
    void ShowProperties(TreeNode* node) override;
    bool RunPageCommand(UINT command, LPARAM extra) override;
    bool IsPageCommandEnabled(UINT command) const override;
    std::string RowText(int row, int column) const override;
    int RowImage(int row) const override;

private:
    RegistryTree& Registry() const;
    void NewKey();
    // The dialog of a value of `type`; true when it ended with OK.
    bool RunValueDialog(RegistryValueItem::Type type, RegistryValueRecord& record) const;
    // Adds a value of the kind of the command through its dialog.
    void NewValue(UINT command);
};
