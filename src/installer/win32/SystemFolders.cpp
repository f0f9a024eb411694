#include "installer/win32/SystemFolders.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "core/Path.h"

namespace {

// SHGetKnownFolderPath for the folders that have no CSIDL value, in the system's code page.
std::string KnownFolderById(REFKNOWNFOLDERID id) {
    PWSTR wide = nullptr;
    std::string path;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &wide)) && wide) {
        int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
        if (n > 1) {
            path.resize(static_cast<size_t>(n));
            WideCharToMultiByte(CP_ACP, 0, wide, -1, &path[0], n, nullptr, nullptr);
            path.resize(static_cast<size_t>(n - 1));
        }
    }
    CoTaskMemFree(wide);
    return path;
}

// The user's Programs folder, or where Windows puts it on systems that do not name it.
std::string UserProgramFiles(bool common) {
    std::string path = KnownFolderById(common ? FOLDERID_UserProgramFilesCommon : FOLDERID_UserProgramFiles);
    if (!path.empty()) return path;
    const std::string local = ShellFolder(CSIDL_LOCAL_APPDATA);
    if (local.empty()) return local;
    path = JoinPath(local, common ? "Programs\\Common" : "Programs");
    SHCreateDirectoryExA(nullptr, path.c_str(), nullptr);
    return path;
}

}  // namespace

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

std::string KnownFolderPath(KnownFolder folder) {
    switch (folder) {
        case KnownFolder::ProgramFiles: return ShellFolder(CSIDL_PROGRAM_FILES);
        case KnownFolder::ProgramFilesCommon: return ShellFolder(CSIDL_PROGRAM_FILES_COMMON);
        case KnownFolder::UserProgramFiles: return UserProgramFiles(false);
        case KnownFolder::UserProgramFilesCommon: return UserProgramFiles(true);
        case KnownFolder::Windows: return WindowsFolder();
        case KnownFolder::System: return SystemFolder();
        case KnownFolder::Fonts: return ShellFolder(CSIDL_FONTS);
        case KnownFolder::CommonDesktop: return ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
        case KnownFolder::Desktop: return ShellFolder(CSIDL_DESKTOPDIRECTORY);
        case KnownFolder::CommonStartMenu: return ShellFolder(CSIDL_COMMON_STARTMENU);
        case KnownFolder::StartMenu: return ShellFolder(CSIDL_STARTMENU);
        case KnownFolder::CommonPrograms: return ShellFolder(CSIDL_COMMON_PROGRAMS);
        case KnownFolder::Programs: return ShellFolder(CSIDL_PROGRAMS);
        case KnownFolder::CommonStartup: return ShellFolder(CSIDL_COMMON_STARTUP);
        case KnownFolder::Startup: return ShellFolder(CSIDL_STARTUP);
    }
    return std::string();
}

TargetFolders QueryTargetFolders(InstallScope scope) { return ScopeFolders(scope, KnownFolderPath); }
