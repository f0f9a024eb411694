#include "scope/InstallScope.h"

#include <iterator>

#include "core/Text.h"

namespace {

struct ChoiceName {
    ScopeChoice choice;
    const char* name;
};
const ChoiceName kChoiceNames[] = {
    {ScopeChoice::AllUsers, "all"},
    {ScopeChoice::CurrentUser, "user"},
    {ScopeChoice::Ask, "ask"},
};

const FolderVariable kFolderVariables[] = {
    {"ProgramFiles", &TargetFolders::programFiles, KnownFolder::ProgramFiles, KnownFolder::UserProgramFiles, true},
    {"CommonFiles", &TargetFolders::commonFiles, KnownFolder::ProgramFilesCommon, KnownFolder::UserProgramFilesCommon,
     true},
    {"WinDir", &TargetFolders::windows, KnownFolder::Windows, KnownFolder::Windows, false},
    {"WinSysDir", &TargetFolders::system, KnownFolder::System, KnownFolder::System, false},
    {"FontsDir", &TargetFolders::fonts, KnownFolder::Fonts, KnownFolder::Fonts, false},
    {"Desktop", &TargetFolders::desktop, KnownFolder::CommonDesktop, KnownFolder::Desktop, true},
    {"StartMenu", &TargetFolders::startMenu, KnownFolder::CommonStartMenu, KnownFolder::StartMenu, true},
    {"StartMenuPrograms", &TargetFolders::startMenuPrograms, KnownFolder::CommonPrograms, KnownFolder::Programs, true},
    {"StartUp", &TargetFolders::startUp, KnownFolder::CommonStartup, KnownFolder::Startup, true},
};

// Where a typical Windows keeps each folder, for a user named "User".
std::string TypicalFolder(KnownFolder folder) {
    const std::string profile = "C:\\Users\\User", startMenu = "\\Microsoft\\Windows\\Start Menu";
    switch (folder) {
        case KnownFolder::ProgramFiles: return "C:\\Program Files";
        case KnownFolder::ProgramFilesCommon: return "C:\\Program Files\\Common Files";
        case KnownFolder::UserProgramFiles: return profile + "\\AppData\\Local\\Programs";
        case KnownFolder::UserProgramFilesCommon: return profile + "\\AppData\\Local\\Programs\\Common";
        case KnownFolder::Windows: return "C:\\Windows";
        case KnownFolder::System: return "C:\\Windows\\system32";
        case KnownFolder::Fonts: return "C:\\Windows\\Fonts";
        case KnownFolder::CommonDesktop: return "C:\\Users\\Public\\Desktop";
        case KnownFolder::Desktop: return profile + "\\Desktop";
        case KnownFolder::CommonStartMenu: return "C:\\ProgramData" + startMenu;
        case KnownFolder::StartMenu: return profile + "\\AppData\\Roaming" + startMenu;
        case KnownFolder::CommonPrograms: return "C:\\ProgramData" + startMenu + "\\Programs";
        case KnownFolder::Programs: return profile + "\\AppData\\Roaming" + startMenu + "\\Programs";
        case KnownFolder::CommonStartup: return "C:\\ProgramData" + startMenu + "\\Programs\\StartUp";
        case KnownFolder::Startup: return profile + "\\AppData\\Roaming" + startMenu + "\\Programs\\StartUp";
    }
    return std::string();
}

const char kMachine[] = "HKLM";
const char kUser[] = "HKCU";
const char kClassesRoot[] = "HKCR";
const char kUserClasses[] = "Software\\Classes";

bool IsHive(const std::string& name, const char* shortName, const char* longName) {
    return EqualNoCase(name, shortName) || EqualNoCase(name, longName);
}
bool IsMachine(const std::string& hive) { return IsHive(hive, kMachine, "HKEY_LOCAL_MACHINE"); }
bool IsClasses(const std::string& hive) { return IsHive(hive, kClassesRoot, "HKEY_CLASSES_ROOT"); }

// A key of the products' uninstall entries: the list itself, or below one product's entry.
bool IsUninstallEntry(const std::string& key) {
    const std::string list(kUninstallEntries, sizeof kUninstallEntries - 2);
    return EqualNoCase(key.substr(0, list.size()), list) && (key.size() == list.size() || key[list.size()] == '\\');
}

}  // namespace

const char* ScopeChoiceName(ScopeChoice choice) {
    for (const ChoiceName& n : kChoiceNames)
        if (n.choice == choice) return n.name;
    return "all";
}

bool ReadScopeChoice(const std::string& text, ScopeChoice& choice) {
    for (const ChoiceName& n : kChoiceNames)
        if (EqualNoCase(text, n.name)) {
            choice = n.choice;
            return true;
        }
    return false;
}

const char* ScopeName(InstallScope scope) { return scope == InstallScope::AllUsers ? "all" : "user"; }

bool ReadScope(const std::string& text, InstallScope& scope) {
    ScopeChoice choice = ScopeChoice::AllUsers;
    if (!text.empty() && (!ReadScopeChoice(text, choice) || choice == ScopeChoice::Ask)) return false;
    scope = choice == ScopeChoice::AllUsers ? InstallScope::AllUsers : InstallScope::CurrentUser;
    return true;
}

const char* ExecutionLevel(ScopeChoice choice) {
    return choice == ScopeChoice::AllUsers ? "requireAdministrator" : "asInvoker";
}

const FolderVariable* FolderVariablesBegin() { return std::begin(kFolderVariables); }
const FolderVariable* FolderVariablesEnd() { return std::end(kFolderVariables); }

const FolderVariable* FindFolderVariable(const std::string& name) {
    for (const FolderVariable& v : kFolderVariables)
        if (EqualNoCase(name, v.name)) return &v;
    return nullptr;
}

TargetFolders ScopeFolders(InstallScope scope, const std::function<std::string(KnownFolder)>& locate) {
    TargetFolders folders;
    for (const FolderVariable& v : kFolderVariables) folders.*v.field = locate(FolderFor(v, scope));
    return folders;
}

TargetFolders TypicalFolders(InstallScope scope) { return ScopeFolders(scope, TypicalFolder); }

RegistryPlace ScopeRegistryPlace(InstallScope scope, const std::string& hive, const std::string& key) {
    if (IsMachine(hive) && IsUninstallEntry(key)) return {UninstallHive(scope), key};
    if (scope == InstallScope::CurrentUser && IsClasses(hive))
        return {kUser, key.empty() ? std::string(kUserClasses) : std::string(kUserClasses) + "\\" + key};
    return {hive, key};
}

bool WritableForCurrentUser(const std::string& hive, const std::string& key) {
    return IsHive(hive, kUser, "HKEY_CURRENT_USER") || IsClasses(hive) || (IsMachine(hive) && IsUninstallEntry(key));
}

const char* UninstallHive(InstallScope scope) { return scope == InstallScope::AllUsers ? kMachine : kUser; }
const char* UninstallEntryHive() { return kMachine; }
const char* MachineHive() { return kMachine; }

std::vector<RegistryValuePlace> RegisteredOwnerPlaces(InstallScope scope, bool scopeAsked, bool organization) {
    const RegistryValuePlace user{kUser, "Software\\Microsoft\\MS Setup (ACME)\\User Info",
                                  organization ? "DefCompany" : "DefName"};
    const RegistryValuePlace machine{kMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                     organization ? "RegisteredOrganization" : "RegisteredOwner"};
    if (scope == InstallScope::CurrentUser || scopeAsked) return {user, machine};
    return {machine, user};
}

std::string FirstRegisteredValue(const std::vector<RegistryValuePlace>& places,
                                 const std::function<bool(const RegistryValuePlace&, std::string&)>& read) {
    for (const RegistryValuePlace& place : places) {
        std::string text;
        if (!read(place, text)) continue;
        const size_t first = text.find_first_not_of(" \t"), last = text.find_last_not_of(" \t");
        if (first != std::string::npos) return text.substr(first, last - first + 1);
    }
    return std::string();
}
