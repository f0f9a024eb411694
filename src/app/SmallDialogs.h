#pragma once
// The About dialog, the Welcome dialog that offers the three ways to start, and the question
// whether to save a modified project. Each ends with a command of the main window.
#include <string>

#include "ui/Dialog.h"
#include "ui/HyperLink.h"

class AboutDialog : public Dialog {
public:
    AboutDialog(HWND dialog, void* context);
    bool OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, int id, int code, HWND control) override;

private:
    HyperLink webLink_;
};

class WelcomeDialog : public Dialog {
public:
    WelcomeDialog(HWND dialog, void* context);
    bool OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, int id, int code, HWND control) override;

private:
    static void HideExampleChoice(HWND dialog);
    HICON icons_[4] = {};
};

// The context is the name of the project (a const std::string).
class WantToSaveDialog : public Dialog {
public:
    WantToSaveDialog(HWND dialog, void* context);
    bool OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, int id, int code, HWND control) override;
};

// The product's web page.
constexpr const char* kProductWebAddress = "https://www.varnel-software.com/quillset/";

// Runs each dialog over `owner`; the result is the main window command it ended with.
int RunAboutDialog(HWND owner);
int RunWelcomeDialog(HWND owner);
int RunWantToSaveDialog(HWND owner, const std::string& projectName);
