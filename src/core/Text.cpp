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

std::string NameAfterLastBackslash(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
