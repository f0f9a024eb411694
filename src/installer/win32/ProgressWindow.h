#pragma once
// The installer's small progress window: a heading, the action under way, a progress bar and
// a Cancel button. The work runs on a second thread while this window keeps answering.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/win32/ProgressRunner.h"
#include "platform/win32/WindowDpi.h"

class ProgressWindow {
public:
    ProgressWindow();
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // `confirmCancel` is asked before the Cancel button takes effect (unless it is empty);
    // without a `cancelText` the window has no Cancel button and cannot be closed.
    bool Create(const std::string& caption, const std::string& heading, const std::string& cancelText,
                const std::string& confirmCancel);
    HWND Handle() const { return window_; }

    // Runs `work` on a second thread, pumping this thread's messages until it ends.
    int Run(const std::function<int()>& work);
    // Callable from any thread.
    void SetProgress(int permille, const std::string& text);

    // Called on the window's thread when the user confirms Cancel.
    std::function<void()> onCancel;

private:
    template <class T>
    friend LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void MakeFonts();
    // Places the controls at the window's DPI and sizes the window around them.
    void Layout();
    void AskCancel();

    HWND window_ = nullptr, heading_ = nullptr, status_ = nullptr, bar_ = nullptr, cancel_ = nullptr;
    WindowDpi dpi_;
    HFONT font_ = nullptr, boldFont_ = nullptr;
    std::string caption_, confirmCancel_;
    ProgressRunner runner_;
};
