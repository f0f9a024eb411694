#include "pipeline/ParallelPacker.h"

#include <algorithm>
#include <new>
#include <system_error>

#include "pipeline/DeflateCompressor.h"
#include "platform/File.h"

static constexpr unsigned kMostThreads = 8;

ParallelPacker::ParallelPacker(std::vector<std::string> sources, EntryCompression compression, unsigned threads,
                               PackingLimits limits)
    : sources_(std::move(sources)), compression_(compression), limits_(limits), slots_(sources_.size()) {
    if (threads == 0) threads = std::min(std::max(std::thread::hardware_concurrency(), 1u), kMostThreads);
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, sources_.size()));
    try {
        for (unsigned i = 0; i < threads; ++i) workers_.emplace_back(&ParallelPacker::Work, this);
    } catch (const std::system_error&) {
        // Fewer workers only make the packing slower; with none, Next packs each file itself.
    }
}

ParallelPacker::~ParallelPacker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

// None for stored entries, or when the compressor's tables cannot be allocated: then the files
// are reported as failed.
std::unique_ptr<EntryCompressor> ParallelPacker::MakeCompressor() const {
    try {
        return MakeEntryCompressor(compression_);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void ParallelPacker::Work() {
    const std::unique_ptr<EntryCompressor> compressor = MakeCompressor();
    while (TakeAndPack(compressor.get())) {
    }
}

// Takes the next file, packs it and leaves it in its slot; false when there is nothing left to
// take or the packer is stopping.
bool ParallelPacker::TakeAndPack(EntryCompressor* compressor) {
    std::size_t index;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_ || nextTaken_ == sources_.size()) return false;
        index = nextTaken_++;
    }
    std::uint64_t granted = 0;
    PackedFile file = Pack(index, compressor, granted);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Slot& slot = slots_[index];
        slot.held = file.data.capacity();
        held_ = held_ - granted + slot.held;
        slot.file = std::move(file);
        slot.done = true;
    }
    changed_.notify_all();
    return true;
}

// Bytes a file of `size` bytes holds at most while it is packed: its input, and the compressor's
// output buffer, then that buffer and the exact copy kept.
std::uint64_t ParallelPacker::Cost(std::uint64_t size, const EntryCompressor* compressor) const {
    if (compression_.method == EntryMethod::Stored) return size;
    const std::uint64_t bound = compressor ? compressor->Bound(static_cast<std::size_t>(size)) : 0;
    return std::max(size + bound, 2 * bound);
}

// Waits until file `index` is next in order and `bytes` fit; false when the packer stops meanwhile.
bool ParallelPacker::Grant(std::size_t index, std::uint64_t bytes) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] {
        return stopping_ || (nextGranted_ == index && (held_ == 0 || held_ + bytes <= limits_.budget));
    });
    if (stopping_) return false;
    held_ += bytes;
    peakHeld_ = std::max(peakHeld_, held_);
    ++nextGranted_;
    lock.unlock();
    changed_.notify_all();
    return true;
}

PackedFile ParallelPacker::Pack(std::size_t index, EntryCompressor* compressor, std::uint64_t& granted) {
    PackedFile packed;
    File source;
    std::uint64_t size = 0;
    const bool readable = source.Open(sources_[index], ReadExisting) && source.GetSize64(size);
    if (!readable || size > limits_.holdLimit || (compression_.method != EntryMethod::Stored && !compressor)) {
        // Even a file that holds nothing takes its turn, so that grants stay in order.
        if (Grant(index, 0) && readable && size > limits_.holdLimit) packed.state = PackedFile::State::Streamed;
        return packed;
    }
    granted = Cost(size, compressor);
    if (!Grant(index, granted)) {
        granted = 0;
        return packed;
    }
    try {
        std::vector<unsigned char> input(static_cast<std::size_t>(size));
        std::uint32_t got = 0;
        if (size != 0 && (!source.Read(input.data(), static_cast<std::uint32_t>(size), got) || got != size))
            return packed;  // the file shrank or could not be read: no entry rather than a wrong one
        packed.size = size;
        packed.crc = Crc32(0, input.data(), input.size());
        if (!compressor || !compressor->Worthwhile(input.data(), input.size())) {
            packed.method = EntryMethod::Stored;
            packed.data = std::move(input);
        } else {
            std::vector<unsigned char> output(compressor->Bound(input.size()));
            const std::size_t written = compressor->Compress(input.data(), input.size(), output.data(), output.size());
            if (written == 0 && size != 0) return packed;  // the compressor failed
            output.resize(written);
            input = std::vector<unsigned char>();
            packed.method = compressor->Method();
            packed.level = compressor->Level();
            packed.data.assign(output.begin(), output.end());
        }
        packed.state = PackedFile::State::Packed;
    } catch (const std::bad_alloc&) {
        packed.data = std::vector<unsigned char>();
    }
    return packed;
}

bool ParallelPacker::Next(PackedFile& file) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (nextHandedBack_ == sources_.size()) return false;
    if (workers_.empty()) {
        lock.unlock();
        if (!ownCompressor_) ownCompressor_ = MakeCompressor();  // without it, Pack reports the file as failed
        TakeAndPack(ownCompressor_.get());
        lock.lock();
    }
    Slot& slot = slots_[nextHandedBack_];
    changed_.wait(lock, [&] { return slot.done; });
    file = std::move(slot.file);
    held_ -= slot.held;
    ++nextHandedBack_;
    lock.unlock();
    changed_.notify_all();
    return true;
}

std::uint64_t ParallelPacker::PeakHeld() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return peakHeld_;
}
