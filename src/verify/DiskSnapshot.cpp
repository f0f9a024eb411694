#include "verify/DiskSnapshot.h"

#include "core/Path.h"
#include "core/Sha256.h"
#include "core/Text.h"
#include "platform/File.h"
#include "platform/FolderScanner.h"

namespace {

std::int64_t Stamp(const std::string& path) {
    platform::LocalTime t;
    if (!platform::GetFileLocalWriteTime(path, t)) return 0;
    return ((((static_cast<std::int64_t>(t.year) * 13 + t.month) * 32 + t.day) * 24 + t.hour) * 60 + t.minute) * 60 +
           t.second;
}

}  // namespace

DiskSnapshot DiskSnapshot::Take(const std::string& driveRoot) {
    DiskSnapshot snapshot;
    FolderScanner scanner;
    if (!scanner.Start(driveRoot, true)) return snapshot;
    for (auto name = scanner.First(); name; name = scanner.Next()) {
        const std::string relative = JoinPath(scanner.RelativeFolder(), *name);
        DiskEntry entry;
        entry.path = "C:\\" + relative;
        entry.folder = scanner.IsFolder();
        if (!entry.folder) {
            const std::string host = JoinPath(scanner.CurrentFolder(), *name);
            File file;
            if (file.Open(host, ReadExisting)) file.GetSize64(entry.size);
            entry.stamp = Stamp(host);
        }
        snapshot.entries[LowerCase(entry.path)] = entry;
    }
    scanner.Finish();
    return snapshot;
}

const DiskEntry* DiskSnapshot::Find(const std::string& windowsPath) const {
    auto it = entries.find(LowerCase(windowsPath));
    return it == entries.end() ? nullptr : &it->second;
}

std::vector<DiskChange> CompareDisk(const DiskSnapshot& before, const DiskSnapshot& after) {
    std::vector<DiskChange> changes;
    for (const auto& [key, entry] : after.entries) {
        auto old = before.entries.find(key);
        if (old == before.entries.end())
            changes.push_back({DiskChange::Added, entry});
        else if (!entry.folder && (old->second.folder || old->second.size != entry.size || old->second.stamp != entry.stamp))
            changes.push_back({DiskChange::Changed, entry});
    }
    for (const auto& [key, entry] : before.entries)
        if (!after.entries.count(key)) changes.push_back({DiskChange::Removed, entry});
    return changes;
}

std::string HostPathOf(const std::string& driveRoot, const std::string& windowsPath) {
    if (windowsPath.size() < 2 || (windowsPath[0] != 'C' && windowsPath[0] != 'c') || windowsPath[1] != ':') return {};
    std::string rest = windowsPath.substr(2);
    while (!rest.empty() && (rest[0] == '\\' || rest[0] == '/')) rest.erase(0, 1);
    return rest.empty() ? driveRoot : JoinPath(driveRoot, rest);
}

bool FileSha256(const std::string& path, std::string& hex) {
    File file;
    if (!file.Open(path, ReadExisting)) return false;
    Sha256 digest;
    std::string buffer(1 << 16, '\0');
    for (;;) {
        std::uint32_t done = 0;
        const bool whole = file.Read(&buffer[0], static_cast<std::uint32_t>(buffer.size()), done);
        digest.Add(buffer.data(), done);
        if (!whole) break;
    }
    hex = HexBytes(digest.Finish());
    return true;
}
