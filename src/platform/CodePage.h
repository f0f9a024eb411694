#pragma once
// Texts are held as UTF-8 everywhere. Files written before that hold bytes of a Windows code
// page; these calls turn them into UTF-8 and back.
#include <string>

namespace platform {

// The code page of files that carry no sign of UTF-8. On Windows it is the system's ANSI code
// page as the locale names it: the programs declare UTF-8 as their own code page, so the
// process's code page no longer tells it. On Linux it is Windows-1252.
// SetLegacyCodePage replaces it for the rest of the process (qsbuild --codepage).
unsigned LegacyCodePage();
void SetLegacyCodePage(unsigned codePage);

// Whether the system can convert texts of this code page.
bool IsKnownCodePage(unsigned codePage);

// The bytes of `codePage` as UTF-8. A byte the code page leaves undefined comes through as the
// character of the same number, as Windows reads it. False only for an unknown code page.
bool CodePageToUtf8(const std::string& bytes, unsigned codePage, std::string& text);

// UTF-8 as the bytes of `codePage`; false when a character has no form there (nothing is
// written as "?" or a look-alike) or the code page is unknown.
bool Utf8ToCodePage(const std::string& text, unsigned codePage, std::string& bytes);

}  // namespace platform
