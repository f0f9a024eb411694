#include "installer/ArchiveReader.h"

#include <libdeflate.h>
#include <unzip.h>

#include <new>
#include <vector>

#include "core/Text.h"
#include "platform/File.h"

namespace {

constexpr std::size_t kLongestName = 0xFFFF;  // the directory's name length is a 16-bit field
constexpr std::size_t kBlockSize = 1 << 16;
// Deflated entries up to this size (packed and plain) are inflated whole.
constexpr std::uint64_t kWholeEntry = 16u << 20;

platform::LocalTime FromDosDate(std::uint32_t dosDate) {
    platform::LocalTime time;
    time.year = static_cast<int>(dosDate >> 25) + 1980;
    time.month = static_cast<int>(dosDate >> 21 & 15);
    time.day = static_cast<int>(dosDate >> 16 & 31);
    time.hour = static_cast<int>(dosDate >> 11 & 31);
    time.minute = static_cast<int>(dosDate >> 5 & 63);
    time.second = static_cast<int>(dosDate & 31) * 2;
    return time;
}

}  // namespace

// A window onto part of a file through minizip's file functions: positions inside the archive
// count from the window's start, and the file ends where the window ends, so that minizip finds
// the archive's directory at the window's end and reads nothing beyond it.
struct ArchiveReader::Window {
    zlib_filefunc64_def plain;  // the ordinary file functions underneath
    std::uint64_t offset = 0;
    std::uint64_t size = 0;

    // One stream opened through the window. Its position in the whole file is kept here: minizip
    // asks for it often and seeks before every read to where the last one ended, which then costs
    // no call to the system.
    struct Stream {
        voidpf plain;
        std::uint64_t position;
    };

    static voidpf ZCALLBACK Open(voidpf opaque, const void* path, int mode) {
        const Window& w = *static_cast<Window*>(opaque);
        voidpf plain = w.plain.zopen64_file(w.plain.opaque, path, mode);
        if (!plain) return nullptr;
        Stream* stream = new (std::nothrow) Stream{plain, 0};
        if (!stream) w.plain.zclose_file(w.plain.opaque, plain);
        return stream;
    }
    static uLong ZCALLBACK Read(voidpf opaque, voidpf stream, void* buffer, uLong count) {
        const Window& w = *static_cast<Window*>(opaque);
        Stream& s = *static_cast<Stream*>(stream);
        const std::uint64_t end = w.offset + w.size;
        if (s.position >= end) return 0;
        if (count > end - s.position) count = static_cast<uLong>(end - s.position);
        const uLong done = w.plain.zread_file(w.plain.opaque, s.plain, buffer, count);
        s.position += done;
        return done;
    }
    static uLong ZCALLBACK Write(voidpf, voidpf, const void*, uLong) { return 0; }
    static ZPOS64_T ZCALLBACK Tell(voidpf opaque, voidpf stream) {
        return static_cast<Stream*>(stream)->position - static_cast<Window*>(opaque)->offset;
    }
    static long ZCALLBACK Seek(voidpf opaque, voidpf stream, ZPOS64_T distance, int origin) {
        const Window& w = *static_cast<Window*>(opaque);
        Stream& s = *static_cast<Stream*>(stream);
        std::uint64_t target = distance;
        if (origin == ZLIB_FILEFUNC_SEEK_SET) target += w.offset;
        if (origin == ZLIB_FILEFUNC_SEEK_CUR) target += s.position;
        if (origin == ZLIB_FILEFUNC_SEEK_END) target += w.offset + w.size;
        if (target == s.position) return 0;
        const long result = w.plain.zseek64_file(w.plain.opaque, s.plain, target, ZLIB_FILEFUNC_SEEK_SET);
        if (result == 0) s.position = target;
        return result;
    }
    static int ZCALLBACK Close(voidpf opaque, voidpf stream) {
        const Window& w = *static_cast<Window*>(opaque);
        Stream* s = static_cast<Stream*>(stream);
        const int result = w.plain.zclose_file(w.plain.opaque, s->plain);
        delete s;
        return result;
    }
    static int ZCALLBACK Error(voidpf opaque, voidpf stream) {
        const Window& w = *static_cast<Window*>(opaque);
        return w.plain.zerror_file(w.plain.opaque, static_cast<Stream*>(stream)->plain);
    }
};

ArchiveReader::ArchiveReader() = default;

ArchiveReader::~ArchiveReader() { Close(); }

void ArchiveReader::Close() {
    if (archive_) unzClose(archive_);
    archive_ = nullptr;
    window_.reset();
    index_.clear();
}

// A whole file is read through a window over all of it, for the same economy of calls.
bool ArchiveReader::Open(const std::string& path) {
    Close();
    std::uint64_t size = 0;
    File file;
    if (!file.Open(path, ReadExisting) || !file.GetSize64(size)) return false;
    file.Close();
    return Open(path, 0, size);
}

bool ArchiveReader::Open(const std::string& path, std::uint64_t offset, std::uint64_t size) {
    Close();
    window_ = std::make_unique<Window>();
    fill_fopen64_filefunc(&window_->plain);
    window_->offset = offset;
    window_->size = size;
    zlib_filefunc64_def functions = {Window::Open, Window::Read,  Window::Write, Window::Tell,
                                     Window::Seek, Window::Close, Window::Error, window_.get()};
    archive_ = unzOpen2_64(platform::NativePath(path).c_str(), &functions);
    return ReadDirectory();
}

// One pass over the central directory. An archive whose directory cannot be read to its end is
// refused as a whole rather than installed in part.
bool ArchiveReader::ReadDirectory() {
    if (!archive_) return false;
    std::vector<char> name(kLongestName + 1);
    int more = unzGoToFirstFile(archive_);
    for (; more == UNZ_OK; more = unzGoToNextFile(archive_)) {
        unz_file_info64 info;
        unz64_file_pos position;
        if (unzGetCurrentFileInfo64(archive_, &info, name.data(), name.size(), nullptr, 0, nullptr, 0) != UNZ_OK ||
            unzGetFilePos64(archive_, &position) != UNZ_OK)
            break;
        Indexed indexed;
        indexed.entry.size = info.uncompressed_size;
        indexed.entry.dosDate = static_cast<std::uint32_t>(info.dosDate);
        indexed.method = static_cast<int>(info.compression_method);
        indexed.packedSize = info.compressed_size;
        indexed.crc = static_cast<std::uint32_t>(info.crc);
        indexed.directoryPosition = position.pos_in_zip_directory;
        indexed.directoryIndex = position.num_of_file;
        index_.emplace(LowerCase(name.data()), indexed);  // the first of two equal names stays, as a search finds it
    }
    if (more != UNZ_END_OF_LIST_OF_FILE) {
        Close();
        return false;
    }
    return true;
}

const ArchiveReader::Indexed* ArchiveReader::Locate(const std::string& name) const {
    auto found = index_.find(LowerCase(name));
    return found == index_.end() ? nullptr : &found->second;
}

bool ArchiveReader::Find(const std::string& name, ArchiveEntry& entry) const {
    const Indexed* indexed = Locate(name);
    if (!indexed) return false;
    entry = indexed->entry;
    return true;
}

void ArchiveReader::DecompressorDeleter::operator()(libdeflate_decompressor* decompressor) const {
    libdeflate_free_decompressor(decompressor);
}

ExtractStatus ArchiveReader::Extract(const std::string& name, const std::string& target,
                                     const std::function<bool(std::uint32_t)>& progress, ArchiveEntry& entry) {
    const Indexed* indexed = Locate(name);
    if (!indexed) return ExtractStatus::Unreadable;
    entry = indexed->entry;
    if (!decompressor_) decompressor_.reset(libdeflate_alloc_decompressor());
    const bool whole = indexed->method == Z_DEFLATED && decompressor_ && indexed->packedSize <= kWholeEntry &&
                       entry.size <= kWholeEntry;
    unz64_file_pos position = {indexed->directoryPosition, indexed->directoryIndex};
    if (unzGoToFilePos64(archive_, &position) != UNZ_OK ||
        unzOpenCurrentFile2(archive_, nullptr, nullptr, whole ? 1 : 0) != UNZ_OK)
        return ExtractStatus::Unreadable;
    File out;
    if (!out.Open(target, CreateWrite)) {
        unzCloseCurrentFile(archive_);
        return ExtractStatus::Unwritten;
    }
    const ExtractStatus status = whole ? InflateWhole(*indexed, out, progress) : CopyStreamed(out, progress);
    // The time is set on the file still open, which spares opening it once more.
    if (status == ExtractStatus::Ok) out.SetLocalWriteTime(FromDosDate(entry.dosDate));
    out.Close();
    return status;
}

// Reads the entry's deflated bytes whole (minizip hands them over raw), inflates them in one
// call and checks their CRC before anything is written.
ExtractStatus ArchiveReader::InflateWhole(const Indexed& indexed, File& out,
                                          const std::function<bool(std::uint32_t)>& progress) {
    const std::size_t packedSize = static_cast<std::size_t>(indexed.packedSize);
    const std::size_t size = static_cast<std::size_t>(indexed.entry.size);
    packed_.resize(packedSize + 1);
    plain_.resize(size + 1);
    const int got = packedSize == 0 ? 0 : unzReadCurrentFile(archive_, packed_.data(), static_cast<unsigned>(packedSize));
    unzCloseCurrentFile(archive_);
    std::size_t inflated = 0;
    if (got != static_cast<int>(packedSize) ||
        libdeflate_deflate_decompress(decompressor_.get(), packed_.data(), packedSize, plain_.data(), size,
                                      &inflated) != LIBDEFLATE_SUCCESS ||
        inflated != size || libdeflate_crc32(0, plain_.data(), size) != indexed.crc)
        return ExtractStatus::Damaged;
    return WriteBlocks(plain_.data(), size, out, progress);
}

ExtractStatus ArchiveReader::WriteBlocks(const char* data, std::uint64_t size, File& out,
                                         const std::function<bool(std::uint32_t)>& progress) {
    for (std::uint64_t left = size; left > 0;) {
        const std::uint32_t count = static_cast<std::uint32_t>(left < kBlockSize ? left : kBlockSize);
        std::uint32_t done = 0;
        if (!out.Write(data, count, done)) return ExtractStatus::Unwritten;
        if (progress && !progress(count)) return ExtractStatus::Stopped;
        data += count;
        left -= count;
    }
    return ExtractStatus::Ok;
}

// Inflates (or copies a stored entry) block by block; closing the entry checks its CRC.
ExtractStatus ArchiveReader::CopyStreamed(File& out, const std::function<bool(std::uint32_t)>& progress) {
    block_.resize(kBlockSize);
    int n = 0;
    ExtractStatus status = ExtractStatus::Ok;
    while (status == ExtractStatus::Ok &&
           (n = unzReadCurrentFile(archive_, block_.data(), static_cast<unsigned>(block_.size()))) > 0)
        status = WriteBlocks(block_.data(), static_cast<std::uint64_t>(n), out, progress);
    const bool intact = unzCloseCurrentFile(archive_) == UNZ_OK;
    if (status != ExtractStatus::Ok) return status;
    return n == 0 && intact ? ExtractStatus::Ok : ExtractStatus::Damaged;
}
