#pragma once
// qsbuild --verify: a built setup installed, checked and uninstalled in a private Wine prefix.
#include <string>

class ProjectDocument;

struct VerifyOptions {
    std::string upgradeFrom;  // an older setup to install first
    std::string jsonPath;     // where the JSON report goes; empty for none
};

// Whether this system can verify (Linux with Wine); otherwise says why on standard error, before
// any build is spent on it.
bool VerifyCanRun();

// Verifies `setup` (and what it installs against `project`, when given). Prints the progress on
// standard error and the summary on standard output. Exit code 0 clean, 1 findings, 2 could not
// run (no Wine, a setup that is not there, a report that cannot be written).
int RunVerify(const std::string& setup, const ProjectDocument* project, const VerifyOptions& options, bool quiet);
