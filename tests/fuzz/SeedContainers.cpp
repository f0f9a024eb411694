// Writes seed containers for the container target with the builder's own writer: a small stub,
// then setup.ini files of the golden data, a language file and an installer, each container
// with its checksum stamped as a build stamps it.
//   seed_containers SOURCE_DIR OUTPUT_DIR
#include <cstdio>
#include <string>
#include <vector>

#include "pipeline/ContainerWriter.h"
#include "platform/File.h"

namespace {

bool WriteFile(const std::string& path, const std::string& bytes) {
    File file;
    std::uint32_t done = 0;
    return file.Open(path, CreateWrite) && file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), done) &&
           file.Close() > 0;
}

bool WriteSeed(const std::string& stub, const std::vector<std::string>& files, const std::string& target) {
    ContainerWriter writer;
    for (const std::string& f : files)
        if (!writer.AddFile(f)) return false;
    writer.AddCommand(1000, "setup.exe");
    if (writer.WriteContainer(stub, target, nullptr, 4) != kContainerWritten) return false;
    std::uint32_t checksum = FileChecksum(target);
    unsigned char bytes[4] = {static_cast<unsigned char>(checksum), static_cast<unsigned char>(checksum >> 8),
                              static_cast<unsigned char>(checksum >> 16), static_cast<unsigned char>(checksum >> 24)};
    return WriteReserved(target, bytes, 4);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: seed_containers SOURCE_DIR OUTPUT_DIR\n");
        return 2;
    }
    // In the system's own spelling: an entry is named after the part behind the last "\".
    auto own = [](std::string path) {
        for (char& c : path)
            if (c == '/') c = '\\';
        return path;
    };
    const std::string source = own(argv[1]), out = own(argv[2]);
    const std::string stub = out + "\\stub.bin", exe = out + "\\setup.exe";
    if (!WriteFile(stub, "MZ\x90\x00 stub" + std::string(200, '\0')) || !WriteFile(exe, "MZ installer")) return 1;
    const std::string golden = source + "\\tests\\data\\golden\\";
    bool ok = WriteSeed(stub, {golden + "full-project-setup.ini", exe}, out + "\\full.sea") &&
              WriteSeed(stub, {golden + "trees-setup.ini", source + "\\LanguageSets\\Setup\\English.dat", exe},
                        out + "\\trees.sea") &&
              WriteSeed(stub, {exe}, out + "\\single.sea");
    RemoveFile(stub);
    RemoveFile(exe);
    return ok ? 0 : 1;
}
