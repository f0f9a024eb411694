#include "pipeline/ResourceTree.h"

#include <vector>

#include "executable/PeImage.h"

namespace {

constexpr std::uint32_t kSubdirectory = 0x80000000u;
constexpr std::uint32_t kNamedEntry = 0x80000000u;
constexpr std::size_t kDirectoryHeader = 16;
constexpr std::size_t kDirectoryEntry = 8;
constexpr std::size_t kDataEntry = 16;

std::size_t Align(std::size_t value, std::size_t to) { return (value + to - 1) / to * to; }

// Reads directories below the section's start; every offset is checked against the section.
class TreeReader {
public:
    TreeReader(const std::string& file, const PeImage& image, std::size_t start, std::size_t size)
        : file_(file), image_(image), start_(start), size_(size) {}

    // The entries of the directory at `offset`: each id with its target offset and whether it
    // is a subdirectory.
    struct Entry {
        ResourceId id;
        std::uint32_t target;
        bool directory;
    };
    bool Directory(std::uint32_t offset, std::vector<Entry>& entries) {
        if (!Inside(offset, kDirectoryHeader)) return false;
        const std::size_t at = start_ + offset;
        const std::uint32_t count = GetLe(file_, at + 12, 2) + GetLe(file_, at + 14, 2);
        if (!Inside(offset + kDirectoryHeader, count * kDirectoryEntry)) return false;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t e = at + kDirectoryHeader + i * kDirectoryEntry;
            const std::uint32_t name = GetLe(file_, e, 4), target = GetLe(file_, e + 4, 4);
            Entry entry{ResourceId(), target & ~kSubdirectory, (target & kSubdirectory) != 0};
            if (name & kNamedEntry) {
                entry.id.named = true;
                if (!Name(name & ~kNamedEntry, entry.id.name)) return false;
            } else {
                entry.id.number = static_cast<std::uint16_t>(name);
            }
            entries.push_back(entry);
        }
        return true;
    }

    bool Data(std::uint32_t offset, ResourceData& data) {
        if (!Inside(offset, kDataEntry)) return false;
        const std::size_t at = start_ + offset;
        const std::uint32_t address = GetLe(file_, at, 4), size = GetLe(file_, at + 4, 4);
        std::size_t where = 0;
        if (!image_.FileOffset(address, size, where) || where > file_.size() || file_.size() - where < size)
            return false;
        data.bytes = file_.substr(where, size);
        data.codePage = GetLe(file_, at + 8, 4);
        return true;
    }

private:
    bool Inside(std::size_t offset, std::size_t length) const { return offset <= size_ && size_ - offset >= length; }

    bool Name(std::uint32_t offset, std::u16string& name) {
        if (!Inside(offset, 2)) return false;
        const std::uint32_t length = GetLe(file_, start_ + offset, 2);
        if (!Inside(offset + 2, 2 * length)) return false;
        for (std::uint32_t i = 0; i < length; ++i)
            name += static_cast<char16_t>(GetLe(file_, start_ + offset + 2 + 2 * i, 2));
        return true;
    }

    const std::string& file_;
    const PeImage& image_;
    std::size_t start_, size_;
};

}  // namespace

bool ResourceTree::Read(const std::string& file, const PeImage& image, std::uint32_t root) {
    types.clear();
    // The directories lie in the section that holds the root, up to its end.
    std::size_t start = 0, size = 0;
    for (const PeSection& s : image.Sections())
        if (root >= s.virtualAddress && root < s.virtualAddress + s.rawSize) {
            start = s.rawPointer + (root - s.virtualAddress);
            size = s.rawSize - (root - s.virtualAddress);
        }
    if (size == 0 || start > file.size()) return false;
    if (file.size() - start < size) size = file.size() - start;
    TreeReader reader(file, image, start, size);
    std::vector<TreeReader::Entry> typeEntries;
    if (!reader.Directory(0, typeEntries)) return false;
    for (const auto& type : typeEntries) {
        std::vector<TreeReader::Entry> nameEntries;
        if (!type.directory || !reader.Directory(type.target, nameEntries)) return false;
        for (const auto& name : nameEntries) {
            std::vector<TreeReader::Entry> languageEntries;
            if (!name.directory || !reader.Directory(name.target, languageEntries)) return false;
            for (const auto& language : languageEntries) {
                ResourceData data;
                if (language.directory || language.id.named || !reader.Data(language.target, data)) return false;
                types[type.id][name.id][language.id.number] = data;
            }
        }
    }
    return true;
}

const ResourceTree::Names* ResourceTree::Type(std::uint16_t type) const {
    auto found = types.find(ResourceId::Number(type));
    return found == types.end() ? nullptr : &found->second;
}

// The section holds, in this order: every directory (the root, the types' directories, then
// the names' directories), the names of named entries, the data entries, then the data, each
// piece of data on an 8-byte boundary. Nothing in it depends on the time of writing.
std::string ResourceTree::Write(std::uint32_t base) const {
    std::size_t directories = kDirectoryHeader + types.size() * kDirectoryEntry;
    std::size_t leaves = 0;
    std::vector<ResourceId> names;  // every named id, in the order their strings are laid out
    for (const auto& type : types) {
        directories += kDirectoryHeader + type.second.size() * kDirectoryEntry;
        if (type.first.named) names.push_back(type.first);
        for (const auto& name : type.second) {
            directories += kDirectoryHeader + name.second.size() * kDirectoryEntry;
            leaves += name.second.size();
            if (name.first.named) names.push_back(name.first);
        }
    }
    std::map<std::u16string, std::uint32_t> nameOffsets;
    std::size_t at = directories;
    for (const ResourceId& id : names)
        if (nameOffsets.emplace(id.name, static_cast<std::uint32_t>(at)).second) at += 2 + 2 * id.name.size();
    const std::size_t dataEntries = Align(at, 4);
    std::size_t dataAt = Align(dataEntries + leaves * kDataEntry, 8);

    std::string out(dataAt, '\0');
    std::size_t nextDirectory = 0, nextLeaf = dataEntries;
    std::string data;
    auto idField = [&](const ResourceId& id) {
        return id.named ? kNamedEntry | nameOffsets[id.name] : std::uint32_t(id.number);
    };
    auto directory = [&](std::size_t named, std::size_t numbered) {
        const std::size_t here = nextDirectory;
        SetLe(out, here + 12, static_cast<std::uint32_t>(named), 2);
        SetLe(out, here + 14, static_cast<std::uint32_t>(numbered), 2);
        nextDirectory += kDirectoryHeader + (named + numbered) * kDirectoryEntry;
        return here;
    };
    auto count = [](const auto& map, bool named) {
        std::size_t n = 0;
        for (const auto& item : map) n += item.first.named == named;
        return n;
    };
    // Breadth first: the root's entries point at the type directories that follow it, and so on.
    const std::size_t root = directory(count(types, true), count(types, false));
    std::vector<std::size_t> typeDirectories;
    std::size_t i = 0;
    for (const auto& type : types) {
        const std::size_t dir = directory(count(type.second, true), count(type.second, false));
        SetLe(out, root + kDirectoryHeader + i * kDirectoryEntry, idField(type.first), 4);
        SetLe(out, root + kDirectoryHeader + i * kDirectoryEntry + 4, kSubdirectory | std::uint32_t(dir), 4);
        typeDirectories.push_back(dir);
        ++i;
    }
    i = 0;
    for (const auto& type : types) {
        std::size_t j = 0;
        for (const auto& name : type.second) {
            const std::size_t dir = directory(0, name.second.size());
            const std::size_t entry = typeDirectories[i] + kDirectoryHeader + j * kDirectoryEntry;
            SetLe(out, entry, idField(name.first), 4);
            SetLe(out, entry + 4, kSubdirectory | std::uint32_t(dir), 4);
            std::size_t k = 0;
            for (const auto& language : name.second) {
                const std::size_t languageEntry = dir + kDirectoryHeader + k * kDirectoryEntry;
                SetLe(out, languageEntry, language.first, 4);
                SetLe(out, languageEntry + 4, static_cast<std::uint32_t>(nextLeaf), 4);
                SetLe(out, nextLeaf, static_cast<std::uint32_t>(base + dataAt + data.size()), 4);
                SetLe(out, nextLeaf + 4, static_cast<std::uint32_t>(language.second.bytes.size()), 4);
                SetLe(out, nextLeaf + 8, language.second.codePage, 4);
                data += language.second.bytes;
                data.resize(Align(data.size(), 8), '\0');
                nextLeaf += kDataEntry;
                ++k;
            }
            ++j;
        }
        ++i;
    }
    for (const auto& name : nameOffsets) {
        SetLe(out, name.second, static_cast<std::uint32_t>(name.first.size()), 2);
        for (std::size_t c = 0; c < name.first.size(); ++c) SetLe(out, name.second + 2 + 2 * c, name.first[c], 2);
    }
    return out + data;
}
