#pragma once
// The few fields of setup.zip's records that the builder and the installer handle beyond the zip
// library, which knows only the stored and deflated methods: the builder gives its zstd entries
// their method after the library has written them as stored, and the installer finds their data
// itself. Offsets count from the archive's start; zip64 fields are read where the 32-bit ones
// overflow.
#include <cstdint>
#include <vector>

class File;

// The ZIP version that the zstd method needs (6.3).
constexpr std::uint16_t kZstdVersionNeeded = 63;
// The stored entry that holds the dictionary of a small setup's zstd frames, at the top level,
// where no product file's entry lies (theirs all name a folder).
constexpr char kZstdDictionaryEntry[] = "zstd.dictionary";

// The signatures and fixed sizes of the records that the builder and the installer read.
constexpr std::uint32_t kZipCentralSignature = 0x02014b50;
constexpr std::uint32_t kZipLocalSignature = 0x04034b50;
constexpr std::uint32_t kZipEndSignature = 0x06054b50;
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kZipCentralFixed = 46, kZipLocalFixed = 30, kZipEndFixed = 22, kZip64LocatorFixed = 20,
                        kZip64EndFixed = 56;

// The little-endian field of `count` bytes at `bytes`.
std::uint64_t ZipField(const unsigned char* bytes, int count);
// Reads exactly `count` bytes at `at` of the file; a short read is a failure.
bool ReadZipBytes(File& file, std::uint64_t at, void* buffer, std::uint32_t count);

struct CentralRecord {
    std::uint64_t at = 0;           // where the record starts
    std::uint64_t length = 0;       // its bytes, name, extra field and comment included
    std::uint64_t localHeader = 0;  // where the entry's local header starts
};

// Reads the central record at `at` of the archive that starts at `base` in `file`.
bool ReadCentralRecord(File& file, std::uint64_t base, std::uint64_t at, CentralRecord& record);
// Where the data of the entry whose local header is at `localHeader` starts.
bool EntryDataStart(File& file, std::uint64_t base, std::uint64_t localHeader, std::uint64_t& dataStart);
// Where the central directory of the archive that fills `file` starts, from its end records.
bool FindCentralDirectory(File& file, std::uint64_t& at, std::uint64_t& entries);
// Sets the method and the version needed of the entries `indices` (by their place in the
// directory, ascending) in their central records and local headers.
bool SetEntryMethod(File& file, const std::vector<std::uint64_t>& indices, std::uint16_t method,
                    std::uint16_t versionNeeded);
