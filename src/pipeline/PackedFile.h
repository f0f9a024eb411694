#pragma once
// One product file read and compressed ahead of its turn in the product archive: the bytes of its
// entry as they go into the archive, with the checksum and size of the original.
#include <cstdint>
#include <vector>

#include "pipeline/EntryCompressor.h"

struct PackedFile {
    enum class State {
        Packed,    // `data` holds the entry's bytes
        Failed,    // the source could not be opened or read whole (or memory ran out)
        Streamed,  // too big to hold in memory: the archive reads and compresses it itself
    };
    State state = State::Failed;
    EntryMethod method = EntryMethod::Stored;
    int level = 0;  // the compression level, recorded in the entry's flags
    std::uint32_t crc = 0;
    std::uint64_t size = 0;  // bytes of the original file
    std::vector<unsigned char> data;
};
