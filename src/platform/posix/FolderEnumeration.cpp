#include <dirent.h>
#include <sys/stat.h>

#include "platform/FileSystem.h"
#include "platform/FolderScanner.h"

namespace platform {

struct FolderEnumeration::State {
    DIR* dir = nullptr;
    std::string folder;  // native form, for entries whose type the directory does not give
};

FolderEnumeration::FolderEnumeration(const std::string& folder) : state_(std::make_unique<State>()) {
    state_->folder = NativePath(folder);
    state_->dir = ::opendir(state_->folder.empty() ? "." : state_->folder.c_str());
}

FolderEnumeration::~FolderEnumeration() {
    if (state_->dir) ::closedir(state_->dir);
}

bool FolderEnumeration::IsOpen() const { return state_->dir != nullptr; }

bool FolderEnumeration::Read(std::string& name, bool& isFolder) {
    if (!state_->dir) return false;
    const dirent* entry = ::readdir(state_->dir);
    if (!entry) return false;
    name = entry->d_name;
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK) {
        isFolder = entry->d_type == DT_DIR;
    } else {
        struct stat st;
        isFolder = ::stat((state_->folder + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    return true;
}

}  // namespace platform
