#pragma once
// Where the model takes the interface texts it needs (the word in a new project's title,
// the defaults that some sections take from the language file).
#include <string>

class UiTextSource {
public:
    virtual ~UiTextSource() = default;
    // The value of `key` in `section` of the interface language file; empty when absent.
    virtual std::string UiText(const std::string& section, const std::string& key) const = 0;
    // The raw text of a numbered entry of the STRINGS section.
    std::string RawString(int id) const { return UiText("STRINGS", std::to_string(id)); }
};
