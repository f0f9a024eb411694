#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/TextStore.h"

TEST(TextStore, TextsComeBackAsAddedAcrossManyBlocksUntilCleared) {
    TextStore store;
    EXPECT_EQ(store.Add(""), nullptr);
    EXPECT_EQ(TextStore::View(nullptr), "");
    EXPECT_EQ(store.BytesHeld(), 0u);

    // Enough texts for many blocks, of every short length, with bytes of every value.
    std::vector<std::string> texts;
    std::vector<TextStore::Handle> handles;
    for (int i = 0; i < 20000; ++i) {
        std::string text(static_cast<size_t>(1 + i % 300), static_cast<char>(i % 256));
        text += std::to_string(i);
        texts.push_back(text);
        handles.push_back(store.Add(text));
    }
    // Texts longer than a quarter block, and the longest one, live apart from the short ones.
    const std::string longText(20000, 'L'), longest(TextStore::kMaxText, 'M');
    const TextStore::Handle longHandle = store.Add(longText), longestHandle = store.Add(longest);
    const TextStore::Handle after = store.Add("after");
    for (size_t i = 0; i < texts.size(); ++i) ASSERT_EQ(TextStore::View(handles[i]), texts[i]) << i;
    EXPECT_EQ(TextStore::View(longHandle), longText);
    EXPECT_EQ(TextStore::View(longestHandle), longest);
    EXPECT_EQ(TextStore::View(after), "after");
    EXPECT_THROW(store.Add(std::string(TextStore::kMaxText + 1, 'x')), std::length_error);

    // The blocks hold the texts with little to spare.
    size_t bytes = longText.size() + longest.size() + 2 * 2 + 2 + 5;
    for (const std::string& text : texts) bytes += 2 + text.size();
    EXPECT_GE(store.BytesHeld(), bytes);
    EXPECT_LT(store.BytesHeld(), bytes + bytes / 50 + 64 * 1024);

    store.Clear();
    EXPECT_EQ(store.BytesHeld(), 0u);
    EXPECT_EQ(TextStore::View(store.Add("again")), "again");
}

TEST(TextStore, InternedTextsAreKeptOnceAndComparedExactly) {
    TextStore store;
    const TextStore::Handle folder = store.Intern("files\\Folder1");
    EXPECT_EQ(store.Intern(std::string("files\\Folder1")), folder);
    EXPECT_NE(store.Intern("files\\folder1"), folder);  // letter case counts
    EXPECT_NE(store.Intern("files\\Folder"), folder);
    EXPECT_EQ(store.Intern(""), nullptr);
    // A plain add of the same text is a copy of its own, and interning still finds the first.
    const TextStore::Handle copy = store.Add("files\\Folder1");
    EXPECT_NE(copy, folder);
    EXPECT_EQ(store.Intern("files\\Folder1"), folder);
    const size_t held = store.BytesHeld();
    for (int i = 0; i < 10000; ++i) store.Intern("files\\Folder1");
    EXPECT_EQ(store.BytesHeld(), held);

    store.Clear();
    const TextStore::Handle anew = store.Intern("files\\Folder1");
    EXPECT_EQ(TextStore::View(anew), "files\\Folder1");
}
