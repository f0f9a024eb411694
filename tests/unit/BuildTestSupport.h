#pragma once
// Helpers for the tests of the build: a recording build log, a builder folder with stand-ins for
// the installer programs, and readers of what a build produced.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "pipeline/BuildLog.h"

class ScratchFolder;

// Records every line; clears the continue flag when the line `cancelAt` is logged.
class RecordingLog : public BuildLog {
public:
    void Log(const std::string& line) override;
    void Step() override { ++steps; }
    void Finished() override { ++finished; }
    std::string Text() const;  // every line followed by "\n"
    bool Has(const std::string& line) const;

    std::vector<std::string> lines;
    int steps = 0;
    int finished = 0;
    std::string cancelAt;
};

// A builder folder below `scratch`: LanguageSets\Setup\English.dat and German.dat, and, when
// `withPrograms`, setup\_setup.exe, _sfx.exe and _uninstall.exe, test programs that carry the
// application icon like the real ones. Returns its path.
std::string MakeBuilderFolder(ScratchFolder& scratch, bool withPrograms);

// An icon file holding the given images, each as (width, height, colour count, bytes).
struct IconImage {
    int width, height, colours;
    std::string bytes;
    int bits = 4;
};
std::string IconFile(const std::vector<IconImage>& images);

// A container read back from its end.
struct ReadBackEntry {
    std::string name;
    std::uint32_t offset = 0, size = 0;
};
struct Container {
    bool valid = false;
    std::vector<ReadBackEntry> files;
    std::vector<std::pair<std::uint32_t, std::string>> commands;
    std::string reserved;
};
Container ReadContainer(const std::string& bytes);
std::uint32_t ReadInt(const std::string& bytes, std::size_t at);

// The entries of a ZIP archive with their contents, in archive order.
struct ZipEntry {
    std::string name;
    std::string data;
    unsigned long dosDate = 0;
    int method = 0;
    bool intact = false;  // every byte read back and the stored CRC-32 matched
};
std::vector<ZipEntry> ReadZip(const std::string& path);

// The version information and the first icon group of an executable, read back independently of
// the writer: each icon image as (description, bytes) in group order.
struct VersionInfoRead {
    bool valid = false;
    std::array<std::uint32_t, 4> fixed{};  // file version high, low; product version high, low
    std::map<std::u16string, std::u16string> strings;
};
struct ProgramResources {
    bool valid = false;
    std::vector<std::pair<std::string, std::string>> icon;
    std::size_t iconImages = 0;  // every icon image in the executable, of any group
    VersionInfoRead version;
};
ProgramResources ReadProgramResources(const std::string& executable);
VersionInfoRead ReadVersionInfo(const std::string& resource);

// An icon file of five images: 16x16, 32x32 16-colour and 48x48 bitmaps, a 32x32 true-colour one
// and a PNG-compressed 256x256 one; every image's bytes differ.
std::string FiveImageIcon();
