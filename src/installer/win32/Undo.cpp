#include "installer/win32/Undo.h"

#include <windows.h>

#include "core/Text.h"
#include "package/SetupScript.h"
#include "installer/win32/FileOperations.h"
#include "installer/win32/Libraries.h"
#include "installer/win32/Registry.h"
#include "installer/win32/SharedCounts.h"
#include "platform/FileSystem.h"

namespace {

bool UndoFile(const InstallAction& a, UndoMode mode, std::string& problem, bool* atRestart,
              LeftoverFolders* leftovers) {
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
    // A replaced program that was still running when an update ended, if no restart removed it.
    // Looked for once, and only in a folder that holds such a name at all: almost none does.
    const std::string leftover = a.path + kReplacedSuffix;
    if ((!leftovers || leftovers->MayHoldLeftover(a.path)) &&
        GetFileAttributesA(leftover.c_str()) != INVALID_FILE_ATTRIBUTES && !DeleteFileForce(leftover) && atRestart &&
        DeleteAtRestart(leftover))
        *atRestart = true;
    // Deleted first and asked after only when that fails: one call for each file that goes.
    if (DeleteFileForce(a.path)) return true;
    const std::string reason = platform::ErrorText(platform::LastError());
    // Not there (any more): nothing to remove.
    if (GetFileAttributesA(a.path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    // In use: it goes at the next restart.
    if (atRestart && DeleteAtRestart(a.path)) {
        *atRestart = true;
        return true;
    }
    problem = a.path + ": " + reason;
    return false;
}

bool UndoValue(const InstallAction& a, std::string& problem) {
    RegistryKey key;
    HKEY hive = HiveFromName(a.hive);
    if (!hive || !key.Open(hive, a.key, kWriteAccess)) return true;  // already gone
    bool ok = a.previousType < 0 ? key.DeleteValue(a.name)
                                 : key.SetValue(a.name, static_cast<DWORD>(a.previousType), a.previousData);
    if (!ok) problem = a.hive + "\\" + a.key + "\\" + a.name;
    return ok;
}

bool UndoKey(const InstallAction& a) {
    RegistryKey key;
    HKEY hive = HiveFromName(a.hive);
    if (!hive || !key.Open(hive, a.key, kReadAccess)) return true;
    // Something that the installation did not put there keeps the key.
    DWORD subkeys = 0, values = 0;
    bool empty = key.QueryInfoKey(subkeys, values) && subkeys == 0 && values == 0;
    key.Close();
    return !empty || DeleteRegistryKey(hive, a.key, KEY_WOW64_64KEY);
}

}  // namespace

bool LeftoverFolders::MayHoldLeftover(const std::string& file) {
    const size_t slash = file.find_last_of('\\');
    if (slash == std::string::npos) return true;
    const std::string folder = file.substr(0, slash);
    // A folder named in two ways is searched twice; no name is missed.
    auto known = folders_.find(LowerCase(folder));
    if (known != folders_.end()) return known->second;
    WIN32_FIND_DATAA found;
    const std::string pattern = folder + "\\*" + kReplacedSuffix;
    HANDLE search = FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    bool may = true;
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
    } else {
        // A folder that cannot be searched is looked at file by file.
        const DWORD error = GetLastError();
        may = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_NO_MORE_FILES;
    }
    folders_.emplace(LowerCase(folder), may);
    return may;
}

bool UndoAction(const InstallAction& action, UndoMode mode, std::string& problem, bool* atRestart,
                LeftoverFolders* leftovers) {
    switch (action.kind) {
        case ActionKind::File: return UndoFile(action, mode, problem, atRestart, leftovers);
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
