#include "package/ActivityLog.h"

bool ActivityLog::Open(const std::string& path) { return file_.Open(path, CreateWrite); }

void ActivityLog::Line(const std::string& text) {
    if (file_.IsOpen()) file_.WriteLine(text);
}
