#pragma once
// Deflate for the product archive's entries: raw deflate data, as a ZIP entry holds it, at the
// archive's one level.
#include <cstddef>
#include <cstdint>

#include "pipeline/EntryCompressor.h"

struct libdeflate_compressor;

// Deflate's level for every entry: the archive's size and speed were measured at it.
constexpr int kDeflateLevel = 6;

class DeflateCompressor : public EntryCompressor {
public:
    // Throws std::bad_alloc when the compressor's tables cannot be allocated.
    explicit DeflateCompressor(int level = kDeflateLevel);
    ~DeflateCompressor() override;
    DeflateCompressor(const DeflateCompressor&) = delete;
    DeflateCompressor& operator=(const DeflateCompressor&) = delete;

    EntryMethod Method() const override { return EntryMethod::Deflated; }
    int Level() const override { return level_; }
    std::size_t Bound(std::size_t size) const override;
    std::size_t Compress(const void* in, std::size_t size, void* out, std::size_t room) override;

private:
    libdeflate_compressor* compressor_;
    int level_;
};

// The ZIP checksum (CRC-32) of `size` bytes, continuing from `crc` (0 to start).
std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t size);
