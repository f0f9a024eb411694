#include "package/WindowsRequirement.h"

WindowsVerdict CheckWindows(const SetupScript& script, const RunningWindows& running) {
    if (script.only64BitWindows && !running.is64Bit) return WindowsVerdict::Needs64Bit;
    if (script.anyWindows) return WindowsVerdict::Allowed;
    const bool ten = running.major == 10 && running.minor == 0;
    const bool eleven = running.major > 10 || (ten && running.build >= kWindows11Build);
    // The running version's own entry decides where the project has one.
    const std::optional<bool>& own = eleven ? script.windows11 : ten ? script.windows10 : std::nullopt;
    if (own) return *own ? WindowsVerdict::Allowed : WindowsVerdict::WrongVersion;
    bool older = false;
    for (bool flag : script.windowsFlags) older = older || flag;
    if (eleven) older = older || script.windows10.value_or(false);
    return older ? WindowsVerdict::Allowed : WindowsVerdict::WrongVersion;
}
