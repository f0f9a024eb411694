#pragma once
// Reading the product archive setup.zip: the one place where the installer looks inside it.
// The reader owns the open archive and closes it when it goes. Its central directory is read
// once, when it is opened, into an index by name, so that finding an entry costs the same
// whatever its place among thousands.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class File;
struct libdeflate_decompressor;

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
    ArchiveReader();
    ~ArchiveReader();
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    // False when the file is missing or no archive.
    bool Open(const std::string& path);
    // The archive that lies at `offset` inside the file, `size` bytes long, as in a
    // self-extracting package: read where it lies, never copied out.
    bool Open(const std::string& path, std::uint64_t offset, std::uint64_t size);
    bool IsOpen() const { return archive_ != nullptr; }

    // The entry of this name (compared without regard to letter case); false when there is none.
    bool Find(const std::string& name, ArchiveEntry& entry) const;
    // Writes the entry's bytes to `target` (created or emptied), stamped with the entry's time,
    // and tells what `entry` it was. After each block `progress` learns its size and may return
    // false to stop.
    ExtractStatus Extract(const std::string& name, const std::string& target,
                          const std::function<bool(std::uint32_t)>& progress, ArchiveEntry& entry);

private:
    struct Indexed {
        ArchiveEntry entry;
        int method = 0;
        std::uint64_t packedSize = 0;  // the bytes stored in the archive
        std::uint32_t crc = 0;
        std::uint64_t directoryPosition = 0;  // minizip's position of the entry in the directory
        std::uint64_t directoryIndex = 0;
    };
    struct Window;

    struct DecompressorDeleter {
        void operator()(libdeflate_decompressor* decompressor) const;
    };

    void Close();
    bool ReadDirectory();
    const Indexed* Locate(const std::string& name) const;
    ExtractStatus InflateWhole(const Indexed& indexed, File& out, const std::function<bool(std::uint32_t)>& progress);
    ExtractStatus CopyStreamed(File& out, const std::function<bool(std::uint32_t)>& progress);
    ExtractStatus WriteBlocks(const char* data, std::uint64_t size, File& out,
                              const std::function<bool(std::uint32_t)>& progress);

    void* archive_ = nullptr;  // the minizip reader
    std::unique_ptr<Window> window_;
    std::unordered_map<std::string, Indexed> index_;  // by name in lower case; the first of equal names
    std::vector<char> block_;                         // the transfer buffer of Extract
    // Entries small enough are read whole and inflated in one call, which is several times
    // faster than inflating them block by block; these buffers serve every such entry.
    std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor_;
    std::vector<char> packed_, plain_;
};
