#pragma once
// Prepares a sequence of items on one worker thread ahead of the caller, who takes them strictly
// in order: the installer inflates the next files while it writes the one before.
//
// Memory stays fixed whatever the number and size of the items: every item is prepared into one
// ring of `capacity` bytes, allocated once, and keeps its place there until the caller takes the
// next item. Each item has a cost, the most bytes it may need; an item whose cost is 0 or more
// than the ring holds is not prepared but handed back as kNotPrepared, for the caller to deal
// with. The ring is never allocated piece by piece, so the system's heap is not churned by
// thousands of buffers passed from one thread to the other.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class ReadAhead {
public:
    struct Item {
        int status = kNotPrepared;
        const char* data = nullptr;  // valid until the next Take
        std::size_t size = 0;
    };
    // The status of an item that was not prepared, or whose preparation threw.
    static constexpr int kNotPrepared = -1;
    // Runs on the worker, once for each index in order: fills `out`, which has room for the
    // item's cost, sets `size` to the bytes it used and returns the item's status.
    using Prepare = std::function<int(std::size_t index, char* out, std::size_t& size)>;

    // Starts the worker at once; without a worker or a ring (the system refused either) every
    // Take fails.
    ReadAhead(std::vector<std::uint64_t> costs, std::size_t capacity, Prepare prepare);
    // Stops the worker after its current item and waits for it; items not taken are dropped.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Waits for item `index` and hands it out; false, without waiting, when it is not the next
    // in order or no worker runs. Taking an item gives the place of the one before back.
    bool Take(std::size_t index, Item& item);

private:
    struct Slot {
        std::uint64_t start = 0;  // where in the ring, counted without wrapping
        Item item;
        bool ready = false;
    };

    void Work();
    bool Prepares(std::size_t index) const;
    // Where item `index` would start, or false when it does not fit beside what is held.
    bool Place(std::size_t index, std::uint64_t& start) const;
    // Whether the worker, waiting for room for item `index`, is to go on: when it fits and at
    // least half the ring is free, so that it prepares a run of items per wake-up, or when
    // nothing is held.
    bool MayResume(std::size_t index) const;

    const std::vector<std::uint64_t> costs_;
    const Prepare prepare_;
    std::vector<char> ring_;
    std::vector<Slot> slots_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t nextTaken_ = 0;
    std::size_t nextStarted_ = 0;  // the worker's next item
    std::uint64_t readPosition_ = 0;   // the start of the oldest item held
    std::uint64_t writePosition_ = 0;  // the end of the newest
    bool stopping_ = false;
    bool workerWaits_ = false;
    bool callerWaits_ = false;
    std::thread worker_;
};
