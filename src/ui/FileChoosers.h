#pragma once
// The system's dialogs for choosing files and folders, and the system's folder icons.
#include <windows.h>

#include <string>

// `filter` is the system's filter form: pairs of zero-terminated texts, ending with an empty one.
// The chosen name (with several files: the folder, then the names, zero-separated) goes to
// `buffer`, emptied first; `nameOffset` is where the first file name starts. True when accepted.
bool ChooseFileToOpen(char* buffer, DWORD bufferSize, const char* initialFolder, HWND owner,
                      const char* filter, const char* defaultExtension, bool several,
                      const char* title, WORD* nameOffset = nullptr);
// Opens in `initialFolder` with `suggestedName` in the name field.
bool ChooseFileToSave(char* buffer, DWORD bufferSize, const char* initialFolder, const std::string& suggestedName,
                      HWND owner, const char* filter, const char* defaultExtension);
// The user's Documents folder; empty when the system names none.
std::string DocumentsFolder();
// Opens at the process's current folder and shows the selected folder's path as it changes.
bool BrowseForFolder(std::string& path, HWND owner, const char* title);

// Copies of the system's closed-folder and open-folder icons, its small ones for a `size` of 16
// pixels and its large ones for more; the caller destroys them.
HICON SystemFolderIcon(bool open, int size);
