#include "pipeline/IconReplacement.h"

#include <set>

#include "executable/PeImage.h"
#include "pipeline/ExecutableResources.h"
#include "platform/File.h"

namespace {

constexpr std::size_t kFileHeader = 6;
constexpr std::size_t kFileEntry = 16;
constexpr std::size_t kGroupEntry = 14;
constexpr std::uint16_t kNeutralEnglish = 0x0409;

// The icon ids that the groups of `groups` name, each group's data being a header of three
// 16-bit values and a 14-byte entry per image that ends in the image's id.
std::set<std::uint16_t> UsedIcons(const ResourceTree::Names& groups) {
    std::set<std::uint16_t> ids;
    for (const auto& group : groups)
        for (const auto& language : group.second) {
            const std::string& data = language.second.bytes;
            const std::uint32_t count = GetLe(data, 4, 2);
            for (std::uint32_t i = 0; i < count && kFileHeader + (i + 1) * kGroupEntry <= data.size(); ++i)
                ids.insert(static_cast<std::uint16_t>(GetLe(data, kFileHeader + i * kGroupEntry + 12, 2)));
        }
    return ids;
}

// Replaces the first icon group by one of `images`, under the same id and the language of its
// first entry. The images the old group used go unless another group uses them too; the new
// images take the lowest free ids.
void PutIcon(ResourceTree& tree, const std::vector<IconFileImage>& images) {
    ResourceTree::Names& groups = tree.types[ResourceId::Number(ResourceTree::kGroupIcon)];
    ResourceTree::Names& icons = tree.types[ResourceId::Number(ResourceTree::kIcon)];
    ResourceId groupId = ResourceId::Number(1);
    std::uint16_t language = kNeutralEnglish;
    if (!groups.empty()) {
        groupId = groups.begin()->first;
        if (!groups.begin()->second.empty()) language = groups.begin()->second.begin()->first;
        ResourceTree::Names first;
        first.insert(*groups.begin());
        groups.erase(groups.begin());
        const std::set<std::uint16_t> stillUsed = UsedIcons(groups);
        for (std::uint16_t id : UsedIcons(first))
            if (!stillUsed.count(id)) icons.erase(ResourceId::Number(id));
    }
    std::string group;
    PutLe(group, 0, 2);
    PutLe(group, 1, 2);
    PutLe(group, static_cast<std::uint32_t>(images.size()), 2);
    std::uint16_t next = 1;
    for (const IconFileImage& image : images) {
        while (icons.count(ResourceId::Number(next))) ++next;
        icons[ResourceId::Number(next)][language].bytes = image.bytes;
        group += image.description;
        PutLe(group, next, 2);
        ++next;
    }
    groups[groupId][language].bytes = group;
}

}  // namespace

bool ReadIconFile(const std::string& iconPath, std::vector<IconFileImage>& images) {
    images.clear();
    std::string file;
    if (!ReadFileBytes(iconPath, file) || file.size() < kFileHeader) return false;
    const std::uint32_t count = GetLe(file, 4, 2);
    if (GetLe(file, 0, 2) != 0 || GetLe(file, 2, 2) != 1 || count == 0 ||
        file.size() < kFileHeader + count * kFileEntry)
        return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = kFileHeader + i * kFileEntry;
        const std::uint32_t size = GetLe(file, entry + 8, 4), offset = GetLe(file, entry + 12, 4);
        if (size == 0 || offset > file.size() || file.size() - offset < size) return false;
        images.push_back({file.substr(entry, 12), file.substr(offset, size)});
    }
    return true;
}

bool ReplaceIcon(const std::string& targetPath, const std::string& iconPath) {
    std::vector<IconFileImage> images;
    if (!ReadIconFile(iconPath, images)) return false;
    return EditResources(targetPath, [&](ResourceTree& tree) {
        PutIcon(tree, images);
        return true;
    });
}
