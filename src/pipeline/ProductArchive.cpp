#include "pipeline/ProductArchive.h"

#include <zip.h>

#include <new>

#include "core/Text.h"
#include "pipeline/ArchiveEndRecords.h"
#include "pipeline/DeflateCompressor.h"
#include "pipeline/PackedFile.h"
#include "pipeline/ZstdCompressor.h"
#include "package/ZipRecords.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/LargeZipFiles.h"

static constexpr std::uint32_t kBufferSize = 0x4000;
// Entries from this size on carry zip64 sizes in their local header: their deflated form may
// outgrow the size itself by a little, and 32-bit fields, once written, cannot take it.
static constexpr std::uint64_t kZip64EntrySize = 0xF0000000ull;

ProductArchive::ProductArchive() = default;

ProductArchive::~ProductArchive() { Close(); }

bool ProductArchive::Open(const std::string& path) {
    Close();
    zlib_filefunc64_def functions = platform::LargeZipFileFunctions();
    archive_ = zipOpen2_64(platform::NativePath(path).c_str(), APPEND_STATUS_CREATE, nullptr, &functions);
    status_ = archive_ ? 0 : -1;
    if (!archive_) return false;
    path_ = path;
    buffer_.resize(kBufferSize);
    bytesRead_ = 0;
    entries_ = 0;
    zstdEntries_.clear();
    return true;
}

// Opens an entry whose name, beyond ASCII, is marked as UTF-8 (general purpose bit 11), so that
// other zip tools show it as spelt; ASCII names keep the flags they always had.
static int OpenEntry(zipFile archive, const std::string& entryName, const zip_fileinfo& info, int method, int level,
                     int raw, int zip64) {
    const uLong flags = IsAscii(entryName) ? 0 : 0x800;
    return zipOpenNewFileInZip4_64(archive, entryName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method, level, raw,
                                   -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 0, flags, zip64);
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

bool ProductArchive::AddFile(const std::string& sourcePath, const std::string& entryName, EntryMethod method,
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
    const std::string& stamp = timeSource.empty() ? sourcePath : timeSource;
    const int zip64 = size >= kZip64EntrySize ? 1 : 0;
    if (method == EntryMethod::Zstd) {
        // Written raw, with the CRC and size that the compression counted.
        if (!OpenRaw(entryName, stamp, method, 0, zip64)) return false;
        std::uint32_t crc = 0;
        const bool compressed = CompressInto(source, size, crc);
        const int closed = zipCloseFileInZipRaw64(archive_, size, crc);
        if (compressed && closed != ZIP_OK) status_ = closed;
        return status_ == ZIP_OK;
    }
    const int level = method == EntryMethod::Deflated ? kDeflateLevel : 0;
    const zip_fileinfo info = EntryInfo(stamp);
    status_ = OpenEntry(archive_, entryName, info, static_cast<int>(method), level, 0, zip64);
    if (status_ != ZIP_OK) return false;
    ++entries_;
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
    if (!OpenRaw(entryName, timeSource, file.method, file.level, file.size >= kZip64EntrySize ? 1 : 0)) return false;
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

// Reads the next block of the `left` bytes still wanted from the source into the buffer. A block
// that comes back short before the size is reached (the source shrank, or could not be read) is a
// read error; a source that grew meanwhile is cut at its former size.
bool ProductArchive::ReadBlock(File& source, std::uint64_t& left, std::uint32_t& got) {
    const std::uint32_t want = left < kBufferSize ? static_cast<std::uint32_t>(left) : kBufferSize;
    got = 0;
    if (!source.Read(buffer_.data(), want, got) || got != want) {
        status_ = -1;
        return false;
    }
    bytesRead_ += got;
    left -= got;
    return true;
}

// Streams `size` bytes of the source into the open entry.
bool ProductArchive::CopyInto(File& source, std::uint64_t size) {
    for (std::uint64_t left = size; left > 0;) {
        std::uint32_t got = 0;
        if (!ReadBlock(source, left, got)) return false;
        status_ = zipWriteInFileInZip(archive_, buffer_.data(), got);
        if (status_ != ZIP_OK) return false;
    }
    return true;
}

// Opens an entry for bytes compressed already. minizip writes only the methods it knows: a zstd
// entry is written as stored and given its method when the archive is closed.
bool ProductArchive::OpenRaw(const std::string& entryName, const std::string& timeSource, EntryMethod method,
                             int level, int zip64) {
    const bool zstd = method == EntryMethod::Zstd;
    const zip_fileinfo info = EntryInfo(timeSource);
    status_ = OpenEntry(archive_, entryName, info, zstd ? 0 : static_cast<int>(method), level, 1, zip64);
    if (status_ != ZIP_OK) return false;
    if (zstd) zstdEntries_.push_back(entries_);
    ++entries_;
    return true;
}

// Streams `size` bytes of the source through zstd into the open raw entry, counting their CRC;
// read errors as in ReadBlock.
bool ProductArchive::CompressInto(File& source, std::uint64_t size, std::uint32_t& crc) {
    try {
        if (!zstd_) zstd_ = std::make_unique<ZstdCompressor>();
    } catch (const std::bad_alloc&) {
        status_ = -1;
        return false;
    }
    auto write = [this](const void* data, std::size_t count) {
        status_ = zipWriteInFileInZip(archive_, data, static_cast<unsigned>(count));
        return status_ == ZIP_OK;
    };
    if (!zstd_->BeginStream(size)) {
        status_ = -1;
        return false;
    }
    std::uint64_t left = size;
    do {
        std::uint32_t got = 0;
        if (!ReadBlock(source, left, got)) return false;
        crc = Crc32(crc, buffer_.data(), got);
        if (!zstd_->Stream(buffer_.data(), got, left == 0, write)) {
            if (status_ == ZIP_OK) status_ = -1;
            return false;
        }
    } while (left > 0);
    return true;
}

bool ProductArchive::Close() {
    if (!archive_) return false;
    int closed = zipClose(archive_, nullptr);
    archive_ = nullptr;
    buffer_.clear();
    buffer_.shrink_to_fit();
    // The end records first: the zstd entries are then found through records that count every entry.
    if (closed == ZIP_OK && !RewriteEndRecords(path_)) closed = -1;
    if (closed == ZIP_OK && !zstdEntries_.empty()) {
        File file;
        if (!file.Open(path_, ReadWriteExisting) ||
            !SetEntryMethod(file, zstdEntries_, static_cast<std::uint16_t>(EntryMethod::Zstd), kZstdVersionNeeded))
            closed = -1;
    }
    if (closed != ZIP_OK) status_ = closed;
    return closed == ZIP_OK;
}
