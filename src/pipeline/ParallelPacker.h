#pragma once
// Reads and compresses product files on worker threads, one per processor, and hands them back
// strictly in the order given, so that an archive's bytes never depend on timing or on the
// number of processors.
//
// Memory stays bounded whatever the number and size of the files: the bytes held for files taken
// up but not yet handed back (input and output buffers while a file is compressed, its packed
// bytes afterwards) stay within the budget. Files are granted their buffers strictly in order, so
// the file the caller waits for is never starved by later ones; a file is granted when its
// buffers fit beside what is held, or when nothing is held. A file bigger than the hold limit is
// not read at all but handed back as Streamed, for the archive to stream through its own buffer.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "pipeline/EntryCompressor.h"
#include "pipeline/PackedFile.h"

struct PackingLimits {
    std::uint64_t budget = 32ull << 20;     // bytes held at most for files not yet handed back
    std::uint64_t holdLimit = 8ull << 20;  // bigger files are streamed, not held
};

class ParallelPacker {
public:

    // Starts the workers at once (`threads` 0: one per processor, at most 8) on `sources`,
    // compressing as `compression` says (its dictionary outlives the packer).
    ParallelPacker(std::vector<std::string> sources, EntryCompression compression, unsigned threads = 0,
                   PackingLimits limits = PackingLimits());
    // Stops the workers after their current file; files not handed back are dropped.
    ~ParallelPacker();
    ParallelPacker(const ParallelPacker&) = delete;
    ParallelPacker& operator=(const ParallelPacker&) = delete;

    // Waits for the next file in order and moves it into `file`; false once every file has been
    // handed back.
    bool Next(PackedFile& file);

    // The most bytes held at once so far.
    std::uint64_t PeakHeld() const;

private:
    struct Slot {
        PackedFile file;
        std::uint64_t held = 0;  // bytes this file holds until it is handed back
        bool done = false;
    };

    void Work();
    std::unique_ptr<EntryCompressor> MakeCompressor() const;
    bool TakeAndPack(EntryCompressor* compressor);
    PackedFile Pack(std::size_t index, EntryCompressor* compressor, std::uint64_t& granted);
    bool Grant(std::size_t index, std::uint64_t bytes);
    std::uint64_t Cost(std::uint64_t size, const EntryCompressor* compressor) const;

    const std::vector<std::string> sources_;
    const EntryCompression compression_;
    const PackingLimits limits_;
    std::vector<Slot> slots_;  // one per source; slot i is written only by the worker that took file i

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t nextTaken_ = 0;
    std::size_t nextGranted_ = 0;
    std::size_t nextHandedBack_ = 0;
    std::uint64_t held_ = 0;
    std::uint64_t peakHeld_ = 0;
    bool stopping_ = false;

    std::vector<std::thread> workers_;
    std::unique_ptr<EntryCompressor> ownCompressor_;  // packs in Next when no worker could start
};
