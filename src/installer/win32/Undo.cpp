#include "installer/win32/Undo.h"

#include <windows.h>

#include "installer/SetupScript.h"
#include "installer/win32/Registry.h"
#include "installer/win32/Shell.h"

namespace {

const char kSharedKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

bool UndoFile(const InstallAction& a, UndoMode mode, std::string& problem) {
    bool shared = (a.options & kSharedFile) != 0;
    bool remove = !(a.options & kKeptExisting);
    if (mode == UndoMode::Rollback) {
        if (shared) SetSharedCount(a.path, a.previousCount);
        // The replacement waiting for the restart goes (the rename then finds nothing to move);
        // the file in use stays as it was.
        if (!a.pending.empty()) {
            if (DeleteFileForce(a.pending)) return true;
            problem = a.pending;
            return false;
        }
        if (!remove) return true;
        bool ok = DeleteFileForce(a.path);
        if (!a.backup.empty()) ok = MoveFileExA(a.backup.c_str(), a.path.c_str(), MOVEFILE_REPLACE_EXISTING) && ok;
        if (!ok) problem = a.path;
        return ok;
    }
    if (a.options & kNeverUninstall) return true;
    if (shared) {
        long count = SharedCount(a.path) - 1;
        SetSharedCount(a.path, count > 0 ? count : -1);
        if (count > 0) return true;
    }
    if (GetFileAttributesA(a.path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    if (DeleteFileForce(a.path)) return true;
    // In use: it goes at the next restart.
    MoveFileExA(a.path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    problem = a.path;
    return false;
}

bool UndoValue(const InstallAction& a, std::string& problem) {
    RegistryKey key;
    HKEY hive = HiveFromName(a.hive);
    if (!hive || !key.Open(hive, a.key, KEY_READ | KEY_WRITE)) return true;  // already gone
    bool ok = a.previousType < 0 ? key.Delete(a.name)
                                 : key.Set(a.name, static_cast<DWORD>(a.previousType), a.previousData);
    if (!ok) problem = a.hive + "\\" + a.key + "\\" + a.name;
    return ok;
}

bool UndoKey(const InstallAction& a) {
    RegistryKey key;
    HKEY hive = HiveFromName(a.hive);
    if (!hive || !key.Open(hive, a.key, KEY_READ)) return true;
    // Something that the installation did not put there keeps the key.
    bool empty = key.IsEmpty();
    key.Close();
    return !empty || DeleteRegistryKey(hive, a.key);
}

}  // namespace

long SharedCount(const std::string& path) {
    RegistryKey key;
    DWORD type = 0;
    std::string data;
    if (!key.Open(HKEY_LOCAL_MACHINE, kSharedKey, KEY_READ) || !key.Query(path, type, data) ||
        type != REG_DWORD || data.size() != sizeof(DWORD))
        return -1;
    DWORD count = 0;
    memcpy(&count, data.data(), sizeof count);
    return static_cast<long>(count);
}

bool SetSharedCount(const std::string& path, long count) {
    RegistryKey key;
    bool created = false;
    if (!key.Create(HKEY_LOCAL_MACHINE, kSharedKey, created)) return false;
    return count < 0 ? key.Delete(path) : key.Set(path, REG_DWORD, DwordData(static_cast<DWORD>(count)));
}

bool DeleteFileForce(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return DeleteFileA(path.c_str()) != FALSE;
}

bool UndoAction(const InstallAction& action, UndoMode mode, std::string& problem) {
    switch (action.kind) {
        case ActionKind::File: return UndoFile(action, mode, problem);
        case ActionKind::Registered:
            // A component that stays installed stays registered.
            if (mode == UndoMode::Uninstall && ((action.options & kNeverUninstall) ||
                                                ((action.options & kSharedFile) && SharedCount(action.path) > 1)))
                return true;
            CallRegistration(action.path, false);
            return true;
        // A folder that still holds something (a file the user made) stays.
        case ActionKind::Folder: RemoveDirectoryA(action.path.c_str()); return true;
        case ActionKind::Key: return UndoKey(action);
        case ActionKind::Value: return UndoValue(action, problem);
    }
    return true;
}
