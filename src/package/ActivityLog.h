#pragma once
// The readable log that /LOG=FILE asks for: one line per action, in the order they happen.
// Without a file name every line is dropped.
#include <string>

#include "platform/File.h"

class ActivityLog {
public:
    // Creates (or empties) the log file, or with `append` writes on after what it holds; false
    // when it cannot be written.
    bool Open(const std::string& path, bool append = false);
    void Line(const std::string& text);
    // Gives the file up while another program (the same setup started again) writes to it;
    // Reopen writes on after that program's lines. Without a file both do nothing.
    void Suspend();
    void Reopen();

private:
    File file_;
    std::string path_;
};
