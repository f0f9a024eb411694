#include "package/ActivityLog.h"

bool ActivityLog::Open(const std::string& path, bool append) {
    path_ = path;
    if (!append || !file_.Open(path, WriteExisting)) return file_.Open(path, CreateWrite);
    return file_.Seek(0, 2);
}

void ActivityLog::Line(const std::string& text) {
    if (file_.IsOpen()) file_.WriteLine(text);
}

void ActivityLog::Suspend() { file_.Close(); }

void ActivityLog::Reopen() {
    if (!path_.empty() && !file_.IsOpen()) Open(path_, true);
}
