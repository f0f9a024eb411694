#pragma once
// Whether a file to install takes the place of a file that exists already, as its replace mode
// says. The facts about the two files are asked for only when the mode needs them: reading
// versions loads a system library, comparing contents reads both files, asking shows a message.
#include <string>

class ReplaceFacts {
public:
    virtual ~ReplaceFacts() = default;
    // The existing file's version against the new one's: -1 lower, 0 the same, 1 higher;
    // false when either file has no version.
    virtual bool CompareVersions(int& order) = 0;
    // -1 when the existing file was last written before the new one, 0 at the same time, 1 after.
    virtual int CompareDates() = 0;
    virtual bool SameContents() = 0;
    // The user's answer to whether the existing file is replaced.
    virtual bool AskReplace() = 0;
};

// `replaceMode` is a ReplaceMode; the existing file is there. An unknown mode replaces.
bool ShouldReplace(int replaceMode, ReplaceFacts& facts);

// Whether two files hold the same bytes; false when either cannot be read.
bool SameFileContents(const std::string& a, const std::string& b);
