#pragma once
// Picks one file of the project's files tree, shown by a read-only files page: the answer is the
// file's destination path in the project's short form ("%AppDir%\Bin\Tool.exe") and its name
// without the extension.
#include <windows.h>

#include <memory>
#include <string>

#include "ui/Dialog.h"

class EditorContext;
class FilesPage;

struct ChosenFile {
    EditorContext& context;
    std::string path;
    std::string displayName;
};

class ChooseFileDialog : public Dialog {
public:
    // `context` is the ChosenFile.
    ChooseFileDialog(HWND dialog, void* context);
    ~ChooseFileDialog() override;
    bool OnInitDialog(HWND dialog) override;
    // OK, and a file row activated in the page (its private message rises to the dialog).
    bool OnCommand(HWND dialog, int id, int code, HWND control) override;
    bool OnAppMessage(HWND dialog, UINT message, LPARAM extra) override;
    void OnDestroy(HWND dialog) override;

private:
    void Accept(HWND dialog);

    ChosenFile& chosen_;
    // The project's files, read-only: a file is chosen in its list.
    std::unique_ptr<FilesPage> page_;
};

// True when the user chose a file; `chosen` then holds it.
bool RunChooseFileDialog(HWND owner, ChosenFile& chosen);
