#include "installer/EntryDecoder.h"

#include <libdeflate.h>
#include <zstd.h>

#include <algorithm>

bool CanDecode(int method) { return method == kMethodStored || method == kMethodDeflated || method == kMethodZstd; }

EntryDecoder::EntryDecoder() : inflater_(libdeflate_alloc_decompressor()), zstd_(ZSTD_createDCtx()) {}

EntryDecoder::~EntryDecoder() {
    libdeflate_free_decompressor(inflater_);
    ZSTD_freeDCtx(zstd_);
}

// A frame decoded whole writes straight into `out` and needs no window of its own, whatever
// window it names; ZSTD_decompressDCtx decodes every frame of the input, so bytes after the first
// frame count towards the size too, and any that are not a frame are an error.
bool EntryDecoder::Decode(int method, const char* packed, std::size_t packedSize, char* out, std::size_t size) {
    switch (method) {
        case kMethodStored:
            if (packedSize != size) return false;
            if (size > 0 && out != packed) std::copy(packed, packed + size, out);
            return true;
        case kMethodDeflated: {
            std::size_t inflated = 0;
            return libdeflate_deflate_decompress(inflater_, packed, packedSize, out, size, &inflated) ==
                       LIBDEFLATE_SUCCESS &&
                   inflated == size;
        }
        case kMethodZstd: {
            const std::size_t decoded = ZSTD_decompressDCtx(zstd_, out, size, packed, packedSize);
            return !ZSTD_isError(decoded) && decoded == size;
        }
        default: return false;
    }
}

ZstdStream::ZstdStream() : context_(ZSTD_createDCtx()) {
    if (context_ && ZSTD_isError(ZSTD_DCtx_setParameter(context_, ZSTD_d_windowLogMax, kMostZstdWindowLog))) {
        ZSTD_freeDCtx(context_);
        context_ = nullptr;
    }
}

ZstdStream::~ZstdStream() { ZSTD_freeDCtx(context_); }

ZstdStream::Result ZstdStream::Feed(const char* packed, std::size_t size, const Sink& sink) {
    ZSTD_inBuffer in = {packed, size, 0};
    while (in.pos < in.size || !finished_) {
        if (finished_) return Result::Damaged;  // bytes after the frame
        ZSTD_outBuffer out = {out_, sizeof out_, 0};
        const std::size_t hint = ZSTD_decompressStream(context_, &out, &in);
        if (ZSTD_isError(hint)) return Result::Damaged;
        if (out.pos > 0 && !sink(out_, out.pos)) return Result::Stopped;
        finished_ = hint == 0;
        // All input taken and the output not full: the decoder waits for more input.
        if (!finished_ && in.pos == in.size && out.pos < out.size) return Result::More;
    }
    return Result::Finished;
}
