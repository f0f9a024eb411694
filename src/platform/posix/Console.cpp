#include "platform/Console.h"

#include <csignal>
#include <unistd.h>

namespace platform {

static void (*interruptHandler)() = nullptr;

static void OnSignal(int) { interruptHandler(); }

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

void WriteConsoleAsUtf8() {}

void CatchInterrupt(void (*onInterrupt)()) {
    interruptHandler = onInterrupt;
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    action.sa_flags = SA_RESETHAND;  // the next Ctrl+C ends the process
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

}  // namespace platform
