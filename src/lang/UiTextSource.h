#pragma once
// Where the model takes the interface texts it needs (the word in a new project's title).
#include <string>

class UiTextSource {
public:
    virtual ~UiTextSource() = default;
    // The raw text of a numbered entry of the STRINGS section; empty when absent.
    virtual std::string RawString(int id) const = 0;
};
