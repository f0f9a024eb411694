#include "installer/win32/ProgressWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "installer/win32/ScreenPaint.h"

namespace {

const char kClassName[] = "QuillsetProgress";
constexpr int kCancelId = IDCANCEL;
// The smallest client area, in pixels at 96 DPI.
constexpr int kClientWidth = 460, kClientHeight = 150;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

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

void ProgressWindow::MakeFonts() {
    for (HFONT font : {font_, boldFont_})
        if (font) DeleteObject(font);
    LOGFONTA messageFont = dpi_.MessageFont();
    font_ = CreateFontIndirectA(&messageFont);
    messageFont.lfWeight = FW_BOLD;
    boldFont_ = CreateFontIndirectA(&messageFont);
    SendMessageA(heading_, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_), FALSE);
    for (HWND child : {status_, cancel_}) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

bool ProgressWindow::Create(const std::string& caption, const std::string& heading, const std::string& cancelText,
                            const std::string& confirmCancel) {
    confirmCancel_ = confirmCancel;
    caption_ = caption;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterScreenClass(kClassName, ObjectWindowProc<ProgressWindow>, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

    // Made on the primary monitor's centre; the layout sizes it.
    const POINT centre = {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
    const WindowDpi dpi = WindowDpi::At(centre);
    const SIZE size = dpi.WindowSize(dpi.Scale(kClientWidth), dpi.Scale(kClientHeight), kStyle, WS_EX_APPWINDOW);
    window_ = CreateWindowExA(WS_EX_APPWINDOW, kClassName, caption.c_str(), kStyle, centre.x - size.cx / 2,
                              centre.y - size.cy / 2, size.cx, size.cy, nullptr, nullptr, instance, this);
    if (!window_) return false;
    dpi_ = WindowDpi::Of(window_);
    heading_ = CreateWindowExA(0, "STATIC", heading.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
                               window_, nullptr, instance, nullptr);
    status_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_PATHELLIPSIS, 0, 0, 0, 0,
                              window_, nullptr, instance, nullptr);
    bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_, nullptr, instance,
                           nullptr);
    DWORD buttonStyle = WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON | (cancelText.empty() ? WS_DISABLED : WS_VISIBLE);
    cancel_ = CreateWindowExA(0, "BUTTON", cancelText.c_str(), buttonStyle, 0, 0, 0, 0, window_,
                              reinterpret_cast<HMENU>(kCancelId), instance, nullptr);
    SendMessageA(bar_, PBM_SETRANGE32, 0, 1000);
    MakeFonts();
    Layout();
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    return true;
}

void ProgressWindow::Layout() {
    const int margin = dpi_.Scale(16), width = dpi_.Scale(kClientWidth) - 2 * margin;
    HDC context = GetDC(window_);
    auto textSize = [&](HWND control, HFONT font, UINT format, int room) {
        HGDIOBJ old = SelectObject(context, font);
        std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
        text.resize(static_cast<size_t>(GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
        RECT need = {0, 0, room, 0};
        DrawTextA(context, text.empty() ? " " : text.c_str(), -1, &need, format | DT_CALCRECT);
        SelectObject(context, old);
        return need;
    };
    const int headingHeight = textSize(heading_, boldFont_, DT_WORDBREAK | DT_NOPREFIX, width).bottom;
    const int lineHeight = textSize(status_, font_, DT_SINGLELINE, width).bottom;
    const RECT cancelText = textSize(cancel_, font_, DT_SINGLELINE, 0);
    const int buttonWidth = std::max(dpi_.Scale(88), static_cast<int>(cancelText.right) + dpi_.Scale(24));
    const int buttonHeight = std::max(dpi_.Scale(26), lineHeight + dpi_.Scale(10));
    ReleaseDC(window_, context);

    int y = dpi_.Scale(14);
    MoveWindow(heading_, margin, y, width, headingHeight, FALSE);
    y += headingHeight + dpi_.Scale(10);
    MoveWindow(status_, margin, y, width, lineHeight, FALSE);
    y += lineHeight + dpi_.Scale(6);
    MoveWindow(bar_, margin, y, width, dpi_.Scale(20), FALSE);
    y += dpi_.Scale(20) + dpi_.Scale(16);
    const int height = std::max(dpi_.Scale(kClientHeight), y + buttonHeight + margin);
    MoveWindow(cancel_, margin + width - buttonWidth, height - margin - buttonHeight, buttonWidth, buttonHeight, FALSE);
    const SIZE size = dpi_.WindowSize(width + 2 * margin, height, kStyle, WS_EX_APPWINDOW);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The controls were moved without painting: the window and all of them paint anew.
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
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
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            dpi_ = WindowDpi::FromDpiChanged(wParam);
            MakeFonts();
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            Layout();
            return 0;
        }
        default: return DefWindowProcA(window_, message, wParam, lParam);
    }
}
