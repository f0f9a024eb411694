#pragma once
// What a window makes of its DPI: the system's message font at that DPI, the size of its toolbar,
// tree and list images, and the place of the builder's first window on its monitor.
#include <windows.h>

#include "platform/win32/WindowDpi.h"

// The system's message font at one DPI, made again when the DPI changes; deleted with the object.
class MessageFont {
public:
    MessageFont() = default;
    ~MessageFont();
    MessageFont(const MessageFont&) = delete;
    MessageFont& operator=(const MessageFont&) = delete;

    // Replaces the font by the one for `dpi`; the old one is deleted, so every window that used
    // it must be given the new one.
    void Make(const WindowDpi& dpi);
    HFONT Handle() const { return font_; }

private:
    HFONT font_ = nullptr;
};

// Gives `window` the font and has it redrawn.
void SetWindowFont(HWND window, HFONT font);

// The size of toolbar, tree and list images at `dpi`: the largest of 16, 24 and 32 pixels that
// 16 pixels scaled to `dpi` reach (24 from 144 DPI, 32 from 192 DPI), so images never grow
// beyond the room the layout gives them and are never stretched.
int ImageSize(const WindowDpi& dpi);

// The first place of the main window in the work area `work` of its monitor: four fifths of it,
// at least 800 by 600 pixels at 96 DPI where the area allows, never more than the area, centred.
RECT FirstWindowRect(const RECT& work, const WindowDpi& dpi);

// The work area of the monitor at `point` of the screen.
RECT WorkAreaAt(POINT point);
