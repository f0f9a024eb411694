#pragma once
// Decoding the bytes of one entry of setup.zip by its ZIP compression method: stored, deflated
// or zstd. The archive reader finds the entry and reads its bytes; this says what they hold.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

struct libdeflate_decompressor;
typedef struct ZSTD_DCtx_s ZSTD_DCtx;
typedef struct ZSTD_DDict_s ZSTD_DDict;

// The methods the installer unpacks.
enum EntryMethodNumber : int {
    kMethodStored = 0,
    kMethodDeflated = 8,
    kMethodZstd = 93,
};

bool CanDecode(int method);

// A small setup's script, which the setup holds as one checked zstd frame: `bytes` are replaced
// by what they unpack to when they are such a frame, and left as they are when they are not (a
// script's text never starts like a frame). False, leaving them, for a frame that is damaged, cut
// short, followed by other bytes, or that does not name its size.
bool UnpackScript(std::string& bytes);

// The log2 of the largest window a zstd frame may ask for while it is streamed: a frame that asks
// for more is taken for damaged rather than let the installer's memory grow with it.
constexpr int kMostZstdWindowLog = 24;

// A small setup's dictionary, which its zstd frames name by its id; read-only once made, so the
// decoders of every thread share one.
class ZstdDecodingDictionary {
public:
    // Empty when `bytes` are no dictionary.
    ZstdDecodingDictionary(const char* bytes, std::size_t size);
    ~ZstdDecodingDictionary();
    ZstdDecodingDictionary(const ZstdDecodingDictionary&) = delete;
    ZstdDecodingDictionary& operator=(const ZstdDecodingDictionary&) = delete;

    bool Empty() const { return prepared_ == nullptr; }
    // The prepared dictionary when a frame that starts with `frame` needs it; none when it needs
    // none. False when it needs another one.
    bool For(const char* frame, std::size_t size, const ZSTD_DDict*& dictionary) const;

private:
    ZSTD_DDict* prepared_;
};

// Decodes entries read whole, one thread's worth: it owns its decompressors.
class EntryDecoder {
public:
    // zstd frames that name a dictionary are decoded with `dictionary`, which outlives the
    // decoder, when it is theirs.
    explicit EntryDecoder(const ZstdDecodingDictionary* dictionary = nullptr);
    ~EntryDecoder();
    EntryDecoder(const EntryDecoder&) = delete;
    EntryDecoder& operator=(const EntryDecoder&) = delete;

    bool IsReady() const { return inflater_ && zstd_; }
    // True when the `packedSize` bytes of a `method` entry give exactly `size` bytes in `out`,
    // which has room for them.
    bool Decode(int method, const char* packed, std::size_t packedSize, char* out, std::size_t size);

private:
    const ZstdDecodingDictionary* dictionary_;
    libdeflate_decompressor* inflater_;
    ZSTD_DCtx* zstd_;
};

// One zstd frame decoded as its bytes arrive, for entries too big to hold.
class ZstdStream {
public:
    enum class Result {
        More,      // all input taken; the frame goes on
        Finished,  // the frame ended, with all input taken
        Damaged,   // the input is no frame, asks for too big a window, or has bytes after the frame
        Stopped,   // the sink asked to stop
    };
    // Receives each piece of decoded bytes; false stops.
    using Sink = std::function<bool(const char* data, std::size_t size)>;

    explicit ZstdStream(const ZstdDecodingDictionary* dictionary = nullptr);
    ~ZstdStream();
    ZstdStream(const ZstdStream&) = delete;
    ZstdStream& operator=(const ZstdStream&) = delete;

    bool IsReady() const { return context_ != nullptr; }
    Result Feed(const char* packed, std::size_t size, const Sink& sink);

private:
    const ZstdDecodingDictionary* dictionary_;
    ZSTD_DCtx* context_;
    char out_[1 << 16];
    bool started_ = false;
    bool finished_ = false;
};
