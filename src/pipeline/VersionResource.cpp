#include "pipeline/VersionResource.h"

#include <utility>
#include <vector>

#include "core/Text.h"
#include "executable/PeImage.h"
#include "pipeline/ExecutableResources.h"

namespace {

constexpr std::uint16_t kEnglish = 0x0409;
constexpr std::uint16_t kUnicode = 1200;

void PutText(std::string& out, const std::u16string& text) {
    for (char16_t c : text) PutLe(out, c, 2);
    PutLe(out, 0, 2);
}

void Pad(std::string& out) { out.resize((out.size() + 3) / 4 * 4, '\0'); }

// One block of the version resource: its length, the length of its value, its type (1 for
// text), its key, the value and the child blocks, each of them on a 4-byte boundary. The length
// leaves out the padding behind the last part.
std::string Block(const std::u16string& key, const std::string& value, std::uint32_t valueLength, bool text,
                  const std::vector<std::string>& children) {
    std::string out(6, '\0');
    PutText(out, key);
    if (!value.empty()) {
        Pad(out);
        out += value;
    }
    for (const std::string& child : children) {
        Pad(out);
        out += child;
    }
    SetLe(out, 0, static_cast<std::uint32_t>(out.size()), 2);
    SetLe(out, 2, valueLength, 2);
    SetLe(out, 4, text ? 1 : 0, 2);
    return out;
}

std::string StringBlock(const std::u16string& key, const std::string& value) {
    std::string bytes;
    const std::u16string text = Utf16FromUtf8(value);
    PutText(bytes, text);
    return Block(key, bytes, static_cast<std::uint32_t>(text.size() + 1), true, {});
}

std::string FixedInfo(const std::array<std::uint16_t, 4>& version) {
    const std::uint32_t high = std::uint32_t(version[0]) << 16 | version[1];
    const std::uint32_t low = std::uint32_t(version[2]) << 16 | version[3];
    std::string out;
    for (std::uint32_t value : {0xFEEF04BDu, 0x00010000u, high, low, high, low,
                                0x3Fu,        // every flag is meaningful
                                0u,           // none is set: a release build
                                0x00040004u,  // for Windows NT, 32-bit API
                                1u,           // an application
                                0u, 0u, 0u})
        PutLe(out, value, 4);
    return out;
}

}  // namespace

std::array<std::uint16_t, 4> VersionNumbers(const std::string& text) {
    const std::array<std::uint16_t, 4> none{0, 0, 0, 0};
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return none;
    const std::string trimmed = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    std::array<std::uint16_t, 4> numbers = none;
    std::size_t part = 0, digits = 0;
    std::uint32_t value = 0;
    for (char c : trimmed + ".") {
        if (c >= '0' && c <= '9') {
            value = value * 10 + static_cast<std::uint32_t>(c - '0');
            if (++digits > 5 || value > 0xFFFF) return none;
        } else if (c == '.' && digits > 0 && part < 4) {
            numbers[part++] = static_cast<std::uint16_t>(value);
            value = 0;
            digits = 0;
        } else {
            return none;
        }
    }
    return numbers;
}

std::string VersionResource(const VersionTexts& texts) {
    const std::array<std::uint16_t, 4> numbers = VersionNumbers(texts.productVersion);
    const std::string numeric = std::to_string(numbers[0]) + "." + std::to_string(numbers[1]) + "." +
                                std::to_string(numbers[2]) + "." + std::to_string(numbers[3]);
    const std::vector<std::pair<std::u16string, std::string>> strings = {
        {u"CompanyName", texts.companyName},   {u"FileDescription", texts.fileDescription},
        {u"FileVersion", numeric},             {u"LegalCopyright", texts.copyright},
        {u"ProductName", texts.productName},   {u"ProductVersion", texts.productVersion},
    };
    std::vector<std::string> table;
    for (const auto& entry : strings) table.push_back(StringBlock(entry.first, entry.second));
    const std::string stringInfo = Block(u"StringFileInfo", {}, 0, true, {Block(u"040904B0", {}, 0, true, table)});
    std::string translation;
    PutLe(translation, kEnglish, 2);
    PutLe(translation, kUnicode, 2);
    const std::string varInfo = Block(u"VarFileInfo", {}, 0, true, {Block(u"Translation", translation, 4, false, {})});
    const std::string fixed = FixedInfo(numbers);
    return Block(u"VS_VERSION_INFO", fixed, static_cast<std::uint32_t>(fixed.size()), false, {stringInfo, varInfo});
}

bool SetVersionInfo(const std::string& targetPath, const VersionTexts& texts) {
    const std::string resource = VersionResource(texts);
    return EditResources(targetPath, [&](ResourceTree& tree) {
        ResourceTree::Names& versions = tree.types[ResourceId::Number(ResourceTree::kVersion)];
        versions.clear();
        versions[ResourceId::Number(1)][kEnglish].bytes = resource;
        return true;
    });
}
