#pragma once
// Walks the entries of a folder on this computer, its files only or its whole subtree, one entry
// at a time in the file system's own order. A recursive walk hands out each folder before its
// contents. The walk works on explicit paths and never changes the process's current folder.
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// One open enumeration of a folder's entries, in the order the system delivers them
// ("." and ".." included). Closed by its destructor.
class FolderEnumeration {
public:
    explicit FolderEnumeration(const std::string& folder);
    ~FolderEnumeration();
    FolderEnumeration(const FolderEnumeration&) = delete;
    FolderEnumeration& operator=(const FolderEnumeration&) = delete;

    bool IsOpen() const;
    // The next entry; false when the folder holds no more.
    bool Read(std::string& name, bool& isFolder);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace platform

class FolderScanner {
public:
    // False, and nothing started, when the folder cannot be enumerated.
    bool Start(const std::string& folder, bool recursive);
    // The first entry (the walk begins again), or nothing; only between Start and Finish.
    std::optional<std::string> First();
    // The next entry, or nothing when the walk is over or a folder could not be entered.
    std::optional<std::string> Next();
    // Whether the entry handed out last is a folder.
    bool IsFolder() const { return isFolder_; }
    // The folder of the last entry relative to the start folder: empty at the top level.
    std::string RelativeFolder() const;
    // The full path of the folder of the last entry.
    std::string CurrentFolder() const;
    // Closes every open enumeration; the scanner may then be started again.
    void Finish();

private:
    struct Level {
        std::unique_ptr<platform::FolderEnumeration> entries;
        std::string path;
    };
    std::optional<std::string> ReadEntry();
    bool Enter(const std::string& name);
    void CloseLevels();

    std::string start_;
    bool recursive_ = false;
    bool started_ = false;
    std::vector<Level> levels_;
    bool isFolder_ = false;
    std::string lastName_;
};
