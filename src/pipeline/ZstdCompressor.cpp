#include "pipeline/ZstdCompressor.h"

#include <zdict.h>
#include <zstd.h>

#include <algorithm>
#include <new>
#include <vector>

#include "platform/File.h"

namespace {

// The level and the tables that bound it: the tables are capped so that a packing thread holds
// about 12 MB however big its file, whatever the level would choose for itself. The search stops
// at a shorter match and looks at fewer candidates than the level's own choice: on a product's
// mix of text and programs that takes a sixth less time for the same size.
constexpr int kLevel = 19;
constexpr int kChainLog = 21;
constexpr int kHashLog = 20;
constexpr int kSearchLog = 5;
constexpr int kTargetLength = 48;
// What Worthwhile tries, and what it must save of it.
constexpr std::size_t kTrialBytes = 1 << 17;
constexpr std::size_t kTrialSavingPercent = 3;

// The dictionary: trained on files up to this size, read whole, until the samples reach their
// limit; its size; a product with less than this much to learn from gets none.
constexpr std::uint64_t kSampleFileMost = 128u << 10;
constexpr std::size_t kSamplesMost = 16u << 20;
constexpr std::size_t kSamplesLeast = 256u << 10;
constexpr std::size_t kDictionarySize = 112u << 10;
// The library's advice: samples of about a hundred times the dictionary's size.
constexpr std::size_t kSamplesPerDictionaryByte = 100;
// The fast level at which a dictionary shows whether it pays for itself.
constexpr int kTrialLevel = 3;

bool Set(ZSTD_CCtx* context, ZSTD_cParameter parameter, int value) {
    return !ZSTD_isError(ZSTD_CCtx_setParameter(context, parameter, value));
}

}  // namespace

ZstdDictionary::ZstdDictionary(const std::vector<std::string>& sources) {
    std::string samples;
    std::vector<std::size_t> sizes;
    for (const std::string& source : sources) {
        File file;
        std::uint64_t size = 0;
        if (!file.Open(source, ReadExisting) || !file.GetSize64(size) || size == 0 || size > kSampleFileMost ||
            samples.size() + size > kSamplesMost)
            continue;
        const std::size_t at = samples.size();
        samples.resize(at + static_cast<std::size_t>(size));
        std::uint32_t done = 0;
        if (!file.Read(&samples[at], static_cast<std::uint32_t>(size), done) || done != size) {
            samples.resize(at);
            continue;
        }
        sizes.push_back(static_cast<std::size_t>(size));
    }
    if (samples.size() < kSamplesLeast) return;
    bytes_.resize(std::min(kDictionarySize, samples.size() / kSamplesPerDictionaryByte));
    // Trained on one thread, with the library's fixed search: the same files give the same bytes.
    const std::size_t size = ZDICT_trainFromBuffer(&bytes_[0], bytes_.size(), samples.data(), sizes.data(),
                                                   static_cast<unsigned>(sizes.size()));
    if (ZDICT_isError(size)) {
        bytes_.clear();
        return;
    }
    bytes_.resize(size);
    if (!PaysForItself(samples, sizes)) {
        bytes_.clear();
        return;
    }
    prepared_ = ZSTD_createCDict(bytes_.data(), bytes_.size(), kLevel);
    if (!prepared_) bytes_.clear();
}

// Whether the samples, compressed each on its own at a fast level, shrink by more with the
// dictionary than the dictionary's own bytes: files that have little in common, or that are
// big enough to learn what they need, are better off without one.
bool ZstdDictionary::PaysForItself(const std::string& samples, const std::vector<std::size_t>& sizes) const {
    ZSTD_CCtx* context = ZSTD_createCCtx();
    ZSTD_CDict* trial = ZSTD_createCDict(bytes_.data(), bytes_.size(), kTrialLevel);
    std::vector<char> out(ZSTD_compressBound(kSampleFileMost));
    std::size_t plain = 0, with = 0;
    bool ok = context && trial;
    for (std::size_t i = 0, at = 0; ok && i < sizes.size(); at += sizes[i++]) {
        const std::size_t a = ZSTD_compressCCtx(context, out.data(), out.size(), &samples[at], sizes[i], kTrialLevel);
        const std::size_t b = ZSTD_compress_usingCDict(context, out.data(), out.size(), &samples[at], sizes[i], trial);
        ok = !ZSTD_isError(a) && !ZSTD_isError(b);
        plain += a;
        with += b;
    }
    ZSTD_freeCDict(trial);
    ZSTD_freeCCtx(context);
    return ok && with + bytes_.size() < plain;
}

ZstdDictionary::~ZstdDictionary() { ZSTD_freeCDict(prepared_); }

ZstdCompressor::ZstdCompressor(const ZstdDictionary* dictionary)
    : dictionary_(dictionary && !dictionary->Empty() ? dictionary->Prepared() : nullptr),
      context_(ZSTD_createCCtx()),
      trial_(ZSTD_createCCtx()) {
    if (!context_ || !trial_) {
        ZSTD_freeCCtx(context_);
        ZSTD_freeCCtx(trial_);
        throw std::bad_alloc();
    }
}

ZstdCompressor::~ZstdCompressor() {
    ZSTD_freeCCtx(context_);
    ZSTD_freeCCtx(trial_);
}

bool ZstdCompressor::Worthwhile(const void* in, std::size_t size) {
    const std::size_t tried = size < kTrialBytes ? size : kTrialBytes;
    if (tried == 0) return false;  // an empty file is stored as nothing at all
    const std::size_t written = ZSTD_compressCCtx(trial_, out_, sizeof out_, in, tried, 1);
    // An error is most likely output that did not fit in the trial buffer: no saving either.
    return !ZSTD_isError(written) && written * 100 < tried * (100 - kTrialSavingPercent);
}

// Every frame starts from the same parameters: nothing of the file before carries over. The
// frame names its size, which the installer checks against the entry's; the entry's CRC covers
// the contents, so an archive's frame carries no checksum of its own. Streamed frames may look back over
// the whole window, with long-distance matching for repeats farther apart than the tables see.
bool ZstdCompressor::SetParameters(bool streamed, bool checked) {
    ZSTD_CCtx_reset(context_, ZSTD_reset_session_and_parameters);
    return Set(context_, ZSTD_c_compressionLevel, kLevel) && Set(context_, ZSTD_c_chainLog, kChainLog) &&
           Set(context_, ZSTD_c_hashLog, kHashLog) && Set(context_, ZSTD_c_searchLog, kSearchLog) &&
           Set(context_, ZSTD_c_targetLength, kTargetLength) && Set(context_, ZSTD_c_windowLog, kZstdWindowLog) &&
           Set(context_, ZSTD_c_checksumFlag, checked ? 1 : 0) && Set(context_, ZSTD_c_contentSizeFlag, 1) &&
           Set(context_, ZSTD_c_enableLongDistanceMatching, streamed ? 1 : 0);
}

std::size_t ZstdCompressor::Bound(std::size_t size) const { return ZSTD_compressBound(size); }

std::size_t ZstdCompressor::Compress(const void* in, std::size_t size, void* out, std::size_t room) {
    if (!SetParameters(false) || (dictionary_ && ZSTD_isError(ZSTD_CCtx_refCDict(context_, dictionary_)))) return 0;
    const std::size_t written = ZSTD_compress2(context_, out, room, in, size);
    return ZSTD_isError(written) ? 0 : written;
}

bool ZstdCompressor::BeginStream(std::uint64_t size, bool checked) {
    return SetParameters(true, checked) && !ZSTD_isError(ZSTD_CCtx_setPledgedSrcSize(context_, size));
}

bool ZstdCompressor::Stream(const void* data, std::size_t size, bool last, const Sink& sink) {
    ZSTD_inBuffer in = {data, size, 0};
    const ZSTD_EndDirective mode = last ? ZSTD_e_end : ZSTD_e_continue;
    for (;;) {
        ZSTD_outBuffer out = {out_, sizeof out_, 0};
        const std::size_t left = ZSTD_compressStream2(context_, &out, &in, mode);
        if (ZSTD_isError(left)) return false;
        if (out.pos > 0 && !sink(out_, out.pos)) return false;
        // Without `last`, all input taken is enough; with it, the frame must be flushed whole.
        if (last ? left == 0 : in.pos == in.size) return true;
    }
}

bool PackFileAsFrame(const std::string& source, const std::string& target, std::uint64_t& packedSize) {
    constexpr std::uint32_t kBlock = 1u << 20;
    File in, out;
    std::uint64_t size = 0;
    if (!in.Open(source, ReadExisting) || !in.GetSize64(size) || !out.Open(target, CreateWrite)) return false;
    ZstdCompressor compressor;
    if (!compressor.BeginStream(size, true)) return false;
    packedSize = 0;
    const ZstdCompressor::Sink write = [&](const void* data, std::size_t count) {
        std::uint32_t done = 0;
        packedSize += count;
        return out.Write(data, static_cast<std::uint32_t>(count), done) && done == count;
    };
    std::vector<char> block(kBlock);
    std::uint64_t left = size;
    do {
        const std::uint32_t want = static_cast<std::uint32_t>(std::min<std::uint64_t>(kBlock, left));
        std::uint32_t got = 0;
        if (want > 0 && (!in.Read(block.data(), want, got) || got != want)) return false;
        left -= want;
        if (!compressor.Stream(block.data(), want, left == 0, write)) return false;
    } while (left > 0);
    return out.Close() > 0;
}
