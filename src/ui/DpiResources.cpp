#include "ui/DpiResources.h"

#include <algorithm>

MessageFont::~MessageFont() {
    if (font_) DeleteObject(font_);
}

void MessageFont::Make(const WindowDpi& dpi) {
    const LOGFONTA description = dpi.MessageFont();
    HFONT font = CreateFontIndirectA(&description);
    if (!font) return;
    if (font_) DeleteObject(font_);
    font_ = font;
}

void SetWindowFont(HWND window, HFONT font) {
    if (window && font) SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

int ImageSize(const WindowDpi& dpi) {
    const int scaled = dpi.Scale(16);
    return scaled >= 32 ? 32 : scaled >= 24 ? 24 : 16;
}

RECT FirstWindowRect(const RECT& work, const WindowDpi& dpi) {
    const int areaWidth = work.right - work.left, areaHeight = work.bottom - work.top;
    const int width = std::min(areaWidth, std::max(areaWidth * 4 / 5, dpi.Scale(800)));
    const int height = std::min(areaHeight, std::max(areaHeight * 4 / 5, dpi.Scale(600)));
    const int left = work.left + (areaWidth - width) / 2, top = work.top + (areaHeight - height) / 2;
    return RECT{left, top, left + width, top + height};
}

RECT WorkAreaAt(POINT point) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY), &info)) return info.rcWork;
    RECT work{0, 0, 800, 600};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}
