#pragma once
// The shell and system services the installer programs use: the target computer's folders,
// shortcut files, self-registration of components, and the system-only library search.
#include <windows.h>

#include <string>

// SHGetFolderPathA for a CSIDL value; empty when the system has no such folder.
std::string ShellFolder(int csidl);
std::string WindowsFolder();
std::string SystemFolder();

// Loads libraries from the system folder only, so that nothing placed beside the program
// (a downloads folder, a temporary folder) is loaded in its place. Call first thing.
void LimitLibrarySearch();
// Loads a library that is not one of the system's known libraries from the system folder.
HMODULE LoadSystemLibrary(const char* name);

struct ShellLinkFields {
    std::string target, arguments, iconPath;
    int iconIndex = 0;
    int showCommand = 1;  // SW_SHOWNORMAL, SW_SHOWMAXIMIZED or SW_SHOWMINNOACTIVE
    std::string workingFolder;
};

// Writes a .lnk file through IShellLinkA and IPersistFile (COM must be initialised).
bool SaveShellLink(const ShellLinkFields& fields, const std::string& linkPath);

// Calls DllRegisterServer (or DllUnregisterServer) of a component.
bool CallRegistration(const std::string& path, bool doRegister);

// Free kilobytes on the drive that holds `path` (the nearest existing folder above it).
bool FreeKilobytes(const std::string& path, unsigned long long& kilobytes);

// A file's whole contents (at most 64 MB); empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// The text of the program's command line after the program name.
std::string ProgramArguments();
// The running program's full path, in its long form.
std::string ProgramPath();

// Deletes a folder with everything inside it.
bool RemoveFolderTree(const std::string& folder);

// A message box without owner, brought to the front; `type` takes the MB_ flags.
void ShowMessage(const std::string& text, const std::string& caption, unsigned type);
