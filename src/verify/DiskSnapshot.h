#pragma once
// The files and folders of a Wine prefix's drive C at one moment, and what changed between two
// such moments. Paths are the Windows paths a program sees ("C:\Program Files\App\App.exe");
// they compare without regard to case, as Windows compares them. A file's size and write time
// tell whether it changed; its SHA-256 is computed only for what a comparison reports.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct DiskEntry {
    std::string path;  // Windows form
    bool folder = false;
    std::uint64_t size = 0;
    std::int64_t stamp = 0;  // the write time, comparable between snapshots of one computer
};

struct DiskSnapshot {
    std::map<std::string, DiskEntry> entries;  // by the lower-case path

    // `driveRoot`: drive C's folder on this computer, in the system's form.
    static DiskSnapshot Take(const std::string& driveRoot);
    const DiskEntry* Find(const std::string& windowsPath) const;
};

struct DiskChange {
    enum Kind { Added, Changed, Removed } kind = Added;
    DiskEntry entry;  // as it is afterwards (as it was, when removed)
};
std::vector<DiskChange> CompareDisk(const DiskSnapshot& before, const DiskSnapshot& after);

// A path of drive C, "C:\..." (any case of the letter), on this computer below `driveRoot`;
// empty for a path on another drive.
std::string HostPathOf(const std::string& driveRoot, const std::string& windowsPath);

// The SHA-256 of a file's bytes as 64 upper-case hex digits; false when it cannot be read.
bool FileSha256(const std::string& path, std::string& hex);
