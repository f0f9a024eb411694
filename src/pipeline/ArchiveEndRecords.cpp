#include "pipeline/ArchiveEndRecords.h"

#include <algorithm>
#include <vector>

#include "package/ZipRecords.h"
#include "platform/File.h"

namespace {

void Put(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

// The entries of the directory, counted header by header; false when a header is not where the
// one before says or runs past the directory's end. Each block is read from the next header on
// and walked while headers lie wholly in it (one always does: a header is at most 192 KiB).
bool CountEntries(File& file, std::uint64_t offset, std::uint64_t size, std::uint64_t& entries) {
    constexpr std::uint32_t kBlock = 1u << 20;
    std::vector<unsigned char> block(kBlock);
    entries = 0;
    for (std::uint64_t at = 0; at < size;) {
        const std::uint32_t count = static_cast<std::uint32_t>(std::min<std::uint64_t>(kBlock, size - at));
        if (!ReadZipBytes(file, offset + at, block.data(), count)) return false;
        std::uint32_t in = 0;
        while (in + kZipCentralFixed <= count) {
            const unsigned char* header = block.data() + in;
            if (ZipField(header, 4) != kZipCentralSignature) return false;
            const std::uint64_t length =
                kZipCentralFixed + ZipField(header + 28, 2) + ZipField(header + 30, 2) + ZipField(header + 32, 2);
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
        Put(out, kZip64EndFixed - 12, 8);  // the size of the rest of the record
        Put(out, 45, 2);                   // made by, and needs, version 4.5: zip64
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
    Put(out, kZipEndSignature, 4);
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
    if (!file.Open(path, ReadWriteExisting) || !file.GetSize64(fileSize) || fileSize < kZipEndFixed) return false;
    unsigned char end[kZipEndFixed];
    if (!ReadZipBytes(file, fileSize - kZipEndFixed, end, kZipEndFixed) || ZipField(end, 4) != kZipEndSignature ||
        ZipField(end + 20, 2) != 0)
        return false;
    // What the library wrote ends either in the classic record alone or in all three.
    std::uint64_t recordsAt = fileSize - kZipEndFixed;
    unsigned char locator[kZip64LocatorFixed];
    if (recordsAt >= kZip64LocatorFixed + kZip64EndFixed &&
        ReadZipBytes(file, recordsAt - kZip64LocatorFixed, locator, kZip64LocatorFixed) &&
        ZipField(locator, 4) == kZip64LocatorSignature)
        recordsAt -= kZip64LocatorFixed + kZip64EndFixed;
    const std::uint64_t directorySize = ZipField(end + 12, 4);
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
