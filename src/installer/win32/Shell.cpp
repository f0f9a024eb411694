#include "installer/win32/Shell.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "core/Path.h"
#include "installer/CommandLine.h"
#include "installer/win32/Undo.h"
#include "platform/File.h"

std::string ShellFolder(int csidl) {
    char buffer[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK)
        return std::string();
    return buffer;
}

std::string WindowsFolder() {
    char buffer[MAX_PATH] = {};
    UINT n = GetWindowsDirectoryA(buffer, MAX_PATH);
    return n && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

std::string SystemFolder() {
    char buffer[MAX_PATH] = {};
    UINT n = GetSystemDirectoryA(buffer, MAX_PATH);
    return n && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

void LimitLibrarySearch() {
    SetDllDirectoryA("");
    using SetDefault = BOOL(WINAPI*)(DWORD);
    // Present from Windows 8 on (and on 7 with its update); the first call covers the rest.
    auto setDefault = reinterpret_cast<SetDefault>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE LoadSystemLibrary(const char* name) {
    return LoadLibraryExA(JoinPath(SystemFolder(), name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

static std::wstring Wide(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
    wide.resize(wide.size() - 1);
    return wide;
}

// Holds a COM interface and releases it.
template <class T>
class ComPtr {
public:
    ~ComPtr() {
        if (p_) p_->Release();
    }
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

bool SaveShellLink(const ShellLinkFields& fields, const std::string& linkPath) {
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(link.Out()))))
        return false;
    link->SetPath(fields.target.c_str());
    link->SetArguments(fields.arguments.c_str());
    link->SetWorkingDirectory(fields.workingFolder.c_str());
    link->SetShowCmd(fields.showCommand);
    if (!fields.iconPath.empty()) link->SetIconLocation(fields.iconPath.c_str(), fields.iconIndex);
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out())))) return false;
    return SUCCEEDED(file->Save(Wide(linkPath).c_str(), TRUE));
}

bool CallRegistration(const std::string& path, bool doRegister) {
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) return false;
    using Entry = HRESULT(STDAPICALLTYPE*)();
    auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(
        GetProcAddress(module, doRegister ? "DllRegisterServer" : "DllUnregisterServer")));
    bool ok = entry && SUCCEEDED(entry());
    FreeLibrary(module);
    return ok;
}

bool FreeKilobytes(const std::string& path, unsigned long long& kilobytes) {
    std::string folder = path;
    ULARGE_INTEGER available;
    while (!GetDiskFreeSpaceExA(folder.c_str(), &available, nullptr, nullptr)) {
        size_t slash = folder.find_last_of('\\');
        if (slash == std::string::npos || slash < 2 || folder.size() <= 3) return false;
        folder.resize(slash == 2 ? 3 : slash);
    }
    kilobytes = available.QuadPart / 1024;
    return true;
}

std::string ReadWholeFile(const std::string& path) {
    File file;
    std::uint64_t size = 0;
    std::uint32_t done = 0;
    if (!file.Open(path, ReadExisting) || !file.GetSize64(size) || size > (64u << 20)) return std::string();
    std::string bytes(static_cast<size_t>(size), '\0');
    if (size && !file.Read(&bytes[0], static_cast<std::uint32_t>(size), done)) return std::string();
    return bytes;
}

std::string ProgramArguments() { return ArgumentsAfterProgram(GetCommandLineA()); }

std::string ProgramPath() {
    std::vector<char> buffer(MAX_PATH);
    DWORD n = 0;
    while ((n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()))) >= buffer.size())
        buffer.resize(buffer.size() * 2);
    std::string path(buffer.data(), n);
    // A program started by its short name has that name here; the install log holds the long one.
    DWORD longLength = GetLongPathNameA(path.c_str(), nullptr, 0);
    if (longLength == 0) return path;
    std::string longPath(longLength, '\0');
    longLength = GetLongPathNameA(path.c_str(), &longPath[0], longLength);
    longPath.resize(longLength);
    return longLength ? longPath : path;
}

bool RemoveFolderTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(JoinPath(folder, "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = JoinPath(folder, name);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveFolderTree(path);
            else DeleteFileForce(path);
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return RemoveDirectoryA(folder.c_str()) != FALSE;
}

void ShowMessage(const std::string& text, const std::string& caption, unsigned type) {
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), type | MB_SETFOREGROUND);
}
