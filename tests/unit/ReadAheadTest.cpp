// The installer's read-ahead: items come back in order, memory held stays within the budget, and
// the worker can be stopped at any point without the caller or itself being left waiting.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "installer/ReadAhead.h"

namespace {

ReadAhead::Item Numbered(std::size_t index) {
    ReadAhead::Item item;
    item.status = static_cast<int>(index);
    item.bytes.assign(index % 7, static_cast<char>('a' + index % 26));
    return item;
}

}  // namespace

TEST(ReadAhead, HandsBackEveryItemInOrderWithinTheBudget) {
    std::vector<std::uint64_t> costs;
    for (std::size_t i = 0; i < 500; ++i) costs.push_back(10 + i % 90);
    costs[250] = 5000;  // more than the budget alone: prepared once nothing else is held
    ReadAhead ahead(costs, 1000, Numbered);
    for (std::size_t i = 0; i < costs.size(); ++i) {
        ReadAhead::Item item;
        ASSERT_TRUE(ahead.Take(i, item)) << i;
        EXPECT_EQ(item.status, static_cast<int>(i));
        EXPECT_EQ(item.bytes, std::vector<char>(i % 7, static_cast<char>('a' + i % 26)));
    }
    EXPECT_EQ(ahead.PeakHeld(), 5000u);
    ReadAhead::Item item;
    EXPECT_FALSE(ahead.Take(costs.size(), item));

    // Without the oversized item, the budget is never exceeded.
    costs[250] = 50;
    ReadAhead bounded(costs, 1000, Numbered);
    for (std::size_t i = 0; i < costs.size(); ++i) ASSERT_TRUE(bounded.Take(i, item));
    EXPECT_LE(bounded.PeakHeld(), 1000u);
}

TEST(ReadAhead, RefusesItemsOutOfOrderAndReportsOnesThatFailed) {
    ReadAhead ahead({1, 1, 1, 1}, 10, [](std::size_t index) {
        if (index == 2) throw std::runtime_error("unreadable");
        return Numbered(index);
    });
    ReadAhead::Item item;
    EXPECT_FALSE(ahead.Take(1, item));
    ASSERT_TRUE(ahead.Take(0, item));
    EXPECT_FALSE(ahead.Take(0, item));
    ASSERT_TRUE(ahead.Take(1, item));
    ASSERT_TRUE(ahead.Take(2, item));
    EXPECT_EQ(item.status, ReadAhead::kNotPrepared);
    EXPECT_TRUE(item.bytes.empty());
    ASSERT_TRUE(ahead.Take(3, item));
    EXPECT_EQ(item.status, 3);
}

TEST(ReadAhead, StopsAtOnceWhereverTheWorkerIs) {
    std::atomic<std::size_t> prepared{0};
    auto counting = [&](std::size_t index) {
        ++prepared;
        return Numbered(index);
    };
    {
        // The worker fills the budget and waits for room that never comes.
        ReadAhead ahead(std::vector<std::uint64_t>(1000, 10), 100, counting);
        ReadAhead::Item item;
        ASSERT_TRUE(ahead.Take(0, item));
    }
    EXPECT_LT(prepared.load(), 50u);
    // Never taken from at all.
    { ReadAhead ahead(std::vector<std::uint64_t>(1000, 10), 100, counting); }
    { ReadAhead empty({}, 100, counting); }
}
