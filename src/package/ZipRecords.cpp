#include "package/ZipRecords.h"

#include "platform/File.h"

namespace {

constexpr std::uint16_t kZip64Extra = 0x0001;

void PutLittle(unsigned char* bytes, std::uint64_t value, int count) {
    for (int i = 0; i < count; ++i, value >>= 8) bytes[i] = static_cast<unsigned char>(value);
}

bool WriteAt(File& file, std::uint64_t at, const void* buffer, std::uint32_t count) {
    std::uint32_t done = 0;
    return file.Seek(static_cast<std::int64_t>(at), 0) && file.Write(buffer, count, done) && done == count;
}

// The local header's offset from the zip64 extra field, whose values stand in the order of the
// 32-bit fields that overflowed: uncompressed size, compressed size, offset.
bool Zip64Offset(const unsigned char* extra, std::size_t length, bool sizeFull, bool packedFull, std::uint64_t& offset) {
    for (std::size_t at = 0; at + 4 <= length;) {
        const std::uint16_t tag = static_cast<std::uint16_t>(ZipField(extra + at, 2));
        const std::size_t size = static_cast<std::size_t>(ZipField(extra + at + 2, 2));
        if (at + 4 + size > length) return false;
        if (tag == kZip64Extra) {
            const std::size_t skip = (sizeFull ? 8 : 0) + (packedFull ? 8 : 0);
            if (skip + 8 > size) return false;
            offset = ZipField(extra + at + 4 + skip, 8);
            return true;
        }
        at += 4 + size;
    }
    return false;
}

}  // namespace

std::uint64_t ZipField(const unsigned char* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}

bool ReadZipBytes(File& file, std::uint64_t at, void* buffer, std::uint32_t count) {
    std::uint32_t done = 0;
    return file.Seek(static_cast<std::int64_t>(at), 0) && file.Read(buffer, count, done) && done == count;
}

bool ReadCentralRecord(File& file, std::uint64_t base, std::uint64_t at, CentralRecord& record) {
    unsigned char fixed[kZipCentralFixed];
    if (!ReadZipBytes(file, base + at, fixed, kZipCentralFixed) || ZipField(fixed, 4) != kZipCentralSignature)
        return false;
    const std::uint32_t nameLength = static_cast<std::uint32_t>(ZipField(fixed + 28, 2));
    const std::uint32_t extraLength = static_cast<std::uint32_t>(ZipField(fixed + 30, 2));
    const std::uint32_t commentLength = static_cast<std::uint32_t>(ZipField(fixed + 32, 2));
    record.at = at;
    record.length = kZipCentralFixed + nameLength + extraLength + commentLength;
    record.localHeader = ZipField(fixed + 42, 4);
    if (record.localHeader != 0xFFFFFFFFu) return true;
    std::vector<unsigned char> extra(extraLength + 1);
    return ReadZipBytes(file, base + at + kZipCentralFixed + nameLength, extra.data(), extraLength) &&
           Zip64Offset(extra.data(), extraLength, ZipField(fixed + 24, 4) == 0xFFFFFFFFu,
                       ZipField(fixed + 20, 4) == 0xFFFFFFFFu, record.localHeader);
}

bool EntryDataStart(File& file, std::uint64_t base, std::uint64_t localHeader, std::uint64_t& dataStart) {
    unsigned char fixed[kZipLocalFixed];
    if (!ReadZipBytes(file, base + localHeader, fixed, kZipLocalFixed) || ZipField(fixed, 4) != kZipLocalSignature)
        return false;
    dataStart = localHeader + kZipLocalFixed + ZipField(fixed + 26, 2) + ZipField(fixed + 28, 2);
    return true;
}

bool FindCentralDirectory(File& file, std::uint64_t& at, std::uint64_t& entries) {
    std::uint64_t size = 0;
    unsigned char end[kZipEndFixed];
    if (!file.GetSize64(size) || size < kZipEndFixed || !ReadZipBytes(file, size - kZipEndFixed, end, kZipEndFixed) ||
        ZipField(end, 4) != kZipEndSignature)
        return false;
    at = ZipField(end + 16, 4);
    entries = ZipField(end + 10, 2);
    if (at != 0xFFFFFFFFu && entries != 0xFFFFu) return true;
    unsigned char locator[kZip64LocatorFixed], zip64End[kZip64EndFixed];
    if (size < kZipEndFixed + kZip64LocatorFixed ||
        !ReadZipBytes(file, size - kZipEndFixed - kZip64LocatorFixed, locator, kZip64LocatorFixed) ||
        ZipField(locator, 4) != kZip64LocatorSignature ||
        !ReadZipBytes(file, ZipField(locator + 8, 8), zip64End, kZip64EndFixed) ||
        ZipField(zip64End, 4) != kZip64EndSignature)
        return false;
    entries = ZipField(zip64End + 32, 8);
    at = ZipField(zip64End + 48, 8);
    return true;
}

bool SetEntryMethod(File& file, const std::vector<std::uint64_t>& indices, std::uint16_t method,
                    std::uint16_t versionNeeded) {
    if (indices.empty()) return true;
    std::uint64_t at = 0, entries = 0;
    if (!FindCentralDirectory(file, at, entries) || indices.back() >= entries) return false;
    unsigned char version[2], methodField[2];
    PutLittle(version, versionNeeded, 2);
    PutLittle(methodField, method, 2);
    std::size_t next = 0;
    CentralRecord record;
    for (std::uint64_t index = 0; next < indices.size(); ++index, at += record.length) {
        if (!ReadCentralRecord(file, 0, at, record)) return false;
        if (index != indices[next]) continue;
        ++next;
        // The flags between the two fields are left as they are.
        if (!WriteAt(file, at + 6, version, 2) || !WriteAt(file, at + 10, methodField, 2) ||
            !WriteAt(file, record.localHeader + 4, version, 2) || !WriteAt(file, record.localHeader + 8, methodField, 2))
            return false;
    }
    return true;
}
