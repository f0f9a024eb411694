#pragma once
// What the shell tells about product files: the type name and the small icon of each file
// extension, asked once per extension however many rows show it, and the size and time texts
// of a file on disk, read once per file while its folder is shown.
#include <windows.h>
#include <commctrl.h>

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
        std::string sizeText;  // empty when the file cannot be measured
        std::string timeText;  // "MM.DD.YY HH:MM" in local time; empty when there is none
    };

    // The system's small image list (shared: never destroyed) and its folder icon.
    HIMAGELIST SmallImages();
    int FolderIcon();
    const TypeInfo& TypeOf(const std::string& path);
    const DiskInfo& DiskOf(const std::string& path);
    // Forgets the disk information: the files may have changed since they were read.
    void ForgetDisk() { disk_.clear(); }

private:
    std::unordered_map<std::string, TypeInfo> types_;
    std::unordered_map<std::string, DiskInfo> disk_;
    HIMAGELIST images_ = nullptr;
    int folderIcon_ = -1;
};

// "MM.DD.YY HH:MM" of a local time.
std::string FileTimeText(const SYSTEMTIME& local);
