#pragma once
// The whole-buffer deflate compressor that packs the product archive's entries: raw deflate data,
// as a ZIP entry holds it. Not thread-safe: each packing thread owns one.
#include <cstddef>
#include <cstdint>

struct libdeflate_compressor;

class DeflateCompressor {
public:
    // Throws std::bad_alloc when the compressor's tables cannot be allocated.
    explicit DeflateCompressor(int level);
    ~DeflateCompressor();
    DeflateCompressor(const DeflateCompressor&) = delete;
    DeflateCompressor& operator=(const DeflateCompressor&) = delete;

    // The most bytes that Compress can write for `size` bytes of input.
    std::size_t Bound(std::size_t size) const;
    // Deflates `size` bytes into `out`, which has room for `room` bytes; returns the number of
    // bytes written, or 0 when they did not fit.
    std::size_t Compress(const void* in, std::size_t size, void* out, std::size_t room);

private:
    libdeflate_compressor* compressor_;
};

// The ZIP checksum (CRC-32) of `size` bytes, continuing from `crc` (0 to start).
std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t size);
