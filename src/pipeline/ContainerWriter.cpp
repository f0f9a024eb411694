#include "pipeline/ContainerWriter.h"

#include <algorithm>

#include "core/Path.h"
#include "executable/SetupChecksum.h"
#include "model/ProjectPaths.h"
#include "platform/File.h"

// Files are copied and checked in large blocks: the container is as large as the product.
static constexpr std::uint32_t kBlockSize = 1 << 18;
static const char kTrailer[8] = {'<', 'K', 'V', '_', 'S', 'E', 'A', '>'};

void ContainerWriter::Reset() {
    files_.clear();
    commands_.clear();
}

bool ContainerWriter::AddFile(const std::string& path) { return AddFile(path, NameOf(path)); }

bool ContainerWriter::AddFile(const std::string& path, const std::string& name) {
    if (files_.size() >= kMaxFiles) return false;
    File file;
    std::uint64_t size = 0;
    if (!file.Open(path, ReadExisting) || !file.GetSize64(size) || size > 0xFFFFFFFFull) return false;
    files_.push_back({name, path, static_cast<std::uint32_t>(size), 0});
    return true;
}

bool ContainerWriter::AddCommand(std::uint32_t id, const std::string& name) {
    if (commands_.size() >= kMaxCommands) return false;
    commands_.push_back({id, name});
    return true;
}

static void PutInt(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

static bool WriteAll(File& file, const void* bytes, std::size_t count) {
    std::uint32_t done = 0;
    return file.Write(bytes, static_cast<std::uint32_t>(count), done);
}

int ContainerWriter::WriteContainer(const std::string& stubPath, const std::string& targetPath,
                                    const void* reservedData, std::uint32_t reservedSize) {
    if (files_.empty()) return kNoFileEntries;
    if (!CopyFileContents(stubPath, targetPath)) return kStubNotCopied;
    File target;
    if (!target.Open(targetPath, WriteExisting) || !target.Seek(0, 2)) return kTargetNotWritten;
    if (!AppendFiles(target)) return kTargetNotWritten;
    std::string tables = Tables(reservedData, reservedSize);
    if (!WriteAll(target, tables.data(), tables.size())) return kTargetNotWritten;
    return target.Close() != 0 ? kContainerWritten : kTargetNotWritten;
}

// Copies each source after the stub and records where it landed. A source that shrank since it
// was added is recorded with the bytes really copied, and one that grew is cut at its recorded
// size, so the directory always describes the data in front of it.
bool ContainerWriter::AppendFiles(File& target) {
    std::vector<char> block(kBlockSize);
    for (FileEntry& entry : files_) {
        File source;
        std::int64_t position = 0;
        if (!source.Open(entry.path, ReadExisting) || !target.Tell(position)) return false;
        std::uint32_t copied = 0;
        while (copied < entry.size) {
            std::uint32_t want = std::min<std::uint32_t>(kBlockSize, entry.size - copied), got = 0;
            source.Read(block.data(), want, got);
            if (got == 0) break;
            if (!WriteAll(target, block.data(), got)) return false;
            copied += got;
        }
        // Offsets are 32-bit: a container that outgrows them cannot be read back.
        if (static_cast<std::uint64_t>(position) + copied > 0xFFFFFFFFull) return false;
        entry.offset = static_cast<std::uint32_t>(position);
        entry.size = copied;
    }
    return true;
}

std::string ContainerWriter::Tables(const void* reservedData, std::uint32_t reservedSize) const {
    std::string out;
    for (const FileEntry& entry : files_) {
        PutInt(out, entry.offset);
        PutInt(out, entry.size);
        out += entry.name;
        PutInt(out, static_cast<std::uint32_t>(entry.name.size()));
    }
    PutInt(out, static_cast<std::uint32_t>(files_.size()));
    for (const CommandEntry& command : commands_) {
        out += command.name;
        PutInt(out, static_cast<std::uint32_t>(command.name.size()));
        PutInt(out, command.id);
    }
    PutInt(out, static_cast<std::uint32_t>(commands_.size()));
    if (reservedData)
        out.append(static_cast<const char*>(reservedData), reservedSize);
    else
        out.append(reservedSize, '\0');
    PutInt(out, reservedSize);
    out.append(kTrailer, sizeof kTrailer);
    return out;
}

bool WriteReserved(const std::string& targetPath, const void* data, std::uint32_t size) {
    if (!data || size == 0) return false;
    File target;
    if (!target.Open(targetPath, WriteExisting)) return false;
    if (!target.Seek(-static_cast<std::int64_t>(size) - 8 - 4, 2)) return false;
    return WriteAll(target, data, size);
}

std::uint32_t FileChecksum(const std::string& path) {
    File file;
    std::uint64_t size = 0;
    SetupLayout layout;
    std::uint32_t crc = 0;
    if (!file.Open(path, ReadExisting) || !file.GetSize64(size) || !LocateSetup(file, size, layout) ||
        !SetupChecksum(file, layout, kNoChecksumField, crc))
        return 0;
    return crc;
}

bool StampChecksum(const std::string& targetPath) {
    {
        File target;
        if (!target.Open(targetPath, ReadWriteExisting) || !ClearSignatureFields(target)) return false;
    }
    const std::uint32_t checksum = FileChecksum(targetPath);
    const unsigned char bytes[4] = {static_cast<unsigned char>(checksum), static_cast<unsigned char>(checksum >> 8),
                                    static_cast<unsigned char>(checksum >> 16), static_cast<unsigned char>(checksum >> 24)};
    return WriteReserved(targetPath, bytes, sizeof bytes);
}
