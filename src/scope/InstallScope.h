#pragma once
// Whom an installation is for: every user of the computer (administrator rights, Program Files,
// the common Start menu, HKLM) or only the user who runs it (no rights, the user's own Programs
// folder, Start menu and HKCU). The scope is decided once when an installation starts and is
// carried through the plan, the installer, the install log and the uninstaller.
//
// This is the one place that maps a scope to the computer's folders and registry hives: every
// other part asks it, so that no part assumes the all-users places on its own.
#include <functional>
#include <string>
#include <vector>

enum class InstallScope {
    AllUsers,     // the machine's folders and hives; needs administrator rights
    CurrentUser,  // the user's folders and hives; needs no rights
};

// What a project offers: one scope, or the choice between both on the installer's screen.
enum class ScopeChoice { AllUsers, CurrentUser, Ask };

// The names that the project file, setup.ini and qsbuild --scope write: "all", "user", "ask".
const char* ScopeChoiceName(ScopeChoice choice);
// Reads those names in any letter case; false for anything else.
bool ReadScopeChoice(const std::string& text, ScopeChoice& choice);
// The name of a decided scope, as the install log keeps it: "all" or "user".
const char* ScopeName(InstallScope scope);
// False for anything but those names; an empty text (a log written before scopes) is all users.
bool ReadScope(const std::string& text, InstallScope& scope);

// The key of [SETUP_INFO] in the project file and in setup.ini that holds a ScopeChoiceName. A
// project without it installs for all users; one for all users is written without it.
constexpr char kInstallScopeKey[] = "InstallScope=";

// Whether a project that offers `choice` can install for `scope`.
inline bool Offers(ScopeChoice choice, InstallScope scope) {
    return choice == ScopeChoice::Ask || (choice == ScopeChoice::AllUsers) == (scope == InstallScope::AllUsers);
}

// The execution level that the manifests of a project's installer and uninstaller ask for: only
// an all-users project asks for administrator rights at once; a project that lets the user choose
// asks for them when the user chooses all users.
const char* ExecutionLevel(ScopeChoice choice);

// The folders that the folder variables stand for on the target computer.
struct TargetFolders {
    std::string programFiles, commonFiles, windows, system, fonts;
    std::string desktop, startMenu, startMenuPrograms, startUp;
};

// The folders of the system, each named as the system names it; the installer asks the system
// for each one (SystemFolders), the builder takes a typical computer's.
enum class KnownFolder {
    ProgramFiles,           // C:\Program Files
    ProgramFilesCommon,     // C:\Program Files\Common Files
    UserProgramFiles,       // %LOCALAPPDATA%\Programs
    UserProgramFilesCommon, // %LOCALAPPDATA%\Programs\Common
    Windows,
    System,
    Fonts,
    CommonDesktop,
    Desktop,
    CommonStartMenu,
    StartMenu,
    CommonPrograms,
    Programs,
    CommonStartup,
    Startup,
};

// A folder variable and the folder it names in each scope. `perUser` is false for the variables
// whose folders belong to the machine in either scope: a current-user installation may not put
// anything there.
struct FolderVariable {
    const char* name;  // without the "%"
    std::string TargetFolders::*field;
    KnownFolder allUsers, currentUser;
    bool perUser;
};
// Every folder variable, in the order the installer resolves them.
const FolderVariable* FolderVariablesBegin();
const FolderVariable* FolderVariablesEnd();
// The variable named `name` (without "%", any letter case); nullptr when none.
const FolderVariable* FindFolderVariable(const std::string& name);

inline KnownFolder FolderFor(const FolderVariable& v, InstallScope scope) {
    return scope == InstallScope::AllUsers ? v.allUsers : v.currentUser;
}

// The folders of `scope`, each from `locate` (empty where the system has none).
TargetFolders ScopeFolders(InstallScope scope, const std::function<std::string(KnownFolder)>& locate);
// The folders of a typical computer with a user named "User", for the checks and warnings of a
// build, which knows no target computer.
TargetFolders TypicalFolders(InstallScope scope);

// The registry: setup.ini names hives as HKCR, HKCU, HKLM, HKU. A hive with a key below it.
struct RegistryPlace {
    std::string hive, key;
};

// Where a registry line that setup.ini writes below `hive` goes in `scope`:
// - the product's uninstall entry (HKLM\kUninstallEntries...) goes below the scope's hive;
// - file types and other classes (HKCR) go below HKCU\Software\Classes for the current user;
// - everything else stays where it is written.
RegistryPlace ScopeRegistryPlace(InstallScope scope, const std::string& hive, const std::string& key);
// Whether a current-user installation may write below `hive` (a setup.ini hive name): the user's
// own hive and the classes, which move into it; HKLM only for the uninstall entry.
bool WritableForCurrentUser(const std::string& hive, const std::string& key);

// The hive that keeps the products' uninstall entries of `scope`, and the hive of the setup.ini
// line of a project's own uninstall entry (written once for every scope, moved by
// ScopeRegistryPlace).
const char* UninstallHive(InstallScope scope);
const char* UninstallEntryHive();
// Below the uninstall hive: the products' uninstall entries, one key each.
constexpr char kUninstallEntries[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The machine's own registry, which is read (the registered owner) or written only by all-users
// installations (the counts of shared files).
const char* MachineHive();

// A registry value: a hive as setup.ini names it, the key below it and the value's name.
struct RegistryValuePlace {
    std::string hive, key, name;
};

// Where the user information screen's suggested owner name (or, with `organization`, company)
// is read, first found first. Who installs only for himself, or has yet to choose on the scope
// screen, runs without rights as himself: the name and company that setups record for the user
// come first, then the computer's registered owner, which every user can read. An installation
// for all users suggests the computer's registered owner first.
std::vector<RegistryValuePlace> RegisteredOwnerPlaces(InstallScope scope, bool scopeAsked, bool organization);
// The first value of `places` that `read` finds and that is not blank; empty when none.
std::string FirstRegisteredValue(const std::vector<RegistryValuePlace>& places,
                                 const std::function<bool(const RegistryValuePlace&, std::string&)>& read);
