#pragma once
// The running program: its command line, its own path, and messages that have no window to
// stand in front of.
#include <string>

// The text of the program's command line after the program name.
std::string ProgramArguments();
// The running program's full path, in its long form.
std::string ProgramPath();

// A message box without owner, brought to the front; `type` takes the MB_ flags.
void ShowMessage(const std::string& text, const std::string& caption, unsigned type);
