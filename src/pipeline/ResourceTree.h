#pragma once
// The resources of an executable as a tree of type, name and language, read from and written to
// the bytes of a resource section. Entries with names sort before numbered ones, as the
// executable format wants them.
#include <cstdint>
#include <map>
#include <string>

class PeImage;

// A resource type, name or language: a number, or a name in UTF-16 code units.
struct ResourceId {
    bool named = false;
    std::uint16_t number = 0;
    std::u16string name;

    static ResourceId Number(std::uint16_t value) { return ResourceId{false, value, {}}; }
    bool operator<(const ResourceId& other) const {
        if (named != other.named) return named;
        return named ? name < other.name : number < other.number;
    }
};

struct ResourceData {
    std::string bytes;
    std::uint32_t codePage = 0;
};

class ResourceTree {
public:
    static constexpr std::uint16_t kIcon = 3;
    static constexpr std::uint16_t kGroupIcon = 14;
    static constexpr std::uint16_t kVersion = 16;

    using Languages = std::map<std::uint16_t, ResourceData>;
    using Names = std::map<ResourceId, Languages>;
    std::map<ResourceId, Names> types;

    // Reads the tree whose root lies at the address `root` of the executable `file`; false when
    // any directory, name or data runs outside the file's sections.
    bool Read(const std::string& file, const PeImage& image, std::uint32_t root);
    // The bytes of a resource section that starts at the address `base`.
    std::string Write(std::uint32_t base) const;

    // The resources of one type; none when the tree has no such type.
    const Names* Type(std::uint16_t type) const;
};
