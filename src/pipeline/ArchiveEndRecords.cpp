#include "pipeline/ArchiveEndRecords.h"

#include <algorithm>
#include <vector>

#include "platform/File.h"

namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kDirectorySignature = 0x02014b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kZip64EndSize = 56;
constexpr std::size_t kZip64LocatorSize = 20;
constexpr std::size_t kDirectoryHeaderSize = 46;

void Put(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

std::uint64_t Get(const char* p, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(p[i]);
    return value;
}

bool ReadAt(File& file, std::uint64_t offset, char* buffer, std::uint32_t count) {
    std::uint32_t done = 0;
    return file.Seek(static_cast<std::int64_t>(offset), 0) && file.Read(buffer, count, done);
}

// The entries of the directory, counted header by header; false when a header is not where the
// one before says or runs past the directory's end. Each block is read from the next header on
// and walked while headers lie wholly in it (one always does: a header is at most 192 KiB).
bool CountEntries(File& file, std::uint64_t offset, std::uint64_t size, std::uint64_t& entries) {
    constexpr std::uint32_t kBlock = 1u << 20;
    std::vector<char> block(kBlock);
    entries = 0;
    for (std::uint64_t at = 0; at < size;) {
        const std::uint32_t count = static_cast<std::uint32_t>(std::min<std::uint64_t>(kBlock, size - at));
        if (!ReadAt(file, offset + at, block.data(), count)) return false;
        std::uint32_t in = 0;
        while (in + kDirectoryHeaderSize <= count) {
            const char* header = block.data() + in;
            if (Get(header, 4) != kDirectorySignature) return false;
            const std::uint64_t length =
                kDirectoryHeaderSize + Get(header + 28, 2) + Get(header + 30, 2) + Get(header + 32, 2);
            if (in + length > count) break;
            in += static_cast<std::uint32_t>(length);
            ++entries;
        }
        if (in == 0) return false;
        at += in;
    }
    return true;
}

}  // namespace

std::string EndRecords(std::uint64_t entries, std::uint64_t offset, std::uint64_t size) {
    const bool zip64 = entries >= 0xFFFF || offset >= 0xFFFFFFFF || size >= 0xFFFFFFFF;
    std::string out;
    if (zip64) {
        const std::uint64_t recordAt = offset + size;
        Put(out, kZip64EndSignature, 4);
        Put(out, kZip64EndSize - 12, 8);  // the size of the rest of the record
        Put(out, 45, 2);                  // made by, and needs, version 4.5: zip64
        Put(out, 45, 2);
        Put(out, 0, 4);  // this disk, and the disk where the directory begins
        Put(out, 0, 4);
        Put(out, entries, 8);  // on this disk, and in all
        Put(out, entries, 8);
        Put(out, size, 8);
        Put(out, offset, 8);
        Put(out, kZip64LocatorSignature, 4);
        Put(out, 0, 4);  // the disk of the zip64 end record
        Put(out, recordAt, 8);
        Put(out, 1, 4);  // disks in all
    }
    Put(out, kEndSignature, 4);
    Put(out, 0, 2);
    Put(out, 0, 2);
    Put(out, std::min<std::uint64_t>(entries, 0xFFFF), 2);
    Put(out, std::min<std::uint64_t>(entries, 0xFFFF), 2);
    Put(out, std::min<std::uint64_t>(size, 0xFFFFFFFF), 4);
    Put(out, std::min<std::uint64_t>(offset, 0xFFFFFFFF), 4);
    Put(out, 0, 2);  // no comment
    return out;
}

bool RewriteEndRecords(const std::string& path) {
    File file;
    std::uint64_t fileSize = 0;
    if (!file.Open(path, ReadWriteExisting) || !file.GetSize64(fileSize) || fileSize < kEndSize) return false;
    char end[kEndSize];
    if (!ReadAt(file, fileSize - kEndSize, end, kEndSize) || Get(end, 4) != kEndSignature || Get(end + 20, 2) != 0)
        return false;
    // What the library wrote ends either in the classic record alone or in all three.
    std::uint64_t recordsAt = fileSize - kEndSize;
    char locator[kZip64LocatorSize];
    if (recordsAt >= kZip64LocatorSize + kZip64EndSize &&
        ReadAt(file, recordsAt - kZip64LocatorSize, locator, kZip64LocatorSize) &&
        Get(locator, 4) == kZip64LocatorSignature)
        recordsAt -= kZip64LocatorSize + kZip64EndSize;
    const std::uint64_t directorySize = Get(end + 12, 4);
    if (directorySize > recordsAt) return false;
    const std::uint64_t directoryAt = recordsAt - directorySize;
    std::uint64_t entries = 0;
    if (!CountEntries(file, directoryAt, directorySize, entries)) return false;
    const std::string records = EndRecords(entries, directoryAt, directorySize);
    // The records written are never shorter than the library's: the zip64 ones are written at
    // least whenever it writes them.
    if (recordsAt + records.size() < fileSize) return false;
    std::uint32_t done = 0;
    const bool written = file.Seek(static_cast<std::int64_t>(recordsAt), 0) &&
                         file.Write(records.data(), static_cast<std::uint32_t>(records.size()), done);
    return file.Close() != 0 && written;
}
