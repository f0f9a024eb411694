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
    {
        std::lock_guard<std::mutex> lock(mutex_);
        text_ = text;
    }
    PostMessageA(window, kProgressMessage, static_cast<WPARAM>(permille), 0);
}

bool ProgressRunner::OnMessage(UINT message, WPARAM wParam) {
    if (message == kFinishedMessage) {
        running_ = false;
        return true;
    }
    if (message != kProgressMessage) return false;
    std::string text;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        text = text_;
    }
    if (show_) show_(static_cast<int>(wParam), text);
    return true;
}
