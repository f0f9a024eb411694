#pragma once
// The About dialog, the Welcome dialog that offers the three ways to start, and the question
// whether to save a modified project. Each ends with a command of the main window.
#include <string>

#include "lang/TextKeys.h"
#include "ui/Dialog.h"
#include "ui/HyperLink.h"

class UiTextSource;

// What each of the dialogs is handed: the interface texts, the module of its template and
// icons, and for the question whether to save, the project's name.
struct SmallDialogContext {
    const UiTextSource& texts;
    HINSTANCE resources;
    const std::string* projectName = nullptr;
};

class SmallDialog : public Dialog {
public:
    using Dialog::Dialog;

protected:
    const SmallDialogContext& Context() const { return *static_cast<const SmallDialogContext*>(context_); }
    std::string Text(TextKey key) const;
};

class AboutDialog : public SmallDialog {
public:
    AboutDialog(HWND dialog, void* context);
    bool OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, int id, int code, HWND control) override;

private:
    HyperLink webLink_;
};

class WelcomeDialog : public SmallDialog {
public:
    WelcomeDialog(HWND dialog, void* context);
    bool OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, int id, int code, HWND control) override;

private:
    static void HideExampleChoice(HWND dialog);
    HICON icons_[4] = {};
};

// The context names the project.
class WantToSaveDialog : public SmallDialog {
public:
    WantToSaveDialog(HWND dialog, void* context);
    bool OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, int id, int code, HWND control) override;
};

// The product's web page.
constexpr const char* kProductWebAddress = "https://www.varnel-software.com/quillset/";

// Runs each dialog over `owner` from the templates of `resources`, in the language of `texts`;
// the result is the main window command it ended with.
int RunAboutDialog(HWND owner, HINSTANCE resources, const UiTextSource& texts);
int RunWelcomeDialog(HWND owner, HINSTANCE resources, const UiTextSource& texts);
int RunWantToSaveDialog(HWND owner, HINSTANCE resources, const UiTextSource& texts, const std::string& projectName);
