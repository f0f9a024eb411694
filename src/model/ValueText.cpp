#include "model/ValueText.h"

#include <cstdio>

std::string NumberAsHexText(std::uint32_t number) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(number));
    return text;
}

std::string NumberAsDecimalText(std::uint32_t number) { return std::to_string(number); }

namespace {

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < base ? value : -1;
}

bool HasHexPrefix(const std::string& text, size_t at) {
    return text.size() >= at + 2 && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X');
}

}  // namespace

std::uint32_t ReadUnsignedText(const std::string& text, int base) {
    size_t at = text.find_first_not_of(" \t");
    if (at == std::string::npos) return 0;
    if (base == 16 && HasHexPrefix(text, at)) at += 2;
    std::uint64_t value = 0;
    for (; at < text.size(); ++at) {
        const int digit = DigitValue(text[at], base);
        if (digit < 0) break;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu) return 0xFFFFFFFFu;
    }
    return static_cast<std::uint32_t>(value);
}

bool ReadBinaryText(const std::string& text, Bytes& bytes, std::string& badToken) {
    static const char kSeparators[] = " \t\r\n";
    Bytes read;
    for (size_t start = text.find_first_not_of(kSeparators); start != std::string::npos;) {
        const size_t end = text.find_first_of(kSeparators, start);
        const std::string token = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const size_t digits = HasHexPrefix(token, 0) ? 2 : 0;
        bool fits = token.size() > digits && token.size() - digits <= 2;
        for (size_t at = digits; fits && at < token.size(); ++at) fits = DigitValue(token[at], 16) >= 0;
        if (!fits) {
            badToken = token;
            return false;
        }
        read.push_back(static_cast<unsigned char>(ReadUnsignedText(token, 16)));
        start = text.find_first_not_of(kSeparators, end);
    }
    bytes = std::move(read);
    return true;
}

std::string ValueDataText(const TreeNode* value) {
    const RegistryValueItem* item = RegistryTree::ValueOf(value);
    if (!item) return std::string();
    switch (item->ValueType()) {
    case RegistryValueItem::kString:
    case RegistryValueItem::kExpandString: return "\"" + item->StringData() + "\"";
    case RegistryValueItem::kMultiString: {
        std::string text;
        for (const std::string& line : item->Strings()) text += (text.empty() ? "\"" : " \"") + line + "\"";
        return text;
    }
    case RegistryValueItem::kNumber: return NumberAsHexText(item->NumberData());
    case RegistryValueItem::kBinary:
        return item->BinaryData().empty() ? "(zero-length binary data)"
                                          : RegistryTree::BinaryAsText(item->BinaryData());
    }
    return std::string();
}

NameCheck CheckNewName(const DestinationTree& tree, const TreeNode* parent, const std::string& name,
                       bool container) {
    if (name.empty()) return NameCheck::kEmpty;
    if (name.find_first_of("\\,\r\n") != std::string::npos) return NameCheck::kForbiddenCharacter;
    if (tree.FindChild(parent, name, container)) return NameCheck::kTaken;
    if (DestinationTree::PathOf(parent).size() + 1 + name.size() > DestinationTree::kMaxPath) return NameCheck::kTooLong;
    return NameCheck::kNameFits;
}

NameCheck CheckNewKeyPath(const RegistryTree& tree, const TreeNode* parent, const std::string& path) {
    if (path.empty()) return NameCheck::kEmpty;
    if (DestinationTree::PathOf(parent).size() + 1 + path.size() > DestinationTree::kMaxPath) return NameCheck::kTooLong;
    const TreeNode* below = parent;
    size_t start = 0;
    for (;;) {
        const size_t end = path.find('\\', start);
        const std::string name = path.substr(start, end == std::string::npos ? end : end - start);
        if (name.empty()) return NameCheck::kEmpty;
        if (name.find_first_of(",\r\n") != std::string::npos) return NameCheck::kForbiddenCharacter;
        below = below ? tree.FindChild(below, name, true) : nullptr;
        if (end == std::string::npos) return below ? NameCheck::kTaken : NameCheck::kNameFits;
        start = end + 1;
    }
}
