#pragma once
// Scratch files and golden data for the unit tests.
#include <cstdint>
#include <string>
#include <vector>

#include "profile/ScriptBuilder.h"
#include "platform/File.h"
#include "profile/LineSink.h"

// A fresh folder under the temporary folder, removed with everything it holds.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::string& Path() const { return path_; }
    // The path of `name` inside the folder.
    std::string File(const std::string& name);
    std::string Write(const std::string& name, const std::string& bytes);
    // Creates a folder inside (with its parents); returns its path.
    std::string Folder(const std::string& name);

private:
    std::string path_;
};

// Points the system's temporary folder at `path` while it lives.
class ScopedTempFolder {
public:
    explicit ScopedTempFolder(const std::string& path);
    ~ScopedTempFolder();

private:
    std::string saved_;
    bool hadValue_;
};

// The names in a folder, sorted.
std::vector<std::string> FolderNames(const std::string& path);

std::string ReadBytes(const std::string& path);
// A file below tests/data, spelt as the program under test sees it.
std::string DataPath(const std::string& relative);
// The top folder of the source tree, which holds LanguageSets\ like the program's folder.
std::string SourceFolder();

class UiTextSource;
// The builder's English language file of the source tree.
const UiTextSource& EnglishTexts();

// What a section's Save writes, byte for byte.
template <class SectionType>
std::string SavedText(const SectionType& section) {
    TextLineSink out;
    return section.Save(out) ? out.Text() : "<save failed>";
}

// The setup.ini text of one section's Export.
template <class SectionType>
std::string ExportedText(const SectionType& section) {
    ScriptBuilder script;
    section.Export(script);
    return script.Text();
}

// The container checksum as its format defines it, one bit at a time, to check the programs'
// own functions against: the reflected polynomial 0xEDB88320, the register from 0, no inversion.
std::uint32_t ReferenceChecksum(const std::string& bytes);

// A self-extracting container laid out as the builder writes it: `stub` (the header fields that
// signing changes cleared when it is an executable), then each entry's bytes, the directory, the command table (command 1000 runs `run`), the checksum, the value 4
// and "<KV_SEA>".
struct TestEntry {
    std::string name, bytes;
};
std::string MakeTestContainer(const std::string& stub, const std::vector<TestEntry>& entries, const std::string& run);
// Writes the checksum of a container whose bytes were changed, so that only its tables are wrong.
void StampTestContainer(std::string& container);

// A small Windows x64 executable laid out as the linker lays out the installer programs: code
// holding `marker`, an empty resource section, base relocations behind it, and a header checksum
// that is not zero.
std::string TestProgram(const std::string& marker);
// A test program that exports `exports` by name, as a library does (a few short names fit).
std::string TestLibrary(const std::vector<std::string>& exports);
