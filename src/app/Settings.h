#pragma once
// The builder's own settings in the current user's registry, and the association of project
// files with the builder. Every registry failure is silent: callers get false at most.
#include <windows.h>

#include <string>
#include <vector>

// The main window's placement, written when it closes; true when `window` is no window.
bool SaveWindowPlacement(HWND window);
// Applies the stored placement to the main window; false when none (of exactly 44 bytes) is
// stored or `window` is no window.
bool LoadWindowPlacement(HWND window);
bool SaveLanguage(const std::string& language);
// The stored language; "English" when the key or value is missing or empty.
std::string LoadLanguageSetting();
// The command that signs every program a build produces ("signCommand", "{file}" standing for
// the program's path; empty: builds are not signed). A setting of the builder, not of projects:
// it names the user's own certificate and tools. The build dialog hands it to
// BuildJob::SetSigningCommand.
bool SaveSigningCommand(const std::string& command);
std::string LoadSigningCommand();
// The recent projects, most recent first, as the values "recent1" to "recent8" (those not used
// empty); a list that cannot be read is empty.
bool SaveRecentProjects(const std::vector<std::string>& paths);
std::vector<std::string> LoadRecentProjects();
// Associates ".qsp" with the running builder; true when all three keys were written.
bool RegisterFileType();

// The registry key of the settings below HKEY_CURRENT_USER.
constexpr const char* kSettingsKey = "software\\Varnel Software\\Quillset";
