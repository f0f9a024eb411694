#include "platform/win32/ProgressRunner.h"

#include <thread>

int ProgressRunner::Run(HWND window, const std::function<int()>& work) {
    running_ = true;
    int result = 0;
    std::thread worker([&] {
        result = work();
        PostMessageA(window, kFinishedMessage, 0, 0);
    });
    MSG msg;
    while (running_ && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    worker.join();
    running_ = false;
    return result;
}

void ProgressRunner::SetProgress(HWND window, int permille, const std::string& text) {
    bool post = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        permille_ = permille;
        text_ = text;
        post = !posted_;
        posted_ = true;
    }
    if (post && !PostMessageA(window, kProgressMessage, 0, 0)) {
        std::lock_guard<std::mutex> lock(mutex_);
        posted_ = false;  // a full queue: the next report tries again
    }
}

bool ProgressRunner::OnMessage(UINT message, WPARAM) {
    if (message == kFinishedMessage) {
        running_ = false;
        return true;
    }
    if (message != kProgressMessage) return false;
    int permille = 0;
    std::string text;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        permille = permille_;
        text = text_;
        posted_ = false;
    }
    if (show_) show_(permille, text);
    return true;
}
