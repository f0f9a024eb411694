#pragma once
// The Windows that the installer runs on.
#include "package/WindowsRequirement.h"

// The version as the kernel reports it (RtlGetVersion answers without the compatibility shims
// that GetVersionEx goes through), and whether the system is 64-bit.
RunningWindows QueryRunningWindows();
