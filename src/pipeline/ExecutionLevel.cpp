#include "pipeline/ExecutionLevel.h"

#include "pipeline/ExecutableResources.h"
#include "platform/File.h"

namespace {

constexpr std::uint16_t kManifest = 24;

// Where the value of the level attribute lies: between the quotes after `level=`.
bool FindLevel(const std::string& manifest, size_t& start, size_t& end) {
    const size_t element = manifest.find("<requestedExecutionLevel");
    if (element == std::string::npos) return false;
    const size_t close = manifest.find('>', element);
    const size_t attribute = manifest.find(" level=", element);
    if (attribute == std::string::npos || attribute > close) return false;
    const size_t quote = attribute + 7;
    if (quote >= manifest.size() || (manifest[quote] != '"' && manifest[quote] != '\'')) return false;
    start = quote + 1;
    end = manifest.find(manifest[quote], start);
    return end != std::string::npos && end < close;
}

}  // namespace

bool ManifestWithLevel(const std::string& manifest, const std::string& level, std::string& out) {
    size_t start = 0, end = 0;
    if (!FindLevel(manifest, start, end)) return false;
    out = manifest.substr(0, start) + level + manifest.substr(end);
    return true;
}

bool SetExecutionLevel(const std::string& path, const std::string& level) {
    return EditResources(path, [&](ResourceTree& tree) {
        const auto manifests = tree.types.find(ResourceId::Number(kManifest));
        if (manifests == tree.types.end()) return false;
        bool changed = false;
        for (auto& [name, languages] : manifests->second)
            for (auto& [language, data] : languages) {
                std::string text;
                if (!ManifestWithLevel(data.bytes, level, text)) return false;
                data.bytes = text;
                changed = true;
            }
        return changed;
    });
}

std::string ExecutionLevelOf(const std::string& path) {
    std::string file;
    ResourceTree tree;
    const ResourceTree::Names* manifests =
        ReadFileBytes(path, file) && ReadResources(file, tree) ? tree.Type(kManifest) : nullptr;
    if (!manifests) return std::string();
    for (const auto& [name, languages] : *manifests)
        for (const auto& [language, data] : languages) {
            size_t start = 0, end = 0;
            if (FindLevel(data.bytes, start, end)) return data.bytes.substr(start, end - start);
        }
    return std::string();
}
