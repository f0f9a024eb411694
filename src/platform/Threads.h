#pragma once
// Threads of the operating system, one thin wrapper per call. A thread is created suspended and
// runs `body(argument)` once resumed; the handle is closed explicitly.
namespace platform {

struct ThreadState;
using ThreadHandle = ThreadState*;

constexpr unsigned long kThreadCallFailed = 0xFFFFFFFFul;

// Nullptr when the system cannot create the thread.
ThreadHandle CreateSuspendedThread(void (*body)(void*), void* argument);
// The previous suspend count, or kThreadCallFailed.
unsigned long ResumeThreadHandle(ThreadHandle thread);
// Waits without time limit: 0 when the thread has ended, kThreadCallFailed when waiting failed.
unsigned long WaitThreadHandle(ThreadHandle thread);
// Closes the handle without waiting. A thread that was never resumed is let go first: it ends
// without running its body.
void CloseThreadHandle(ThreadHandle thread, bool resumed);

}  // namespace platform
