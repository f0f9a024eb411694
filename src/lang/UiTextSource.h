#pragma once
// Where the builder takes its interface texts: the windows' labels and messages, and the
// defaults that some sections of a new project take from the language file. Every text is asked
// for by a key of the table in TextKeys.h.
#include <string>

#include "lang/TextKeys.h"

class UiTextSource {
public:
    virtual ~UiTextSource() = default;
    // The value of `key` in the interface language file; empty when absent.
    virtual std::string UiText(TextKey key) const = 0;

    // A numbered text is a label, optionally followed by "|" and a hint for the status bar.
    std::string UiString(TextKey key) const {
        std::string text = UiText(key);
        return text.substr(0, text.find('|'));
    }
    std::string UiHint(TextKey key) const {
        std::string text = UiText(key);
        size_t bar = text.find('|');
        return bar == std::string::npos ? text : text.substr(bar + 1);
    }
};
