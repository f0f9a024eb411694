// The installer's read-ahead: items come back in order, each intact while the caller uses it
// although the worker goes on filling the same ring, and the worker can be stopped at any point
// without the caller or itself being left waiting.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

#include "installer/ReadAhead.h"

namespace {

// Item i's bytes: as many as its cost allows, each telling the item apart.
std::string Expected(std::size_t index, std::uint64_t cost) {
    std::string bytes(static_cast<std::size_t>(cost - 1), '\0');
    for (std::size_t j = 0; j < bytes.size(); ++j) bytes[j] = static_cast<char>(index * 31 + j);
    return bytes;
}

ReadAhead::Prepare Filling(const std::vector<std::uint64_t>& costs) {
    return [costs](std::size_t index, char* out, std::size_t& size) {
        const std::string bytes = Expected(index, costs[index]);
        std::copy(bytes.begin(), bytes.end(), out);
        size = bytes.size();
        return static_cast<int>(index % 5);
    };
}

std::string Bytes(const ReadAhead::Item& item) { return std::string(item.data, item.size); }

}  // namespace

TEST(ReadAhead, HandsBackEveryItemInOrderAndIntactWhileItIsUsed) {
    std::vector<std::uint64_t> costs;
    for (std::size_t i = 0; i < 600; ++i) costs.push_back(1 + (i * 37) % 300);
    costs[100] = 1000;  // the whole ring
    costs[200] = 1001;  // more than the ring holds: left to the caller
    costs[300] = 0;     // nothing to prepare
    ReadAhead ahead(costs, 1000, Filling(costs));
    for (std::size_t i = 0; i < costs.size(); ++i) {
        ReadAhead::Item item;
        ASSERT_TRUE(ahead.Take(i, item)) << i;
        if (i == 200 || i == 300) {
            EXPECT_EQ(item.status, ReadAhead::kNotPrepared) << i;
            continue;
        }
        EXPECT_EQ(item.status, static_cast<int>(i % 5));
        ASSERT_EQ(Bytes(item), Expected(i, costs[i])) << i;
        // Meanwhile the worker fills the rest of the ring; this item keeps its bytes.
        if (i % 50 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        ASSERT_EQ(Bytes(item), Expected(i, costs[i])) << i;
    }
    ReadAhead::Item item;
    EXPECT_FALSE(ahead.Take(costs.size(), item));
}

TEST(ReadAhead, RefusesItemsOutOfOrderAndReportsOnesThatFailed) {
    const std::vector<std::uint64_t> costs = {3, 3, 3, 3};
    ReadAhead ahead(costs, 10, [&](std::size_t index, char* out, std::size_t& size) {
        if (index == 2) throw std::runtime_error("unreadable");
        return Filling(costs)(index, out, size);
    });
    ReadAhead::Item item;
    EXPECT_FALSE(ahead.Take(1, item));
    ASSERT_TRUE(ahead.Take(0, item));
    EXPECT_FALSE(ahead.Take(0, item));
    ASSERT_TRUE(ahead.Take(1, item));
    ASSERT_TRUE(ahead.Take(2, item));
    EXPECT_EQ(item.status, ReadAhead::kNotPrepared);
    ASSERT_TRUE(ahead.Take(3, item));
    EXPECT_EQ(item.status, 3);
    EXPECT_EQ(Bytes(item), Expected(3, 3));
}

TEST(ReadAhead, StopsAtOnceWhereverTheWorkerIs) {
    std::atomic<std::size_t> prepared{0};
    const std::vector<std::uint64_t> costs(1000, 10);
    auto counting = [&](std::size_t index, char* out, std::size_t& size) {
        ++prepared;
        return Filling(costs)(index, out, size);
    };
    {
        // The worker fills the ring and waits for room that never comes.
        ReadAhead ahead(costs, 100, counting);
        ReadAhead::Item item;
        ASSERT_TRUE(ahead.Take(0, item));
    }
    EXPECT_LE(prepared.load(), 10u);
    // Never taken from at all.
    { ReadAhead ahead(costs, 100, counting); }
    { ReadAhead empty({}, 100, counting); }
}
