#include "editor/ShellFileInfo.h"

#include <shellapi.h>

#include "core/Text.h"

ShellFileInfo::~ShellFileInfo() {
    if (images_) ImageList_Destroy(images_);
}

HIMAGELIST ShellFileInfo::Images() {
    if (!images_)
        images_ = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                   ILC_COLOR32 | ILC_MASK, 16, 16);
    return images_;
}

HIMAGELIST ShellFileInfo::SmallImages() {
    FolderIcon();
    return images_;
}

int ShellFileInfo::CopiedIcon(int systemIndex) {
    auto found = copied_.find(systemIndex);
    if (found != copied_.end()) return found->second;
    int index = -1;
    if (HICON icon = system_ ? ImageList_GetIcon(system_, systemIndex, ILD_NORMAL) : nullptr) {
        index = ImageList_AddIcon(Images(), icon);
        DestroyIcon(icon);
    }
    return copied_.emplace(systemIndex, index).first->second;
}

int ShellFileInfo::FolderIcon() {
    if (folderIcon_ >= 0) return folderIcon_;
    Images();
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    SHFILEINFOA info{};
    system_ = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA(system, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    folderIcon_ = system_ ? CopiedIcon(info.iIcon) : -1;
    if (folderIcon_ < 0) folderIcon_ = 0;
    return folderIcon_;
}

// The system's warning sign: it reads as "something is wrong with this file" in every theme,
// beside type icons that never look like it.
int ShellFileInfo::MissingFileIcon() {
    if (missingIcon_ >= 0) return missingIcon_;
    FolderIcon();
    HICON warning = LoadIconA(nullptr, MAKEINTRESOURCEA(32515));  // IDI_WARNING, shared
    missingIcon_ = warning ? ImageList_AddIcon(Images(), warning) : -1;
    if (missingIcon_ < 0) missingIcon_ = 0;
    return missingIcon_;
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
        FolderIcon();
        type.icon = CopiedIcon(info.iIcon);
    } else {
        FolderIcon();
        type.icon = CopiedIcon(0);  // the system's icon of a file of no known type
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
        disk.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        FILETIME local{};
        disk.hasTime =
            FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &disk.time);
    }
    return disk_.emplace(path, disk).first->second;
}
