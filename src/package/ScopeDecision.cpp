#include "package/ScopeDecision.h"

ScopeDecision DecideScope(ScopeChoice choice, const InstallerOptions& options) {
    ScopeDecision d;
    if (options.allUsers && options.currentUser) {
        d.start = ScopeStart::Refused;
        d.problem = "/ALLUSERS and /CURRENTUSER cannot be given together";
        return d;
    }
    if (choice != ScopeChoice::Ask) {
        d.scope = choice == ScopeChoice::AllUsers ? InstallScope::AllUsers : InstallScope::CurrentUser;
        if ((options.allUsers && d.scope != InstallScope::AllUsers) ||
            (options.currentUser && d.scope != InstallScope::CurrentUser)) {
            d.start = ScopeStart::Refused;
            d.problem = d.scope == InstallScope::AllUsers
                            ? "this setup installs for all users only, not with /CURRENTUSER"
                            : "this setup installs for the current user only, not with /ALLUSERS";
        }
        return d;
    }
    if (options.currentUser) d.scope = InstallScope::CurrentUser;
    // Silently, without a switch, the preselected answer holds.
    else if (!options.allUsers && !options.silent) d.start = ScopeStart::Ask;
    return d;
}

std::string ElevatedArguments(const InstallerOptions& options) {
    InstallerOptions again = options;
    again.allUsers = true;
    again.currentUser = false;
    again.restarted = true;
    again.help = false;
    return InstallerArguments(again);
}
