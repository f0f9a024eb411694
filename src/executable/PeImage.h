#pragma once
// The headers of a Windows executable (PE32 or PE32+), read from its bytes on any system: where
// the optional header's checksum field and the data directories lie, and the section table. The
// builder edits its installer programs' resources with it; the stub finds a signature with it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PeSection {
    std::string name;  // up to 8 bytes, without trailing zeros
    std::uint32_t virtualSize = 0;
    std::uint32_t virtualAddress = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawPointer = 0;
    std::uint32_t characteristics = 0;
};

struct PeDirectory {
    std::uint32_t address = 0;  // an address in memory; for the certificate table a file offset
    std::uint32_t size = 0;
};

class PeImage {
public:
    static constexpr int kExportDirectory = 0;
    static constexpr int kResourceDirectory = 2;
    static constexpr int kCertificateDirectory = 4;
    static constexpr std::size_t kSectionHeaderSize = 40;

    // Reads the headers at the start of `bytes`; false when they are not those of an executable
    // or run past the bytes given (the first 4 KiB of a file hold them in practice).
    bool Parse(const std::string& bytes);

    // File offsets of fields, for the callers that patch or skip them.
    std::size_t ChecksumField() const { return optional_ + 64; }
    std::size_t SizeOfImageField() const { return optional_ + 56; }
    std::size_t SectionCountField() const { return coff_ + 2; }
    std::size_t SectionHeader(std::size_t index) const { return sectionTable_ + index * kSectionHeaderSize; }
    // The file offset of data directory `index`; 0 when the header has fewer entries.
    std::size_t DirectoryEntry(int index) const;

    PeDirectory Directory(int index) const;
    const std::vector<PeSection>& Sections() const { return sections_; }
    std::uint32_t SectionAlignment() const { return sectionAlignment_; }
    std::uint32_t FileAlignment() const { return fileAlignment_; }
    std::uint32_t SizeOfHeaders() const { return sizeOfHeaders_; }
    // Whether the file has a COFF symbol table (it would lie behind the sections).
    bool HasSymbols() const { return symbols_; }
    // The file offset of an address in memory inside a section's raw data; false when none.
    bool FileOffset(std::uint32_t address, std::uint32_t size, std::size_t& offset) const;
    // The names that the export table of the whole file `bytes` lists (a library's functions
    // by name); empty without one, and without the names that lie outside the bytes.
    std::vector<std::string> ExportedNames(const std::string& bytes) const;

private:
    std::size_t coff_ = 0;
    std::size_t optional_ = 0;
    std::size_t directories_ = 0;
    std::uint32_t directoryCount_ = 0;
    std::size_t sectionTable_ = 0;
    std::uint32_t sectionAlignment_ = 0;
    std::uint32_t fileAlignment_ = 0;
    std::uint32_t sizeOfHeaders_ = 0;
    bool symbols_ = false;
    std::vector<PeSection> sections_;
    std::vector<PeDirectory> directoryValues_;
};

// Little-endian integers in byte strings; reads past the end give 0.
std::uint32_t GetLe(const std::string& bytes, std::size_t at, int width);
void SetLe(std::string& bytes, std::size_t at, std::uint32_t value, int width);
void PutLe(std::string& out, std::uint32_t value, int width);
