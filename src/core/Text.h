#pragma once
// Helpers on byte strings in the system code page.
#include <string>
#include <string_view>

// Equality without regard to ASCII letter case, as the system compares paths and names.
bool EqualNoCase(std::string_view a, std::string_view b);

// Whether `text` begins with `prefix`, compared byte for byte (case-sensitive).
inline bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// Yes/no values read as yes when their first character is "1", "Y" or "y".
inline bool ReadYesNo(std::string_view value) {
    return !value.empty() && (value[0] == '1' || value[0] == 'Y' || value[0] == 'y');
}
inline const char* YesNoText(bool value) { return value ? "Yes" : "No"; }
