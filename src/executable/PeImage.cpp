#include "executable/PeImage.h"

std::uint32_t GetLe(const std::string& bytes, std::size_t at, int width) {
    if (at > bytes.size() || bytes.size() - at < static_cast<std::size_t>(width)) return 0;
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

void SetLe(std::string& bytes, std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutLe(std::string& out, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool PeImage::Parse(const std::string& bytes) {
    sections_.clear();
    directoryValues_.clear();
    if (bytes.size() < 64 || bytes.compare(0, 2, "MZ") != 0) return false;
    const std::size_t pe = GetLe(bytes, 0x3C, 4);
    if (pe < 64 || pe > bytes.size() || bytes.size() - pe < 24 || bytes.compare(pe, 4, std::string("PE\0\0", 4)) != 0)
        return false;
    coff_ = pe + 4;
    const std::uint32_t sectionCount = GetLe(bytes, coff_ + 2, 2);
    symbols_ = GetLe(bytes, coff_ + 8, 4) != 0;
    const std::uint32_t optionalSize = GetLe(bytes, coff_ + 16, 2);
    optional_ = coff_ + 20;
    sectionTable_ = optional_ + optionalSize;
    const std::uint32_t magic = GetLe(bytes, optional_, 2);
    std::size_t countField = 0;
    if (magic == 0x10B)
        countField = optional_ + 92;
    else if (magic == 0x20B)
        countField = optional_ + 108;
    else
        return false;
    directories_ = countField + 4;
    if (sectionTable_ > bytes.size() || directories_ > sectionTable_) return false;
    directoryCount_ = GetLe(bytes, countField, 4);
    if (directoryCount_ > (sectionTable_ - directories_) / 8) return false;
    if (bytes.size() - sectionTable_ < static_cast<std::size_t>(sectionCount) * kSectionHeaderSize) return false;
    sectionAlignment_ = GetLe(bytes, optional_ + 32, 4);
    fileAlignment_ = GetLe(bytes, optional_ + 36, 4);
    sizeOfHeaders_ = GetLe(bytes, optional_ + 60, 4);
    if (fileAlignment_ == 0 || sectionAlignment_ == 0) return false;
    for (std::uint32_t i = 0; i < directoryCount_; ++i)
        directoryValues_.push_back({GetLe(bytes, directories_ + 8 * i, 4), GetLe(bytes, directories_ + 8 * i + 4, 4)});
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        const std::size_t at = SectionHeader(i);
        PeSection s;
        s.name = bytes.substr(at, 8);
        s.name.erase(s.name.find_last_not_of('\0') + 1);
        s.virtualSize = GetLe(bytes, at + 8, 4);
        s.virtualAddress = GetLe(bytes, at + 12, 4);
        s.rawSize = GetLe(bytes, at + 16, 4);
        s.rawPointer = GetLe(bytes, at + 20, 4);
        s.characteristics = GetLe(bytes, at + 36, 4);
        sections_.push_back(s);
    }
    return true;
}

std::size_t PeImage::DirectoryEntry(int index) const {
    return index >= 0 && static_cast<std::uint32_t>(index) < directoryCount_ ? directories_ + 8 * index : 0;
}

PeDirectory PeImage::Directory(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < directoryValues_.size() ? directoryValues_[index]
                                                                                    : PeDirectory();
}

bool PeImage::FileOffset(std::uint32_t address, std::uint32_t size, std::size_t& offset) const {
    for (const PeSection& s : sections_) {
        const std::uint64_t start = s.virtualAddress, end = start + s.rawSize;
        if (address >= start && std::uint64_t(address) + size <= end) {
            offset = s.rawPointer + (address - s.virtualAddress);
            return true;
        }
    }
    return false;
}

std::vector<std::string> PeImage::ExportedNames(const std::string& bytes) const {
    constexpr std::uint32_t kExportTableSize = 40;
    constexpr std::size_t kLongestName = 4096;
    std::vector<std::string> names;
    const PeDirectory exports = Directory(kExportDirectory);
    std::size_t table = 0, list = 0;
    if (exports.address == 0 || !FileOffset(exports.address, kExportTableSize, table)) return names;
    const std::uint32_t count = GetLe(bytes, table + 24, 4);
    // Each name's address takes four bytes of the list, which must lie inside a section.
    if (count == 0 || count > bytes.size() / 4 || !FileOffset(GetLe(bytes, table + 32, 4), count * 4, list))
        return names;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::size_t at = 0;
        if (!FileOffset(GetLe(bytes, list + 4 * i, 4), 1, at) || at >= bytes.size()) continue;
        const std::size_t end = bytes.find('\0', at);
        if (end == std::string::npos || end - at > kLongestName) continue;
        names.push_back(bytes.substr(at, end - at));
    }
    return names;
}
