#include "installer/ArchiveReader.h"

#include <unzip.h>

#include <vector>

#include "platform/File.h"

namespace {

// minizip's name comparison: 2 compares without regard to letter case, as Windows names do.
constexpr int kIgnoreCase = 2;

}  // namespace

ArchiveReader::~ArchiveReader() {
    if (archive_) unzClose(archive_);
}

bool ArchiveReader::Open(const std::string& path) {
    if (archive_) unzClose(archive_);
    archive_ = unzOpen64(platform::NativePath(path).c_str());
    return archive_ != nullptr;
}

bool ArchiveReader::Find(const std::string& name, ArchiveEntry& entry) {
    unz_file_info64 info;
    if (!archive_ || unzLocateFile(archive_, name.c_str(), kIgnoreCase) != UNZ_OK ||
        unzGetCurrentFileInfo64(archive_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    entry.size = info.uncompressed_size;
    entry.dosDate = static_cast<std::uint32_t>(info.dosDate);
    return true;
}

ExtractStatus ArchiveReader::Extract(const std::string& name, const std::string& target,
                                     const std::function<bool(std::uint32_t)>& progress, ArchiveEntry& entry) {
    if (!Find(name, entry) || unzOpenCurrentFile(archive_) != UNZ_OK) return ExtractStatus::Unreadable;
    File out;
    if (!out.Open(target, CreateWrite)) {
        unzCloseCurrentFile(archive_);
        return ExtractStatus::Unwritten;
    }
    std::vector<char> block(1 << 16);
    int n = 0;
    bool written = true, stopped = false;
    while (written && !stopped &&
           (n = unzReadCurrentFile(archive_, block.data(), static_cast<unsigned>(block.size()))) > 0) {
        std::uint32_t done = 0;
        written = out.Write(block.data(), static_cast<std::uint32_t>(n), done);
        stopped = progress && !progress(static_cast<std::uint32_t>(n));
    }
    if (stopped) {
        unzCloseCurrentFile(archive_);
        return ExtractStatus::Stopped;
    }
    // Closing the entry checks its CRC.
    bool intact = n == 0 && unzCloseCurrentFile(archive_) == UNZ_OK;
    out.Close();
    if (!written) return ExtractStatus::Unwritten;
    return intact ? ExtractStatus::Ok : ExtractStatus::Damaged;
}
