#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>

#include "platform/Thread.h"

namespace {

class Counting : public thread::Runnable {
public:
    void Run() override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++runs;
        ran_.notify_all();
    }
    // Whether Run was called within `ms` milliseconds: long enough for a thread that was not
    // created suspended to have run, so that a test can tell the two apart.
    bool RunsWithin(int ms) {
        std::unique_lock<std::mutex> lock(mutex_);
        return ran_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return runs > 0; });
    }
    std::atomic<int> runs{0};

private:
    std::mutex mutex_;
    std::condition_variable ran_;
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
    EXPECT_FALSE(counting.RunsWithin(300));  // created suspended
    t.Start();
    EXPECT_TRUE(counting.RunsWithin(10000));
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
    {
        thread::Thread t(&counting);
        EXPECT_FALSE(counting.RunsWithin(300));
    }
    { thread::Thread withoutRunnable; }
    // The destructor let the thread go: it has ended without running, and never will.
    EXPECT_FALSE(counting.RunsWithin(300));
    EXPECT_EQ(counting.runs, 0);
}
