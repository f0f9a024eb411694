#include "installer/win32/ProgressWindow.h"

#include <commctrl.h>

#include <thread>

#include "installer/win32/ScreenPaint.h"

namespace {

const char kClassName[] = "QuillsetProgress";
constexpr UINT kProgressMessage = WM_APP + 1;
constexpr UINT kFinishedMessage = WM_APP + 2;
constexpr int kCancelId = IDCANCEL;
constexpr int kClientWidth = 460, kClientHeight = 150;

}  // namespace

ProgressWindow::~ProgressWindow() {
    if (window_) DestroyWindow(window_);
    if (font_) DeleteObject(font_);
    if (boldFont_) DeleteObject(boldFont_);
}

bool ProgressWindow::Create(const std::string& caption, const std::string& heading, const std::string& cancelText,
                            const std::string& confirmCancel) {
    confirmCancel_ = confirmCancel;
    caption_ = caption;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterScreenClass(kClassName, ObjectWindowProc<ProgressWindow>, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

    LOGFONTA messageFont = MessageFont();
    font_ = CreateFontIndirectA(&messageFont);
    messageFont.lfWeight = FW_BOLD;
    boldFont_ = CreateFontIndirectA(&messageFont);

    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT r = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&r, style, FALSE);
    int width = r.right - r.left, height = r.bottom - r.top;
    window_ = CreateWindowExA(WS_EX_APPWINDOW, kClassName, caption.c_str(), style,
                              (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                              width, height, nullptr, nullptr, instance, this);
    if (!window_) return false;
    heading_ = CreateWindowExA(0, "STATIC", heading.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0, window_,
                               nullptr, instance, nullptr);
    status_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_PATHELLIPSIS, 0, 0, 0, 0,
                              window_, nullptr, instance, nullptr);
    bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_, nullptr, instance,
                           nullptr);
    DWORD buttonStyle = WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON | (cancelText.empty() ? WS_DISABLED : WS_VISIBLE);
    cancel_ = CreateWindowExA(0, "BUTTON", cancelText.c_str(), buttonStyle, 0, 0, 0, 0, window_,
                              reinterpret_cast<HMENU>(kCancelId), instance, nullptr);
    SendMessageA(bar_, PBM_SETRANGE32, 0, 1000);
    SendMessageA(heading_, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_), FALSE);
    for (HWND child : {status_, cancel_}) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    Layout();
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    return true;
}

void ProgressWindow::Layout() {
    const int margin = 16, width = kClientWidth - 2 * margin;
    MoveWindow(heading_, margin, 14, width, 20, FALSE);
    MoveWindow(status_, margin, 44, width, 18, FALSE);
    MoveWindow(bar_, margin, 68, width, 20, FALSE);
    MoveWindow(cancel_, kClientWidth - margin - 88, kClientHeight - margin - 26, 88, 26, FALSE);
}

int ProgressWindow::Run(const std::function<int()>& work) {
    int result = 0;
    std::thread worker([&] {
        result = work();
        PostMessageA(window_, kFinishedMessage, 0, 0);
    });
    MSG msg;
    while (!finished_ && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    worker.join();
    DestroyWindow(window_);
    window_ = nullptr;
    return result;
}

void ProgressWindow::SetProgress(int permille, const std::string& text) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        statusText_ = text;
    }
    PostMessageA(window_, kProgressMessage, static_cast<WPARAM>(permille), 0);
}

void ProgressWindow::AskCancel() {
    if (!IsWindowEnabled(cancel_)) return;
    if (!confirmCancel_.empty() &&
        MessageBoxA(window_, confirmCancel_.c_str(), caption_.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    EnableWindow(cancel_, FALSE);
    if (onCancel) onCancel();
}

LRESULT ProgressWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kProgressMessage: {
            std::string text;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                text = statusText_;
            }
            SendMessageA(bar_, PBM_SETPOS, wParam, 0);
            SetWindowTextA(status_, text.c_str());
            return 0;
        }
        case kFinishedMessage: finished_ = true; return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kCancelId) AskCancel();
            return 0;
        case WM_CLOSE: AskCancel(); return 0;
        default: return DefWindowProcA(window_, message, wParam, lParam);
    }
}
