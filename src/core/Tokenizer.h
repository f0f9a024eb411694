#pragma once
// Splits a text into tokens separated by any of a set of delimiter characters.
#include <cstddef>
#include <string>

class Tokenizer {
public:
    // Tokens longer than this are cut to it.
    static constexpr size_t kMaxToken = 1023;

    void Init(const std::string& text, const std::string& delimiters);
    // Restarts at the beginning; false (no token) for an empty text.
    bool FirstToken(std::string& token);
    bool NextToken(std::string& token);
    int CountTokens() const;

private:
    bool IsDelimiter(char c) const { return delimiters_.find(c) != std::string::npos; }

    std::string text_;
    std::string delimiters_;
    size_t position_ = 0;
};
