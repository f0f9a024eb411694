#include "installer/win32/ScreenPaint.h"

#include <algorithm>

#include "resource.h"

namespace {

int Blend(int from, int to, int step, int steps) { return from + (to - from) * step / std::max(steps - 1, 1); }

}  // namespace

void PaintGradient(HDC context, const RECT& area, COLORREF top, COLORREF bottom) {
    const int height = area.bottom - area.top;
    // Bands of two pixels or more: at most 256 colours, each a solid fill.
    const int steps = std::max(1, std::min(256, height / 2));
    for (int i = 0; i < steps; ++i) {
        RECT band = {area.left, area.top + height * i / steps, area.right, area.top + height * (i + 1) / steps};
        HBRUSH brush = CreateSolidBrush(RGB(Blend(GetRValue(top), GetRValue(bottom), i, steps),
                                            Blend(GetGValue(top), GetGValue(bottom), i, steps),
                                            Blend(GetBValue(top), GetBValue(bottom), i, steps)));
        FillRect(context, &band, brush);
        DeleteObject(brush);
    }
}

void RegisterScreenClass(const char* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
}
