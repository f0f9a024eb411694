#include "verify/ShellLinkReader.h"

#include <cstdint>

#include "verify/Utf.h"

namespace {

enum LinkFlag : std::uint32_t {
    kHasIdList = 0x1,
    kHasLinkInfo = 0x2,
    kHasName = 0x4,
    kHasRelativePath = 0x8,
    kHasWorkingDir = 0x10,
    kHasArguments = 0x20,
    kHasIconLocation = 0x40,
    kIsUnicode = 0x80,
};
constexpr std::uint32_t kHeaderSize = 0x4C;
// The shell link class, 00021401-0000-0000-C000-000000000046, as stored.
const unsigned char kLinkClass[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                      0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// Little-endian reads that fail instead of reading past the end.
class Bytes {
public:
    explicit Bytes(const std::string& data) : data_(data) {}
    bool Has(size_t at, size_t count) const { return at <= data_.size() && count <= data_.size() - at; }
    std::uint32_t U16(size_t at) const { return Byte(at) | Byte(at + 1) << 8; }
    std::uint32_t U32(size_t at) const { return U16(at) | U16(at + 2) << 16; }
    // A zero-terminated string of single bytes, or of UTF-16 units, starting at `at` and
    // ending before `end`; false without a terminator.
    bool AnsiZ(size_t at, size_t end, std::string& out) const {
        for (size_t i = at; i < end && i < data_.size(); ++i)
            if (data_[i] == '\0') {
                out = AsUtf8(data_.substr(at, i - at));
                return true;
            }
        return false;
    }
    bool WideZ(size_t at, size_t end, std::string& out) const {
        for (size_t i = at; i + 1 < end && i + 1 < data_.size(); i += 2)
            if (data_[i] == '\0' && data_[i + 1] == '\0') {
                out = Utf16ToUtf8(data_.substr(at, i - at));
                return true;
            }
        return false;
    }
    const std::string& Data() const { return data_; }

private:
    std::uint32_t Byte(size_t at) const { return static_cast<unsigned char>(data_[at]); }
    const std::string& data_;
};

// The link information: the local base path, and the common path suffix after it.
bool ReadLinkInfo(const Bytes& b, size_t at, std::string& target, size_t& next) {
    if (!b.Has(at, 28)) return false;
    const std::uint32_t size = b.U32(at), header = b.U32(at + 4), flags = b.U32(at + 8);
    if (size < 28 || !b.Has(at, size) || header < 28) return false;
    next = at + size;
    const size_t end = at + size;
    std::string base, suffix;
    if (header >= 0x24 && b.Has(at, 0x24)) {
        const std::uint32_t baseW = b.U32(at + 28), suffixW = b.U32(at + 32);
        if ((flags & 1) && baseW && b.WideZ(at + baseW, end, base) && (!suffixW || b.WideZ(at + suffixW, end, suffix))) {
            target = base + suffix;
            return true;
        }
    }
    const std::uint32_t baseA = b.U32(at + 16), suffixA = b.U32(at + 24);
    if ((flags & 1) && baseA && b.AnsiZ(at + baseA, end, base)) {
        if (suffixA) b.AnsiZ(at + suffixA, end, suffix);
        target = base + suffix;
    }
    return true;
}

// A file-system path from the item list: the drive item ("C:\"), then each folder or file
// item's long name (from its extension block) or else its short name.
std::string PathFromIdList(const Bytes& b, size_t at, size_t end) {
    std::string path;
    while (b.Has(at, 2) && at + 2 <= end) {
        const std::uint32_t size = b.U16(at);
        if (size < 3 || !b.Has(at, size) || at + size > end) break;
        const unsigned char type = static_cast<unsigned char>(b.Data()[at + 2]);
        if ((type & 0x70) == 0x20) {  // a volume: its name follows the type
            b.AnsiZ(at + 3, at + size, path);
        } else if ((type & 0x70) == 0x30 && size > 14) {  // a file or folder entry
            std::string shortName, longName;
            b.AnsiZ(at + 14, at + size, shortName);
            // The extension block (0xBEEF0004) ends the item; its long name follows a fixed part.
            const size_t blockAt = at + b.U16(at + size - 2);
            if (blockAt > at + 14 && b.Has(blockAt, 8) && blockAt + 8 <= at + size && b.U32(blockAt + 4) == 0xBEEF0004) {
                const std::uint32_t version = b.U16(blockAt + 2);
                const size_t nameAt = blockAt + (version >= 9 ? 46 : version >= 7 ? 42 : version >= 3 ? 18 : 0);
                if (nameAt > blockAt) b.WideZ(nameAt, at + size, longName);
            }
            if (!path.empty() && path.back() != '\\') path += '\\';
            path += longName.empty() ? shortName : longName;
        }
        at += size;
    }
    return path;
}

// One counted string of the string data; false when it runs past the end.
bool ReadCountedString(const Bytes& b, size_t& at, bool unicode, std::string& out) {
    if (!b.Has(at, 2)) return false;
    const std::uint32_t count = b.U16(at);
    const size_t bytes = unicode ? count * 2u : count;
    if (!b.Has(at + 2, bytes)) return false;
    const std::string raw = b.Data().substr(at + 2, bytes);
    out = unicode ? Utf16ToUtf8(raw) : AsUtf8(raw);
    // Some writers count the terminating zero too.
    while (!out.empty() && out.back() == '\0') out.pop_back();
    at += 2 + bytes;
    return true;
}

}  // namespace

bool ReadShellLink(const std::string& data, ShellLinkData& link, std::string& problem) {
    const Bytes b(data);
    link = ShellLinkData();
    if (!b.Has(0, kHeaderSize) || b.U32(0) != kHeaderSize || data.compare(4, 16, reinterpret_cast<const char*>(kLinkClass), 16) != 0) {
        problem = "not a shortcut file (no shell link header)";
        return false;
    }
    const std::uint32_t flags = b.U32(20);
    link.iconIndex = static_cast<std::int32_t>(b.U32(56));
    link.showCommand = static_cast<int>(b.U32(60));
    size_t at = kHeaderSize;
    std::string idPath;
    if (flags & kHasIdList) {
        if (!b.Has(at, 2) || !b.Has(at + 2, b.U16(at))) {
            problem = "the item list runs past the end of the file";
            return false;
        }
        const size_t size = b.U16(at);
        idPath = PathFromIdList(b, at + 2, at + 2 + size);
        at += 2 + size;
    }
    if (flags & kHasLinkInfo) {
        size_t next = 0;
        if (!ReadLinkInfo(b, at, link.target, next)) {
            problem = "the link information runs past the end of the file";
            return false;
        }
        at = next;
    }
    if (link.target.empty()) link.target = idPath;
    const bool unicode = (flags & kIsUnicode) != 0;
    struct Field {
        LinkFlag flag;
        std::string* text;
    };
    const Field fields[] = {
        {kHasName, &link.description},        {kHasRelativePath, &link.relativePath},
        {kHasWorkingDir, &link.workingFolder}, {kHasArguments, &link.arguments},
        {kHasIconLocation, &link.iconLocation},
    };
    for (const Field& f : fields)
        if ((flags & f.flag) && !ReadCountedString(b, at, unicode, *f.text)) {
            problem = "a string of the shortcut runs past the end of the file";
            return false;
        }
    return true;
}
