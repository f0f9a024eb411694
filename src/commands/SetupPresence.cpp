#include "commands/SetupPresence.h"

bool SetupPresence::Exists(const std::string& path) {
    if (known_ && path == path_) return exists_;
    path_ = path;
    known_ = true;
    ++probes_;
    exists_ = !path.empty() && probe_(path);
    return exists_;
}

void SetupPresence::Built(const std::string& path, bool written) {
    if (!written) {
        known_ = false;
        Exists(path);
        return;
    }
    path_ = path;
    known_ = true;
    exists_ = true;
}

void SetupPresence::StartFailed(const std::string& path) {
    path_ = path;
    known_ = true;
    exists_ = false;
}

void SetupPresence::Forget() { known_ = false; }
