#pragma once
// The console of a command-line program.
namespace platform {

bool StandardErrorIsTerminal();
// Has the console show the program's UTF-8 output as such (Windows; nothing to do elsewhere).
void WriteConsoleAsUtf8();
// Calls `onInterrupt` on the first Ctrl+C (or Ctrl+Break) instead of ending the process; a second
// one ends it as usual. The call comes from a signal handler or the console's own thread, so
// `onInterrupt` may do no more than set a lock-free atomic flag.
void CatchInterrupt(void (*onInterrupt)());

}  // namespace platform
