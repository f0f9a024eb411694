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
// A program that was started again for them (/_RESTARTED) never starts once more: where the
// system gave no rights, it goes on and fails where it cannot write, rather than start forever.
inline bool NeedsElevation(InstallScope scope, bool elevated, bool restarted) {
    return scope == InstallScope::AllUsers && !elevated && !restarted;
}

// The arguments for the same program started again with rights: every switch of `options` (the
// command line as given, with the answers on the screens so far put in by the caller: the
// language, the screens passed, the owner's name and company), for all users, /_RESTARTED.
std::string ElevatedArguments(const InstallerOptions& options);
