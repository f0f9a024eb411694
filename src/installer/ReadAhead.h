#pragma once
// Prepares a sequence of items on one worker thread ahead of the caller, who takes them strictly
// in order: the installer inflates the next files while it writes the one before.
//
// Memory stays bounded whatever the number and size of the items: each item has a cost (the bytes
// it will hold), and the worker starts an item only when its cost fits in the budget beside what
// is held (items prepared or being prepared and not yet taken, and the item taken last, which the
// caller still uses until it takes the next), or when nothing is held at all.
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
        std::vector<char> bytes;
    };
    // The status of an item whose preparation threw, or that was never prepared.
    static constexpr int kNotPrepared = -1;
    // Runs on the worker, once for each index in order.
    using Prepare = std::function<Item(std::size_t index)>;

    // Starts the worker at once; without a worker (the system refused one) every Take fails.
    ReadAhead(std::vector<std::uint64_t> costs, std::uint64_t budget, Prepare prepare);
    // Stops the worker after its current item and waits for it; items not taken are dropped.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Waits for item `index` and moves it out; false, without waiting, when it is not the next
    // in order or no worker runs. Taking an item releases the one taken before.
    bool Take(std::size_t index, Item& item);

    // The most bytes held at once so far.
    std::uint64_t PeakHeld() const;

private:
    void Work();
    // Whether item `index` may start beside what is held, against `limit`.
    bool Fits(std::size_t index, std::uint64_t limit) const;

    const std::vector<std::uint64_t> costs_;
    const std::uint64_t budget_;
    const Prepare prepare_;
    std::vector<Item> items_;
    std::vector<bool> ready_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t nextTaken_ = 0;
    std::uint64_t held_ = 0;
    std::uint64_t peakHeld_ = 0;
    bool stopping_ = false;
    bool workerWaits_ = false;  // for room to start item `waiting_`
    std::size_t waiting_ = 0;
    bool callerWaits_ = false;  // for the item it takes
    std::thread worker_;
};
