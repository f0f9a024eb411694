#include "BuildTestSupport.h"

#include <stdexcept>

#include <unzip.h>

#include "TestSupport.h"
#include "platform/FileSystem.h"
#include "platform/Resources.h"

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

std::string ProgramWithIcon(const std::string& marker) {
    return "MZ" + marker + std::string(300, 'x') + platform::OwnIconImage().substr(0, 744) + std::string(100, 'y');
}

std::string MakeBuilderFolder(ScratchFolder& scratch, bool withPrograms) {
    scratch.Folder("builder\\LanguageSets\\Setup");
    scratch.Write("builder\\LanguageSets\\Setup\\English.dat", "[STRINGS]\r\n1=English\r\n");
    scratch.Write("builder\\LanguageSets\\Setup\\German.dat", "[STRINGS]\r\n1=Deutsch\r\n");
    if (withPrograms) {
        scratch.Folder("builder\\setup");
        scratch.Write("builder\\setup\\_setup.exe", ProgramWithIcon("installer"));
        scratch.Write("builder\\setup\\_sfx.exe", ProgramWithIcon("stub"));
        scratch.Write("builder\\setup\\_uninstall.exe", "MZ uninstaller");
    }
    return scratch.File("builder");
}

static void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
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
        PutLe(out, 4, 2);
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
        ContainerEntry e;
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
