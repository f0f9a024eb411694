#include "BuilderProcess.h"

#include "resource.h"

#include <shellapi.h>
#include <dlgs.h>

#include <fstream>
#include <sstream>

#include <cstdio>
#include <vector>

void CopyFolder(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyFolder(from + "\\" + name, to + "\\" + name);
        else
            CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void RemoveFolder(const std::string& path) {
    std::string from = path + '\0';
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&operation);
}

namespace {

struct Search {
    DWORD process;
    std::string className;
    std::string title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (process != search->process || search->className != className || !IsWindowVisible(window)) return TRUE;
    if (!search->title.empty() && WindowText(window) != search->title) return TRUE;
    search->found = window;
    return FALSE;
}

struct FormSearch {
    int controlId;
    HWND found;
};

BOOL CALLBACK MatchForm(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<FormSearch*>(data);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770" || !IsWindowVisible(window) || !GetDlgItem(window, search->controlId))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindProcessWindow(DWORD process, const std::string& className, const std::string& title) {
    Search search{process, className, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

ProgramFolder::ProgramFolder(bool withSetupLanguages) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    // A blank in the folder's name: the association must quote the program's path.
    path_ = std::string(temp) + "Quillset Test " + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount());
    CreateDirectoryA(path_.c_str(), nullptr);
    CopyFileA(QS_QUILLSET_EXE, Executable().c_str(), FALSE);
#ifdef QS_QSBUILD_EXE
    CopyFileA(QS_QSBUILD_EXE, CommandLineBuilder().c_str(), FALSE);
    CreateDirectoryA((path_ + "\\setup").c_str(), nullptr);
    CopyFileA(QS_SETUP_EXE, (path_ + "\\setup\\_setup.exe").c_str(), FALSE);
    CopyFileA(QS_SFX_EXE, (path_ + "\\setup\\_sfx.exe").c_str(), FALSE);
    CopyFileA(QS_UNINSTALL_EXE, (path_ + "\\setup\\_uninstall.exe").c_str(), FALSE);
#endif
    CreateDirectoryA((path_ + "\\LanguageSets").c_str(), nullptr);
    CopyFolder(QS_LANGUAGE_SETS "\\Builder", path_ + "\\LanguageSets\\Builder");
    CreateDirectoryA((path_ + "\\LanguageSets\\Setup").c_str(), nullptr);
    if (!withSetupLanguages) return;
    CopyFolder(QS_LANGUAGE_SETS "\\Setup", path_ + "\\LanguageSets\\Setup");
    // The builder only lists the installer's language files; a tree without them yet still gets
    // one, so the builder starts.
    const std::string english = path_ + "\\LanguageSets\\Setup\\English.dat";
    if (GetFileAttributesA(english.c_str()) == INVALID_FILE_ATTRIBUTES)
        WritePrivateProfileStringA("STRINGS", "0", "Setup", english.c_str());
}

ProgramFolder::~ProgramFolder() { RemoveFolder(path_); }

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds) return false;
        Sleep(20);
    }
    return true;
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &copied);
    text.resize(copied < text.size() ? copied : 0);
    return text;
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

BuilderProcess::~BuilderProcess() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        // Ending is asynchronous: the next test must not meet this builder's files still open.
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 30000);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

bool BuilderProcess::Start(const std::string& executable, const std::string& arguments) {
    folder_ = executable.substr(0, executable.find_last_of('\\'));
    std::string commandLine = "\"" + executable + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    return CreateProcessA(executable.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process_) != FALSE;
}

bool BuilderProcess::WaitForMainWindow() {
    return WaitFor([this] { return (main_ = FindProcessWindow(Id(), "KVQuillset", "")) != nullptr; });
}

DWORD BuilderProcess::WaitForExit(DWORD milliseconds) {
    if (WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0) return 0xDEADu;
    DWORD code = 0xDEADu;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

bool BuilderProcess::HasEnded() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
}

std::string BuilderProcess::Title() const { return WindowText(main_); }

bool BuilderProcess::WaitForTitle(const std::string& title) {
    return WaitFor([&] { return Title() == title; });
}

HWND BuilderProcess::FindDialog(const std::string& title) const { return FindProcessWindow(Id(), "#32770", title); }

HWND BuilderProcess::WaitForDialog(const std::string& title) {
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = FindDialog(title)) != nullptr; });
    return dialog;
}

HWND BuilderProcess::LeaveDialog(HWND dialog, int button, const std::string& next) {
    PressButton(dialog, button);
    if (!WaitFor([&] { return !IsWindow(dialog); })) return nullptr;
    return WaitForDialog(next);
}

void BuilderProcess::Command(UINT id) const { PostMessageA(main_, WM_COMMAND, id, 0); }

std::string BuilderProcess::MenuHint(UINT id) const {
    // Any menu handle will do: the main window only tells a closed menu (none) from an open one.
    SendMessageA(main_, WM_MENUSELECT, MAKEWPARAM(id, MF_STRING), 1);
    std::string text = WindowText(GetDlgItem(main_, ID_STATUS_BAR));
    SendMessageA(main_, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    return text;
}

HWND BuilderProcess::FindForm(int controlId) const {
    FormSearch search{controlId, nullptr};
    EnumChildWindows(main_, MatchForm, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND BuilderProcess::WaitForForm(int controlId) {
    HWND form = nullptr;
    WaitFor([&] { return (form = FindForm(controlId)) != nullptr; });
    return form;
}

std::string BuilderProcess::LanguageText(const std::string& language, const char* section, const char* key) const {
    char text[512] = "";
    const std::string file = folder_ + "\\LanguageSets\\Builder\\" + language + ".dat";
    GetPrivateProfileStringA(section, key, "", text, sizeof text, file.c_str());
    return text;
}

// What a click on a box does: the box changes its own check (a radio button unchecks the others
// of its group), then tells the dialog. A disabled control takes no click.
void Click(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!IsWindowEnabled(button)) return;
    const LONG type = GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX) {
        SendMessageA(button, BM_SETCHECK, IsChecked(dialog, id) ? BST_UNCHECKED : BST_CHECKED, 0);
    } else if (type == BS_AUTORADIOBUTTON) {
        for (HWND other = GetNextDlgGroupItem(dialog, button, FALSE); other && other != button;
             other = GetNextDlgGroupItem(dialog, other, FALSE))
            SendMessageA(other, BM_SETCHECK, BST_UNCHECKED, 0);
        SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
    }
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool IsChecked(HWND dialog, int id) { return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

void Type(HWND dialog, int id, const std::string& text) {
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ChooseInFileDialog(HWND dialog, const std::string& path) {
    // The file name box of the old-style dialog and of the explorer-style one.
    for (int id : {edt1, cmb13}) SetDlgItemTextA(dialog, id, path.c_str());
    PressButton(dialog, IDOK);
}

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool IsShownOnTop(HWND control) {
    RECT rect{};
    if (!control || !IsWindowVisible(control) || !GetWindowRect(control, &rect)) return false;
    const POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return WindowFromPoint(middle) == control;
}
