#include "pipeline/ProductArchive.h"

#include <zip.h>

#include "core/Text.h"
#include "pipeline/PackedFile.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

static constexpr std::uint32_t kBufferSize = 0x4000;

bool ProductArchive::Open(const std::string& path) {
    Close();
    archive_ = zipOpen64(platform::NativePath(path).c_str(), APPEND_STATUS_CREATE);
    status_ = archive_ ? 0 : -1;
    if (!archive_) return false;
    buffer_.resize(kBufferSize);
    bytesRead_ = 0;
    return true;
}

// Opens an entry whose name, beyond ASCII, is marked as UTF-8 (general purpose bit 11), so that
// other zip tools show it as spelt; ASCII names keep the flags they always had.
static int OpenEntry(zipFile archive, const std::string& entryName, const zip_fileinfo& info, int method, int level,
                     int raw, bool zip64) {
    const uLong flags = IsAscii(entryName) ? 0 : 0x800;
    return zipOpenNewFileInZip4_64(archive, entryName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method, level, raw,
                                   -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 0, flags, zip64 ? 1 : 0);
}

static zip_fileinfo EntryInfo(const std::string& sourcePath) {
    zip_fileinfo info = {};
    platform::LocalTime time;
    if (platform::GetFileLocalWriteTime(sourcePath, time)) {
        info.tmz_date.tm_year = static_cast<unsigned>(time.year);
        info.tmz_date.tm_mon = static_cast<unsigned>(time.month - 1);
        info.tmz_date.tm_mday = static_cast<unsigned>(time.day);
        info.tmz_date.tm_hour = static_cast<unsigned>(time.hour);
        info.tmz_date.tm_min = static_cast<unsigned>(time.minute);
        info.tmz_date.tm_sec = static_cast<unsigned>(time.second);
    }
    return info;
}

bool ProductArchive::AddFile(const std::string& sourcePath, const std::string& entryName, int level,
                             const std::string& timeSource) {
    if (!archive_) {
        status_ = -1;
        return false;
    }
    // The source is opened before the entry, so a missing file leaves no empty entry behind
    // that the installer would take for the product file.
    File source;
    std::uint64_t size = 0;
    if (!source.Open(sourcePath, ReadExisting) || !source.GetSize64(size)) {
        status_ = -1;
        return false;
    }
    zip_fileinfo info = EntryInfo(timeSource.empty() ? sourcePath : timeSource);
    status_ = OpenEntry(archive_, entryName, info, level != 0 ? Z_DEFLATED : 0, level, 0, size >= 0xFFFFFFFFull);
    if (status_ != ZIP_OK) return false;
    bool copied = CopyInto(source, size);
    int closed = zipCloseFileInZip(archive_);
    if (copied && closed != ZIP_OK) status_ = closed;
    return status_ == ZIP_OK;
}

bool ProductArchive::AddPacked(const std::string& timeSource, const std::string& entryName, const PackedFile& file) {
    if (!archive_ || file.state != PackedFile::State::Packed) {
        status_ = -1;
        return false;
    }
    zip_fileinfo info = EntryInfo(timeSource);
    status_ = OpenEntry(archive_, entryName, info, file.method, file.level, 1, file.size >= 0xFFFFFFFFull);
    if (status_ != ZIP_OK) return false;
    const unsigned char* data = file.data.data();
    for (std::size_t left = file.data.size(); left > 0 && status_ == ZIP_OK;) {
        const unsigned block = left < kBufferSize ? static_cast<unsigned>(left) : kBufferSize;
        status_ = zipWriteInFileInZip(archive_, data, block);
        data += block;
        left -= block;
    }
    const int closed = zipCloseFileInZipRaw64(archive_, file.size, file.crc);
    if (status_ == ZIP_OK) status_ = closed;
    if (status_ == ZIP_OK) bytesRead_ += file.size;
    return status_ == ZIP_OK;
}

// Streams `size` bytes of the source into the open entry. A block that comes back short before
// the size is reached (the source shrank, or could not be read) is a read error; a source that
// grew meanwhile is cut at its former size.
bool ProductArchive::CopyInto(File& source, std::uint64_t size) {
    for (std::uint64_t left = size; left > 0;) {
        std::uint32_t want = left < kBufferSize ? static_cast<std::uint32_t>(left) : kBufferSize;
        std::uint32_t got = 0;
        if (!source.Read(buffer_.data(), want, got) || got != want) {
            status_ = -1;
            return false;
        }
        bytesRead_ += got;
        left -= got;
        status_ = zipWriteInFileInZip(archive_, buffer_.data(), got);
        if (status_ != ZIP_OK) return false;
    }
    return true;
}

bool ProductArchive::Close() {
    if (!archive_) return false;
    int closed = zipClose(archive_, nullptr);
    archive_ = nullptr;
    buffer_.clear();
    buffer_.shrink_to_fit();
    if (closed != ZIP_OK) status_ = closed;
    return closed == ZIP_OK;
}
