#include "platform/Console.h"

#include <atomic>
#include <cstdio>
#include <io.h>
#include <windows.h>

namespace platform {

static void (*interruptHandler)() = nullptr;
static std::atomic<bool> interrupted{false};

static BOOL WINAPI OnControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    if (interrupted.exchange(true)) return FALSE;  // the second one ends the process
    interruptHandler();
    return TRUE;
}

bool StandardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

void WriteConsoleAsUtf8() { SetConsoleOutputCP(CP_UTF8); }

void CatchInterrupt(void (*onInterrupt)()) {
    interruptHandler = onInterrupt;
    SetConsoleCtrlHandler(OnControl, TRUE);
}

}  // namespace platform
