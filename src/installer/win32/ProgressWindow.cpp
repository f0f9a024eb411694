#include "installer/win32/ProgressWindow.h"

#include <commctrl.h>

#include "installer/win32/ScreenPaint.h"

namespace {

const char kClassName[] = "QuillsetProgress";
constexpr int kCancelId = IDCANCEL;
constexpr int kClientWidth = 460, kClientHeight = 150;

}  // namespace

ProgressWindow::ProgressWindow()
    : runner_([this](int permille, const std::string& text) {
          SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(permille), 0);
          SetWindowTextA(status_, text.c_str());
      }) {}

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
    int result = runner_.Run(window_, work);
    DestroyWindow(window_);
    window_ = nullptr;
    return result;
}

void ProgressWindow::SetProgress(int permille, const std::string& text) { runner_.SetProgress(window_, permille, text); }

void ProgressWindow::AskCancel() {
    if (!IsWindowEnabled(cancel_)) return;
    if (!confirmCancel_.empty() &&
        MessageBoxA(window_, confirmCancel_.c_str(), caption_.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    EnableWindow(cancel_, FALSE);
    if (onCancel) onCancel();
}

LRESULT ProgressWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (runner_.OnMessage(message, wParam)) return 0;
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kCancelId) AskCancel();
            return 0;
        case WM_CLOSE: AskCancel(); return 0;
        default: return DefWindowProcA(window_, message, wParam, lParam);
    }
}
