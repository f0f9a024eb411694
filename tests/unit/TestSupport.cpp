#include "TestSupport.h"

#include <atomic>
#include <chrono>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "core/Path.h"
#include "executable/PeImage.h"
#include "lang/LanguageFile.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

ScratchFolder::ScratchFolder() {
    static std::atomic<int> serial{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = JoinPath(platform::TempFolder(),
                     "qs-test-" + std::to_string(stamp) + "-" + std::to_string(serial++));
    platform::MakeFolder(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(platform::NativePath(path_), ignored);
}

std::string ScratchFolder::Folder(const std::string& name) {
    std::string path = JoinPath(path_, name);
    std::error_code ignored;
    std::filesystem::create_directories(platform::NativePath(path), ignored);
    return path;
}

std::string ScratchFolder::File(const std::string& name) {
    return JoinPath(path_, name);
}

std::string ScratchFolder::Write(const std::string& name, const std::string& bytes) {
    std::string path = File(name);
    ::File file;
    file.Open(path, CreateWrite);
    std::uint32_t done = 0;
    file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), done);
    return path;
}

#ifdef _WIN32
static const char kTempVariable[] = "TMP";
static void SetVariable(const char* name, const char* value) { _putenv_s(name, value ? value : ""); }
#else
static const char kTempVariable[] = "TMPDIR";
static void SetVariable(const char* name, const char* value) {
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}
#endif

ScopedTempFolder::ScopedTempFolder(const std::string& path) {
    const char* old = std::getenv(kTempVariable);
    hadValue_ = old != nullptr;
    saved_ = old ? old : "";
    SetVariable(kTempVariable, platform::NativePath(path).c_str());
}

ScopedTempFolder::~ScopedTempFolder() { SetVariable(kTempVariable, hadValue_ ? saved_.c_str() : nullptr); }

std::vector<std::string> FolderNames(const std::string& path) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(platform::NativePath(path), error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadBytes(const std::string& path) {
    ::File file;
    if (!file.Open(path, ReadExisting)) return "<missing " + path + ">";
    std::uint32_t size = 0, done = 0;
    file.GetSize(size);
    std::string bytes(size, '\0');
    if (size) file.Read(&bytes[0], size, done);
    return bytes;
}

std::string DataPath(const std::string& relative) {
    std::string path = JoinPath(QS_TEST_DATA, relative);
#ifndef _WIN32
    for (char& c : path)
        if (c == '\\') c = '/';
#endif
    return path;
}

std::string SourceFolder() { return DataPath("..\\.."); }

const UiTextSource& EnglishTexts() {
    static LanguageFile english;
    if (!english.IsLoaded()) english.Load(SourceFolder(), "English");
    return english;
}

static void PutU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t ReferenceChecksum(const std::string& bytes) {
    std::uint32_t crc = 0;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int i = 0; i < 8; ++i) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc;
}

std::string MakeTestContainer(const std::string& stub, const std::vector<TestEntry>& entries, const std::string& run) {
    std::string out = stub, directory;
    // The header fields that a signature changes are zero in an unsigned setup.
    PeImage image;
    if (image.Parse(out)) {
        SetLe(out, image.ChecksumField(), 0, 4);
        if (const std::size_t certificates = image.DirectoryEntry(PeImage::kCertificateDirectory))
            out.replace(certificates, 8, std::string(8, '\0'));
    }
    for (const TestEntry& e : entries) {
        PutU32(directory, static_cast<std::uint32_t>(out.size()));
        PutU32(directory, static_cast<std::uint32_t>(e.bytes.size()));
        directory += e.name;
        PutU32(directory, static_cast<std::uint32_t>(e.name.size()));
        out += e.bytes;
    }
    out += directory;
    PutU32(out, static_cast<std::uint32_t>(entries.size()));
    out += run;
    PutU32(out, static_cast<std::uint32_t>(run.size()));
    PutU32(out, 1000);
    PutU32(out, 1);
    PutU32(out, 0);
    PutU32(out, 4);
    out += "<KV_SEA>";
    StampTestContainer(out);
    return out;
}

void StampTestContainer(std::string& container) {
    container.replace(container.size() - 16, 4, std::string(4, '\0'));
    std::string sum;
    PutU32(sum, ReferenceChecksum(container));
    container.replace(container.size() - 16, 4, sum);
}

std::string TestProgram(const std::string& marker) {
    std::string file(0x800, '\0');
    file.replace(0, 2, "MZ");
    SetLe(file, 0x3C, 0x40, 4);
    file.replace(0x40, 4, std::string("PE\0\0", 4));
    const std::size_t coff = 0x44, optional = 0x58;
    SetLe(file, coff, 0x8664, 2);     // x64
    SetLe(file, coff + 2, 3, 2);      // sections
    SetLe(file, coff + 16, 240, 2);   // optional header size
    SetLe(file, coff + 18, 0x22, 2);  // executable, large addresses
    SetLe(file, optional, 0x20B, 2);
    SetLe(file, optional + 16, 0x1000, 4);  // entry point
    SetLe(file, optional + 24, 0x40000000, 4);  // image base 0x140000000
    SetLe(file, optional + 28, 0x1, 4);
    SetLe(file, optional + 32, 0x1000, 4);
    SetLe(file, optional + 36, 0x200, 4);
    SetLe(file, optional + 48, 6, 2);  // subsystem version
    SetLe(file, optional + 56, 0x4000, 4);
    SetLe(file, optional + 60, 0x200, 4);
    SetLe(file, optional + 64, 0x1234, 4);  // a checksum, as the linker writes one
    SetLe(file, optional + 68, 2, 2);       // a windowed program
    SetLe(file, optional + 108, 16, 4);
    SetLe(file, optional + 112 + 8 * 2, 0x2000, 4);
    SetLe(file, optional + 112 + 8 * 2 + 4, 16, 4);
    SetLe(file, optional + 112 + 8 * 5, 0x3000, 4);
    SetLe(file, optional + 112 + 8 * 5 + 4, 12, 4);
    struct Section {
        const char* name;
        std::uint32_t address, pointer, flags;
    } sections[] = {{".text", 0x1000, 0x200, 0x60000020}, {".rsrc", 0x2000, 0x400, 0x40000040},
                    {".reloc", 0x3000, 0x600, 0x42000040}};
    for (int i = 0; i < 3; ++i) {
        const std::size_t at = optional + 240 + 40 * i;
        file.replace(at, std::string(sections[i].name).size(), sections[i].name);
        SetLe(file, at + 8, 0x100, 4);
        SetLe(file, at + 12, sections[i].address, 4);
        SetLe(file, at + 16, 0x200, 4);
        SetLe(file, at + 20, sections[i].pointer, 4);
        SetLe(file, at + 36, sections[i].flags, 4);
    }
    file.replace(0x200, marker.size(), marker);
    file.replace(0x600, 12, std::string("\0\x10\0\0\x0c\0\0\0\x08\xa0\x10\xa0", 12));  // one block of two fixups
    return file;
}

std::string TestLibrary(const std::vector<std::string>& exports) {
    std::string file = TestProgram("library");
    const std::size_t optional = 0x58;
    // The export table in the code section (memory 0x1000 at file 0x200): the table at 0x1080,
    // the list of name addresses at 0x10B0, the names from 0x1100 on.
    const std::uint32_t table = 0x1080, list = 0x10B0;
    std::uint32_t name = 0x1100;
    SetLe(file, optional + 112, table, 4);
    SetLe(file, optional + 112 + 4, 0x100, 4);
    SetLe(file, 0x200 + (table - 0x1000) + 24, static_cast<std::uint32_t>(exports.size()), 4);
    SetLe(file, 0x200 + (table - 0x1000) + 32, list, 4);
    for (std::size_t i = 0; i < exports.size(); ++i) {
        SetLe(file, 0x200 + (list - 0x1000) + 4 * i, name, 4);
        file.replace(0x200 + (name - 0x1000), exports[i].size() + 1, exports[i] + '\0');
        name += static_cast<std::uint32_t>(exports[i].size() + 1);
    }
    return file;
}
