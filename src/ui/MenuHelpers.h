#pragma once
// Menu item states, addressed by command id.
#include <windows.h>

// Enabled, or greyed and disabled.
void EnableCommand(HMENU menu, UINT command, bool on);
void CheckCommand(HMENU menu, UINT command, bool on);
