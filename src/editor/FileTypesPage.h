#pragma once
// The File types page: one list of the file associations that the installer registers.
#include "editor/ListPage.h"

class FileTypeList;

class FileTypesPage : public ListPage {
public:
    explicit FileTypesPage(EditorContext& context);
    ProjectParts EditedParts() const override { return kFileTypesPart; }

    void Reload() override;
    bool OnCreateControls() override;
    void Layout(int width, int height) override;
    bool RunCommand(UINT command, LPARAM extra) override;
    bool RunMessage(UINT message, LPARAM extra) override;
    bool IsDeleteCommand(UINT command) const override;
    std::vector<int> RowsDeletedBy(UINT command) const override;
    UINT RowsDeleteCommand() const override;
    TextKey CountedDeleteName() const override { return TextKeys::kCountedDelete.Key(865); }
    bool IsCommandEnabled(UINT command) const override;

protected:
    std::string RowText(int row, int column) const override;
    void DeleteKey(bool inTree) override;

private:
    FileTypeList& Types() const;
    int SelectedCount() const;
    void NewAssociation();
    void ShowProperties();
    void DeleteRows();
};
