#include "ui/FileChoosers.h"

#include <commdlg.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

static OPENFILENAMEA FileDialogRecord(char* buffer, DWORD bufferSize, HWND owner, const char* filter,
                                      const char* defaultExtension) {
    OPENFILENAMEA record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.lpstrFilter = filter;
    record.lpstrFile = buffer;
    record.nMaxFile = bufferSize;
    record.lpstrDefExt = defaultExtension;
    if (bufferSize) buffer[0] = '\0';
    return record;
}

bool ChooseFileToOpen(char* buffer, DWORD bufferSize, const char* initialFolder, HWND owner,
                      const char* filter, const char* defaultExtension, bool several,
                      const char* title, WORD* nameOffset) {
    OPENFILENAMEA record = FileDialogRecord(buffer, bufferSize, owner, filter, defaultExtension);
    record.lpstrInitialDir = initialFolder;
    record.lpstrTitle = title;
    record.Flags = OFN_EXPLORER | OFN_SHAREAWARE | OFN_FILEMUSTEXIST | (several ? OFN_ALLOWMULTISELECT : 0);
    bool accepted = GetOpenFileNameA(&record) == 1;
    if (nameOffset) *nameOffset = accepted ? record.nFileOffset : 0;
    return accepted;
}

bool ChooseFileToSave(char* buffer, DWORD bufferSize, const char* initialFolder, const std::string& suggestedName,
                      HWND owner, const char* filter, const char* defaultExtension) {
    OPENFILENAMEA record = FileDialogRecord(buffer, bufferSize, owner, filter, defaultExtension);
    if (suggestedName.size() < bufferSize) lstrcpynA(buffer, suggestedName.c_str(), static_cast<int>(bufferSize));
    record.lpstrInitialDir = initialFolder;
    record.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    return GetSaveFileNameA(&record) == 1;
}

std::string DocumentsFolder() {
    char path[MAX_PATH] = "";
    return SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK ? path : "";
}

static int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM lParam, LPARAM) {
    char path[MAX_PATH];
    if (message == BFFM_INITIALIZED) {
        GetCurrentDirectoryA(MAX_PATH, path);
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path));
    } else if (message == BFFM_SELCHANGED) {
        if (!SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path)) path[0] = '\0';
        SendMessageA(browser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
    }
    return 0;
}

bool BrowseForFolder(std::string& path, HWND owner, const char* title) {
    char chosen[MAX_PATH] = "";
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pszDisplayName = chosen;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    info.lpfn = BrowseCallback;
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    if (!item) return false;
    bool converted = SHGetPathFromIDListA(item, chosen) != FALSE;
    CoTaskMemFree(item);
    if (converted) path = chosen;
    return converted;
}

HICON SystemFolderIcon(bool open, int size) {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    SHFILEINFOA info{};
    UINT flags = SHGFI_SYSICONINDEX | (size > 16 ? SHGFI_LARGEICON : SHGFI_SMALLICON) | (open ? SHGFI_OPENICON : 0);
    auto list = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(system, 0, &info, sizeof info, flags));
    return list ? ImageList_GetIcon(list, info.iIcon, ILD_NORMAL) : nullptr;
}
