#pragma once
// A wrapper of the platform status bar.
#include <string>

#include "ui/Window.h"

class StatusBarControl : public Window {
public:
    ~StatusBarControl() override { ForgetHandle(); }

    // Adds the child and visible styles to `style`.
    bool Create(DWORD style, const std::string& text, HWND parent, int id);
    void SetText(const std::string& text);
};
