#include "ui/ApplicationBase.h"

// The system's caret-blink timer message.
constexpr UINT kCaretBlink = 0x118;

bool IsRepeatingMessage(UINT message) {
    return message == WM_PAINT || message == WM_NCMOUSEMOVE || message == kCaretBlink ||
           message == WM_MOUSEMOVE;
}

int ApplicationBase::Run() {
    int pass = 0;
    bool idleWanted = true;
    MSG message;
    while (true) {
        while (idleWanted && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            idleWanted = OnIdle(pass);
            ++pass;
        }
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == -1) continue;
        if (got == 0) {
            ExitInstance();
            return static_cast<int>(message.wParam);
        }
        if (!PreTranslateMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (!IsRepeatingMessage(message.message)) {
            pass = 0;
            idleWanted = true;
        }
    }
}
