#pragma once
// Menu item states, addressed by command id.
#include <windows.h>

#include <string>

// Enabled, or greyed and disabled.
void EnableCommand(HMENU menu, UINT command, bool on);
void CheckCommand(HMENU menu, UINT command, bool on);
// Replaces the item's label.
void SetCommandText(HMENU menu, UINT command, const std::string& text);
