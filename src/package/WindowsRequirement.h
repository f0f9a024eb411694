#pragma once
// Whether the Windows that the installer runs on meets the project's requirements. Windows 10 and
// Windows 11 share version 10.0 and differ by build number. The old entries (Windows 95 to XP)
// name versions older than any that runs the installer today: one of them allowed means "this
// version and what came after", and so it still counts for a running Windows that the project
// does not name.
#include "package/SetupScript.h"

struct RunningWindows {
    unsigned major = 0, minor = 0, build = 0;
    bool is64Bit = true;
};

// The first build of Windows 11.
constexpr unsigned kWindows11Build = 22000;

enum class WindowsVerdict {
    Allowed,
    WrongVersion,  // the project does not allow this version
    Needs64Bit,    // the project runs on 64-bit Windows only
};

WindowsVerdict CheckWindows(const SetupScript& script, const RunningWindows& running);
