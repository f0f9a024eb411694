#include "installer/win32/SystemFolders.h"

#include <windows.h>
#include <shlobj.h>

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

TargetFolders QueryTargetFolders() {
    TargetFolders f;
    f.programFiles = ShellFolder(CSIDL_PROGRAM_FILES);
    f.commonFiles = ShellFolder(CSIDL_PROGRAM_FILES_COMMON);
    f.windows = WindowsFolder();
    f.system = SystemFolder();
    f.fonts = ShellFolder(CSIDL_FONTS);
    f.desktop = ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
    f.startMenu = ShellFolder(CSIDL_COMMON_STARTMENU);
    f.startMenuPrograms = ShellFolder(CSIDL_COMMON_PROGRAMS);
    f.startUp = ShellFolder(CSIDL_COMMON_STARTUP);
    return f;
}
