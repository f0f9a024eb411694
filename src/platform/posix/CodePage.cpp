#include "platform/CodePage.h"

#include <iconv.h>

#include <cerrno>

namespace platform {

static unsigned legacyCodePage = 1252;

unsigned LegacyCodePage() { return legacyCodePage; }

void SetLegacyCodePage(unsigned codePage) { legacyCodePage = codePage; }

static std::string IconvName(unsigned codePage) { return codePage == 65001 ? "UTF-8" : "CP" + std::to_string(codePage); }

// One conversion descriptor, closed when it goes.
class Converter {
public:
    Converter(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
    ~Converter() {
        if (IsOpen()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool IsOpen() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in`; a sequence that cannot be converted goes to `onInvalid`, which
    // appends what stands for its first byte and returns false to give up.
    template <class OnInvalid>
    bool Convert(const std::string& in, std::string& out, OnInvalid onInvalid) {
        out.clear();
        char* from = const_cast<char*>(in.data());
        size_t left = in.size();
        char buffer[1024];
        while (left > 0) {
            char* to = buffer;
            size_t room = sizeof buffer;
            size_t result = iconv(cd_, &from, &left, &to, &room);
            out.append(buffer, static_cast<size_t>(to - buffer));
            if (result != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            if (!onInvalid(static_cast<unsigned char>(*from), out)) return false;
            ++from;
            --left;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        char* to = buffer;
        size_t room = sizeof buffer;
        if (iconv(cd_, nullptr, nullptr, &to, &room) == static_cast<size_t>(-1)) return false;
        out.append(buffer, static_cast<size_t>(to - buffer));
        return true;
    }

private:
    iconv_t cd_;
};

bool IsKnownCodePage(unsigned codePage) { return Converter("UTF-8", IconvName(codePage)).IsOpen(); }

bool CodePageToUtf8(const std::string& bytes, unsigned codePage, std::string& text) {
    Converter converter("UTF-8", IconvName(codePage));
    if (!converter.IsOpen()) return false;
    // An undefined byte becomes the character of its own number (0x81 is U+0081), as on Windows.
    return converter.Convert(bytes, text, [](unsigned char byte, std::string& out) {
        if (byte < 0x80) {
            out += static_cast<char>(byte);
            return true;
        }
        out += static_cast<char>(0xC0 | (byte >> 6));
        out += static_cast<char>(0x80 | (byte & 0x3F));
        return true;
    });
}

bool Utf8ToCodePage(const std::string& text, unsigned codePage, std::string& bytes) {
    Converter converter(IconvName(codePage), "UTF-8");
    return converter.IsOpen() && converter.Convert(text, bytes, [](unsigned char, std::string&) { return false; });
}

}  // namespace platform
