#include "installer/InstallJournal.h"

#include <cstdlib>
#include <unordered_set>

#include "core/Text.h"
#include "installer/InstallLog.h"

namespace {

struct KindName {
    JournalKind kind;
    const char* name;
};

const KindName kKinds[] = {
    {JournalKind::Folder, "Folder"}, {JournalKind::Writing, "Writing"}, {JournalKind::Placing, "Placing"},
    {JournalKind::Backup, "Backup"}, {JournalKind::Placed, "Placed"},   {JournalKind::Kept, "Kept"},
    {JournalKind::Pending, "Pending"},
    {JournalKind::Key, "Key"},       {JournalKind::Value, "Value"},
};

bool ReadRecord(const std::string& line, JournalRecord& r) {
    std::vector<std::string> f = SplitTabs(line);
    const KindName* kind = nullptr;
    for (const KindName& k : kKinds)
        if (f[0] == k.name) kind = &k;
    if (!kind || f.size() != 8) return false;
    r.kind = kind->kind;
    char* end = nullptr;
    r.previousType = std::strtol(f[6].c_str(), &end, 10);
    return !f[6].empty() && *end == '\0' && UnescapeField(f[1], r.path) && UnescapeField(f[2], r.backup) &&
           UnescapeField(f[3], r.hive) && UnescapeField(f[4], r.key) && UnescapeField(f[5], r.name) &&
           ReadHexBytes(f[7], r.previousData);
}

}  // namespace

std::string JournalLine(const JournalRecord& r) {
    const char* name = "";
    for (const KindName& k : kKinds)
        if (k.kind == r.kind) name = k.name;
    return std::string(name) + "\t" + EscapeField(r.path) + "\t" + EscapeField(r.backup) + "\t" + EscapeField(r.hive) +
           "\t" + EscapeField(r.key) + "\t" + EscapeField(r.name) + "\t" + std::to_string(r.previousType) + "\t" +
           HexBytes(r.previousData) + "\r\n";
}

bool ReadJournal(const std::string& text, std::vector<JournalRecord>& records) {
    records.clear();
    size_t start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        JournalRecord r;
        if (!ReadRecord(text.substr(start, end - start), r)) return false;
        records.push_back(r);
        start = end + 2;
    }
    return true;
}

std::vector<RecoveryStep> PlanRecovery(const std::vector<JournalRecord>& records,
                                       const std::function<bool(const std::string&)>& exists) {
    // A file moved aside is put back by its Backup record, and one that was kept stays: their
    // Placing record, which came first and found the file there, must not delete it.
    std::unordered_set<std::string> backedUp;
    for (const JournalRecord& r : records)
        if (r.kind == JournalKind::Backup || r.kind == JournalKind::Kept) backedUp.insert(LowerCase(r.path));
    std::vector<RecoveryStep> steps;
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        const JournalRecord& r = *it;
        switch (r.kind) {
            case JournalKind::Folder: steps.push_back({RecoveryOp::RemoveFolder, r}); break;
            case JournalKind::Writing: {
                JournalRecord fresh = r;
                fresh.path = r.path + kFreshSuffix;
                steps.push_back({RecoveryOp::DeleteFile, fresh});
                break;
            }
            case JournalKind::Placing:
                // The rename happened when the temporary file is gone: what lies there is this
                // installation's. While it is still there, the file in place is someone else's.
                if (!backedUp.count(LowerCase(r.path)) && !exists(r.path + kFreshSuffix))
                    steps.push_back({RecoveryOp::DeleteFile, r});
                break;
            case JournalKind::Backup:
                if (exists(r.backup)) steps.push_back({RecoveryOp::RestoreBackup, r});
                break;
            case JournalKind::Placed:
            case JournalKind::Kept: break;
            case JournalKind::Pending: {
                JournalRecord fresh = r;
                fresh.path = r.backup;
                steps.push_back({RecoveryOp::DeleteFile, fresh});
                break;
            }
            case JournalKind::Key: steps.push_back({RecoveryOp::RemoveKey, r}); break;
            case JournalKind::Value: steps.push_back({RecoveryOp::RestoreValue, r}); break;
        }
    }
    return steps;
}

std::string JournalEntryFor(const std::vector<JournalRecord>& records, const std::string& folder,
                            const std::string& hive, const std::string& entries) {
    const std::string prefix = LowerCase(folder) + "\\", below = LowerCase(entries);
    bool wroteThere = false;
    std::string entry;
    for (const JournalRecord& r : records) {
        wroteThere = wroteThere || LowerCase(r.path).rfind(prefix, 0) == 0;
        const std::string key = LowerCase(r.key);
        if (r.kind == JournalKind::Key && EqualNoCase(r.hive, hive) && key.size() > below.size() &&
            key.rfind(below, 0) == 0 && key.find('\\', below.size()) == std::string::npos)
            entry = r.key;
    }
    return wroteThere ? entry : std::string();
}
