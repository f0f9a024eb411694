#include "executable/SetupChecksum.h"

#include <algorithm>
#include <string>

#include <libdeflate.h>

#include "executable/PeImage.h"
#include "platform/File.h"

namespace {

constexpr std::uint32_t kHeaderBytes = 4096;  // the executable headers lie within these
constexpr std::uint32_t kMaxPadding = 7;      // a certificate table starts on an 8-byte boundary

bool ReadAt(File& file, std::uint64_t at, std::string& bytes) {
    std::uint32_t done = 0;
    return file.Seek(static_cast<std::int64_t>(at), 0) &&
           file.Read(&bytes[0], static_cast<std::uint32_t>(bytes.size()), done);
}

}  // namespace

bool LocateSetup(File& file, std::uint64_t fileSize, SetupLayout& layout) {
    layout = SetupLayout();
    layout.containerEnd = fileSize;
    std::string headers(static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kHeaderBytes)), '\0');
    if (!headers.empty() && !ReadAt(file, 0, headers)) return false;
    PeImage image;
    if (!image.Parse(headers) || image.DirectoryEntry(PeImage::kCertificateDirectory) == 0) return true;
    layout.headerFields = {{image.ChecksumField(), 4}, {image.DirectoryEntry(PeImage::kCertificateDirectory), 8}};
    const PeDirectory certificates = image.Directory(PeImage::kCertificateDirectory);
    if (certificates.address == 0 && certificates.size == 0) return true;
    if (std::uint64_t(certificates.address) + certificates.size != fileSize || certificates.address < kMaxPadding)
        return false;
    std::string padding(kMaxPadding, '\0');
    if (!ReadAt(file, certificates.address - kMaxPadding, padding)) return false;
    std::uint64_t end = certificates.address;
    for (std::uint32_t i = 0; i < kMaxPadding && padding[kMaxPadding - 1 - i] == '\0'; ++i) --end;
    layout.containerEnd = end;
    layout.isSigned = true;
    return true;
}

bool ClearSignatureFields(File& file) {
    std::uint64_t size = 0;
    SetupLayout layout;
    if (!file.GetSize64(size) || !LocateSetup(file, size, layout)) return false;
    for (const auto& field : layout.headerFields) {
        const std::string zeros(field.second, '\0');
        std::uint32_t done = 0;
        if (!file.Seek(static_cast<std::int64_t>(field.first), 0) || !file.Write(zeros.data(), field.second, done))
            return false;
    }
    return true;
}

bool HeaderFieldsAreZero(File& file, const SetupLayout& layout) {
    for (const auto& field : layout.headerFields) {
        std::string bytes(field.second, '\0');
        if (!ReadAt(file, field.first, bytes) || bytes.find_first_not_of('\0') != std::string::npos) return false;
    }
    return true;
}

std::uint32_t ContainerChecksum(std::uint32_t crc, const unsigned char* data, std::size_t size) {
    // The usual CRC-32 inverts the register before and after; handing it the complement and
    // inverting its result carries on the plain register. This one runs several times faster
    // than zlib's, which matters to the stub: it checks the whole package before it starts.
    return ~libdeflate_crc32(~crc, data, size);
}

bool SetupChecksum(File& file, const SetupLayout& layout, std::uint64_t checksumField, std::uint32_t& crc) {
    std::vector<std::pair<std::uint64_t, std::uint32_t>> zeroed = layout.headerFields;
    if (checksumField != kNoChecksumField) zeroed.push_back({checksumField, 4});
    std::vector<unsigned char> block(1 << 18);
    crc = 0;
    if (!file.Seek(0, 0)) return false;
    for (std::uint64_t pos = 0; pos < layout.containerEnd;) {
        const auto count =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(block.size(), layout.containerEnd - pos));
        std::uint32_t done = 0;
        if (!file.Read(block.data(), count, done)) return false;
        for (const auto& field : zeroed)
            for (std::uint64_t i = std::max(field.first, pos); i < std::min(field.first + field.second, pos + count); ++i)
                block[static_cast<std::size_t>(i - pos)] = 0;
        crc = ContainerChecksum(crc, block.data(), count);
        pos += count;
    }
    return true;
}
