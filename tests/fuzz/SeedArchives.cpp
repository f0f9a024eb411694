// Writes seed archives for the archive target with the builder's own archive writer: the same
// few entries (text, noise, an empty file, one too big to hold, a program) deflated as a
// standard setup does, and compressed with zstd as a small one does.
//   seed_archives OUTPUT_DIR
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "pipeline/ParallelPacker.h"
#include "pipeline/ProductArchive.h"
#include "platform/File.h"

namespace {

bool WriteFile(const std::string& path, const std::string& bytes) {
    File file;
    std::uint32_t done = 0;
    return file.Open(path, CreateWrite) && (bytes.empty() || file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), done)) &&
           file.Close() > 0;
}

bool WriteSeed(const std::vector<std::string>& sources, const std::vector<std::string>& names, EntryMethod method,
               const std::string& target) {
    ProductArchive archive;
    if (!archive.Open(target)) return false;
    PackingLimits limits;
    limits.holdLimit = 20000;  // the big file is streamed, as one of several MB would be
    ParallelPacker packer(sources, method, 1, limits);
    PackedFile file;
    for (std::size_t i = 0; packer.Next(file); ++i) {
        const bool added = file.state == PackedFile::State::Streamed ? archive.AddFile(sources[i], names[i], method)
                                                                     : archive.AddPacked(sources[i], names[i], file);
        if (!added) return false;
    }
    return archive.Close();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: seed_archives OUTPUT_DIR\n");
        return 2;
    }
    std::string out = argv[1];
    for (char& c : out)
        if (c == '/') c = '\\';
    std::mt19937 rng(5);
    std::string text, noise, big;
    while (text.size() < 3000) text += "value " + std::to_string(rng() % 300) + " = on\r\n";
    while (noise.size() < 2000) noise += static_cast<char>(rng());
    while (big.size() < 30000) big += "line " + std::to_string(rng() % 1000) + "\r\n";
    const std::vector<std::string> names = {"AppDir\\text.txt", "AppDir\\noise.bin", "AppDir\\empty.txt",
                                            "AppDir\\big.txt", "uninstall.exe"};
    const std::vector<std::string> contents = {text, noise, "", big, "MZ" + text.substr(0, 500)};
    std::vector<std::string> sources;
    for (std::size_t i = 0; i < contents.size(); ++i) {
        sources.push_back(out + "\\source" + std::to_string(i));
        if (!WriteFile(sources.back(), contents[i])) return 1;
    }
    const bool ok = WriteSeed(sources, names, EntryMethod::Deflated, out + "\\standard.zip") &&
                    WriteSeed(sources, names, EntryMethod::Zstd, out + "\\small.zip");
    for (const std::string& source : sources) RemoveFile(source);
    return ok ? 0 : 1;
}
