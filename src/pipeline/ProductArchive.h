#pragma once
// The product archive setup.zip: an ordinary ZIP file written with minizip. Entries come either
// packed ahead (read and compressed whole by ParallelPacker) or streamed through one 16 KiB
// buffer, for files too big to hold: deflated by zlib, or compressed by zstd.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pipeline/EntryCompressor.h"

class File;
class ZstdCompressor;
struct PackedFile;

class ProductArchive {
public:
    ProductArchive();
    ~ProductArchive();
    ProductArchive(const ProductArchive&) = delete;
    ProductArchive& operator=(const ProductArchive&) = delete;

    // Creates the archive at `path`, replacing any file there.
    bool Open(const std::string& path);
    // Adds one file as one entry stamped with the local last-write time of `timeSource` (the
    // source itself when empty: a working copy made by the build takes its original's time, so
    // that two builds give the same bytes), compressed with `method`. A source that cannot be
    // opened adds no entry.
    bool AddFile(const std::string& sourcePath, const std::string& entryName, EntryMethod method,
                 const std::string& timeSource = std::string());
    // Adds one entry whose bytes were packed ahead, stamped with the time of `timeSource`. A file
    // that is not Packed adds no entry.
    bool AddPacked(const std::string& timeSource, const std::string& entryName, const PackedFile& file);
    // Writes the central directory and the end records (zip64 ones where the entries or the
    // directory's place need them); false when the archive could not be finished.
    bool Close();

    bool IsOpen() const { return archive_ != nullptr; }
    // 0 after success, minizip's code, or -1 for a failure of the wrapper itself.
    int Status() const { return status_; }
    // Bytes read from the sources of this archive so far.
    std::uint64_t BytesRead() const { return bytesRead_; }

private:
    bool OpenRaw(const std::string& entryName, const std::string& timeSource, EntryMethod method, int level, int zip64);
    bool ReadBlock(File& source, std::uint64_t& left, std::uint32_t& got);
    bool CopyInto(File& source, std::uint64_t size);
    bool CompressInto(File& source, std::uint64_t size, std::uint32_t& crc);

    void* archive_ = nullptr;
    std::string path_;
    std::uint64_t entries_ = 0;                // opened so far, each of which the directory lists
    std::vector<std::uint64_t> zstdEntries_;  // their places among them
    std::unique_ptr<ZstdCompressor> zstd_;  // made for the first file streamed with it
    std::vector<char> buffer_;
    int status_ = 0;
    std::uint64_t bytesRead_ = 0;
};
