#pragma once
// The builder's one application object: start-up, the message loop's hooks and the language in
// use. The main window is handed the languages and the module it needs when it is made; nothing
// reaches the application object from elsewhere.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "lang/LanguageSets.h"
#include "lang/MessageBoxes.h"
#include "ui/ApplicationBase.h"

class MainWindow;

// Messages of the language layer, as message boxes without an owner.
class WindowsMessageBoxes : public MessageBoxes {
public:
    void Show(const std::string& text, const std::string& caption, MessageIcon icon) override;
};

class Application : public ApplicationBase {
public:
    // Initialises COM and loads the rich-edit library; throws WinException when either fails.
    Application();
    ~Application() override;

    bool InitInstance() override;
    int ExitInstance() override;
    bool PreTranslateMessage(MSG& message) override;
    bool OnIdle(int pass) override;

    void SetInstance(HINSTANCE instance) { instance_ = resourceInstance_ = instance; }
    // The system error code right after the single-instance mutex was created.
    void SetMutexError(DWORD error) { mutexError_ = error; }

    HINSTANCE Instance() const { return instance_; }
    HINSTANCE ResourceInstance() const { return resourceInstance_; }
    MainWindow* Main() const { return mainWindow_.get(); }
    LanguageSets& Languages() { return languages_; }
    const LanguageSets& Texts() const { return languages_; }

    // Registers the main window's class, creates the window and shows it; false when it cannot.
    bool CreateMainWindow();

private:
    bool HandOverToRunningInstance(const std::vector<std::string>& arguments);
    bool CheckWindowsVersion();

    HINSTANCE instance_ = nullptr;
    HINSTANCE resourceInstance_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HWND acceleratorWindow_ = nullptr;
    std::unique_ptr<MainWindow> mainWindow_;
    WindowsMessageBoxes messages_;
    LanguageSets languages_;
    HMODULE richEdit_ = nullptr;
    HICON largeIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    DWORD mutexError_ = 0;
    // Set once the language setting was read at start-up.
    bool languageRead_ = false;
};

// "Quillset": the window title without a project, the registry key, the help.
const char* ProductName();
// "Quillset 1.0": the status bar's resting text.
const char* ApplicationTitle();
// The program's folder: the running executable's path up to its last backslash.
std::string ProgramFolder();
// The example project that Quillset's own setup installs below the program folder.
std::string ExampleProject();
