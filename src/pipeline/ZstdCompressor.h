#pragma once
// zstd for the product archive's small setups (ZIP method 93): one frame per entry, made with
// fixed parameters, so that the same file gives the same bytes on every computer and with any
// number of packing threads. Files held whole are compressed in one call; bigger ones are
// streamed through a window that the installer's decoder is allowed to hold.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "pipeline/EntryCompressor.h"

typedef struct ZSTD_CCtx_s ZSTD_CCtx;
typedef struct ZSTD_CDict_s ZSTD_CDict;

// The log2 of the largest window a frame of the archive may need: the installer refuses frames
// that ask for more, and holds at most this much besides its read-ahead ring.
constexpr int kZstdWindowLog = 24;

// A dictionary that the product's small files share: what they have in common (words, markup, a
// program header) is learnt once from them and stored once in the archive, where each file alone
// would learn it anew. Read-only once made, so every packing thread uses the same one.
class ZstdDictionary {
public:
    // Trained on the files of `sources` small enough to gain from it, in their order; Empty when
    // there are too few of them, they cannot be read, or it would not pay for itself.
    explicit ZstdDictionary(const std::vector<std::string>& sources);
    ~ZstdDictionary();
    ZstdDictionary(const ZstdDictionary&) = delete;
    ZstdDictionary& operator=(const ZstdDictionary&) = delete;

    bool Empty() const { return prepared_ == nullptr; }
    // The dictionary as it is stored in the archive.
    const std::string& Bytes() const { return bytes_; }
    const ZSTD_CDict* Prepared() const { return prepared_; }

private:
    bool PaysForItself(const std::string& samples, const std::vector<std::size_t>& sizes) const;

    std::string bytes_;
    ZSTD_CDict* prepared_ = nullptr;
};

class ZstdCompressor : public EntryCompressor {
public:
    // Files held whole are compressed with `dictionary` when it is given and not Empty. Throws
    // std::bad_alloc when the context cannot be allocated.
    explicit ZstdCompressor(const ZstdDictionary* dictionary = nullptr);
    ~ZstdCompressor() override;
    ZstdCompressor(const ZstdCompressor&) = delete;
    ZstdCompressor& operator=(const ZstdCompressor&) = delete;

    EntryMethod Method() const override { return EntryMethod::Zstd; }
    int Level() const override { return 0; }
    // Tries the file's start at zstd's fastest level: what does not shrink by 3 % there is taken
    // for compressed already (images, archives, media), which the strongest level cannot shrink
    // either, only take much longer over.
    bool Worthwhile(const void* in, std::size_t size) override;
    std::size_t Bound(std::size_t size) const override;
    std::size_t Compress(const void* in, std::size_t size, void* out, std::size_t room) override;

    // Receives each piece of a streamed frame; false stops the stream.
    using Sink = std::function<bool(const void* data, std::size_t size)>;
    // Starts a frame for exactly `size` bytes, given to Stream in pieces; `checked`, the frame
    // carries the checksum of its contents (for files that no entry's CRC covers).
    bool BeginStream(std::uint64_t size, bool checked = false);
    // Compresses the next `size` bytes (the frame's last when `last`) and passes the output on;
    // false when zstd fails or the sink does.
    bool Stream(const void* in, std::size_t size, bool last, const Sink& sink);

private:
    bool SetParameters(bool streamed, bool checked = false);

    const ZSTD_CDict* dictionary_;
    ZSTD_CCtx* context_;
    ZSTD_CCtx* trial_;  // the fastest level's, for Worthwhile
    char out_[1 << 17];
};

// Writes `target` as one checked zstd frame of the whole file `source`, read a block at a time,
// and gives the frame's size; false when either file fails or zstd does.
bool PackFileAsFrame(const std::string& source, const std::string& target, std::uint64_t& packedSize);
