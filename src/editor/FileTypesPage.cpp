#include "editor/FileTypesPage.h"

#include "editor/EditorContext.h"
#include "platform/AppMessages.h"
#include "editor/ItemDialogs.h"
#include "editor/PageTexts.h"
#include "model/ProjectDocument.h"
#include "resource.h"

namespace {

constexpr DWORD kFileTypesHelp = 1150;

}  // namespace

FileTypesPage::FileTypesPage(EditorContext& context)
    : ListPage(context, "PageFileTypes", kFileTypesHelp, kFileTypesPage) {}

FileTypeList& FileTypesPage::Types() const { return Project().fileTypes; }

bool FileTypesPage::OnCreateControls() {
    const TextKeySet& headers = TextKeys::kFileTypeColumns;
    return CreateList(RECT{0, 0, 0, 0},
                      {{headers.Key(20), 70}, {headers.Key(21), 120}, {headers.Key(22), 120}, {headers.Key(23), 120},
                       {headers.Key(24), 120}, {headers.Key(25), 80}},
                      true);
}

void FileTypesPage::Layout(int width, int height) { MoveWindow(List().Handle(), 0, 0, width, height, TRUE); }

void FileTypesPage::Reload() {
    if (List().HasWindow() && context_.Project()) ResetRows(static_cast<int>(Types().Count()));
}

std::string FileTypesPage::RowText(int row, int column) const {
    const FileTypeRecord* type = Types().GetAt(static_cast<size_t>(row));
    if (!type) return std::string();
    switch (column) {
    case 0: return type->extension;
    case 1: return type->identifier;
    case 2: return type->fullName;
    case 3: return type->programPath;
    case 4: return type->iconPath;
    case 5: return std::to_string(type->iconNumber);
    default: return std::string();
    }
}

int FileTypesPage::SelectedCount() const {
    HWND list = const_cast<FileTypesPage*>(this)->List().Handle();
    return static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
}

bool FileTypesPage::IsCommandEnabled(UINT command) const {
    switch (command) {
    case ID_NEW_FILE_ASSOCIATION: return true;
    case ID_FILE_TYPES_DELETE: return SelectedCount() > 0;
    case ID_PROPERTIES: return SelectedCount() == 1;
    default: return false;
    }
}

bool FileTypesPage::RunCommand(UINT command, LPARAM) {
    switch (command) {
    case ID_NEW_FILE_ASSOCIATION: NewAssociation(); return true;
    case ID_FILE_TYPES_DELETE: DeleteRows(); return true;
    case ID_PROPERTIES: ShowProperties(); return true;
    default: return false;
    }
}

bool FileTypesPage::IsDeleteCommand(UINT command) const { return command == ID_FILE_TYPES_DELETE; }
UINT FileTypesPage::RowsDeleteCommand() const { return ID_FILE_TYPES_DELETE; }

std::vector<int> FileTypesPage::RowsDeletedBy(UINT command) const {
    return command == ID_FILE_TYPES_DELETE ? SelectedRows() : std::vector<int>{};
}

bool FileTypesPage::RunMessage(UINT message, LPARAM) {
    if (message == app_messages::kActivateRow) ShowProperties();
    return false;
}

void FileTypesPage::DeleteKey(bool) {
    if (SelectedCount() > 0) DeleteRows();
}

void FileTypesPage::NewAssociation() {
    FileTypeDialogRecord record;
    record.context = &context_;
    record.fileType = FileTypeRecord::Offered(".abc");
    if (!RunItemDialog<FileTypeDialog>(IDD_FILE_TYPE, record)) return;
    const FileTypeRecord& type = record.fileType;
    if (Types().FindByExtension(type.extension)) {
        Warn(kFileTypeExists, type.extension);
        return;
    }
    Types().Add(type.extension, type.identifier, type.fullName, type.programPath, type.iconPath, type.iconNumber, true);
    Reload();
}

void FileTypesPage::ShowProperties() {
    const std::vector<int> rows = SelectedRows();
    if (rows.size() != 1) return;
    const size_t index = static_cast<size_t>(rows.front());
    const FileTypeRecord* existing = Types().GetAt(index);
    if (!existing) return;
    FileTypeDialogRecord record;
    record.context = &context_;
    record.isNew = false;
    record.fileType = *existing;
    if (!RunItemDialog<FileTypeDialog>(IDD_FILE_TYPE, record)) return;
    const FileTypeRecord& type = record.fileType;
    Types().Update(index, type.extension, type.identifier, type.fullName, type.programPath, type.iconPath,
                   type.iconNumber, true);
    Reload();
}

void FileTypesPage::DeleteRows() {
    const std::vector<int> rows = SelectedRows();
    bool removed = false;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) removed |= Types().RemoveAt(static_cast<size_t>(*row));
    if (removed) Types().SetModified(true);
    Reload();
}
