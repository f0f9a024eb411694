#include "installer/EntryDecoder.h"

#include <libdeflate.h>
#include <zstd.h>

#include <algorithm>

bool CanDecode(int method) { return method == kMethodStored || method == kMethodDeflated || method == kMethodZstd; }

bool UnpackScript(std::string& bytes) {
    static const unsigned char kFrameMagic[4] = {0x28, 0xB5, 0x2F, 0xFD};
    if (bytes.size() < sizeof kFrameMagic || !std::equal(kFrameMagic, kFrameMagic + 4, bytes.begin(),
                                                         [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); }))
        return true;
    const unsigned long long size = ZSTD_getFrameContentSize(bytes.data(), bytes.size());
    if (size == ZSTD_CONTENTSIZE_UNKNOWN || size == ZSTD_CONTENTSIZE_ERROR || size > (1ull << 32) ||
        ZSTD_findFrameCompressedSize(bytes.data(), bytes.size()) != bytes.size())
        return false;
    std::string text(static_cast<std::size_t>(size), '\0');
    const std::size_t done = ZSTD_decompress(text.empty() ? nullptr : &text[0], text.size(), bytes.data(), bytes.size());
    if (ZSTD_isError(done) || done != text.size()) return false;
    bytes.swap(text);
    return true;
}

ZstdDecodingDictionary::ZstdDecodingDictionary(const char* bytes, std::size_t size)
    : prepared_(ZSTD_createDDict(bytes, size)) {
    // A dictionary without an id cannot be told apart from none.
    if (prepared_ && ZSTD_getDictID_fromDDict(prepared_) == 0) {
        ZSTD_freeDDict(prepared_);
        prepared_ = nullptr;
    }
}

ZstdDecodingDictionary::~ZstdDecodingDictionary() { ZSTD_freeDDict(prepared_); }

bool ZstdDecodingDictionary::For(const char* frame, std::size_t size, const ZSTD_DDict*& dictionary) const {
    const unsigned id = ZSTD_getDictID_fromFrame(frame, size);
    dictionary = id != 0 ? prepared_ : nullptr;
    return id == 0 || (prepared_ && ZSTD_getDictID_fromDDict(prepared_) == id);
}

// The frame's own dictionary, or none; false when it names one that is not there.
static bool DictionaryFor(const ZstdDecodingDictionary* dictionary, const char* frame, std::size_t size,
                          const ZSTD_DDict*& prepared) {
    if (dictionary) return dictionary->For(frame, size, prepared);
    prepared = nullptr;
    return ZSTD_getDictID_fromFrame(frame, size) == 0;
}

EntryDecoder::EntryDecoder(const ZstdDecodingDictionary* dictionary)
    : dictionary_(dictionary), inflater_(libdeflate_alloc_decompressor()), zstd_(ZSTD_createDCtx()) {}

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
            const ZSTD_DDict* prepared = nullptr;
            if (!DictionaryFor(dictionary_, packed, packedSize, prepared)) return false;
            const std::size_t decoded = ZSTD_decompress_usingDDict(zstd_, out, size, packed, packedSize, prepared);
            return !ZSTD_isError(decoded) && decoded == size;
        }
        default: return false;
    }
}

ZstdStream::ZstdStream(const ZstdDecodingDictionary* dictionary)
    : dictionary_(dictionary), context_(ZSTD_createDCtx()) {
    if (context_ && ZSTD_isError(ZSTD_DCtx_setParameter(context_, ZSTD_d_windowLogMax, kMostZstdWindowLog))) {
        ZSTD_freeDCtx(context_);
        context_ = nullptr;
    }
}

ZstdStream::~ZstdStream() { ZSTD_freeDCtx(context_); }

// The first piece holds the frame's header, which names its dictionary.
ZstdStream::Result ZstdStream::Feed(const char* packed, std::size_t size, const Sink& sink) {
    if (!started_) {
        started_ = true;
        const ZSTD_DDict* prepared = nullptr;
        if (!DictionaryFor(dictionary_, packed, size, prepared) ||
            (prepared && ZSTD_isError(ZSTD_DCtx_refDDict(context_, prepared))))
            return Result::Damaged;
    }
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
