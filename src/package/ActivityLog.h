#pragma once
// The readable log that /LOG=FILE asks for: one line per action, in the order they happen.
// Without a file name every line is dropped.
#include <string>

#include "platform/File.h"

class ActivityLog {
public:
    // Creates (or empties) the log file; false when it cannot be written.
    bool Open(const std::string& path);
    void Line(const std::string& text);

private:
    File file_;
};
