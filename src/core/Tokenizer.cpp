#include "core/Tokenizer.h"

#include <algorithm>

void Tokenizer::Init(const std::string& text, const std::string& delimiters) {
    text_ = text;
    // The delimiter set holds at most 259 characters.
    delimiters_ = delimiters.substr(0, 259);
    position_ = 0;
}

bool Tokenizer::FirstToken(std::string& token) {
    position_ = 0;
    return NextToken(token);
}

bool Tokenizer::NextToken(std::string& token) {
    while (position_ < text_.size() && IsDelimiter(text_[position_])) ++position_;
    if (position_ >= text_.size()) return false;
    size_t start = position_;
    while (position_ < text_.size() && !IsDelimiter(text_[position_])) ++position_;
    token = text_.substr(start, std::min(position_ - start, kMaxToken));
    return true;
}

int Tokenizer::CountTokens() const {
    Tokenizer copy = *this;
    std::string token;
    int count = 0;
    for (bool more = copy.FirstToken(token); more; more = copy.NextToken(token)) ++count;
    return count;
}
