#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>

#include "platform/Thread.h"

namespace {

class Counting : public thread::Runnable {
public:
    void Run() override { ++runs; }
    std::atomic<int> runs{0};
};

class Throwing : public thread::Thread {
public:
    void Run() override {
        reached = true;
        throw std::runtime_error("inside Run");
    }
    std::atomic<bool> reached{false};
};

std::string WhatOf(thread::Thread& t) {
    try {
        t.Start();
    } catch (const thread::GenericError& e) {
        EXPECT_STREQ(e.Where(), "class Thread");
        return e.What();
    }
    return "";
}

}  // namespace

TEST(Thread, RunsTheRunnableOnceAndRefusesASecondStart) {
    Counting counting;
    thread::Thread t(&counting);
    EXPECT_EQ(counting.runs, 0);  // created suspended
    t.Start();
    EXPECT_EQ(WhatOf(t), "Thread can be started only once.");
    EXPECT_EQ(t.Wait(), 0u);
    EXPECT_EQ(counting.runs, 1);
    // Still refused after the thread has ended, and waiting again still reports it ended.
    EXPECT_EQ(WhatOf(t), "Thread can be started only once.");
    EXPECT_EQ(t.Wait(), 0u);
}

TEST(Thread, AnExceptionInsideRunEndsTheThreadNormally) {
    Throwing t;
    t.Start();
    EXPECT_EQ(t.Wait(), 0u);
    EXPECT_TRUE(t.reached);
}

TEST(Thread, ANeverStartedThreadIsReleasedWithoutRunning) {
    Counting counting;
    { thread::Thread t(&counting); }
    { thread::Thread withoutRunnable; }
    EXPECT_EQ(counting.runs, 0);
}
