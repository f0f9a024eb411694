#include "TestSupport.h"

#include <atomic>
#include <chrono>

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
    for (const std::string& f : files_) RemoveFile(f);
    platform::RemoveFolder(path_);
}

std::string ScratchFolder::File(const std::string& name) {
    std::string path = JoinPath(path_, name);
    files_.push_back(path);
    return path;
}

std::string ScratchFolder::Write(const std::string& name, const std::string& bytes) {
    std::string path = File(name);
    ::File file;
    file.Open(path, CreateWrite);
    std::uint32_t done = 0;
    file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), done);
    return path;
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
