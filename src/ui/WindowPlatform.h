#pragma once
// The window-system calls that the framework's dispatch and scrolling rely on, behind one
// interface, so that the dispatch and the scroll arithmetic can be exercised against a recording
// fake as well as against real windows. Everything else in the program calls the system directly.
#include <windows.h>

namespace ui {

class WindowPlatform {
public:
    virtual ~WindowPlatform() = default;

    virtual LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    virtual HWND GetParent(HWND window);
    virtual BOOL IsWindow(HWND window);
    virtual BOOL DestroyWindow(HWND window);
    virtual void PostQuitMessage(int exitCode);
    virtual LONG_PTR GetUserData(HWND window);
    virtual void SetUserData(HWND window, LONG_PTR value);
    virtual void ValidatePaint(HWND window);

    virtual BOOL GetClientRect(HWND window, RECT* rect);
    virtual BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info);
    virtual int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw);
    virtual BOOL ShowScrollBar(HWND window, int bar, BOOL show);
    virtual void ScrollWindowEx(HWND window, int dx, int dy);
    virtual BOOL UpdateWindow(HWND window);
};

// The platform in use: the real system unless a test has put a fake in its place.
WindowPlatform& Platform();
// Makes `fake` the platform until it is called again with nullptr. For tests only.
void SetPlatform(WindowPlatform* fake);

}  // namespace ui
