#pragma once
// The installer script setup.ini as the installer reads it: every line form that a build
// writes, split into fields but not yet resolved (variables stay as tokens).
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "package/Refusal.h"
#include "scope/InstallScope.h"
#include "screens/ScreenSettings.h"
#include "profile/ProfileText.h"

struct ScriptFile {
    std::string entry;        // the name inside setup.zip
    std::string destination;  // the short destination path, "%AppDir%\Bin\Tool.exe"
    int options = 0;          // FileOption bits
    int replaceMode = 0;      // ReplaceMode
};

enum FileOption { kCompress = 1, kSelfRegister = 2, kSharedFile = 4, kNeverUninstall = 8 };

// What happens when a file to install already exists, by the index the builder stores (the
// order of the File Properties dialog's list). Without questions (/S, /SUPPRESSMSGBOXES) "ask"
// replaces.
enum ReplaceMode {
    kReplaceAlways = 0,          // always replace
    kReplaceNever = 1,           // never replace an existing file
    kReplaceOlderDate = 2,       // replace if the existing file is older (last write time)
    kReplaceLowerVersion = 3,    // replace if the existing file has a lower version
    kReplaceLowerOrOlder = 4,    // replace if the version is lower, or the same with an older date
    kReplaceAsk = 5,             // ask the user
    kReplaceDifferent = 6,       // replace if the contents differ
    kReplaceAtRestart = 7,       // replace, and a file in use at the next restart
};

struct ScriptShortcut {
    bool internet = false;
    std::string path;  // without ".lnk" or ".url"
    std::string target, parameters, iconPath, iconIndex;
    int showCommand = 0;
    std::string workingFolder;
};

struct ScriptRegistryLine {
    bool key = false;  // "key," line, otherwise a "value," line
    std::string hive;  // HKCR, HKCU, HKLM, HKU
    std::string keyPath, name;
    char type = 's';   // 's' string, 'b' binary, 'd' number, 'e' expandable string, 'm' multi-string
                       // (its strings as a quoted list); "S" reads as 's'
    std::string data;
};

struct ScriptFileType {
    std::string extension, identifier, fullName, program, iconPath;
    int iconNumber = 0;
};

struct SetupScript {
    // [SETUP_INFO]
    std::string installationPath, shortcutFolderName, removeDescription;
    bool enableUninstaller = false;
    std::vector<std::string> languages;
    std::string defaultLanguage;
    std::string requiredDiskSpace;  // kilobytes as the user typed them
    ScopeChoice scopeChoice = ScopeChoice::AllUsers;  // missing: all users, as before scopes existed
    // [GENERAL_INFO], by key without "="
    std::vector<std::pair<std::string, std::string>> generalInfo;
    // [SYSTEM_REQUIREMENTS]
    bool anyWindows = true;
    bool windowsFlags[6] = {};  // 95, 98, ME, NT4, 2000, XP
    // Windows 10 and 11: missing in older scripts, which leave the decision to the flags above.
    std::optional<bool> windows10, windows11;
    bool only64BitWindows = false;
    bool abortInstallation = false;
    // The folder, file, shortcut, registry and file type sections, in file order.
    std::vector<std::string> folders;
    std::vector<ScriptFile> files;
    std::vector<std::string> shortcutFolders;
    std::vector<ScriptShortcut> shortcuts;
    std::vector<ScriptRegistryLine> registry;
    std::vector<ScriptFileType> fileTypes;
    // The six screen sections. A script without [DIALOGS] switches every screen off: it installs
    // behind the progress window alone, as before the screens existed.
    ScreenSettings screens;
    // Lines that a build never writes (the package is damaged), and values out of range.
    std::vector<Refusal> problems;
};

SetupScript ReadSetupScript(const ProfileText& script);

// How the problem of a line that a build never writes begins (its fields split at a ",").
constexpr char kBadLine[] = "setup.ini holds a bad ";

// The colours (0x00BBGGRR) from the top to the bottom of the panel of the welcome and finish
// screens: the setup window's when the project shows one, else blue to black. The install log
// keeps them, so that the uninstaller's screens look the same.
std::pair<std::uint32_t, std::uint32_t> PanelColours(const ScreenSettings& screens);

// The fields of a comma-separated line: the first `count` - 1 cuts, the last field holds the rest.
std::vector<std::string> SplitFields(const std::string& line, size_t count);
