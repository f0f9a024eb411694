#pragma once
// Picks one file of the project's files tree: the answer is the file's destination path in the
// project's short form ("%AppDir%\Bin\Tool.exe") and its name without the extension.
#include <windows.h>

#include <string>

#include "ui/Dialog.h"

class EditorContext;
class TreeNode;

struct ChosenFile {
    EditorContext& context;
    std::string path;
    std::string displayName;
};

class ChooseFileDialog : public Dialog {
public:
    // `context` is the ChosenFile.
    ChooseFileDialog(HWND dialog, void* context);
    bool OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, int id, int code, HWND control) override;
    bool OnNotify(HWND dialog, int controlId, NMHDR* header) override;

private:
    // The file selected in the tree, or none when a folder or nothing is.
    const TreeNode* SelectedFile(HWND dialog) const;
    void Accept(HWND dialog);

    ChosenFile& chosen_;
};

// True when the user chose a file; `chosen` then holds it.
bool RunChooseFileDialog(HWND owner, ChosenFile& chosen);
