#pragma once
// The dialogs that create or edit one item of the files, shortcuts and file types pages, and
// the registry page's dialogs, each with its exchange record.
#include <cstdint>
#include <string>

#include "editor/ItemDialog.h"
#include "model/FileTypes.h"
#include "model/RegistryTree.h"
#include "model/ShortcutTree.h"

// The name of a new folder (file or shortcut folder) or of a new registry key.
struct NameRecord : ItemRecord {
    // A folder's name, or else a key's.
    bool folder = true;
    std::string name;
};

// Folder names may not hold the characters that no file name can; key names only must not be
// empty.
class NewNameDialog : public RecordDialog<NameRecord> {
public:
    NewNameDialog(HWND dialog, void* record);
    bool OnInitDialog(HWND dialog) override;

protected:
    bool Accept(HWND dialog) override;
};

struct FilePropertiesRecord : ItemRecord {
    std::string name;
    std::string type;
    // The source as the project keeps it (relative paths lie below `projectFolder`, the saved
    // project's folder, empty for a new project); Browse may replace it.
    std::string source;
    std::string projectFolder;
    std::string destination;
    int options = 0;
    int replaceMode = 0;
};

// Browse chooses another source file for a product file renamed, moved or replaced on the disk.
class FilePropertiesDialog : public RecordDialog<FilePropertiesRecord> {
public:
    FilePropertiesDialog(HWND dialog, void* record);
    bool OnInitDialog(HWND dialog) override;

protected:
    bool Accept(HWND dialog) override;
    bool OnButton(HWND dialog, int id) override;

private:
    std::string source_;  // the source the dialog shows, the record's until Browse chooses another
};

struct ShortcutRecord : ItemRecord {
    std::string name;
    ShortcutFields fields;
};

class ShortcutDialog : public RecordDialog<ShortcutRecord> {
public:
    ShortcutDialog(HWND dialog, void* record);
    bool OnInitDialog(HWND dialog) override;

protected:
    bool Accept(HWND dialog) override;
    bool OnButton(HWND dialog, int id) override;
};

class InternetShortcutDialog : public RecordDialog<ShortcutRecord> {
public:
    InternetShortcutDialog(HWND dialog, void* record);
    bool OnInitDialog(HWND dialog) override;

protected:
    bool Accept(HWND dialog) override;
};

struct FileTypeDialogRecord : ItemRecord {
    FileTypeRecord fileType;
};

// A new type's identifier and full name follow its extension as typed until the user edits them.
class FileTypeDialog : public RecordDialog<FileTypeDialogRecord> {
public:
    FileTypeDialog(HWND dialog, void* record);
    bool OnInitDialog(HWND dialog) override;
    void OnEditChange(HWND dialog, int controlId) override;

protected:
    bool Accept(HWND dialog) override;
    bool OnButton(HWND dialog, int id) override;

private:
    FileTypeRecord offeredBefore_;  // what the extension offered before its latest change
};

struct RegistryValueRecord : ItemRecord {
    std::string name;
    // The string value dialog's type: a string, an expandable string or a multi-string, whose
    // strings `text` holds one a line.
    RegistryValueItem::Type type = RegistryValueItem::kString;
    std::string text;
    Bytes bytes;
    std::uint32_t number = 0;
};

class StringValueDialog : public RecordDialog<RegistryValueRecord> {
public:
    StringValueDialog(HWND dialog, void* record);
    bool OnInitDialog(HWND dialog) override;

protected:
    bool Accept(HWND dialog) override;
};

class BinaryValueDialog : public RecordDialog<RegistryValueRecord> {
public:
    BinaryValueDialog(HWND dialog, void* record);
    bool OnInitDialog(HWND dialog) override;

protected:
    bool Accept(HWND dialog) override;
};

class NumberValueDialog : public RecordDialog<RegistryValueRecord> {
public:
    NumberValueDialog(HWND dialog, void* record);
    bool OnInitDialog(HWND dialog) override;

protected:
    bool Accept(HWND dialog) override;
    bool OnButton(HWND dialog, int id) override;

private:
    // The base the data field shows its number in.
    bool showingHexadecimal_ = true;
};
