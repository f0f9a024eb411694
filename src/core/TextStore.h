#pragma once
// Short texts (the names of a tree's nodes, the folders of its source paths) kept together in
// large blocks instead of one heap allocation each: a project of a million files holds a million
// names, and a string of its own costs each of them its size again in bookkeeping.
//
// A text is handed out as a Handle that stays valid until Clear: a pointer to the text's length
// (two bytes) followed by its bytes. The null handle is the empty text. Texts are never freed one
// by one; an owner that replaces or drops texts keeps the old bytes until it clears the store, so
// it clears the store whenever it starts over (a project loaded anew).
#include <cstddef>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

class TextStore {
public:
    using Handle = const char*;
    // The longest text a handle can carry.
    static constexpr size_t kMaxText = 0xFFFF;

    TextStore() = default;
    TextStore(const TextStore&) = delete;
    TextStore& operator=(const TextStore&) = delete;

    // A copy of `text` (null for an empty one); throws std::length_error beyond kMaxText bytes.
    Handle Add(std::string_view text);
    // The handle of an equal text interned before, or a new one: texts that many owners share
    // (the source folder of every file of a folder) are kept once.
    Handle Intern(std::string_view text);
    static std::string_view View(Handle handle) {
        if (!handle) return {};
        const auto* size = reinterpret_cast<const unsigned char*>(handle);
        return std::string_view(handle + 2, static_cast<size_t>(size[0] | size[1] << 8));
    }

    // Drops every text; all handles handed out become invalid.
    void Clear();
    // The bytes of the blocks held.
    size_t BytesHeld() const { return blocks_.size() * kBlockSize + large_; }

private:
    static constexpr size_t kBlockSize = 64 * 1024;

    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t used_ = kBlockSize;  // bytes used of the last block; none yet counts as full
    std::vector<std::unique_ptr<char[]>> largeTexts_;  // texts too long for a shared block
    size_t large_ = 0;                                 // their bytes
    std::unordered_map<std::string_view, Handle> interned_;
};
