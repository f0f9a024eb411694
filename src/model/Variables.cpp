#include "model/Variables.h"

const char kDestComp[] = "%DestComp%";

namespace {
struct Variable {
    const char* token;
    const char* displayName;
};

// Fixed literals, as the build log and qsbuild show them, looked up in this order; the window
// shows its language's names in the same order.
const Variable kVariables[] = {
    {"%DestComp%", "Destination Computer"},
    {"%ProgramFiles%", "Program Files"},
    {"%CommonFiles%", "Common Files"},
    {"%AppDir%", "Application"},
    {"%WinDir%", "Windows"},
    {"%WinSysDir%", "System"},
    {"%FontsDir%", "Fonts"},
    {"%Desktop%", "Desktop"},
    {"%StartMenu%", "Start Menu"},
    {"%StartMenuPrograms%", "Programs"},
    {"%AppSCFolder%", "Application Shortcut Folder"},
    {"%StartUp%", "StartUp"},
    {"%HKEY_CLASSES_ROOT%", "HKEY_CLASSES_ROOT"},
    {"%HKEY_CURRENT_USER%", "HKEY_CURRENT_USER"},
    {"%HKEY_LOCAL_MACHINE%", "HKEY_LOCAL_MACHINE"},
    {"%HKEY_USERS%", "HKEY_USERS"},
    {"%Software%", "Software"},
};
}  // namespace

std::string VariableDisplayName(const std::string& name) {
    for (const Variable& variable : kVariables)
        if (name == variable.token) return variable.displayName;
    return name;
}

int VariableIndex(const std::string& name) {
    static_assert(sizeof kVariables / sizeof kVariables[0] == kDisplayedVariableCount);
    for (int index = 0; index < kDisplayedVariableCount; ++index)
        if (name == kVariables[index].token) return index;
    return -1;
}
