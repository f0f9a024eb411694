#pragma once
// Running a command line of the user's (the signing command of a build) and waiting for it.
#include <string>

namespace platform {

// Runs `commandLine` through the system's command interpreter (/bin/sh -c, or cmd.exe /c on
// Windows) without a window, with no input and its output and errors written to the file
// `outputPath`, and waits for it. Its exit code, or -1 when it could not be started.
int RunCommandLine(const std::string& commandLine, const std::string& outputPath);

// A path in the system's form, spelt for that command interpreter as one quoted argument.
std::string QuotedArgument(const std::string& path);

}  // namespace platform
