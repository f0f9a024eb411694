#include "BuildTestSupport.h"

#include <stdexcept>

#include <unzip.h>

#include "TestSupport.h"
#include "core/Path.h"
#include "platform/FileSystem.h"
#include "executable/PeImage.h"
#include "pipeline/ExecutableResources.h"
#include "pipeline/IconReplacement.h"

void RecordingLog::Log(const std::string& line) {
    lines.push_back(line);
    if (line == cancelAt) Cancel();
}

std::string RecordingLog::Text() const {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

bool RecordingLog::Has(const std::string& line) const {
    for (const std::string& l : lines)
        if (l == line) return true;
    return false;
}

std::string MakeBuilderFolder(ScratchFolder& scratch, bool withPrograms) {
    scratch.Folder("builder\\LanguageSets\\Setup");
    scratch.Write("builder\\LanguageSets\\Setup\\English.dat", "[STRINGS]\r\n1=English\r\n");
    scratch.Write("builder\\LanguageSets\\Setup\\German.dat", "[STRINGS]\r\n1=Deutsch\r\n");
    if (withPrograms) {
        scratch.Folder("builder\\setup");
        const std::string icon = JoinPath(QS_RESOURCES, "Quillset.ico");
        const std::pair<const char*, const char*> programs[] = {
            {"_setup.exe", "installer"}, {"_sfx.exe", "stub"}, {"_uninstall.exe", "uninstaller"}};
        for (const auto& program : programs) {
            const std::string path = scratch.Write(std::string("builder\\setup\\") + program.first,
                                                   TestProgram(program.second));
            if (!ReplaceIcon(path, icon)) throw std::runtime_error("cannot give a test program its icon");
        }
    }
    return scratch.File("builder");
}

std::string IconFile(const std::vector<IconImage>& images) {
    std::string out;
    PutLe(out, 0, 2);
    PutLe(out, 1, 2);
    PutLe(out, static_cast<std::uint32_t>(images.size()), 2);
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const IconImage& image : images) {
        out += static_cast<char>(image.width);
        out += static_cast<char>(image.height);
        out += static_cast<char>(image.colours);
        out += '\0';
        PutLe(out, 1, 2);
        PutLe(out, static_cast<std::uint32_t>(image.bits), 2);
        PutLe(out, static_cast<std::uint32_t>(image.bytes.size()), 4);
        PutLe(out, offset, 4);
        offset += static_cast<std::uint32_t>(image.bytes.size());
    }
    for (const IconImage& image : images) out += image.bytes;
    return out;
}

std::uint32_t ReadInt(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Reads backwards as the stub does: magic, K, reserved, M, commands, N, directory.
Container ReadContainer(const std::string& bytes) {
    Container c;
    if (bytes.size() < 20 || bytes.compare(bytes.size() - 8, 8, "<KV_SEA>") != 0) return c;
    std::size_t at = bytes.size() - 8;
    auto take = [&](std::size_t n) {
        if (n > at) throw std::out_of_range("container table runs past the start");
        at -= n;
        return at;
    };
    try {
    std::uint32_t k = ReadInt(bytes, take(4));
    c.reserved = bytes.substr(take(k), k);
    std::uint32_t m = ReadInt(bytes, take(4));
    for (std::uint32_t i = 0; i < m; ++i) {
        std::uint32_t id = ReadInt(bytes, take(4));
        std::uint32_t length = ReadInt(bytes, take(4));
        c.commands.insert(c.commands.begin(), {id, bytes.substr(take(length), length)});
    }
    std::uint32_t n = ReadInt(bytes, take(4));
    for (std::uint32_t i = 0; i < n; ++i) {
        ReadBackEntry e;
        std::uint32_t length = ReadInt(bytes, take(4));
        e.name = bytes.substr(take(length), length);
        e.size = ReadInt(bytes, take(4));
        e.offset = ReadInt(bytes, take(4));
        c.files.insert(c.files.begin(), e);
    }
    } catch (const std::out_of_range&) {
        return Container();
    }
    c.valid = true;
    return c;
}

std::vector<ZipEntry> ReadZip(const std::string& path) {
    std::vector<ZipEntry> entries;
    unzFile zip = unzOpen64(platform::NativePath(path).c_str());
    if (!zip) return entries;
    for (int more = unzGoToFirstFile(zip); more == UNZ_OK; more = unzGoToNextFile(zip)) {
        char name[512];
        unz_file_info64 info;
        unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0);
        ZipEntry e;
        e.name = name;
        e.dosDate = info.dosDate;
        e.method = static_cast<int>(info.compression_method);
        e.data.resize(static_cast<std::size_t>(info.uncompressed_size));
        const int opened = unzOpenCurrentFile(zip);
        const int read = e.data.empty() ? 0 : unzReadCurrentFile(zip, &e.data[0], static_cast<unsigned>(e.data.size()));
        char beyond = 0;
        const bool atEnd = unzReadCurrentFile(zip, &beyond, 1) == 0;
        const bool checked = unzCloseCurrentFile(zip) == UNZ_OK;  // UNZ_CRCERROR on a wrong checksum
        e.intact = opened == UNZ_OK && read == static_cast<int>(e.data.size()) && atEnd && checked;
        entries.push_back(e);
    }
    unzClose(zip);
    return entries;
}

namespace {

// One block of a version resource: length, value length, type, key, value, children.
struct VersionBlock {
    std::u16string key;
    std::string value;
    std::vector<VersionBlock> children;
};

bool ReadBlock(const std::string& bytes, std::size_t at, VersionBlock& block, std::size_t& end) {
    const std::uint32_t length = GetLe(bytes, at, 2), valueLength = GetLe(bytes, at + 2, 2), type = GetLe(bytes, at + 4, 2);
    if (length < 6 || at + length > bytes.size()) return false;
    end = at + length;
    std::size_t p = at + 6;
    for (char16_t c; p + 1 < end && (c = static_cast<char16_t>(GetLe(bytes, p, 2))) != 0; p += 2) block.key += c;
    p = (p + 2 + 3) / 4 * 4;
    const std::size_t valueBytes = type == 1 ? 2 * valueLength : valueLength;
    if (p + valueBytes > end) return false;
    block.value = bytes.substr(p, valueBytes);
    p = (p + valueBytes + 3) / 4 * 4;
    while (p < end) {
        VersionBlock child;
        std::size_t childEnd = 0;
        if (!ReadBlock(bytes, p, child, childEnd)) return false;
        block.children.push_back(child);
        p = (childEnd + 3) / 4 * 4;
    }
    return true;
}

std::u16string Text16(const std::string& bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) text += static_cast<char16_t>(GetLe(bytes, i, 2));
    while (!text.empty() && text.back() == 0) text.pop_back();
    return text;
}

std::string Png256(char fill) {
    std::string png = "\x89PNG\r\n\x1a\n";
    png += std::string("\0\0\0\x0dIHDR\0\0\x01\0\0\0\x01\0\x08\x06\0\0\0", 21);
    return png + std::string(1200, fill);
}

std::string Bitmap(int size, int bits, char fill) {
    std::string header;
    PutLe(header, 40, 4);
    PutLe(header, size, 4);
    PutLe(header, 2 * size, 4);
    PutLe(header, 1, 2);
    PutLe(header, bits, 2);
    const int palette = bits <= 8 ? 4 << bits : 0;
    const int colour = (size * bits + 31) / 32 * 4 * size, mask = (size + 31) / 32 * 4 * size;
    return header + std::string(16, '\0') + std::string(palette + colour + mask, fill);
}

}  // namespace

VersionInfoRead ReadVersionInfo(const std::string& resource) {
    VersionInfoRead read;
    VersionBlock root;
    std::size_t end = 0;
    if (!ReadBlock(resource, 0, root, end) || root.key != u"VS_VERSION_INFO" || root.value.size() != 52 ||
        GetLe(root.value, 0, 4) != 0xFEEF04BD)
        return read;
    for (int i = 0; i < 4; ++i) read.fixed[i] = GetLe(root.value, 8 + 4 * i, 4);
    for (const VersionBlock& info : root.children)
        if (info.key == u"StringFileInfo")
            for (const VersionBlock& table : info.children)
                for (const VersionBlock& entry : table.children) read.strings[entry.key] = Text16(entry.value);
    read.valid = true;
    return read;
}

ProgramResources ReadProgramResources(const std::string& executable) {
    ProgramResources read;
    ResourceTree tree;
    if (!ReadResources(executable, tree)) return read;
    if (const ResourceTree::Names* icons = tree.Type(ResourceTree::kIcon))
        for (const auto& icon : *icons) read.iconImages += icon.second.size();
    const ResourceTree::Names* groups = tree.Type(ResourceTree::kGroupIcon);
    const ResourceTree::Names* icons = tree.Type(ResourceTree::kIcon);
    if (groups && icons && !groups->empty() && !groups->begin()->second.empty()) {
        const auto& language = *groups->begin()->second.begin();
        const std::string& group = language.second.bytes;
        for (std::uint32_t i = 0; i < GetLe(group, 4, 2); ++i) {
            const std::size_t entry = 6 + 14 * i;
            auto icon = icons->find(ResourceId::Number(static_cast<std::uint16_t>(GetLe(group, entry + 12, 2))));
            if (icon == icons->end() || !icon->second.count(language.first)) return read;
            read.icon.push_back({group.substr(entry, 12), icon->second.at(language.first).bytes});
        }
    }
    if (const ResourceTree::Names* versions = tree.Type(ResourceTree::kVersion))
        if (!versions->empty() && !versions->begin()->second.empty())
            read.version = ReadVersionInfo(versions->begin()->second.begin()->second.bytes);
    read.valid = true;
    return read;
}

std::string FiveImageIcon() {
    return IconFile({{16, 16, 0, Bitmap(16, 32, 'a'), 32},
                     {32, 32, 16, Bitmap(32, 4, 'b'), 4},
                     {32, 32, 0, Bitmap(32, 32, 'c'), 32},
                     {48, 48, 0, Bitmap(48, 32, 'd'), 32},
                     {0, 0, 0, Png256('e'), 32}});
}
