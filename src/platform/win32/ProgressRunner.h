#pragma once
// Long work on a second thread behind a window that keeps answering: the calling thread pumps
// the messages (dialog keys included) until the work ends, and the work reports its progress
// from its own thread. The progress travels as a message to the window, so that it is shown on
// the window's thread even while a message box of that thread is open.
//
// The window's procedure hands every message to OnMessage first.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "platform/AppMessages.h"

static_assert(app_messages::kFirst == WM_APP, "the program's own messages begin at WM_APP");

class ProgressRunner {
public:
    // The runner's messages to the window.
    static constexpr UINT kProgressMessage = app_messages::kWorkProgress;
    static constexpr UINT kFinishedMessage = app_messages::kWorkFinished;

    // `show` puts a progress (in thousandths) and its text on the window, on the window's thread.
    explicit ProgressRunner(std::function<void(int, const std::string&)> show) : show_(std::move(show)) {}
    ProgressRunner(const ProgressRunner&) = delete;
    ProgressRunner& operator=(const ProgressRunner&) = delete;

    // Runs `work` on a second thread and returns its result once it has ended; meanwhile this
    // thread's messages are dispatched, with `window`'s dialog keys.
    int Run(HWND window, const std::function<int()>& work);
    // Whether Run is under way.
    bool Running() const { return running_; }
    // Callable from any thread while `window` exists, before Run too.
    void SetProgress(HWND window, int permille, const std::string& text);
    // True when `message` was the runner's own and has been handled.
    bool OnMessage(UINT message, WPARAM wParam);

private:
    std::function<void(int, const std::string&)> show_;
    std::atomic<bool> running_{false};
    std::mutex mutex_;
    // The latest progress, read when its message arrives.
    int permille_ = 0;
    std::string text_;
    bool posted_ = false;  // a progress message is on its way
};
