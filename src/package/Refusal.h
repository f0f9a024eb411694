#pragma once
// One reason why the installer will not install a package: the line at fault, named by where
// the project keeps it, with what is wrong and how to mend it. The installer logs the problem and
// ends with the exit code; the build logs all of them as errors and writes no setup.
#include <string>

#include "package/ExitCodes.h"

struct Refusal {
    std::string section;  // where the project keeps the item: "Files", "Shortcuts", "Setup Info", ...
    std::string item;     // the item as setup.ini names it: a destination, key, extension or key name
    std::string problem;  // what is wrong, naming the value
    std::string fix;      // what the project must change
    int exitCode = kExitDamaged;  // kExitDamaged for a damaged or unsafe package, kExitFailed for a value
};

// The build log's form: "Shortcuts %AppSCFolder%\: the shortcut has no name. Give it a name."
std::string BuildLogText(const Refusal& refusal);
