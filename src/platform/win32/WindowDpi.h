#pragma once
// The DPI of one window and the sizes that follow from it. Layouts are written in pixels at
// 96 DPI (100 % display scale) and every size passes through Scale; a window reads its DPI once
// when it is made and again on WM_DPICHANGED. Where the system cannot tell a window's DPI
// (before Windows 10), every window has the system's.
#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

class WindowDpi {
public:
    static constexpr UINT kDefault = 96;

    WindowDpi() = default;
    explicit WindowDpi(UINT dpi) : dpi_(dpi ? dpi : kDefault) {}
    // The DPI of `window`, or the system's when it has none of its own.
    static WindowDpi Of(HWND window);
    // The DPI that a window made now at `point` of the screen gets: its monitor's.
    static WindowDpi At(POINT point);
    // The new DPI that WM_DPICHANGED carries.
    static WindowDpi FromDpiChanged(WPARAM wParam) { return WindowDpi(HIWORD(wParam)); }

    UINT Value() const { return dpi_; }
    int Scale(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), static_cast<int>(kDefault)); }
    // The system's message font at this DPI; `points` other than 0 sets its size.
    LOGFONTA MessageFont(int points = 0) const;
    // GetSystemMetricsForDpi.
    int Metric(int index) const;
    // The window rectangle around a client area of `width` by `height` pixels at this DPI.
    SIZE WindowSize(int width, int height, DWORD style, DWORD exStyle) const;

private:
    UINT dpi_ = kDefault;
};
