#include "verify/RegistryExport.h"

#include <algorithm>
#include <cstdio>

#include "core/Text.h"
#include "verify/Utf.h"

namespace {

// The export's text as lines, each continued line ("\" at its end) joined to the next.
std::vector<std::string> LogicalLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    bool continued = false;
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (continued) {
            const size_t first = line.find_first_not_of(" \t");
            line = first == std::string::npos ? std::string() : line.substr(first);
        }
        current += line;
        continued = !current.empty() && current.back() == '\\' && current.find('=') != std::string::npos &&
                    current.find("=\"") == std::string::npos;
        if (continued)
            current.pop_back();
        else {
            lines.push_back(current);
            current.clear();
        }
        at = end + 1;
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

// A quoted text from `at` (the opening quote) with "\\", "\"" and "\n" read; `at` ends after the
// closing quote.
bool ReadQuoted(const std::string& line, size_t& at, std::string& out) {
    out.clear();
    for (++at; at < line.size(); ++at) {
        const char c = line[at];
        if (c == '"') {
            ++at;
            return true;
        }
        if (c == '\\' && at + 1 < line.size()) {
            const char next = line[++at];
            out += next == 'n' ? '\n' : next == '0' ? '\0' : next;
        } else {
            out += c;
        }
    }
    return false;
}

bool ReadHexList(const std::string& text, std::string& bytes) {
    bytes.clear();
    unsigned value = 0;
    int digits = 0;
    for (char c : text) {
        if (c == ',' || c == ' ') {
            if (digits) bytes += static_cast<char>(value);
            value = 0;
            digits = 0;
            continue;
        }
        const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (d < 0 || digits == 2) return false;
        value = value * 16 + static_cast<unsigned>(d);
        ++digits;
    }
    if (digits) bytes += static_cast<char>(value);
    return true;
}

// The data after "=": "text", dword:XXXXXXXX, hex:.., hex(N):..
bool ReadData(const std::string& data, bool wideStrings, RegistryValue& value) {
    if (!data.empty() && data[0] == '"') {
        size_t at = 0;
        std::string text;
        if (!ReadQuoted(data, at, text)) return false;
        value.type = 1;
        value.text = text;
        return true;
    }
    if (StartsWith(data, "dword:")) {
        value.type = 4;
        const std::string digits = data.substr(6);
        if (digits.empty() || digits.size() > 8) return false;
        value.text = "0x" + std::string(8 - digits.size(), '0');
        for (char c : digits) value.text += static_cast<char>(c >= 'a' && c <= 'f' ? c - 32 : c);
        return true;
    }
    std::string bytes;
    size_t colon = data.find(':');
    if (!StartsWith(data, "hex") || colon == std::string::npos || !ReadHexList(data.substr(colon + 1), bytes)) return false;
    value.type = 3;
    if (data[3] == '(') value.type = static_cast<std::uint32_t>(ReadLeadingHex(data.substr(4)));
    if (!wideStrings && (value.type == 2 || value.type == 7)) {
        // REGEDIT4 keeps these strings in single bytes: as stored they are UTF-16.
        std::string wide;
        for (char c : bytes) wide += {c, '\0'};
        bytes = wide;
    }
    value.text = RegistryValueText(value.type, bytes);
    return true;
}

bool ReadValueLine(const std::string& line, bool wideStrings, RegistryValue& value) {
    size_t at = 0;
    if (line[0] == '@') {
        value.name.clear();
        at = 1;
    } else if (!ReadQuoted(line, at, value.name)) {
        return false;
    }
    if (at >= line.size() || line[at] != '=') return false;
    return ReadData(line.substr(at + 1), wideStrings, value);
}

// Each string of a multi-string's UTF-16 data, ended by its zero.
std::string WideStrings(const std::string& data, bool multi) {
    std::string text = Utf16ToUtf8(data);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    if (multi)
        for (char& c : text)
            if (c == '\0') c = '\n';
    return text;
}

}  // namespace

std::string RegistryValueText(std::uint32_t type, const std::string& data) {
    switch (type) {
        case 1: {
            std::string text = data;
            while (!text.empty() && text.back() == '\0') text.pop_back();
            return AsUtf8(text);
        }
        case 2:
        case 7: return WideStrings(data, type == 7);
        case 4:
            if (data.size() == 4) {
                char text[16];
                std::snprintf(text, sizeof text, "0x%02X%02X%02X%02X", static_cast<unsigned char>(data[3]),
                              static_cast<unsigned char>(data[2]), static_cast<unsigned char>(data[1]),
                              static_cast<unsigned char>(data[0]));
                return text;
            }
            break;
        default: break;
    }
    return HexBytes(data);
}

bool ReadRegistryExport(const std::string& bytes, RegistryExport& out, std::string& problem) {
    const bool wide = bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                      static_cast<unsigned char>(bytes[1]) == 0xFE;
    const std::string text = wide ? Utf16ToUtf8(bytes.substr(2)) : bytes;
    const std::vector<std::string> lines = LogicalLines(text);
    if (lines.empty() || (lines[0] != "Windows Registry Editor Version 5.00" && lines[0] != "REGEDIT4")) {
        problem = "not a registry export (no \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\" line)";
        return false;
    }
    RegistryKey* key = nullptr;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const size_t end = line.rfind(']');
            if (end == std::string::npos || end < 1) {
                problem = "line " + std::to_string(i + 1) + " opens a key without closing it";
                return false;
            }
            const std::string path = line.substr(1, end - 1);
            key = &out.keys[LowerCase(path)];
            key->path = path;
            continue;
        }
        RegistryValue value;
        if (!key || !ReadValueLine(line, wide, value)) {
            problem = "line " + std::to_string(i + 1) + " is no value of a key: " + line.substr(0, 80);
            return false;
        }
        key->values[LowerCase(value.name)] = value;
    }
    return true;
}

const RegistryKey* RegistryExport::Find(const std::string& path) const {
    auto it = keys.find(LowerCase(path));
    return it == keys.end() ? nullptr : &it->second;
}

const RegistryValue* RegistryExport::FindValue(const std::string& path, const std::string& name) const {
    const RegistryKey* key = Find(path);
    if (!key) return nullptr;
    auto it = key->values.find(LowerCase(name));
    return it == key->values.end() ? nullptr : &it->second;
}

void RegistryExport::Merge(const RegistryExport& other) {
    for (const auto& [lower, key] : other.keys) keys[lower] = key;
}

std::vector<RegistryChange> CompareRegistry(const RegistryExport& before, const RegistryExport& after) {
    std::vector<RegistryChange> changes;
    auto wholeKey = [&](RegistryChange::Kind kind, const RegistryKey& key) {
        RegistryChange change;
        change.kind = kind;
        change.key = key.path;
        change.isKey = true;
        changes.push_back(change);
        for (const auto& [name, value] : key.values) {
            change.isKey = false;
            change.value = value;
            changes.push_back(change);
        }
    };
    for (const auto& [lower, key] : after.keys) {
        auto old = before.keys.find(lower);
        if (old == before.keys.end()) {
            wholeKey(RegistryChange::Added, key);
            continue;
        }
        for (const auto& [name, value] : key.values) {
            auto was = old->second.values.find(name);
            if (was != old->second.values.end() && was->second.type == value.type && was->second.text == value.text)
                continue;
            RegistryChange change;
            change.kind = was == old->second.values.end() ? RegistryChange::Added : RegistryChange::Changed;
            change.key = key.path;
            change.value = value;
            if (was != old->second.values.end()) change.before = was->second;
            changes.push_back(change);
        }
        for (const auto& [name, value] : old->second.values)
            if (!key.values.count(name)) {
                RegistryChange change;
                change.kind = RegistryChange::Removed;
                change.key = key.path;
                change.value = value;
                changes.push_back(change);
            }
    }
    for (const auto& [lower, key] : before.keys)
        if (!after.keys.count(lower)) wholeKey(RegistryChange::Removed, key);
    return changes;
}
