#include "app/Settings.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/RegistryKey.h"

namespace {

const char kKeyClass[] = "Quillset";

bool WriteSetting(const char* name, DWORD type, const std::string& data) {
    RegistryKey key;
    return key.Create(HKEY_CURRENT_USER, kSettingsKey, KEY_ALL_ACCESS, kKeyClass) && key.SetValue(name, type, data);
}

// Texts are stored without a terminating zero in their length.
bool WriteDefaultText(const char* path, const std::string& text) {
    RegistryKey key;
    return key.Create(HKEY_CLASSES_ROOT, path, KEY_ALL_ACCESS, kKeyClass) && key.SetValue(std::string(), REG_SZ, text);
}

// A value of the settings key of at most `limit` bytes.
bool ReadSetting(const char* name, std::string& data, size_t limit) {
    RegistryKey key;
    DWORD type = 0;
    return key.Open(HKEY_CURRENT_USER, kSettingsKey, KEY_READ) && key.QueryValue(name, type, data) &&
           data.size() <= limit;
}

}  // namespace

bool SaveWindowPlacement(HWND window) {
    if (!window || !IsWindow(window)) return true;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement)) return false;
    return WriteSetting("placement", REG_BINARY,
                        std::string(reinterpret_cast<const char*>(&placement), sizeof placement));
}

bool LoadWindowPlacement(HWND window) {
    WINDOWPLACEMENT placement{};
    std::string data;
    if (!ReadSetting("placement", data, sizeof placement) || data.size() != sizeof placement) return false;
    memcpy(&placement, data.data(), sizeof placement);
    if (!window || !IsWindow(window)) return false;
    placement.length = sizeof placement;
    // A window closed while minimised comes back in its normal or maximised state, never as a
    // button on the task bar that the user has to find first.
    if (placement.showCmd == SW_SHOWMINIMIZED || placement.showCmd == SW_MINIMIZE ||
        placement.showCmd == SW_SHOWMINNOACTIVE)
        placement.showCmd = (placement.flags & WPF_RESTORETOMAXIMIZED) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    return SetWindowPlacement(window, &placement) != FALSE;
}

bool SaveLanguage(const std::string& language) {
    return WriteSetting("language", REG_SZ, language);
}

std::string LoadLanguageSetting() {
    std::string language;
    if (!ReadSetting("language", language, MAX_PATH)) return "English";
    // The stored text may or may not end in a zero.
    language = language.c_str();
    return language.empty() ? "English" : language;
}

bool SaveSigningCommand(const std::string& command) {
    return WriteSetting("signCommand", REG_SZ, command);
}

std::string LoadSigningCommand() {
    std::string command;
    if (!ReadSetting("signCommand", command, 32767)) return std::string();
    return command.c_str();  // the stored text may or may not end in a zero
}

bool SaveRecentProjects(const std::vector<std::string>& paths) {
    bool written = true;
    for (size_t index = 0; index < 8; ++index) {
        const std::string name = "recent" + std::to_string(index + 1);
        written = WriteSetting(name.c_str(), REG_SZ, index < paths.size() ? paths[index] : std::string()) && written;
    }
    return written;
}

std::vector<std::string> LoadRecentProjects() {
    std::vector<std::string> paths;
    for (size_t index = 0; index < 8; ++index) {
        const std::string name = "recent" + std::to_string(index + 1);
        std::string path;
        if (ReadSetting(name.c_str(), path, 32767)) paths.push_back(path.c_str());
    }
    return paths;
}

bool RegisterFileType() {
    char program[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const std::string quoted = std::string("\"") + program + "\"";
    return WriteDefaultText(".qsp", "Quillset.Project") &&
           WriteDefaultText("Quillset.Project\\DefaultIcon", quoted + ",10") &&
           WriteDefaultText("Quillset.Project\\shell\\open\\command", quoted + " \"%1\"");
}
