#include "installer/win32/Recovery.h"

#include "core/Path.h"
#include "core/Sha256.h"
#include "core/Text.h"
#include "installer/InstallLog.h"
#include "installer/win32/FileOperations.h"
#include "installer/win32/InstalledProduct.h"
#include "installer/win32/Registry.h"
#include "installer/win32/Undo.h"
#include "package/RegistryData.h"
#include "platform/FileSystem.h"

namespace {

// Every record reaches the system at once, so a killed setup loses none; the system is told to
// put them on the disk at most this often (each time costs a disk write of its own), which bounds
// what a power loss can take: the changes of the last fraction of a second, whose records may
// be lost with the file contents themselves.
constexpr ULONGLONG kFlushMilliseconds = 250;

// The hive that keeps the uninstall entries of `scope`.
HKEY EntriesHive(InstallScope scope) { return HiveFromName(UninstallHive(scope)); }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The journal that the entry's mark names; without a mark (a power loss can take the registry's
// last changes while the files stay), a journal at the entry's own place.
std::string JournalOf(const std::string& entry, InstallScope scope) {
    if (entry.empty()) return std::string();
    RegistryKey key;
    DWORD type = 0;
    std::string data;
    if (key.Open(EntriesHive(scope), entry, kReadAccess) && key.QueryValue(kJournalValue, type, data) && type == REG_SZ)
        return data.c_str();
    const std::string kept = JournalPathFor(entry);
    return Exists(kept) ? kept : std::string();
}

// The entry of a journal left at its place without its entry's mark, or without the entry itself,
// whose installation wrote into `folder`.
std::string UnmarkedEntryOf(const std::string& folder, InstallScope scope) {
    WIN32_FIND_DATAA found;
    const std::string pattern = JoinPath(platform::TempFolder(), "qs-install-*.journal");
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::string();
    std::string entry;
    do {
        const std::string path = JoinPath(platform::TempFolder(), found.cFileName);
        std::vector<JournalRecord> records;
        if (!ReadJournal(ReadWholeFile(path), records)) continue;
        entry = JournalEntryFor(records, folder, UninstallHive(scope), kUninstallEntries);
        // Only the journal at that entry's own place is its.
        if (!entry.empty() && !EqualNoCase(JournalPathFor(entry), path)) entry.clear();
    } while (entry.empty() && FindNextFileA(search, &found));
    FindClose(search);
    return entry;
}

// A file that cannot be deleted (a program of the interrupted installation runs) is renamed out
// of the way and deleted at the next restart.
void DeleteOrSetAside(const std::string& path, const std::function<void(const std::string&)>& note) {
    if (!Exists(path) || DeleteFileForce(path)) return;
    const std::string aside = path + kReplacedSuffix + "-recovered";
    if (MoveFileExA(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteAtRestart(aside);
        note("In use, removed at the next restart: " + path);
    } else {
        DeleteAtRestart(path);
        note("Cannot remove " + path + "; removed at the next restart");
    }
}

void Take(const RecoveryStep& step, const std::string& entry, InstallScope scope,
          const std::function<void(const std::string&)>& note) {
    const JournalRecord& r = step.record;
    InstallAction a;
    std::string problem;
    switch (step.op) {
        case RecoveryOp::RemoveFolder: RemoveDirectoryA(r.path.c_str()); return;
        case RecoveryOp::DeleteFile: DeleteOrSetAside(r.path, note); return;
        case RecoveryOp::RestoreBackup:
            DeleteOrSetAside(r.path, note);
            if (!MoveFileExA(r.backup.c_str(), r.path.c_str(), MOVEFILE_REPLACE_EXISTING))
                note("Cannot restore " + r.path + " from " + r.backup);
            return;
        case RecoveryOp::RestoreValue:
            a.kind = ActionKind::Value;
            a.hive = r.hive;
            a.key = r.key;
            a.name = r.name;
            a.previousType = r.previousType;
            a.previousData = r.previousData;
            if (!UndoAction(a, UndoMode::Rollback, problem)) note("Cannot restore " + problem);
            return;
        case RecoveryOp::RemoveKey:
            // The entry that the interrupted installation made goes whole, with the journal's mark.
            if (EqualNoCase(r.hive, UninstallHive(scope)) && EqualNoCase(r.key, entry)) {
                RemoveUninstallEntry(EntriesHive(scope), entry);
                return;
            }
            a.kind = ActionKind::Key;
            a.hive = r.hive;
            a.key = r.key;
            UndoAction(a, UndoMode::Rollback, problem);
            return;
    }
}

}  // namespace

JournalFile::~JournalFile() {
    if (IsOpen()) CloseHandle(file_);
}

bool JournalFile::Create(const std::string& path) {
    path_ = path;
    file_ = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return IsOpen();
}

void JournalFile::Write(const JournalRecord& record) {
    if (!IsOpen()) return;
    const std::string line = JournalLine(record);
    DWORD done = 0;
    WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &done, nullptr);
    const ULONGLONG now = GetTickCount64();
    if (now - flushed_ >= kFlushMilliseconds) {
        FlushFileBuffers(file_);
        flushed_ = now;
    }
}

void JournalFile::Finish() {
    if (!IsOpen()) return;
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    DeleteFileA(path_.c_str());
}

std::string JournalPathFor(const std::string& entry) {
    return JoinPath(platform::TempFolder(), "qs-install-" + Sha256Hex(LowerCase(entry)).substr(0, 16) + ".journal");
}

bool RecoverInterruptedInstallation(const std::string& entry, InstallScope scope,
                                    const std::function<void(const std::string&)>& note, const std::string& running,
                                    std::vector<std::string>* foldersLeft) {
    const std::string journal = JournalOf(entry, scope);
    if (journal.empty()) return false;
    note("An installation of the product was interrupted; its journal " + journal + " is taken back");
    std::vector<JournalRecord> records;
    if (!ReadJournal(ReadWholeFile(journal), records)) note("The journal cannot be read: only its mark is removed");
    for (const RecoveryStep& step : PlanRecovery(records, Exists)) {
        if (!running.empty() && EqualNoCase(step.record.path, running)) continue;
        Take(step, entry, scope, note);
        if (foldersLeft && step.op == RecoveryOp::RemoveFolder && platform::IsFolder(step.record.path))
            foldersLeft->push_back(step.record.path);
    }
    RegistryKey key;
    if (key.Open(EntriesHive(scope), entry, kWriteAccess)) key.DeleteValue(kJournalValue);
    DeleteFileA(journal.c_str());
    note("The interrupted installation is taken back");
    return true;
}

std::string InterruptedEntryOf(const std::string& folder, InstallScope scope) {
    RegistryKey entries;
    entries.Open(EntriesHive(scope), kUninstallEntries, kReadAccess);
    const std::string prefix = LowerCase(TrimTrailingBackslashes(folder)) + "\\";
    std::string name;
    for (DWORD i = 0; entries.EnumKey(i, name); ++i) {
        const std::string entry = kUninstallEntries + name;
        const std::string journal = JournalOf(entry, scope);
        std::vector<JournalRecord> records;
        if (journal.empty() || !ReadJournal(ReadWholeFile(journal), records)) continue;
        for (const JournalRecord& r : records)
            if (LowerCase(r.path).rfind(prefix, 0) == 0) return entry;
    }
    return UnmarkedEntryOf(TrimTrailingBackslashes(folder), scope);
}
