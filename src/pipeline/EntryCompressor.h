#pragma once
// The compressors that pack whole product files into the bytes of their archive entries, one
// kind per ZIP method. Not thread-safe: each packing thread owns one.
#include <cstddef>
#include <memory>

// The ZIP compression methods of the product archive's entries.
enum class EntryMethod {
    Stored = 0,
    Deflated = 8,
    Zstd = 93,
};

class ZstdDictionary;

// How the entries of one archive are compressed: the method, and for zstd the dictionary that
// the product's small files share, if any.
struct EntryCompression {
    EntryCompression(EntryMethod method, const ZstdDictionary* dictionary = nullptr)
        : method(method), dictionary(dictionary) {}
    EntryMethod method;
    const ZstdDictionary* dictionary;
};

class EntryCompressor {
public:
    virtual ~EntryCompressor() = default;

    virtual EntryMethod Method() const = 0;
    // The level recorded in the entry's flags (deflate's; the other methods record none).
    virtual int Level() const = 0;
    // False when `size` bytes look incompressible, for the entry to be stored rather than spend
    // the compressor's time on them.
    virtual bool Worthwhile(const void* in, std::size_t size) {
        (void)in, (void)size;
        return true;
    }
    // The most bytes that Compress can write for `size` bytes of input.
    virtual std::size_t Bound(std::size_t size) const = 0;
    // Compresses `size` bytes into `out`, which has room for `room` bytes; returns the number of
    // bytes written, or 0 when they did not fit or the compressor failed.
    virtual std::size_t Compress(const void* in, std::size_t size, void* out, std::size_t room) = 0;
};

// The compressor of `compression`; none for Stored. Throws std::bad_alloc when its tables cannot
// be allocated.
std::unique_ptr<EntryCompressor> MakeEntryCompressor(const EntryCompression& compression);
