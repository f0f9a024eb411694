#include "platform/Threads.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace platform {

// POSIX threads cannot be created suspended: the new thread waits at this gate until it is
// resumed or let go. The thread keeps the gate alive as long as it needs it.
struct Gate {
    std::mutex mutex;
    std::condition_variable opened;
    enum { Closed, Resumed, Abandoned } state = Closed;
};

struct ThreadState {
    std::thread thread;
    std::shared_ptr<Gate> gate;
};

static void Entry(std::shared_ptr<Gate> gate, void (*body)(void*), void* argument) {
    {
        std::unique_lock<std::mutex> lock(gate->mutex);
        gate->opened.wait(lock, [&] { return gate->state != Gate::Closed; });
        if (gate->state == Gate::Abandoned) return;
    }
    body(argument);
}

ThreadHandle CreateSuspendedThread(void (*body)(void*), void* argument) {
    auto state = std::make_unique<ThreadState>();
    state->gate = std::make_shared<Gate>();
    try {
        state->thread = std::thread(Entry, state->gate, body, argument);
    } catch (const std::system_error&) {
        return nullptr;
    }
    return state.release();
}

static void OpenGate(Gate& gate, decltype(Gate::state) to) {
    std::lock_guard<std::mutex> lock(gate.mutex);
    gate.state = to;
    gate.opened.notify_one();
}

unsigned long ResumeThreadHandle(ThreadHandle thread) {
    OpenGate(*thread->gate, Gate::Resumed);
    return 1;  // the suspend count it had, as Windows reports for a thread created suspended
}

unsigned long WaitThreadHandle(ThreadHandle thread) {
    if (!thread->thread.joinable()) return 0;  // waited for already: still ended
    try {
        thread->thread.join();
    } catch (const std::system_error&) {
        return kThreadCallFailed;
    }
    return 0;
}

void CloseThreadHandle(ThreadHandle thread, bool resumed) {
    if (!resumed) {
        OpenGate(*thread->gate, Gate::Abandoned);
        thread->thread.join();
    } else if (thread->thread.joinable()) {
        thread->thread.detach();
    }
    delete thread;
}

}  // namespace platform
