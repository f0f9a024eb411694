#include "model/Variables.h"

const char kDestComp[] = "%DestComp%";

namespace {
struct Variable {
    const char* token;
    const char* displayName;
};

// Fixed literals, never translated; looked up in this order.
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
