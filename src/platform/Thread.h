#pragma once
// The worker-thread class: a thread created suspended at construction and started once.
// Failures are thrown as thread::Thread::Error; an exception leaving Run never leaves the thread.
#include "platform/Threads.h"

namespace thread {

class GenericError {
public:
    virtual ~GenericError() = default;
    virtual const char* Where() const = 0;
    virtual const char* What() const = 0;
};

// Something whose Run the default Thread::Run calls.
class Runnable {
public:
    virtual ~Runnable() = default;
    virtual void Run() = 0;
};

class Thread {
public:
    class Error : public GenericError {
    public:
        explicit Error(const char* what) : what_(what) {}
        const char* Where() const override { return "class Thread"; }
        const char* What() const override { return what_; }

    private:
        const char* what_;
    };

    // Creates the platform thread at once, suspended; throws Error("Can't create thread.").
    explicit Thread(Runnable* runnable = nullptr);
    // Neither waits for nor stops a started thread: the owner calls Wait first when it may run.
    // A thread never started is released without running.
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Resumes the thread; returns its previous suspend count. Only once.
    unsigned long Start();
    // Waits without time limit for the thread to end; returns the platform's wait result.
    unsigned long Wait();

    // The thread's body: the runnable's Run when one was given, otherwise nothing.
    virtual void Run();

private:
    // Runs on the new thread: Run, any exception discarded.
    static void Body(Thread* self);

    Runnable* runnable_;
    bool started_ = false;
    platform::ThreadHandle handle_ = nullptr;
};

}  // namespace thread
