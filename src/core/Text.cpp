#include "core/Text.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

static unsigned char LowerAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(static_cast<unsigned char>(a[i])) != LowerAscii(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string LowerCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(LowerAscii(static_cast<unsigned char>(c)));
    return result;
}

// strtoll and strtoull follow the standard number rules; the 64-bit forms behave the same on
// both platforms (long is 32 bits on Windows), and the clamping keeps the result in 32 bits.
std::int32_t ReadLeadingInt(const std::string& text) {
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

// As strtoul gives it with a 32-bit unsigned long (the system's own width): a "-" in front
// negates the number modulo 2^32, and a number out of range gives 0xFFFFFFFF.
std::uint32_t ReadLeadingHex(const std::string& text) {
    size_t start = text.find_first_not_of(" \t\n\v\f\r");
    if (start == std::string::npos) return 0;
    bool negative = text[start] == '-';
    if (text[start] == '-' || text[start] == '+') ++start;
    if (start >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[start]))) return 0;
    unsigned long long value = std::strtoull(text.c_str() + start, nullptr, 16);
    if (value > UINT32_MAX) return UINT32_MAX;
    return negative ? static_cast<std::uint32_t>(0u - static_cast<std::uint32_t>(value)) : static_cast<std::uint32_t>(value);
}

std::string ColourText(std::uint32_t colour) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(colour));
    return buffer;
}

std::string CrLfLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if ((text[i] == '\r' && next == '\n') || (text[i] == '\n' && next == '\r')) {
            out += "\r\n";
            ++i;
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string ReplaceFirstPlaceholder(const std::string& text, const std::string& value) {
    size_t at = text.find("%1");
    if (at == std::string::npos) return text;
    return text.substr(0, at) + value + text.substr(at + 2);
}

bool IsValidFileName(const std::string& name) {
    return name.find_first_of("\\/:*?\"<>|") == std::string::npos;
}

// The devices that Windows opens in place of a file of the same name, with any extension.
// "1" to "9" and the superscript digits "¹", "²" and "³" after COM and LPT.
static bool IsDeviceName(std::string_view name) {
    size_t dot = name.find('.');
    std::string_view base = name.substr(0, dot);
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"})
        if (EqualNoCase(base, device)) return true;
    if (base.size() < 4) return false;
    std::string_view stem = base.substr(0, 3), digit = base.substr(3);
    if (!EqualNoCase(stem, "COM") && !EqualNoCase(stem, "LPT")) return false;
    if (digit.size() == 1) return digit[0] >= '1' && digit[0] <= '9';
    return digit == "\xC2\xB9" || digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

bool IsAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

// The length of the well-formed UTF-8 character at `at`, or 0.
static size_t Utf8CharacterLength(std::string_view text, size_t at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return 1;
    size_t length;
    std::uint32_t value;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() - at < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return 0;
        value = (value << 6) | (next & 0x3F);
    }
    const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    return length;
}

std::u16string Utf16FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const size_t length = Utf8CharacterLength(text, at);
        if (length == 0) {
            out += u'\uFFFD';
            ++at;
            continue;
        }
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        std::uint32_t value = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t i = 1; i < length; ++i) value = (value << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
        if (value >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((value - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((value - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(value);
        }
        at += length;
    }
    return out;
}

size_t FindInvalidUtf8(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        const size_t length = Utf8CharacterLength(text, at);
        if (length == 0) return at;
        at += length;
    }
    return std::string_view::npos;
}

std::string SpellingFault(std::string_view name) {
    if (name.empty()) return "an empty name";
    if (name == "." || name == "..") return "the name \"" + std::string(name) + "\"";
    for (unsigned char c : name) {
        if (c < 0x20) return "the control character " + HexBytes(std::string(1, static_cast<char>(c))) + "h";
        if (std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return "the character \"" + std::string(1, static_cast<char>(c)) + "\"";
    }
    const size_t invalid = FindInvalidUtf8(name);
    if (invalid != std::string_view::npos)
        return "the byte " + HexBytes(std::string(1, name[invalid])) + "h, which is not UTF-8 text";
    if (name.back() == '.') return "a dot at its end";
    if (name.back() == ' ') return "a blank at its end";
    if (IsDeviceName(name)) return "the device name \"" + std::string(name.substr(0, name.find('.'))) + "\"";
    return std::string();
}

bool IsStoredAsSpelt(std::string_view name) { return SpellingFault(name).empty(); }

std::string WindowsStoredName(std::string_view name) {
    if (name == "." || name == "..") return std::string(name);
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.remove_suffix(1);
    return std::string(name);
}

static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> arguments;
    size_t at = 0;
    while (true) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at == line.size()) return arguments;
        size_t end;
        if (line[at] == '"') {
            size_t start = ++at;
            end = start;
            while (end < line.size() && !(line[end] == '"' && (end + 1 == line.size() || IsBlank(line[end + 1]))))
                ++end;
            arguments.push_back(line.substr(start, end - start));
            at = end < line.size() ? end + 1 : end;
            continue;
        }
        end = at;
        while (end < line.size() && !IsBlank(line[end])) ++end;
        arguments.push_back(line.substr(at, end - at));
        at = end;
    }
}

std::string FormatFileSize(std::uint32_t size) {
    char text[48];
    if (size < 1024)
        snprintf(text, sizeof text, "%u bytes", size);
    else if (size < 1024000)
        snprintf(text, sizeof text, "%u KB", size / 1024);
    else
        snprintf(text, sizeof text, "%u,%03u KB", size / 1024000, (size % 1024000) / 1024);
    return text;
}

std::string FormatFileSize(std::uint64_t size, const std::string& bytesText, const std::string& kilobytesText,
                           const std::string& separator) {
    if (size < 1024) return ReplaceFirstPlaceholder(bytesText, std::to_string(size));
    const std::string digits = std::to_string(size / 1024);
    std::string grouped;
    for (size_t index = 0; index < digits.size(); ++index) {
        if (index > 0 && (digits.size() - index) % 3 == 0) grouped += separator;
        grouped += digits[index];
    }
    return ReplaceFirstPlaceholder(kilobytesText, grouped);
}

std::string FormatFileTime(const std::string& dateOrder, int year, int month, int day, int hour, int minute) {
    const bool complete = dateOrder.find("DD") != std::string::npos && dateOrder.find("MM") != std::string::npos &&
                          dateOrder.find("YY") != std::string::npos;
    const std::string order = complete ? dateOrder : "MM.DD.YY";
    auto twoDigits = [](int value) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%02d", value);
        return std::string(digits);
    };
    std::string text;
    for (size_t at = 0; at < order.size();) {
        const std::string pair = order.substr(at, 2);
        if (pair == "DD" || pair == "MM" || pair == "YY") {
            text += twoDigits(pair == "DD" ? day : pair == "MM" ? month : year % 100);
            at += 2;
        } else {
            text += order[at++];
        }
    }
    return text + " " + twoDigits(hour) + ":" + twoDigits(minute);
}

std::string HexBytes(const std::string& bytes) {
    std::string text;
    char pair[3];
    for (unsigned char b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        text += pair;
    }
    return text;
}

static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool ReadHexBytes(const std::string& text, std::string& bytes) {
    bytes.clear();
    if (text.size() % 2) return false;
    for (size_t i = 0; i < text.size(); i += 2) {
        int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes += static_cast<char>(high * 16 + low);
    }
    return true;
}

std::string QuotedList(const std::vector<std::string>& strings) {
    std::string line;
    for (const std::string& text : strings) {
        if (!line.empty()) line += ',';
        line += '"';
        for (char c : text) {
            if (c == '"') line += '"';
            line += c;
        }
        line += '"';
    }
    return line;
}

bool ReadQuotedList(const std::string& line, std::vector<std::string>& strings) {
    strings.clear();
    for (size_t at = 0; at < line.size();) {
        if (line[at] != '"') break;
        std::string text;
        bool closed = false;
        for (++at; at < line.size() && !closed; ++at) {
            if (line[at] != '"') text += line[at];
            else if (at + 1 < line.size() && line[at + 1] == '"') text += line[++at];
            else closed = true;
        }
        if (!closed) break;
        strings.push_back(std::move(text));
        if (at == line.size()) return true;
        if (line[at] != ',' || at + 1 == line.size()) break;
        ++at;
    }
    const bool empty = line.empty();
    if (!empty) strings.clear();
    return empty;
}
