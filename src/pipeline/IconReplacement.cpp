#include "pipeline/IconReplacement.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/File.h"
#include "platform/Resources.h"

namespace {

std::uint32_t LittleEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}

bool ReadAt(File& file, std::int64_t offset, void* buffer, std::uint32_t count) {
    std::uint32_t done = 0;
    return file.Seek(offset, 0) && file.Read(buffer, count, done);
}

// The first 744 bytes of the icon file's first 32x32 16-colour image; empty when there is none.
// Only the first entry of that kind is tried.
std::string UsableImage(const std::string& iconPath) {
    File icon;
    if (!icon.Open(iconPath, ReadExisting)) return std::string();
    unsigned char header[6];
    for (int i = 0; i < 3; ++i)
        if (!ReadAt(icon, 2 * i, header + 2 * i, 2)) return std::string();
    if (LittleEndian(header, 2) != 0 || LittleEndian(header + 2, 2) != 1) return std::string();
    const std::uint32_t count = LittleEndian(header + 4, 2);
    std::uint64_t fileSize = 0;
    icon.GetSize64(fileSize);
    for (std::uint32_t i = 0; i < count; ++i) {
        unsigned char entry[16];
        if (!ReadAt(icon, 6 + 16 * i, entry, sizeof entry)) continue;
        if (entry[0] != 32 || entry[1] != 32 || entry[2] != 16) continue;
        const std::uint32_t size = LittleEndian(entry + 8, 4), offset = LittleEndian(entry + 12, 4);
        // An image too short to supply the 744 bytes, or one that runs past the file, is unusable.
        if (size < kIconImageSize || offset + static_cast<std::uint64_t>(size) > fileSize) return std::string();
        std::string image(kIconImageSize, '\0');
        if (!ReadAt(icon, offset, &image[0], kIconImageSize)) return std::string();
        return image;
    }
    return std::string();
}

// The position of the first copy of `image` in the file, or -1. The file is searched in blocks
// that overlap by one image less a byte, so a large container is never held in memory whole.
std::int64_t FindImage(File& target, const std::string& image) {
    constexpr std::uint32_t kBlock = 1 << 20;
    const std::uint32_t overlap = static_cast<std::uint32_t>(image.size()) - 1;
    std::vector<char> buffer(kBlock + overlap);
    const std::boyer_moore_horspool_searcher<std::string::const_iterator> searcher(image.begin(), image.end());
    std::uint32_t kept = 0;  // bytes carried over from the previous block
    std::int64_t base = 0;   // file position of buffer[0]
    if (!target.Seek(0, 0)) return -1;
    for (;;) {
        std::uint32_t got = 0;
        target.Read(buffer.data() + kept, kBlock, got);
        if (got == 0) return -1;
        const char* begin = buffer.data();
        const char* end = begin + kept + got;
        const char* found = std::search(begin, end, searcher);
        if (found != end) return base + (found - begin);
        const std::uint32_t carry = std::min<std::uint32_t>(overlap, kept + got);
        std::copy(end - carry, end, buffer.data());
        base += (end - begin) - carry;
        kept = carry;
    }
}

}  // namespace

bool ReplaceIcon(const std::string& targetPath, const std::string& iconPath, const std::string& referenceImage) {
    if (referenceImage.size() < kIconImageSize) return false;
    const std::string image = UsableImage(iconPath);
    if (image.empty()) return false;
    File target;
    if (!target.Open(targetPath, ReadWriteExisting)) return false;
    const std::int64_t at = FindImage(target, referenceImage.substr(0, kIconImageSize));
    std::uint32_t done = 0;
    return at >= 0 && target.Seek(at, 0) &&
           target.Write(image.data(), static_cast<std::uint32_t>(kIconImageSize), done);
}

bool ReplaceIcon(const std::string& targetPath, const std::string& iconPath) {
    return ReplaceIcon(targetPath, iconPath, platform::OwnIconImage());
}
