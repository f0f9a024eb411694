#pragma once
// The self-extracting container: the stub, the files back to back, then the tables that a reader
// takes from the end of the file backwards. All integers are 32-bit little-endian; every length
// stands after the bytes it counts.
//
//   stub | file data | per file: offset, size, name, n | N | per command: name, m, id | M
//        | reserved data (K bytes) | K | "<KV_SEA>"
#include <cstdint>
#include <string>
#include <vector>

class File;

enum ContainerResult {
    kContainerWritten = 1002,
    kStubNotCopied = 1003,
    kNoFileEntries = 1004,
    kTargetNotWritten = 1005,  // the target could not be opened or written, or a source read
};

class ContainerWriter {
public:
    static constexpr int kMaxFiles = 1024;
    static constexpr int kMaxCommands = 256;

    struct FileEntry {
        std::string name;  // the source path's last part
        std::string path;
        std::uint32_t size = 0;
        std::uint32_t offset = 0;  // set while writing
    };
    struct CommandEntry {
        std::uint32_t id = 0;
        std::string name;
    };

    void Reset();
    // Fails when the table is full, the file cannot be opened for reading, or it is too large
    // for the container's 32-bit sizes.
    bool AddFile(const std::string& path);
    // The same, for a file that the container holds under another name than its own.
    bool AddFile(const std::string& path, const std::string& name);
    bool AddCommand(std::uint32_t id, const std::string& name);
    // Copies the stub to the target and appends everything; a ContainerResult.
    // Without `reservedData` the reserved part is `reservedSize` zero bytes.
    int WriteContainer(const std::string& stubPath, const std::string& targetPath,
                       const void* reservedData, std::uint32_t reservedSize);

    const std::vector<FileEntry>& Files() const { return files_; }
    const std::vector<CommandEntry>& Commands() const { return commands_; }

private:
    bool AppendFiles(File& target);
    std::string Tables(const void* reservedData, std::uint32_t reservedSize) const;

    std::vector<FileEntry> files_;
    std::vector<CommandEntry> commands_;
};

// Overwrites the reserved data of a finished container (the `size` bytes before its last 12).
// False, touching nothing, when `data` is missing or `size` is 0.
bool WriteReserved(const std::string& targetPath, const void* data, std::uint32_t size);

// The checksum of a setup as executable/SetupChecksum.h defines it, over the file as it stands
// (a finished container's own checksum bytes must be zero to give the stored value). For a file
// that is no executable that is the CRC-32 register from 0 without final inversion over every
// byte: 0 for an empty or unreadable file, 0xCA6598D0 for "abc".
std::uint32_t FileChecksum(const std::string& path);

// Finishes a container just written: zeros in the header fields that a signature changes, then
// its checksum into the reserved data. False when the file cannot be read or written.
bool StampChecksum(const std::string& targetPath);
