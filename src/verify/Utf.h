#pragma once
// The text conversions of a verification: Wine's exports and shortcuts hold UTF-16, the report
// is UTF-8, and a project's texts are bytes of the Windows code page unless they are UTF-8.
#include <string>

// UTF-16 little-endian code units (an odd last byte ignored) as UTF-8; an unpaired surrogate
// becomes U+FFFD.
std::string Utf16ToUtf8(const std::string& utf16);
// `text` as UTF-8: kept when it already is valid UTF-8, otherwise read as Windows-1252.
std::string AsUtf8(const std::string& text);
