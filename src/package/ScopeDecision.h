#pragma once
// The install scope of one run of the installer, decided once before anything is planned: from
// the project's choice and the switches /ALLUSERS and /CURRENTUSER, else (a project that lets the
// user choose, with screens) from the user's answer on the scope screen.
#include <string>

#include "package/CommandLine.h"
#include "scope/InstallScope.h"

enum class ScopeStart {
    Decided,  // `scope` holds
    Ask,      // the scope screen asks the user; all users preselected
    Refused,  // the switches ask for what the project does not offer: `problem` says why (kExitScope)
};

struct ScopeDecision {
    ScopeStart start = ScopeStart::Decided;
    InstallScope scope = InstallScope::AllUsers;
    std::string problem;
};

ScopeDecision DecideScope(ScopeChoice choice, const InstallerOptions& options);

// Whether the program must start again with administrator rights before it can act for `scope`.
inline bool NeedsElevation(InstallScope scope, bool elevated) { return scope == InstallScope::AllUsers && !elevated; }

// The arguments for the same program started again with rights after the user chose all users:
// the same arguments with the answers given so far, /ALLUSERS and the language chosen.
std::string ElevatedArguments(const std::string& arguments, const std::string& language);
