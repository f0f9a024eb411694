#include "pipeline/DeflateCompressor.h"

#include <libdeflate.h>

#include <new>

#include "pipeline/ZstdCompressor.h"

DeflateCompressor::DeflateCompressor(int level) : compressor_(libdeflate_alloc_compressor(level)), level_(level) {
    if (!compressor_) throw std::bad_alloc();
}

DeflateCompressor::~DeflateCompressor() { libdeflate_free_compressor(compressor_); }

std::size_t DeflateCompressor::Bound(std::size_t size) const {
    return libdeflate_deflate_compress_bound(compressor_, size);
}

std::size_t DeflateCompressor::Compress(const void* in, std::size_t size, void* out, std::size_t room) {
    return libdeflate_deflate_compress(compressor_, in, size, out, room);
}

std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t size) {
    return libdeflate_crc32(crc, data, size);
}

std::unique_ptr<EntryCompressor> MakeEntryCompressor(const EntryCompression& compression) {
    switch (compression.method) {
        case EntryMethod::Stored: return nullptr;
        case EntryMethod::Deflated: return std::make_unique<DeflateCompressor>();
        case EntryMethod::Zstd: return std::make_unique<ZstdCompressor>(compression.dictionary);
    }
    return nullptr;
}
