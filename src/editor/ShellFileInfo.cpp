#include "editor/ShellFileInfo.h"

#include <shellapi.h>

#include <cstdio>

#include "core/Text.h"

std::string FileTimeText(const SYSTEMTIME& local) {
    char text[32];
    std::snprintf(text, sizeof text, "%2.2d.%2.2d.%2.2d %2.2d:%2.2d", local.wMonth, local.wDay, local.wYear % 100,
                  local.wHour, local.wMinute);
    return text;
}

HIMAGELIST ShellFileInfo::SmallImages() {
    FolderIcon();
    return images_;
}

int ShellFileInfo::FolderIcon() {
    if (folderIcon_ >= 0) return folderIcon_;
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    SHFILEINFOA info{};
    images_ = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA(system, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    folderIcon_ = images_ ? info.iIcon : 0;
    return folderIcon_;
}

const ShellFileInfo::TypeInfo& ShellFileInfo::TypeOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    const size_t dot = path.rfind('.');
    const bool none = dot == std::string::npos || (slash != std::string::npos && dot < slash);
    const std::string extension = none ? std::string() : LowerCase(path.substr(dot));
    auto found = types_.find(extension);
    if (found != types_.end()) return found->second;
    // The extension alone is asked for: the shell answers from the registry without the file.
    SHFILEINFOA info{};
    TypeInfo type;
    const std::string probe = "file" + extension;
    if (SHGetFileInfoA(probe.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) {
        type.typeName = info.szTypeName;
        type.icon = info.iIcon;
    }
    return types_.emplace(extension, type).first->second;
}

const ShellFileInfo::DiskInfo& ShellFileInfo::DiskOf(const std::string& path) {
    auto found = disk_.find(path);
    if (found != disk_.end()) return found->second;
    DiskInfo disk;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        disk.exists = true;
        if (data.nFileSizeHigh == 0) disk.sizeText = FormatFileSize(data.nFileSizeLow);
        FILETIME local{};
        SYSTEMTIME time{};
        if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &time))
            disk.timeText = FileTimeText(time);
    }
    return disk_.emplace(path, disk).first->second;
}
