#include "ui/WindowPlatform.h"

namespace ui {

LRESULT WindowPlatform::DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT WindowPlatform::SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(window, message, wParam, lParam);
}

HWND WindowPlatform::GetParent(HWND window) { return ::GetParent(window); }

BOOL WindowPlatform::IsWindow(HWND window) { return ::IsWindow(window); }

BOOL WindowPlatform::DestroyWindow(HWND window) { return ::DestroyWindow(window); }

void WindowPlatform::PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

LONG_PTR WindowPlatform::GetUserData(HWND window) {
    return ::GetWindowLongPtrA(window, GWLP_USERDATA);
}

void WindowPlatform::SetUserData(HWND window, LONG_PTR value) {
    ::SetWindowLongPtrA(window, GWLP_USERDATA, value);
}

void WindowPlatform::ValidatePaint(HWND window) {
    PAINTSTRUCT paint;
    ::BeginPaint(window, &paint);
    ::EndPaint(window, &paint);
}

BOOL WindowPlatform::GetClientRect(HWND window, RECT* rect) { return ::GetClientRect(window, rect); }

BOOL WindowPlatform::GetScrollInfo(HWND window, int bar, SCROLLINFO* info) {
    return ::GetScrollInfo(window, bar, info);
}

int WindowPlatform::SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw) {
    return ::SetScrollInfo(window, bar, info, redraw);
}

BOOL WindowPlatform::ShowScrollBar(HWND window, int bar, BOOL show) {
    return ::ShowScrollBar(window, bar, show);
}

// Child windows move with the content, so a hosted form scrolls along with its host.
void WindowPlatform::ScrollWindowEx(HWND window, int dx, int dy) {
    ::ScrollWindowEx(window, dx, dy, nullptr, nullptr, nullptr, nullptr,
                     SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

BOOL WindowPlatform::UpdateWindow(HWND window) { return ::UpdateWindow(window); }

namespace {
WindowPlatform systemPlatform;
WindowPlatform* current = &systemPlatform;
}  // namespace

WindowPlatform& Platform() { return *current; }

void SetPlatform(WindowPlatform* fake) { current = fake ? fake : &systemPlatform; }

}  // namespace ui
