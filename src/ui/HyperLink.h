#pragma once
// Turns a static text control of a dialog into a link: blue, underlined, a hand cursor, and a
// click opens its text with the shell. The hosting dialog reflects the static-colour message.
#include <windows.h>

class HyperLink {
public:
    HyperLink() = default;
    ~HyperLink() { Detach(); }
    HyperLink(const HyperLink&) = delete;
    HyperLink& operator=(const HyperLink&) = delete;

    void Attach(HWND control);
    void Detach();

private:
    static LRESULT CALLBACK Procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnColour(HWND control, HDC context);

    HWND control_ = nullptr;
    WNDPROC oldProcedure_ = nullptr;
    HFONT font_ = nullptr;
};
