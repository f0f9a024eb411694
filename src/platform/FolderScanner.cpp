#include "platform/FolderScanner.h"

#include "core/Path.h"

bool FolderScanner::Start(const std::string& folder, bool recursive) {
    Finish();
    auto entries = std::make_unique<platform::FolderEnumeration>(folder);
    if (!entries->IsOpen()) return false;
    start_ = folder;
    recursive_ = recursive;
    started_ = true;
    levels_.push_back({std::move(entries), folder});
    return true;
}

std::optional<std::string> FolderScanner::First() {
    if (!started_) return std::nullopt;
    std::string start = start_;
    if (!Start(start, recursive_)) return std::nullopt;
    return ReadEntry();
}

std::optional<std::string> FolderScanner::Next() {
    if (levels_.empty()) return std::nullopt;
    if (recursive_ && isFolder_ && !Enter(lastName_)) {
        CloseLevels();  // a folder that cannot be entered ends the walk
        return std::nullopt;
    }
    return ReadEntry();
}

// The next entry at the deepest open level; a finished level gives way to its parent.
std::optional<std::string> FolderScanner::ReadEntry() {
    std::string name;
    bool isFolder = false;
    while (!levels_.empty()) {
        if (!levels_.back().entries->Read(name, isFolder)) {
            if (levels_.size() == 1) break;  // the start folder stays open for the last entry's folder
            levels_.pop_back();
            continue;
        }
        if (name == "." || name == "..") continue;
        if (!recursive_ && isFolder) continue;
        isFolder_ = isFolder;
        lastName_ = name;
        return name;
    }
    isFolder_ = false;
    return std::nullopt;
}

bool FolderScanner::Enter(const std::string& name) {
    std::string path = JoinPath(levels_.back().path, name);
    auto entries = std::make_unique<platform::FolderEnumeration>(path);
    if (!entries->IsOpen()) return false;
    levels_.push_back({std::move(entries), path});
    return true;
}

std::string FolderScanner::RelativeFolder() const {
    if (levels_.size() <= 1) return "";
    size_t skip = start_.size() + (start_.back() == '\\' ? 0 : 1);
    return levels_.back().path.substr(skip);
}

std::string FolderScanner::CurrentFolder() const { return levels_.empty() ? start_ : levels_.back().path; }

void FolderScanner::CloseLevels() {
    // Inner enumerations close first, as they were opened last.
    while (!levels_.empty()) levels_.pop_back();
    isFolder_ = false;
}

void FolderScanner::Finish() {
    CloseLevels();
    started_ = false;
}
