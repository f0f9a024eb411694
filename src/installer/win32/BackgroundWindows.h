#pragma once
// The two windows behind the installer's screens: the splash window with the project's bitmap,
// and the setup window that fills the screen with its gradient and three lines of text.
#include <windows.h>

#include <string>

#include "screens/ScreenSettings.h"

// Shows the bitmap file centred on the screen, without a frame, for about two seconds or until
// it is clicked. False when the file is no bitmap that can be shown.
bool ShowSplash(const std::string& bitmapPath);

class SetupWindow {
public:
    SetupWindow() = default;
    ~SetupWindow();
    SetupWindow(const SetupWindow&) = delete;
    SetupWindow& operator=(const SetupWindow&) = delete;

    // `texts` holds the heading, subheading and footer with their variables replaced already.
    bool Create(const std::string& title, const ScreenSettings& settings, const std::string (&texts)[3]);
    HWND Handle() const { return window_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void DrawLine(HDC context, const ScreenText& line, const std::string& text, RECT& area, bool fromBottom) const;

    HWND window_ = nullptr;
    const ScreenSettings* settings_ = nullptr;
    std::string texts_[3];
};
