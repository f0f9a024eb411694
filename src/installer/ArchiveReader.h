#pragma once
// Reading the product archive setup.zip: the one place where the installer looks inside it.
// The reader owns the open archive and closes it when it goes.
#include <cstdint>
#include <functional>
#include <string>

struct ArchiveEntry {
    std::uint64_t size = 0;     // uncompressed bytes
    std::uint32_t dosDate = 0;  // the DOS date (high word) and time (low word) it was stored with
};

enum class ExtractStatus {
    Ok,
    Unreadable,  // the entry is missing or cannot be opened
    Damaged,     // reading the entry fails, or its CRC does not match
    Unwritten,   // the target file cannot be created or written
    Stopped,     // `progress` asked to stop; the target is left incomplete
};

class ArchiveReader {
public:
    ArchiveReader() = default;
    ~ArchiveReader();
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    // False when the file is missing or no archive.
    bool Open(const std::string& path);
    bool IsOpen() const { return archive_ != nullptr; }

    // The entry of this name (compared without regard to letter case); false when there is none.
    bool Find(const std::string& name, ArchiveEntry& entry);
    // Writes the entry's bytes to `target` (created or emptied) and tells what `entry` it was.
    // After each block `progress` learns its size and may return false to stop.
    ExtractStatus Extract(const std::string& name, const std::string& target,
                          const std::function<bool(std::uint32_t)>& progress, ArchiveEntry& entry);

private:
    void* archive_ = nullptr;  // the minizip reader
};
