#include "installer/ArchiveReader.h"

#include <unzip.h>

#include <vector>

#include "core/Text.h"
#include "platform/File.h"

namespace {

constexpr std::size_t kLongestName = 0xFFFF;  // the directory's name length is a 16-bit field
constexpr std::size_t kBlockSize = 1 << 16;

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

    static voidpf ZCALLBACK Open(voidpf opaque, const void* path, int mode) {
        const Window& w = *static_cast<Window*>(opaque);
        return w.plain.zopen64_file(w.plain.opaque, path, mode);
    }
    static uLong ZCALLBACK Read(voidpf opaque, voidpf stream, void* buffer, uLong count) {
        const Window& w = *static_cast<Window*>(opaque);
        const ZPOS64_T at = w.plain.ztell64_file(w.plain.opaque, stream);
        const std::uint64_t end = w.offset + w.size;
        if (at >= end) return 0;
        if (count > end - at) count = static_cast<uLong>(end - at);
        return w.plain.zread_file(w.plain.opaque, stream, buffer, count);
    }
    static uLong ZCALLBACK Write(voidpf, voidpf, const void*, uLong) { return 0; }
    static ZPOS64_T ZCALLBACK Tell(voidpf opaque, voidpf stream) {
        const Window& w = *static_cast<Window*>(opaque);
        return w.plain.ztell64_file(w.plain.opaque, stream) - w.offset;
    }
    static long ZCALLBACK Seek(voidpf opaque, voidpf stream, ZPOS64_T distance, int origin) {
        const Window& w = *static_cast<Window*>(opaque);
        if (origin == ZLIB_FILEFUNC_SEEK_SET) distance += w.offset;
        if (origin == ZLIB_FILEFUNC_SEEK_END) distance += w.offset + w.size;
        if (origin != ZLIB_FILEFUNC_SEEK_CUR) origin = ZLIB_FILEFUNC_SEEK_SET;
        return w.plain.zseek64_file(w.plain.opaque, stream, distance, origin);
    }
    static int ZCALLBACK Close(voidpf opaque, voidpf stream) {
        const Window& w = *static_cast<Window*>(opaque);
        return w.plain.zclose_file(w.plain.opaque, stream);
    }
    static int ZCALLBACK Error(voidpf opaque, voidpf stream) {
        const Window& w = *static_cast<Window*>(opaque);
        return w.plain.zerror_file(w.plain.opaque, stream);
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

bool ArchiveReader::Open(const std::string& path) {
    Close();
    archive_ = unzOpen64(platform::NativePath(path).c_str());
    return ReadDirectory();
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

ExtractStatus ArchiveReader::Extract(const std::string& name, const std::string& target,
                                     const std::function<bool(std::uint32_t)>& progress, ArchiveEntry& entry) {
    const Indexed* indexed = Locate(name);
    if (!indexed) return ExtractStatus::Unreadable;
    entry = indexed->entry;
    unz64_file_pos position = {indexed->directoryPosition, indexed->directoryIndex};
    if (unzGoToFilePos64(archive_, &position) != UNZ_OK || unzOpenCurrentFile(archive_) != UNZ_OK)
        return ExtractStatus::Unreadable;
    File out;
    if (!out.Open(target, CreateWrite)) {
        unzCloseCurrentFile(archive_);
        return ExtractStatus::Unwritten;
    }
    block_.resize(kBlockSize);
    int n = 0;
    bool written = true, stopped = false;
    while (written && !stopped &&
           (n = unzReadCurrentFile(archive_, block_.data(), static_cast<unsigned>(block_.size()))) > 0) {
        std::uint32_t done = 0;
        written = out.Write(block_.data(), static_cast<std::uint32_t>(n), done);
        stopped = progress && !progress(static_cast<std::uint32_t>(n));
    }
    if (stopped) {
        unzCloseCurrentFile(archive_);
        return ExtractStatus::Stopped;
    }
    // Closing the entry checks its CRC. The time is set on the file still open, which spares
    // opening it once more.
    bool intact = n == 0 && unzCloseCurrentFile(archive_) == UNZ_OK;
    if (written && intact) out.SetLocalWriteTime(FromDosDate(entry.dosDate));
    out.Close();
    if (!written) return ExtractStatus::Unwritten;
    return intact ? ExtractStatus::Ok : ExtractStatus::Damaged;
}
