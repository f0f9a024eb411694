#pragma once
// The Files page: the destination folders of the product's files in the tree, the entries of the
// selected folder in the list with the size, type, time and source folder of each file. Files
// come in through Insert Files and by drag and drop from the shell; whole folders dropped merge
// into a folder of the same name. The same page, read-only, lets the choose file dialog pick a
// file of the project.
#include "editor/ShellFileInfo.h"
#include "editor/SplitPage.h"

class FileTree;

class FilesPage : public SplitPage {
public:
    // `editable` false makes the read-only chooser: one row at a time, no menus, no Properties.
    FilesPage(EditorContext& context, bool editable = true);
    ProjectParts EditedParts() const override { return kFilesPart; }

    void OnDropFiles(HDROP drop) override;
    // The sizes and times of the files shown are read from the disk again.
    void RefreshFromDisk() override;
    // The destination path of a row in the project's short form ("%AppDir%\Bin\Tool.exe").
    std::string RowShortPath(int row) const;
    // The file shown in the single selected row, or null when none or a folder is selected.
    const TreeNode* SelectedFile() const;

protected:
    TextKey CountedDeleteName() const override { return TextKeys::kCountedDelete.Key(862); }
    DestinationTree& Tree() const override;
    std::vector<ListColumn> Columns() const override;
    HIMAGELIST ListImages() override { return shell_.SmallImages(); }
    bool HasProperties(const TreeNode* node) const override;
    void ShowProperties(TreeNode* file) override;
    bool RunPageCommand(UINT command, LPARAM extra) override;
    bool IsPageCommandEnabled(UINT command) const override;
    std::string RowText(int row, int column) const override;
    int RowImage(int row) const override;
    void ForgetRows() override { shell_.ForgetDisk(); }
    bool ConfirmDelete(const std::vector<const TreeNode*>& nodes) const override;

private:
    FileTree& Files() const;
    // The source path as the disk knows it: relative paths lie below the project's folder.
    std::string DiskPath(const TreeNode* file) const;
    void NewFolder();
    void InsertFiles();
    // Adds the files to the selected folder and names those it could not take.
    void AddFiles(const std::vector<std::string>& paths);
    // A dropped folder with its whole subtree under the selected folder; files it could not
    // take are appended to `refused`.
    void AddDroppedFolder(const std::string& path, std::vector<std::string>& refused);
    void ReportRefused(const std::vector<std::string>& refused) const;

    mutable ShellFileInfo shell_;
};
