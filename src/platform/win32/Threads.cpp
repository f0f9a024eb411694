#include "platform/Threads.h"

#include <process.h>
#include <windows.h>

namespace platform {

// What the new thread needs; owned by the thread, which deletes it when it ends.
struct Launch {
    void (*body)(void*);
    void* argument;
    bool abandoned = false;
};

struct ThreadState {
    HANDLE handle;
    Launch* launch;  // valid only while the thread has not been resumed
};

static unsigned __stdcall Entry(void* parameter) {
    Launch* launch = static_cast<Launch*>(parameter);
    if (!launch->abandoned) launch->body(launch->argument);
    delete launch;
    _endthreadex(0);
    return 0;
}

ThreadHandle CreateSuspendedThread(void (*body)(void*), void* argument) {
    Launch* launch = new Launch{body, argument};
    uintptr_t handle = _beginthreadex(nullptr, 0, Entry, launch, CREATE_SUSPENDED, nullptr);
    if (handle == 0) {
        delete launch;
        return nullptr;
    }
    return new ThreadState{reinterpret_cast<HANDLE>(handle), launch};
}

unsigned long ResumeThreadHandle(ThreadHandle thread) { return ::ResumeThread(thread->handle); }

unsigned long WaitThreadHandle(ThreadHandle thread) {
    DWORD result = WaitForSingleObject(thread->handle, INFINITE);
    return result == WAIT_FAILED ? kThreadCallFailed : result;
}

void CloseThreadHandle(ThreadHandle thread, bool resumed) {
    if (!resumed) {
        // A suspended thread whose handle is closed would stay in the process for good.
        thread->launch->abandoned = true;
        if (::ResumeThread(thread->handle) != kThreadCallFailed) WaitForSingleObject(thread->handle, INFINITE);
    }
    CloseHandle(thread->handle);
    delete thread;
}

}  // namespace platform
