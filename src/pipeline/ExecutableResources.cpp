#include "pipeline/ExecutableResources.h"

#include <algorithm>

#include "executable/PeImage.h"
#include "platform/File.h"

namespace {

constexpr std::uint32_t kResourceSectionFlags = 0x40000040u;  // initialised data, readable
constexpr int kBaseRelocationDirectory = 5;

std::uint32_t AlignUp(std::uint64_t value, std::uint32_t to) {
    return static_cast<std::uint32_t>((value + to - 1) / to * to);
}

std::uint64_t RawEnd(const PeSection& s) { return std::uint64_t(s.rawPointer) + s.rawSize; }
std::uint64_t VirtualEnd(const PeSection& s) {
    return std::uint64_t(s.virtualAddress) + std::max(s.virtualSize, s.rawSize);
}

// The index of the section that holds the resource directory, or -1.
int ResourceSection(const PeImage& image) {
    const PeDirectory resources = image.Directory(PeImage::kResourceDirectory);
    if (resources.size == 0) return -1;
    const auto& sections = image.Sections();
    for (std::size_t i = 0; i < sections.size(); ++i)
        if (resources.address >= sections[i].virtualAddress && resources.address < VirtualEnd(sections[i]))
            return static_cast<int>(i);
    return -1;
}

void WriteSectionHeader(std::string& file, std::size_t at, const PeSection& s) {
    std::string name = s.name.substr(0, 8);
    name.resize(8, '\0');
    file.replace(at, 8, name);
    SetLe(file, at + 8, s.virtualSize, 4);
    SetLe(file, at + 12, s.virtualAddress, 4);
    SetLe(file, at + 16, s.rawSize, 4);
    SetLe(file, at + 20, s.rawPointer, 4);
    for (std::size_t field = 24; field < 36; field += 4) SetLe(file, at + field, 0, 4);
    SetLe(file, at + 36, s.characteristics, 4);
}

// Appends `data` to `file` as the raw data of `section` at the next file-aligned position.
void PlaceSection(std::string& file, PeSection& section, const std::string& data, std::uint32_t fileAlignment) {
    section.rawPointer = static_cast<std::uint32_t>(file.size());
    section.rawSize = AlignUp(data.size(), fileAlignment);
    file += data;
    file.resize(section.rawPointer + section.rawSize, '\0');
}

// The executable's bytes with `tree` as its resources; empty when they cannot be placed.
std::string WithResources(const std::string& file, const PeImage& image, const ResourceTree& tree) {
    std::vector<PeSection> sections = image.Sections();
    if (sections.empty()) return std::string();
    const int resourceIndex = ResourceSection(image);
    // What follows the resource section: nothing, or the base relocations alone.
    std::vector<PeSection> moved;
    if (resourceIndex >= 0) {
        moved.assign(sections.begin() + resourceIndex + 1, sections.end());
        const PeDirectory relocations = image.Directory(kBaseRelocationDirectory);
        if (moved.size() > 1 ||
            (moved.size() == 1 && (relocations.size == 0 || relocations.address != moved[0].virtualAddress)))
            return std::string();
        sections.resize(resourceIndex + 1);
    } else {
        sections.push_back(PeSection{".rsrc", 0, 0, 0, 0, kResourceSectionFlags});
    }
    // Headers must hold the section table and every section must lie in order in the file.
    const std::size_t tableEnd = image.SectionHeader(sections.size() + moved.size());
    std::uint32_t firstRaw = 0xFFFFFFFFu;
    for (const PeSection& s : image.Sections())
        if (s.rawSize) firstRaw = std::min(firstRaw, s.rawPointer);
    if (tableEnd > image.SizeOfHeaders() || tableEnd > firstRaw) return std::string();

    // The resources take the old section's address, or a new one behind every section.
    PeSection& resources = sections.back();
    std::uint64_t keptEnd = image.SizeOfHeaders();
    for (std::size_t i = 0; i + 1 < sections.size(); ++i) keptEnd = std::max(keptEnd, RawEnd(sections[i]));
    if (resourceIndex < 0) {
        std::uint64_t virtualEnd = image.SectionAlignment();
        for (const PeSection& s : image.Sections()) virtualEnd = std::max(virtualEnd, VirtualEnd(s));
        resources.virtualAddress = AlignUp(virtualEnd, image.SectionAlignment());
    }
    const std::string data = tree.Write(resources.virtualAddress);
    std::string out = file.substr(0, static_cast<std::size_t>(AlignUp(keptEnd, image.FileAlignment())));
    resources.virtualSize = static_cast<std::uint32_t>(data.size());
    PlaceSection(out, resources, data, image.FileAlignment());
    std::uint32_t nextVirtual = AlignUp(VirtualEnd(resources), image.SectionAlignment());
    for (PeSection& s : moved) {
        const std::string bytes = file.substr(s.rawPointer, s.rawSize);
        const std::uint32_t oldAddress = s.virtualAddress;
        s.virtualAddress = nextVirtual;
        PlaceSection(out, s, bytes, image.FileAlignment());
        nextVirtual = AlignUp(VirtualEnd(s), image.SectionAlignment());
        const PeDirectory relocations = image.Directory(kBaseRelocationDirectory);
        SetLe(out, image.DirectoryEntry(kBaseRelocationDirectory), relocations.address - oldAddress + s.virtualAddress, 4);
        sections.push_back(s);
    }
    for (std::size_t i = 0; i < sections.size(); ++i) WriteSectionHeader(out, image.SectionHeader(i), sections[i]);
    SetLe(out, image.SectionCountField(), static_cast<std::uint32_t>(sections.size()), 2);
    SetLe(out, image.SizeOfImageField(), nextVirtual, 4);
    SetLe(out, image.ChecksumField(), 0, 4);
    SetLe(out, image.DirectoryEntry(PeImage::kResourceDirectory), resources.virtualAddress, 4);
    SetLe(out, image.DirectoryEntry(PeImage::kResourceDirectory) + 4, resources.virtualSize, 4);
    return out;
}

// Whether the file ends with its last section: nothing behind it could survive a rewrite.
bool NothingAppended(const std::string& file, const PeImage& image) {
    std::uint64_t end = image.SizeOfHeaders();
    for (const PeSection& s : image.Sections()) end = std::max(end, RawEnd(s));
    const PeDirectory certificates = image.Directory(PeImage::kCertificateDirectory);
    return !image.HasSymbols() && certificates.size == 0 && end == file.size();
}

}  // namespace

bool ReadResources(const std::string& file, ResourceTree& tree) {
    tree.types.clear();
    PeImage image;
    if (!image.Parse(file)) return false;
    const PeDirectory resources = image.Directory(PeImage::kResourceDirectory);
    return resources.size == 0 || tree.Read(file, image, resources.address);
}

bool EditResources(const std::string& path, const std::function<bool(ResourceTree&)>& edit) {
    std::string file;
    PeImage image;
    ResourceTree tree;
    if (!ReadFileBytes(path, file) || !image.Parse(file) || image.DirectoryEntry(PeImage::kResourceDirectory) == 0 ||
        !NothingAppended(file, image) || !ReadResources(file, tree) || !edit(tree))
        return false;
    const std::string rewritten = WithResources(file, image, tree);
    return !rewritten.empty() && WriteFileBytes(path, rewritten);
}
