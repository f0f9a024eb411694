#include "BuilderProcess.h"

#include <shellapi.h>

#include <cstdio>
#include <vector>

namespace {

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
    char text[1024] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

BuilderProcess::~BuilderProcess() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

bool BuilderProcess::Start(const std::string& executable, const std::string& arguments) {
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

void BuilderProcess::Command(UINT id) const { PostMessageA(main_, WM_COMMAND, id, 0); }

std::string BuilderProcess::MenuHint(UINT id) const {
    // Any menu handle will do: the main window only tells a closed menu (none) from an open one.
    SendMessageA(main_, WM_MENUSELECT, MAKEWPARAM(id, MF_STRING), 1);
    std::string text = WindowText(GetDlgItem(main_, 1000));
    SendMessageA(main_, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    return text;
}
