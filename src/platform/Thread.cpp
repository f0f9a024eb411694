#include "platform/Thread.h"

namespace thread {

Thread::Thread(Runnable* runnable) : runnable_(runnable) {
    handle_ = platform::CreateSuspendedThread(
        [](void* self) { Body(static_cast<Thread*>(self)); }, this);
    if (!handle_) throw Error("Can't create thread.");
}

Thread::~Thread() { platform::CloseThreadHandle(handle_, started_); }

unsigned long Thread::Start() {
    if (started_) throw Error("Thread can be started only once.");
    started_ = true;
    unsigned long previous = platform::ResumeThreadHandle(handle_);
    if (previous == platform::kThreadCallFailed) throw Error("Thread can not be started.");
    return previous;
}

unsigned long Thread::Wait() {
    unsigned long result = platform::WaitThreadHandle(handle_);
    if (result == platform::kThreadCallFailed) throw Error("Waiting for thread termination failed.");
    return result;
}

void Thread::Run() {
    if (runnable_) runnable_->Run();
}

void Thread::Body(Thread* self) {
    try {
        self->Run();
    } catch (...) {
        // Nothing may leave the thread; the owner learns the outcome from the thread's own state.
    }
}

}  // namespace thread
