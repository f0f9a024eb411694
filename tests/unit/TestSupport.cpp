#include "TestSupport.h"

#include <atomic>
#include <chrono>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "core/Path.h"
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
