#include "core/TextStore.h"

#include <cstring>
#include <stdexcept>

TextStore::Handle TextStore::Add(std::string_view text) {
    if (text.empty()) return nullptr;
    if (text.size() > kMaxText) throw std::length_error("text too long for the text store");
    const size_t need = 2 + text.size();
    char* at;
    if (need > kBlockSize / 4) {
        // Rare long texts get blocks of their own, so that the shared blocks waste little at their ends.
        largeTexts_.push_back(std::make_unique<char[]>(need));
        large_ += need;
        at = largeTexts_.back().get();
    } else {
        if (used_ + need > kBlockSize) {
            blocks_.push_back(std::make_unique<char[]>(kBlockSize));
            used_ = 0;
        }
        at = blocks_.back().get() + used_;
        used_ += need;
    }
    at[0] = static_cast<char>(text.size() & 0xFF);
    at[1] = static_cast<char>(text.size() >> 8);
    std::memcpy(at + 2, text.data(), text.size());
    return at;
}

TextStore::Handle TextStore::Intern(std::string_view text) {
    if (text.empty()) return nullptr;
    auto found = interned_.find(text);
    if (found != interned_.end()) return found->second;
    const Handle handle = Add(text);
    interned_.emplace(View(handle), handle);
    return handle;
}

void TextStore::Clear() {
    interned_.clear();
    blocks_.clear();
    largeTexts_.clear();
    used_ = kBlockSize;
    large_ = 0;
}
