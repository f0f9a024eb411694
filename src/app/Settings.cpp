#include "app/Settings.h"

#include <windows.h>

#include <algorithm>

#include "app/Application.h"
#include "app/MainWindow.h"

namespace {

// An open registry key, closed when it goes out of scope.
class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() {
        if (key_) RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool Create(HKEY root, const char* path) {
        return RegCreateKeyExA(root, path, 0, const_cast<char*>("Quillset"), REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, &key_, nullptr) == ERROR_SUCCESS;
    }
    bool OpenForReading(HKEY root, const char* path) {
        return RegOpenKeyExA(root, path, 0, KEY_READ, &key_) == ERROR_SUCCESS;
    }
    bool SetValue(const char* name, DWORD type, const void* data, DWORD size) {
        return RegSetValueExA(key_, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    }
    // Texts are stored without a terminating zero in their length.
    bool SetText(const char* name, const std::string& text) {
        return SetValue(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size()));
    }
    bool Query(const char* name, void* buffer, DWORD& size) {
        return RegQueryValueExA(key_, name, nullptr, nullptr, static_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS;
    }

private:
    HKEY key_ = nullptr;
};

bool WriteSetting(const char* name, DWORD type, const void* data, DWORD size) {
    RegistryKey key;
    return key.Create(HKEY_CURRENT_USER, kSettingsKey) && key.SetValue(name, type, data, size);
}

bool WriteDefaultText(const char* path, const std::string& text) {
    RegistryKey key;
    return key.Create(HKEY_CLASSES_ROOT, path) && key.SetText(nullptr, text);
}

}  // namespace

bool SaveWindowPlacement() {
    MainWindow* main = TheMainWindow();
    if (!main || !main->HasWindow()) return true;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(main->Handle(), &placement)) return false;
    return WriteSetting("placement", REG_BINARY, &placement, sizeof placement);
}

bool LoadWindowPlacement() {
    RegistryKey key;
    if (!key.OpenForReading(HKEY_CURRENT_USER, kSettingsKey)) return false;
    WINDOWPLACEMENT placement{};
    DWORD size = sizeof placement;
    if (!key.Query("placement", &placement, size) || size != sizeof placement) return false;
    MainWindow* main = TheMainWindow();
    if (!main || !main->HasWindow()) return false;
    placement.length = sizeof placement;
    // A window closed while minimised comes back in its normal or maximised state, never as a
    // button on the task bar that the user has to find first.
    if (placement.showCmd == SW_SHOWMINIMIZED || placement.showCmd == SW_MINIMIZE ||
        placement.showCmd == SW_SHOWMINNOACTIVE)
        placement.showCmd = (placement.flags & WPF_RESTORETOMAXIMIZED) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    return SetWindowPlacement(main->Handle(), &placement) != FALSE;
}

bool SaveLanguage(const std::string& language) {
    return WriteSetting("language", REG_SZ, language.c_str(), static_cast<DWORD>(language.size()));
}

std::string LoadLanguageSetting() {
    RegistryKey key;
    char buffer[MAX_PATH + 1] = "";
    DWORD size = MAX_PATH;
    if (!key.OpenForReading(HKEY_CURRENT_USER, kSettingsKey) || !key.Query("language", buffer, size))
        return "English";
    // The stored text may or may not end in a zero.
    std::string language(buffer, std::min<DWORD>(size, MAX_PATH));
    language = language.c_str();
    return language.empty() ? "English" : language;
}

bool SaveSigningCommand(const std::string& command) {
    return WriteSetting("signCommand", REG_SZ, command.c_str(), static_cast<DWORD>(command.size()));
}

std::string LoadSigningCommand() {
    RegistryKey key;
    DWORD size = 0;
    if (!key.OpenForReading(HKEY_CURRENT_USER, kSettingsKey) || !key.Query("signCommand", nullptr, size) || size == 0)
        return std::string();
    std::string command(size, '\0');
    if (!key.Query("signCommand", &command[0], size)) return std::string();
    command.resize(std::min<DWORD>(size, static_cast<DWORD>(command.size())));
    return command.c_str();  // the stored text may or may not end in a zero
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
