#pragma once
// The Shortcuts page: the shortcut folders in the tree; sub-folders, shortcuts and internet
// shortcuts of the selected folder in the list. A new shortcut starts from a file of the project.
#include "editor/SplitPage.h"

class ShortcutTree;
struct ShortcutRecord;

class ShortcutsPage : public SplitPage {
public:
    explicit ShortcutsPage(EditorContext& context);
    ProjectParts EditedParts() const override { return kShortcutsPart; }

protected:
    TextKey CountedDeleteName() const override { return TextKeys::kCountedDelete.Key(863); }
    DestinationTree& Tree() const override;
    std::vector<ListColumn> Columns() const override;
    HIMAGELIST ListImages() override;
    bool HasProperties(const TreeNode* node) const override;
    void ShowProperties(TreeNode* node) override;
    bool RunPageCommand(UINT command, LPARAM extra) override;
    bool IsPageCommandEnabled(UINT command) const override;
    std::string RowText(int row, int column) const override;
    int RowImage(int row) const override;

private:
    ShortcutTree& Shortcuts() const;
    void NewFolder();
    void NewShortcut();
    void NewInternetShortcut();
    // The dialog of the record's kind of shortcut; true when it ended with OK.
    bool RunShortcutDialog(ShortcutRecord& record) const;
    // Asks for the fields of the new shortcut in `record` and adds it to the selected folder.
    void AddShortcut(ShortcutRecord& record);
};
