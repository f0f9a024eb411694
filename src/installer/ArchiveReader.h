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
class ReadAhead;
class ZstdDecodingDictionary;

struct ArchiveEntry {
    std::uint64_t size = 0;     // uncompressed bytes
    std::uint32_t dosDate = 0;  // the DOS date (high word) and time (low word) it was stored with
    int method = 0;             // the ZIP compression method; CanDecode tells whether it can be read
};

enum class ExtractStatus {
    Ok,
    Unreadable,  // the entry is missing or cannot be opened
    Damaged,     // reading the entry fails, or its CRC does not match
    Unwritten,   // the target file cannot be created or written
    Stopped,     // `progress` asked to stop
    Exists,      // the target was to be new but a file of that name is there; it is left alone
    Unsupported, // the entry is compressed with a method this reader cannot unpack; nothing is written
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
    // Writes the entry's bytes to `target` (created, or emptied unless `createNew`), stamped with
    // the entry's time, and tells what `entry` it was. After each block `progress` learns its size
    // and may return false to stop. A target that is not written whole is removed. `written`,
    // when given, gets the target written whole and still open (movable, see File::MoveTo), just
    // before it is closed.
    ExtractStatus Extract(const std::string& name, const std::string& target,
                          const std::function<bool(std::uint32_t)>& progress, ArchiveEntry& entry,
                          bool createNew = false, const std::function<void(File&)>& written = nullptr);

    // Reads and decodes the entries `names` on a worker thread, in that order, while the caller
    // writes the ones before: for Extract calls that ask for them in the same order. A call out
    // of that order ends the reading ahead; the rest is read as asked.
    void ReadAhead(const std::vector<std::string>& names);
    void StopReadAhead();

private:
    struct Indexed {
        ArchiveEntry entry;
        std::uint64_t packedSize = 0;  // the bytes stored in the archive
        std::uint32_t crc = 0;
        std::uint64_t directoryPosition = 0;  // minizip's position of the entry in the directory
        std::uint64_t directoryIndex = 0;
    };
    struct Window;
    class Loader;

    void Close();
    bool ReadDirectory();
    bool ReadDictionary();
    const Indexed* Locate(const std::string& name) const;
    std::unique_ptr<Loader> MakeLoader() const;
    bool TakeReadAhead(const std::string& name, const char*& data, std::size_t& size, ExtractStatus& status);
    ExtractStatus CopyStreamed(File& out, const std::function<bool(std::uint32_t)>& progress);

    std::string path_;
    void* archive_ = nullptr;  // the minizip reader
    std::unique_ptr<Window> window_;
    std::unique_ptr<ZstdDecodingDictionary> dictionary_;  // a small setup's, when it has one
    std::unordered_map<std::string, Indexed> index_;  // by name in lower case; the first of equal names
    std::vector<char> block_;                         // the transfer buffer of Extract
    // Entries small enough are read whole with one call and decoded with one, which is several
    // times faster than block by block; the loader does it for Extract, a second one ahead of it.
    std::unique_ptr<Loader> loader_;
    std::vector<char> plain_;
    std::unique_ptr<Loader> aheadLoader_;  // used by the worker only, and outlives it
    std::unique_ptr<::ReadAhead> readAhead_;
    std::vector<std::string> aheadNames_;
    std::size_t aheadNext_ = 0;
};
