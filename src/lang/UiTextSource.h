#pragma once
// Where the model takes the interface texts it needs (the word in a new project's title,
// the defaults that some sections take from the language file).
#include <string>

#include "lang/TextKeys.h"

class UiTextSource {
public:
    virtual ~UiTextSource() = default;
    // The value of `key` in `section` of the interface language file; empty when absent.
    virtual std::string UiText(const std::string& section, const std::string& key) const = 0;
    std::string UiText(const TextKey& key) const { return UiText(key.section, key.key); }

    // The raw text of a numbered entry of the STRINGS section (message boxes, captions).
    std::string RawString(int id) const { return UiText("STRINGS", std::to_string(id)); }
    // A numbered text is a label, optionally followed by "|" and a hint for the status bar.
    std::string UiString(int id) const {
        std::string text = RawString(id);
        return text.substr(0, text.find('|'));
    }
    std::string UiHint(int id) const {
        std::string text = RawString(id);
        size_t bar = text.find('|');
        return bar == std::string::npos ? text : text.substr(bar + 1);
    }
};
