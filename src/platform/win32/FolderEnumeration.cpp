#include <windows.h>

#include "core/Path.h"
#include "platform/FolderScanner.h"

namespace platform {

// FindFirstFile delivers the first entry together with the handle; it waits in `data` until
// the first Read.
struct FolderEnumeration::State {
    HANDLE find = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA data{};
    bool pending = false;
};

FolderEnumeration::FolderEnumeration(const std::string& folder) : state_(std::make_unique<State>()) {
    state_->find = FindFirstFileA(JoinPath(folder, "*.*").c_str(), &state_->data);
    state_->pending = state_->find != INVALID_HANDLE_VALUE;
}

FolderEnumeration::~FolderEnumeration() {
    if (state_->find != INVALID_HANDLE_VALUE) FindClose(state_->find);
}

bool FolderEnumeration::IsOpen() const { return state_->find != INVALID_HANDLE_VALUE; }

bool FolderEnumeration::Read(std::string& name, bool& isFolder) {
    if (state_->find == INVALID_HANDLE_VALUE) return false;
    if (!state_->pending && !FindNextFileA(state_->find, &state_->data)) return false;
    state_->pending = false;
    name = state_->data.cFileName;
    isFolder = (state_->data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return true;
}

}  // namespace platform
