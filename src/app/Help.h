#pragma once
// The builder's help: HTML pages in the Help folder beside the program, opened with the shell.
// Callers ask for the finder (the contents page) or a context number, as help engines take them.
#include <windows.h>

#include <string>

// The page for a help command (HELP_FINDER, HELP_CONTENTS or HELP_CONTEXT with its number),
// relative to the Help folder; empty for commands that show nothing (HELP_QUIT).
std::string HelpPageFor(UINT command, ULONG_PTR data);
// Opens the page, `owner` being the window that asked (the main window or a dialog over it);
// does nothing when it is no window. True when the shell opened it.
bool ShowHelp(HWND owner, UINT command, ULONG_PTR data);
