#include "package/PackageCheck.h"

namespace {

std::vector<Refusal> Check(const SetupScript& script, InstallScope scope, const InstallPlan::EntrySize& entrySize,
                           const InstallPlan::EntryRegisters& registers) {
    InstallerOptions options;
    options.scope = scope;
    ActivityLog noLog;
    InstallPlan plan(script, options, noLog);
    // Each step is run whatever the one before found, so that every line is heard of.
    plan.CheckScript();
    plan.ResolveVariables("C:\\Setup", TypicalFolders(scope));
    plan.PlanActions(entrySize, registers);
    return plan.Refusals();
}

}  // namespace

std::vector<Refusal> CheckPackage(const SetupScript& script, const InstallPlan::EntrySize& entrySize,
                                  const InstallPlan::EntryRegisters& registers) {
    const InstallScope scope =
        Offers(script.scopeChoice, InstallScope::AllUsers) ? InstallScope::AllUsers : InstallScope::CurrentUser;
    return Check(script, scope, entrySize, registers);
}

std::vector<Refusal> CheckCurrentUserChoice(const SetupScript& script, const InstallPlan::EntrySize& entrySize,
                                            const InstallPlan::EntryRegisters& registers) {
    if (script.scopeChoice != ScopeChoice::Ask) return {};
    const std::vector<Refusal> allUsers = Check(script, InstallScope::AllUsers, entrySize, registers);
    std::vector<Refusal> found;
    for (const Refusal& r : Check(script, InstallScope::CurrentUser, entrySize, registers)) {
        bool known = false;
        for (const Refusal& a : allUsers) known = known || (a.item == r.item && a.problem == r.problem);
        if (!known) found.push_back(r);
    }
    return found;
}
