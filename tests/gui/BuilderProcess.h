#pragma once
// Quillset.exe started from a scratch program folder and driven from outside through window
// messages, as a user's clicks would drive it.
#include <windows.h>

#include <functional>
#include <string>

// A program folder laid out as the builder expects: Quillset.exe, qsbuild.exe, the installer
// programs and the language sets.
class ProgramFolder {
public:
    // `withSetupLanguages` false leaves LanguageSets\Setup empty.
    explicit ProgramFolder(bool withSetupLanguages = true);
    ~ProgramFolder();
    const std::string& Path() const { return path_; }
    std::string Executable() const { return path_ + "\\Quillset.exe"; }
    std::string CommandLineBuilder() const { return path_ + "\\qsbuild.exe"; }

private:
    std::string path_;
};

// The builder's settings key below HKEY_CURRENT_USER; tests clear it for a first start.
constexpr const char* kSettingsKey = "software\\Varnel Software\\Quillset";

void CopyFolder(const std::string& from, const std::string& to);
void RemoveFolder(const std::string& path);

// Polls `condition` until it holds or `milliseconds` pass; the answer is whether it held.
bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds = 30000);

class BuilderProcess {
public:
    BuilderProcess() = default;
    ~BuilderProcess();
    BuilderProcess(const BuilderProcess&) = delete;
    BuilderProcess& operator=(const BuilderProcess&) = delete;

    // Starts the program with `arguments` appended to its quoted path.
    bool Start(const std::string& executable, const std::string& arguments = "");
    // Waits for the main window (class "KVQuillset") of this process.
    bool WaitForMainWindow();
    // Waits for the process to end; its exit code, or a value that no run gives when it did not end.
    DWORD WaitForExit(DWORD milliseconds = 30000);
    // Whether the process has ended (false for one never started).
    bool HasEnded() const;

    HWND Main() const { return main_; }
    DWORD Id() const { return process_.dwProcessId; }
    std::string Title() const;
    bool WaitForTitle(const std::string& title);
    // A visible dialog of this process with `title` (any dialog when empty).
    HWND FindDialog(const std::string& title = "") const;
    HWND WaitForDialog(const std::string& title = "");
    // Presses `button` of `dialog`, waits until the dialog is gone and then for the dialog titled
    // `next` (as a wizard goes from page to page); none when either does not happen.
    HWND LeaveDialog(HWND dialog, int button, const std::string& next);
    // Posts a command to the main window, as a menu, toolbar or accelerator would.
    void Command(UINT id) const;
    // The visible form (a child dialog of the main window) that has a control `controlId`.
    HWND FindForm(int controlId) const;
    HWND WaitForForm(int controlId);
    // A text of the builder language file `language` in the program's folder.
    std::string LanguageText(const std::string& language, const char* section, const char* key) const;
    // The status bar's text while the menu item `id` is highlighted (its hint).
    std::string MenuHint(UINT id) const;

private:
    PROCESS_INFORMATION process_{};
    std::string folder_;
    HWND main_ = nullptr;
};

// The whole text of a window, read through the system (works across processes).
std::string WindowText(HWND window);
// Presses a dialog button by posting its command.
void PressButton(HWND dialog, int id);
// Clicks a dialog's box or button as the user would, and waits until the click is handled.
void Click(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
// Puts `path` into the file name box of the system's open or save dialog and accepts it.
void ChooseInFileDialog(HWND dialog, const std::string& path);
// The bytes of a file; empty when it cannot be read.
std::string ReadWhole(const std::string& path);
// Whether the control is what the screen shows at its middle: visible, and under no other window
// such as the tab control above a page that was never brought up.
bool IsShownOnTop(HWND control);
// Types `text` into an edit control (replacing its text), as the user would.
void Type(HWND dialog, int id, const std::string& text);
