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
class NewNameDialog : public ItemDialog {
public:
    NewNameDialog(HWND dialog, void* record);
    bool OnInitDialog(HWND dialog) override;

protected:
    bool Accept(HWND dialog) override;

private:
    NameRecord& record_;
};

struct FilePropertiesRecord : ItemRecord {
    std::string name;
    std::string type;
    std::string source;
    std::string destination;
    int options = 0;
    int replaceMode = 0;
};

class FilePropertiesDialog : public ItemDialog {
public:
    FilePropertiesDialog(HWND dialog, void* record);
    bool OnInitDialog(HWND dialog) override;

protected:
    bool Accept(HWND dialog) override;

private:
    FilePropertiesRecord& record_;
};

struct ShortcutRecord : ItemRecord {
    std::string name;
    ShortcutFields fields;
};

class ShortcutDialog : public ItemDialog {
public:
    ShortcutDialog(HWND dialog, void* record);
    bool OnInitDialog(HWND dialog) override;

protected:
    bool Accept(HWND dialog) override;
    bool OnButton(HWND dialog, int id) override;

private:
    ShortcutRecord& record_;
};

class InternetShortcutDialog : public ItemDialog {
public:
    InternetShortcutDialog(HWND dialog, void* record);
    bool OnInitDialog(HWND dialog) override;

protected:
    bool Accept(HWND dialog) override;

private:
    ShortcutRecord& record_;
};

struct FileTypeDialogRecord : ItemRecord {
    FileTypeRecord fileType;
};

class FileTypeDialog : public ItemDialog {
public:
    FileTypeDialog(HWND dialog, void* record);
    bool OnInitDialog(HWND dialog) override;

protected:
    bool Accept(HWND dialog) override;
    bool OnButton(HWND dialog, int id) override;

private:
    FileTypeDialogRecord& record_;
};

struct RegistryValueRecord : ItemRecord {
    std::string name;
    std::string text;
    Bytes bytes;
    std::uint32_t number = 0;
};

class StringValueDialog : public ItemDialog {
public:
    StringValueDialog(HWND dialog, void* record);
    bool OnInitDialog(HWND dialog) override;

protected:
    bool Accept(HWND dialog) override;

private:
    RegistryValueRecord& record_;
};

class BinaryValueDialog : public ItemDialog {
public:
    BinaryValueDialog(HWND dialog, void* record);
    bool OnInitDialog(HWND dialog) override;

protected:
    bool Accept(HWND dialog) override;

private:
    RegistryValueRecord& record_;
};

class NumberValueDialog : public ItemDialog {
public:
    NumberValueDialog(HWND dialog, void* record);
    bool OnInitDialog(HWND dialog) override;

protected:
    bool Accept(HWND dialog) override;
    bool OnButton(HWND dialog, int id) override;

private:
    RegistryValueRecord& record_;
    // The base the data field shows its number in.
    bool showingHexadecimal_ = true;
};
