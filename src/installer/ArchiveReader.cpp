#include "installer/ArchiveReader.h"

#include <libdeflate.h>
#include <unzip.h>

#include <algorithm>
#include <new>
#include <vector>

#include "core/Text.h"
#include "installer/EntryDecoder.h"
#include "installer/ReadAhead.h"
#include "package/ZipRecords.h"
#include "platform/File.h"
#include "platform/LargeZipFiles.h"

namespace {

constexpr std::size_t kLongestName = 0xFFFF;  // the directory's name length is a 16-bit field
constexpr std::size_t kStreamBlock = 1 << 16;  // decoded at a time from an entry too big to hold
// Bigger writes cost fewer calls; progress and a request to stop are heard after each.
constexpr std::uint64_t kWriteBlock = 1u << 20;
// Entries up to this size (packed and plain) are read and decoded whole.
constexpr std::uint64_t kWholeEntry = 8u << 20;
// The entries read ahead, with the one being written, are held in a ring of this size.
constexpr std::size_t kReadAheadRing = 16u << 20;
// A dictionary bigger than this is not one that the builder wrote.
constexpr std::uint64_t kLargestDictionary = 1u << 20;
static_assert(kWholeEntry < kReadAheadRing, "every entry read whole fits in the ring");

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

    // The functions for minizip; each archive opened with them has streams of its own.
    zlib_filefunc64_def Functions() const {
        return {Open, Read, Write, Tell, Seek, Close, Error, const_cast<Window*>(this)};
    }
};

ArchiveReader::ArchiveReader() = default;

ArchiveReader::~ArchiveReader() { Close(); }

void ArchiveReader::Close() {
    StopReadAhead();
    aheadLoader_.reset();
    loader_.reset();
    if (archive_) unzClose(archive_);
    archive_ = nullptr;
    window_.reset();
    dictionary_.reset();
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
    window_->plain = platform::LargeZipFileFunctions();
    window_->offset = offset;
    window_->size = size;
    zlib_filefunc64_def functions = window_->Functions();
    path_ = path;
    archive_ = unzOpen2_64(platform::NativePath(path).c_str(), &functions);
    return ReadDirectory() && ReadDictionary();
}

// One pass over the central directory. An archive whose directory cannot be read to its end is
// refused as a whole rather than installed in part. The walk takes as many entries as the end
// records count: the zip library, left to find the end itself, reads past the directory of
// exactly 65,535 entries (it takes that count for an overflowed 16-bit one).
bool ArchiveReader::ReadDirectory() {
    if (!archive_) return false;
    unz_global_info64 global;
    if (unzGetGlobalInfo64(archive_, &global) != UNZ_OK) {
        Close();
        return false;
    }
    std::vector<char> name(kLongestName + 1);
    std::uint64_t read = 0;
    int more = global.number_entry > 0 ? unzGoToFirstFile(archive_) : UNZ_END_OF_LIST_OF_FILE;
    for (; more == UNZ_OK; more = ++read < global.number_entry ? unzGoToNextFile(archive_) : UNZ_END_OF_LIST_OF_FILE) {
        unz_file_info64 info;
        unz64_file_pos position;
        if (unzGetCurrentFileInfo64(archive_, &info, name.data(), name.size(), nullptr, 0, nullptr, 0) != UNZ_OK ||
            unzGetFilePos64(archive_, &position) != UNZ_OK)
            break;
        Indexed indexed;
        indexed.entry.size = info.uncompressed_size;
        indexed.entry.dosDate = static_cast<std::uint32_t>(info.dosDate);
        indexed.entry.method = static_cast<int>(info.compression_method);
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

// Reads whole entries through a handle of its own on the archive: minizip checks the entry's
// local header and tells where its data starts, which is then read with one call and decoded
// with one. minizip opens only the methods it knows: a zstd entry's data is found here, and a
// zstd entry too big to hold is streamed here too. One loader serves one thread.
class ArchiveReader::Loader {
public:
    Loader(const std::string& path, const Window& window, const ZstdDecodingDictionary* dictionary)
        : window_(window), dictionary_(dictionary), decoder_(dictionary) {
        zlib_filefunc64_def functions = window.Functions();
        archive_ = unzOpen2_64(platform::NativePath(path).c_str(), &functions);
        file_.Open(path, ReadExisting);
    }
    ~Loader() {
        if (archive_) unzClose(archive_);
    }
    Loader(const Loader&) = delete;
    Loader& operator=(const Loader&) = delete;

    bool IsOpen() const { return archive_ && file_.IsOpen() && decoder_.IsReady(); }

    // Ok with the entry's bytes in `out`, which has room for them, checked against its CRC;
    // Unreadable or Damaged.
    ExtractStatus Load(const Indexed& indexed, char* out) {
        std::uint64_t at = 0;
        if (!DataStart(indexed, at)) return ExtractStatus::Unreadable;
        const std::size_t packedSize = static_cast<std::size_t>(indexed.packedSize);
        const std::size_t size = static_cast<std::size_t>(indexed.entry.size);
        const bool stored = indexed.entry.method == kMethodStored;
        if (at > window_.size || packedSize > window_.size - at || (stored && packedSize != size))
            return ExtractStatus::Damaged;
        // A stored entry is read straight into place.
        if (!stored) packed_.resize(packedSize + 1);  // never empty, so that data() points somewhere
        char* packed = stored ? out : packed_.data();
        std::uint32_t done = 0;
        if (packedSize > 0 && (!file_.Seek(static_cast<std::int64_t>(window_.offset + at), 0) ||
                               !file_.Read(packed, static_cast<std::uint32_t>(packedSize), done) || done != packedSize))
            return ExtractStatus::Damaged;
        if (!decoder_.Decode(indexed.entry.method, packed, packedSize, out, size) ||
            libdeflate_crc32(0, out, size) != indexed.crc)
            return ExtractStatus::Damaged;
        return ExtractStatus::Ok;
    }

    // Decodes a zstd entry block by block into `sink`, counting the CRC and size of what it
    // passes on, which must be the entry's; Ok, Unreadable, Damaged, or what the sink returned.
    ExtractStatus Stream(const Indexed& indexed, std::vector<char>& block,
                         const std::function<ExtractStatus(const char*, std::size_t)>& sink) {
        std::uint64_t at = 0;
        if (!DataStart(indexed, at)) return ExtractStatus::Unreadable;
        ZstdStream stream(dictionary_);
        if (!stream.IsReady() || at > window_.size || indexed.packedSize > window_.size - at ||
            !file_.Seek(static_cast<std::int64_t>(window_.offset + at), 0))
            return ExtractStatus::Damaged;
        std::uint32_t crc = 0;
        std::uint64_t written = 0;
        ExtractStatus status = ExtractStatus::Ok;
        auto decoded = [&](const char* data, std::size_t size) {
            crc = libdeflate_crc32(crc, data, size);
            written += size;
            status = written > indexed.entry.size ? ExtractStatus::Damaged : sink(data, size);
            return status == ExtractStatus::Ok;
        };
        ZstdStream::Result result = ZstdStream::Result::More;
        for (std::uint64_t left = indexed.packedSize; left > 0 && result == ZstdStream::Result::More;) {
            const std::uint32_t want = static_cast<std::uint32_t>(left < block.size() ? left : block.size());
            std::uint32_t done = 0;
            if (!file_.Read(block.data(), want, done) || done != want) return ExtractStatus::Damaged;
            left -= want;
            result = stream.Feed(block.data(), want, decoded);
            // Bytes left in the entry after its frame are damage too.
            if (result == ZstdStream::Result::Finished && left > 0) result = ZstdStream::Result::Damaged;
        }
        if (status != ExtractStatus::Ok) return status;
        const bool intact = result == ZstdStream::Result::Finished && written == indexed.entry.size && crc == indexed.crc;
        return intact ? ExtractStatus::Ok : ExtractStatus::Damaged;
    }

private:
    // Where the entry's data starts, counted from the archive's start.
    bool DataStart(const Indexed& indexed, std::uint64_t& at) {
        if (indexed.entry.method == kMethodZstd) {
            CentralRecord record;
            return ReadCentralRecord(file_, window_.offset, indexed.directoryPosition, record) &&
                   EntryDataStart(file_, window_.offset, record.localHeader, at);
        }
        unz64_file_pos position = {indexed.directoryPosition, indexed.directoryIndex};
        if (unzGoToFilePos64(archive_, &position) != UNZ_OK || unzOpenCurrentFile2(archive_, nullptr, nullptr, 1) != UNZ_OK)
            return false;
        at = unzGetCurrentFileZStreamPos64(archive_);
        unzCloseCurrentFile(archive_);
        return true;
    }

    const Window& window_;
    const ZstdDecodingDictionary* dictionary_;
    void* archive_ = nullptr;
    File file_;
    EntryDecoder decoder_;
    std::vector<char> packed_;
};

namespace {

// Entries read whole: of a method known here, and small enough to hold.
bool IsWhole(std::uint64_t packedSize, std::uint64_t size, int method) {
    return CanDecode(method) && packedSize <= kWholeEntry && size <= kWholeEntry;
}

ExtractStatus WriteBlocks(const char* data, std::uint64_t size, File& out, const std::function<bool(std::uint32_t)>& progress) {
    for (std::uint64_t left = size; left > 0;) {
        const std::uint32_t count = static_cast<std::uint32_t>(left < kWriteBlock ? left : kWriteBlock);
        std::uint32_t done = 0;
        if (!out.Write(data, count, done)) return ExtractStatus::Unwritten;
        if (progress && !progress(count)) return ExtractStatus::Stopped;
        data += count;
        left -= count;
    }
    return ExtractStatus::Ok;
}

}  // namespace

std::unique_ptr<ArchiveReader::Loader> ArchiveReader::MakeLoader() const {
    auto loader = std::make_unique<Loader>(path_, *window_, dictionary_.get());
    if (!loader->IsOpen()) loader.reset();
    return loader;
}

// A small setup's dictionary, read before any entry that needs it. An archive whose dictionary
// cannot be read is refused as a whole, as one whose directory cannot.
bool ArchiveReader::ReadDictionary() {
    const Indexed* indexed = Locate(kZstdDictionaryEntry);
    if (!indexed) return true;
    std::unique_ptr<Loader> loader = MakeLoader();
    std::vector<char> bytes(static_cast<std::size_t>(std::min(indexed->entry.size, kLargestDictionary)) + 1);
    if (!loader || !IsWhole(indexed->packedSize, indexed->entry.size, indexed->entry.method) ||
        indexed->entry.size > kLargestDictionary || loader->Load(*indexed, bytes.data()) != ExtractStatus::Ok) {
        Close();
        return false;
    }
    dictionary_ = std::make_unique<ZstdDecodingDictionary>(bytes.data(), static_cast<std::size_t>(indexed->entry.size));
    if (dictionary_->Empty()) {
        Close();
        return false;
    }
    return true;
}

void ArchiveReader::ReadAhead(const std::vector<std::string>& names) {
    StopReadAhead();
    if (!archive_) return;
    if (!aheadLoader_) aheadLoader_ = MakeLoader();
    if (!aheadLoader_) return;
    std::vector<const Indexed*> entries;
    std::vector<std::uint64_t> costs;
    for (const std::string& name : names) {
        const Indexed* indexed = Locate(name);
        const bool whole = indexed && IsWhole(indexed->packedSize, indexed->entry.size, indexed->entry.method);
        entries.push_back(whole ? indexed : nullptr);
        costs.push_back(whole ? indexed->entry.size + 1 : 0);  // an empty entry is read ahead too
    }
    Loader* loader = aheadLoader_.get();
    auto prepare = [loader, entries](std::size_t i, char* out, std::size_t& size) {
        size = static_cast<std::size_t>(entries[i]->entry.size);
        return static_cast<int>(loader->Load(*entries[i], out));
    };
    readAhead_ = std::make_unique<::ReadAhead>(std::move(costs), kReadAheadRing, prepare);
    aheadNames_ = names;
    aheadNext_ = 0;
}

void ArchiveReader::StopReadAhead() {
    readAhead_.reset();
    aheadNames_.clear();
    aheadNext_ = 0;
}

// The entry's bytes when the worker has read them, valid until the next call; false when it has
// not, for Extract to read them.
bool ArchiveReader::TakeReadAhead(const std::string& name, const char*& data, std::size_t& size,
                                  ExtractStatus& status) {
    if (!readAhead_) return false;
    ::ReadAhead::Item item;
    if (aheadNext_ >= aheadNames_.size() || aheadNames_[aheadNext_] != name || !readAhead_->Take(aheadNext_, item)) {
        StopReadAhead();
        return false;
    }
    ++aheadNext_;
    if (item.status == ::ReadAhead::kNotPrepared) return false;
    data = item.data;
    size = item.size;
    status = static_cast<ExtractStatus>(item.status);
    return true;
}

ExtractStatus ArchiveReader::Extract(const std::string& name, const std::string& target,
                                     const std::function<bool(std::uint32_t)>& progress, ArchiveEntry& entry,
                                     bool createNew, const std::function<void(File&)>& written) {
    const Indexed* indexed = Locate(name);
    if (!indexed) return ExtractStatus::Unreadable;
    entry = indexed->entry;
    if (!CanDecode(entry.method)) return ExtractStatus::Unsupported;
    ExtractStatus loaded = ExtractStatus::Ok;
    const char* data = nullptr;
    std::size_t size = 0;
    bool whole = TakeReadAhead(name, data, size, loaded);
    if (!whole && IsWhole(indexed->packedSize, entry.size, entry.method)) {
        if (!loader_) loader_ = MakeLoader();
        whole = loader_ != nullptr;
        if (whole) {
            plain_.resize(static_cast<std::size_t>(entry.size) + 1);
            loaded = loader_->Load(*indexed, plain_.data());
            data = plain_.data();
            size = static_cast<std::size_t>(entry.size);
        }
    }
    if (loaded == ExtractStatus::Unreadable) return loaded;
    // zstd entries too big to hold are streamed by the loader, the others by minizip.
    const bool zstd = entry.method == kMethodZstd;
    if (!whole && zstd && !loader_) loader_ = MakeLoader();
    if (!whole && zstd && !loader_) return ExtractStatus::Unreadable;
    if (!whole && !zstd) {
        unz64_file_pos position = {indexed->directoryPosition, indexed->directoryIndex};
        if (unzGoToFilePos64(archive_, &position) != UNZ_OK || unzOpenCurrentFile(archive_) != UNZ_OK)
            return ExtractStatus::Unreadable;
    }
    File out;
    if (!out.Open(target, createNew ? CreateNew : written ? CreateMovable : CreateWrite)) {
        if (!whole && !zstd) unzCloseCurrentFile(archive_);
        return createNew && platform::IsFile(target) ? ExtractStatus::Exists : ExtractStatus::Unwritten;
    }
    // A damaged entry read whole is refused before anything is written.
    ExtractStatus status = loaded;
    if (whole && loaded == ExtractStatus::Ok) status = WriteBlocks(data, size, out, progress);
    if (!whole && !zstd) status = CopyStreamed(out, progress);
    if (!whole && zstd) {
        block_.resize(kStreamBlock);
        status = loader_->Stream(*indexed, block_, [&](const char* piece, std::size_t count) {
            return WriteBlocks(piece, count, out, progress);
        });
    }
    // The time is set on the file still open, which spares opening it once more.
    if (status == ExtractStatus::Ok) out.SetLocalWriteTime(FromDosDate(entry.dosDate));
    if (status == ExtractStatus::Ok && written) written(out);
    out.Close();
    if (status != ExtractStatus::Ok) RemoveFile(target);
    return status;
}

// Inflates (or copies a stored entry) block by block through minizip; closing the entry checks
// its CRC.
ExtractStatus ArchiveReader::CopyStreamed(File& out, const std::function<bool(std::uint32_t)>& progress) {
    block_.resize(kStreamBlock);
    int n = 0;
    ExtractStatus status = ExtractStatus::Ok;
    while (status == ExtractStatus::Ok &&
           (n = unzReadCurrentFile(archive_, block_.data(), static_cast<unsigned>(block_.size()))) > 0)
        status = WriteBlocks(block_.data(), static_cast<std::uint64_t>(n), out, progress);
    const bool intact = unzCloseCurrentFile(archive_) == UNZ_OK;
    if (status != ExtractStatus::Ok) return status;
    return n == 0 && intact ? ExtractStatus::Ok : ExtractStatus::Damaged;
}
