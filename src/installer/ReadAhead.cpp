#include "installer/ReadAhead.h"

#include <new>
#include <system_error>

ReadAhead::ReadAhead(std::vector<std::uint64_t> costs, std::size_t capacity, Prepare prepare)
    : costs_(std::move(costs)), prepare_(std::move(prepare)), slots_(costs_.size()) {
    try {
        ring_.resize(capacity);
        worker_ = std::thread(&ReadAhead::Work, this);
    } catch (const std::bad_alloc&) {
        // Without a ring or a worker the caller prepares every item itself.
    } catch (const std::system_error&) {
    }
}

ReadAhead::~ReadAhead() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
}

bool ReadAhead::Prepares(std::size_t index) const { return costs_[index] > 0 && costs_[index] <= ring_.size(); }

bool ReadAhead::Place(std::size_t index, std::uint64_t& start) const {
    const std::uint64_t capacity = ring_.size(), cost = costs_[index];
    start = writePosition_;
    if (start % capacity + cost > capacity) start += capacity - start % capacity;  // no item wraps round
    // With nothing held, the item may go anywhere.
    return readPosition_ == writePosition_ || start + cost - readPosition_ <= capacity;
}

bool ReadAhead::MayResume(std::size_t index) const {
    std::uint64_t start = 0;
    return Place(index, start) && writePosition_ - readPosition_ <= ring_.size() / 2;
}

// Every wake-up of a waiting thread is a round trip through the system (under Wine, through its
// server), so neither side is woken for each item: a worker that runs out of room sleeps until
// half of the ring is free again, and the caller is woken only while it waits for its item.
void ReadAhead::Work() {
    for (std::size_t index = 0; index < costs_.size(); ++index) {
        std::uint64_t start = 0;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            if (Prepares(index) && !stopping_ && !Place(index, start)) {
                workerWaits_ = true;
                changed_.wait(lock, [&] { return stopping_ || MayResume(index); });
                workerWaits_ = false;
            }
            if (stopping_) return;
            if (Prepares(index)) {
                Place(index, start);
                if (readPosition_ == writePosition_) readPosition_ = start;
                writePosition_ = start + costs_[index];
            } else {
                start = writePosition_;  // takes no room
            }
            slots_[index].start = start;
            nextStarted_ = index + 1;
        }
        Item item;
        if (Prepares(index)) {
            item.data = &ring_[start % ring_.size()];
            try {
                item.status = prepare_(index, &ring_[start % ring_.size()], item.size);
            } catch (...) {
                item = Item();  // left to the caller, who prepares it the slow way
            }
        }
        bool wake = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            slots_[index].item = item;
            slots_[index].ready = true;
            wake = callerWaits_;
        }
        if (wake) changed_.notify_all();
    }
}

bool ReadAhead::Take(std::size_t index, Item& item) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!worker_.joinable() || index != nextTaken_ || index >= costs_.size()) return false;
    ++nextTaken_;
    // Everything before this item gives its place back.
    readPosition_ = index < nextStarted_ ? slots_[index].start : writePosition_;
    if (workerWaits_ && MayResume(nextStarted_)) changed_.notify_all();
    if (!slots_[index].ready) {
        callerWaits_ = true;
        changed_.wait(lock, [&] { return slots_[index].ready; });
        callerWaits_ = false;
    }
    item = slots_[index].item;
    return true;
}
