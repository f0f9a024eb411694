#include "ui/StatusBarControl.h"

#include <commctrl.h>

bool StatusBarControl::Create(DWORD style, const std::string& text, HWND parent, int id) {
    HWND control = CreateStatusWindowA(style | WS_CHILD | WS_VISIBLE, text.c_str(), parent, id);
    if (!control) return false;
    AttachWrapper(*this, control);
    return true;
}

void StatusBarControl::SetText(const std::string& text) {
    SendMessageA(Handle(), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
