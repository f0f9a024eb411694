#include "ui/HyperLink.h"

#include <shellapi.h>

void HyperLink::Attach(HWND control) {
    Detach();
    control_ = control;
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    oldProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HyperLink::Procedure)));
}

void HyperLink::Detach() {
    if (control_ && IsWindow(control_)) {
        SetWindowLongPtrA(control_, GWLP_USERDATA, 0);
        SetWindowLongPtrA(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProcedure_));
    }
    control_ = nullptr;
    if (font_) DeleteObject(font_);
    font_ = nullptr;
}

// Only left, centred or right-aligned text statics are painted as links.
LRESULT HyperLink::OnColour(HWND control, HDC context) {
    if ((GetWindowLongA(control, GWL_STYLE) & 0xFF) > SS_RIGHT) return 0;
    if (!font_) {
        auto base = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
        LOGFONTA description{};
        GetObjectA(base ? base : GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
        description.lfUnderline = TRUE;
        font_ = CreateFontIndirectA(&description);
    }
    SelectObject(context, font_);
    SetTextColor(context, RGB(0, 0, 255));
    SetBkMode(context, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

LRESULT CALLBACK HyperLink::Procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* link = reinterpret_cast<HyperLink*>(GetWindowLongPtrA(control, GWLP_USERDATA));
    if (!link) return 0;
    switch (message) {
    case WM_SETCURSOR:
        // The system's own hand cursor.
        if (HCURSOR hand = LoadCursorA(nullptr, IDC_HAND)) {
            SetCursor(hand);
            return 1;
        }
        break;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_CTLCOLORSTATIC:
        return link->OnColour(control, reinterpret_cast<HDC>(wParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        char target[512] = "";
        GetWindowTextA(control, target, sizeof target);
        if (target[0]) ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
        break;
    }
    default:
        break;
    }
    return CallWindowProcA(link->oldProcedure_, control, message, wParam, lParam);
}
