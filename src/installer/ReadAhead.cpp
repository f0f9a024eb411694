#include "installer/ReadAhead.h"

#include <algorithm>
#include <system_error>

ReadAhead::ReadAhead(std::vector<std::uint64_t> costs, std::uint64_t budget, Prepare prepare)
    : costs_(std::move(costs)),
      budget_(budget),
      prepare_(std::move(prepare)),
      items_(costs_.size()),
      ready_(costs_.size(), false) {
    try {
        worker_ = std::thread(&ReadAhead::Work, this);
    } catch (const std::system_error&) {
        // Without a worker the caller prepares every item itself.
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

// Every wake-up of a waiting thread is a round trip through the system (under Wine, through its
// server), so neither side is woken for each item: a worker that runs out of budget sleeps until
// half of it is free again and then prepares a run of items, and the caller is woken only while
// it waits for the item it wants.
void ReadAhead::Work() {
    for (std::size_t index = 0; index < costs_.size(); ++index) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            if (!stopping_ && !Fits(index, budget_)) {
                waiting_ = index;
                workerWaits_ = true;
                changed_.wait(lock, [&] { return stopping_ || Fits(index, budget_ / 2); });
                workerWaits_ = false;
            }
            if (stopping_) return;
            held_ += costs_[index];
            peakHeld_ = std::max(peakHeld_, held_);
        }
        Item item;
        try {
            item = prepare_(index);
        } catch (...) {
            item = Item();  // left to the caller, who prepares it the slow way
        }
        bool wake = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            items_[index] = std::move(item);
            ready_[index] = true;
            wake = callerWaits_;
        }
        if (wake) changed_.notify_all();
    }
}

bool ReadAhead::Fits(std::size_t index, std::uint64_t limit) const {
    return held_ == 0 || held_ + costs_[index] <= limit;
}

bool ReadAhead::Take(std::size_t index, Item& item) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!worker_.joinable() || index != nextTaken_ || index >= costs_.size()) return false;
    if (index > 0) held_ -= costs_[index - 1];
    ++nextTaken_;
    if (workerWaits_ && Fits(waiting_, budget_ / 2)) changed_.notify_all();
    if (!ready_[index]) {
        callerWaits_ = true;
        changed_.wait(lock, [&] { return ready_[index]; });
        callerWaits_ = false;
    }
    item = std::move(items_[index]);
    items_[index] = Item();
    return true;
}

std::uint64_t ReadAhead::PeakHeld() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return peakHeld_;
}
