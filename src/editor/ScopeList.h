#pragma once
// The drop-down list of whom a setup installs for, as the Setup Info page and the New Project
// Wizard show it: all users, the current user, or the user's choice, in the builder's language.
#include <windows.h>

#include "scope/InstallScope.h"

class UiTextSource;

// Fills the list `combo` with the three choices and selects `selected`.
void FillScopeList(HWND combo, const UiTextSource& texts, ScopeChoice selected);
// The choice selected in `combo`; false when none is.
bool SelectedScope(HWND combo, ScopeChoice& choice);
