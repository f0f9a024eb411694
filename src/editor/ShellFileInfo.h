#pragma once
// What the shell tells about product files: the type name and the small icon of each file
// extension, asked once per extension however many rows show it, and the size and time of a file
// on disk, read once per file while its folder is shown. The icons are copied from the system's
// shared image list into one of this object's own, which also holds the mark of a missing file.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <unordered_map>

class ShellFileInfo {
public:
    struct TypeInfo {
        std::string typeName;
        int icon = 0;
    };
    struct DiskInfo {
        bool exists = false;
        std::uint64_t size = 0;
        // The time of the last write in local time, when there is one.
        bool hasTime = false;
        SYSTEMTIME time{};
    };

    ShellFileInfo() = default;
    ShellFileInfo(const ShellFileInfo&) = delete;
    ShellFileInfo& operator=(const ShellFileInfo&) = delete;
    ~ShellFileInfo();

    // The small image list of the icons handed out, the folder icon and the icon of a product
    // file whose source is not on the disk.
    HIMAGELIST SmallImages();
    int FolderIcon();
    int MissingFileIcon();
    const TypeInfo& TypeOf(const std::string& path);
    const DiskInfo& DiskOf(const std::string& path);
    // Forgets the disk information: the files may have changed since they were read.
    void ForgetDisk() { disk_.clear(); }

private:
    // The own list's index of the system list's icon `systemIndex`, copied on first use.
    int CopiedIcon(int systemIndex);
    HIMAGELIST Images();

    std::unordered_map<std::string, TypeInfo> types_;
    std::unordered_map<std::string, DiskInfo> disk_;
    std::unordered_map<int, int> copied_;
    HIMAGELIST system_ = nullptr;
    HIMAGELIST images_ = nullptr;
    int folderIcon_ = -1;
    int missingIcon_ = -1;
};
