#include "pipeline/ZstdCompressor.h"

#include <zstd.h>

#include <new>

namespace {

// The level and the tables that bound it: the tables are capped so that a packing thread holds
// about 12 MB however big its file, whatever the level would choose for itself.
constexpr int kLevel = 19;
constexpr int kChainLog = 21;
constexpr int kHashLog = 20;
// What Worthwhile tries, and what it must save of it.
constexpr std::size_t kTrialBytes = 1 << 17;
constexpr std::size_t kTrialSavingPercent = 3;

bool Set(ZSTD_CCtx* context, ZSTD_cParameter parameter, int value) {
    return !ZSTD_isError(ZSTD_CCtx_setParameter(context, parameter, value));
}

}  // namespace

ZstdCompressor::ZstdCompressor() : context_(ZSTD_createCCtx()), trial_(ZSTD_createCCtx()) {
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
// the contents, so the frame carries no checksum of its own. Streamed frames may look back over
// the whole window, with long-distance matching for repeats farther apart than the tables see.
bool ZstdCompressor::SetParameters(bool streamed) {
    ZSTD_CCtx_reset(context_, ZSTD_reset_session_and_parameters);
    return Set(context_, ZSTD_c_compressionLevel, kLevel) && Set(context_, ZSTD_c_chainLog, kChainLog) &&
           Set(context_, ZSTD_c_hashLog, kHashLog) && Set(context_, ZSTD_c_windowLog, kZstdWindowLog) &&
           Set(context_, ZSTD_c_checksumFlag, 0) && Set(context_, ZSTD_c_contentSizeFlag, 1) &&
           Set(context_, ZSTD_c_enableLongDistanceMatching, streamed ? 1 : 0);
}

std::size_t ZstdCompressor::Bound(std::size_t size) const { return ZSTD_compressBound(size); }

std::size_t ZstdCompressor::Compress(const void* in, std::size_t size, void* out, std::size_t room) {
    if (!SetParameters(false)) return 0;
    const std::size_t written = ZSTD_compress2(context_, out, room, in, size);
    return ZSTD_isError(written) ? 0 : written;
}

bool ZstdCompressor::BeginStream(std::uint64_t size) {
    return SetParameters(true) && !ZSTD_isError(ZSTD_CCtx_setPledgedSrcSize(context_, size));
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
