#pragma once
// The checksum of a self-extracting setup, in one place for the builder that writes it and the
// stub that checks it.
//
// It is the CRC-32 register (the reflected table of polynomial 0xEDB88320) starting at 0 and
// without final inversion, run over every byte from the start of the file to the end of the
// container's trailer, with three fields counted as zero bytes: the container's own 4-byte
// checksum, and in the executable's headers the checksum field and the certificate table's
// directory entry. Signing changes exactly those two header fields and appends the certificate
// table (after at most 7 bytes of zero padding) behind the trailer, so a signed setup keeps its
// checksum while any other changed byte of the stub or the container breaks it. An unsigned
// setup has zeros in both header fields (the builder writes them so) and the stub insists on
// that, so there every byte counts.
#include <cstdint>
#include <utility>
#include <vector>

class File;

struct SetupLayout {
    std::uint64_t containerEnd = 0;  // one past the trailer: the file's end when unsigned
    bool isSigned = false;           // a certificate table follows the container
    // File offset and length of the header fields that signing changes; none when the file has
    // no executable headers.
    std::vector<std::pair<std::uint64_t, std::uint32_t>> headerFields;
};

// Finds the end of the container of a file of `fileSize` bytes. False when the file cannot be
// read, or when its certificate table is not the last thing in the file.
bool LocateSetup(File& file, std::uint64_t fileSize, SetupLayout& layout);

// Writes zeros into the header fields that signing changes, as an unsigned setup has them;
// true also for a file without executable headers. False when the file cannot be written.
bool ClearSignatureFields(File& file);

// Whether every header field of `layout` holds zeros.
bool HeaderFieldsAreZero(File& file, const SetupLayout& layout);

// Carries the checksum register over one more block of bytes.
std::uint32_t ContainerChecksum(std::uint32_t crc, const unsigned char* data, std::size_t size);

constexpr std::uint64_t kNoChecksumField = ~std::uint64_t(0);

// The checksum of the bytes [0, layout.containerEnd), the header fields and the 4 bytes at
// `checksumField` (kNoChecksumField: none) counted as zeros. False when the file cannot be read.
bool SetupChecksum(File& file, const SetupLayout& layout, std::uint64_t checksumField, std::uint32_t& crc);
