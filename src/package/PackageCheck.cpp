#include "package/PackageCheck.h"

std::vector<Refusal> CheckPackage(const SetupScript& script, const InstallPlan::EntrySize& entrySize,
                                  const InstallPlan::EntryRegisters& registers) {
    static const TargetFolders kTypicalComputer = {
        "C:\\Program Files",
        "C:\\Program Files\\Common Files",
        "C:\\Windows",
        "C:\\Windows\\system32",
        "C:\\Windows\\Fonts",
        "C:\\Users\\Public\\Desktop",
        "C:\\ProgramData\\Microsoft\\Windows\\Start Menu",
        "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs",
        "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp",
    };
    const InstallerOptions noChoices;
    ActivityLog noLog;
    InstallPlan plan(script, noChoices, noLog);
    // Each step is run whatever the one before found, so that every line is heard of.
    plan.CheckScript();
    plan.ResolveVariables("C:\\Setup", kTypicalComputer);
    plan.PlanActions(entrySize, registers);
    return plan.Refusals();
}
