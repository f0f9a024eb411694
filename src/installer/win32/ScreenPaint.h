#pragma once
// Painting and window plumbing shared by the installer's windows.
#include <windows.h>

// Fills `area` from `top` at its top edge to `bottom` at its bottom edge.
void PaintGradient(HDC context, const RECT& area, COLORREF top, COLORREF bottom);

// Registers a window class of the installer: arrow cursor, `background`, the application icon.
void RegisterScreenClass(const char* name, WNDPROC procedure, HBRUSH background);

// The window procedure of a class whose windows each belong to an object of type T, passed as
// CreateWindowEx's parameter: the object learns its window and answers through OnMessage.
template <class T>
LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<T*>(create->lpCreateParams)->window_ = window;
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return self ? self->OnMessage(message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}
