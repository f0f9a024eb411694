#include "platform/win32/WindowDpi.h"

namespace {

// The calls of Windows 10 (1607) and later, looked up so that the programs still start on the
// older systems whose requirements the installer checks.
template <class Function>
Function User32(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

UINT SystemDpi() {
    HDC screen = GetDC(nullptr);
    UINT dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace

WindowDpi WindowDpi::Of(HWND window) {
    static const auto getDpi = User32<GetDpiForWindowFn>("GetDpiForWindow");
    return WindowDpi(getDpi && window ? getDpi(window) : SystemDpi());
}

WindowDpi WindowDpi::At(POINT point) {
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static HMODULE shcore = LoadLibraryA("shcore.dll");
    static const auto getDpi =
        shcore ? reinterpret_cast<GetDpiForMonitorFn>(reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
               : nullptr;
    UINT x = 0, y = 0;
    if (getDpi && getDpi(MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY), 0, &x, &y) == S_OK) return WindowDpi(y);
    return WindowDpi(SystemDpi());
}

LOGFONTA WindowDpi::MessageFont(int points) const {
    static const auto forDpi = User32<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
    LOGFONTA font = {};
    NONCLIENTMETRICSW wide = {};
    wide.cbSize = sizeof wide;
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof wide, &wide, 0, dpi_)) {
        const LOGFONTW& w = wide.lfMessageFont;
        font.lfHeight = w.lfHeight;
        font.lfWeight = w.lfWeight;
        font.lfItalic = w.lfItalic;
        font.lfCharSet = w.lfCharSet;
        font.lfQuality = w.lfQuality;
        font.lfPitchAndFamily = w.lfPitchAndFamily;
        WideCharToMultiByte(CP_ACP, 0, w.lfFaceName, -1, font.lfFaceName, LF_FACESIZE, nullptr, nullptr);
    } else {
        // The system's font is made for the system's DPI.
        NONCLIENTMETRICSA metrics = {};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        font = metrics.lfMessageFont;
        font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi_), static_cast<int>(SystemDpi()));
    }
    if (points) font.lfHeight = -MulDiv(points, static_cast<int>(dpi_), 72);
    return font;
}

int WindowDpi::Metric(int index) const {
    static const auto forDpi = User32<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, dpi_);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi_), static_cast<int>(SystemDpi()));
}

SIZE WindowDpi::WindowSize(int width, int height, DWORD style, DWORD exStyle) const {
    static const auto forDpi = User32<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    RECT r = {0, 0, width, height};
    if (!forDpi || !forDpi(&r, style, FALSE, exStyle, dpi_)) AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return {r.right - r.left, r.bottom - r.top};
}
