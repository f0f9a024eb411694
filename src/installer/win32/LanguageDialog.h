#pragma once
// The installer's first question: the language of every screen that follows.
#include <windows.h>

#include <string>
#include <vector>

struct LanguageDialogTexts {
    std::string caption, title, prompt, ok, cancel;
};

// Shows `names` in a drop-down list with `chosen` selected; true with the new `chosen` on OK,
// false on Cancel (Esc or closing the window).
bool ChooseLanguage(HWND owner, const LanguageDialogTexts& texts, const std::vector<std::string>& names, size_t& chosen);
