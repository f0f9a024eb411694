#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "TestSupport.h"
#include "core/Path.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/FolderScanner.h"

namespace {
// A tree of folders and empty files below a scratch folder, removed afterwards.
class Tree {
public:
    explicit Tree(std::vector<std::string> entries) : entries_(std::move(entries)) {
        for (const std::string& entry : entries_) {
            std::string path = JoinPath(scratch_.Path(), entry);
            if (entry.back() == '\\') platform::MakeFolder(path);
            else File(path, "", CreateWrite);
        }
    }
    ~Tree() {
        for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
            std::string path = JoinPath(scratch_.Path(), *it);
            if (it->back() == '\\') platform::RemoveFolder(path);
            else RemoveFile(path);
        }
    }
    const std::string& Path() const { return scratch_.Path(); }

private:
    ScratchFolder scratch_;
    std::vector<std::string> entries_;
};

struct Entry {
    std::string name, relative;
    bool folder;
};

std::vector<Entry> Walk(FolderScanner& scanner) {
    std::vector<Entry> entries;
    for (auto name = scanner.First(); name; name = scanner.Next())
        entries.push_back({*name, scanner.RelativeFolder(), scanner.IsFolder()});
    return entries;
}
}  // namespace

TEST(FolderScanner, EmptyAndMissingFolders) {
    Tree tree({});
    FolderScanner scanner;
    for (bool recursive : {false, true}) {
        ASSERT_TRUE(scanner.Start(tree.Path(), recursive));
        EXPECT_FALSE(scanner.First());
        EXPECT_FALSE(scanner.Next());
        scanner.Finish();
    }
    EXPECT_FALSE(scanner.Start(JoinPath(tree.Path(), "absent"), true));
    EXPECT_FALSE(scanner.First());
}

TEST(FolderScanner, AFolderThatCannotBeEnteredEndsTheWalk) {
    Tree tree({"Gone\\"});
    FolderScanner scanner;
    ASSERT_TRUE(scanner.Start(tree.Path(), true));
    ASSERT_EQ(scanner.First(), std::optional<std::string>("Gone"));
    ASSERT_TRUE(scanner.IsFolder());
    ASSERT_TRUE(platform::RemoveFolder(JoinPath(tree.Path(), "Gone")));
    EXPECT_FALSE(scanner.Next());
    EXPECT_FALSE(scanner.Next());
    scanner.Finish();
    EXPECT_FALSE(scanner.First());
    ASSERT_TRUE(platform::MakeFolder(JoinPath(tree.Path(), "Gone")));  // for the tree's own removal
}

TEST(FolderScanner, FlatWalkGivesTheFilesOfTheStartFolderOnly) {
    Tree tree({"a.txt", "b.txt", "Sub\\", "Sub\\c.txt"});
    FolderScanner scanner;
    ASSERT_TRUE(scanner.Start(tree.Path(), false));
    std::vector<Entry> entries = Walk(scanner);
    scanner.Finish();
    std::vector<std::string> names;
    for (const Entry& e : entries) {
        names.push_back(e.name);
        EXPECT_FALSE(e.folder);
        EXPECT_EQ(e.relative, "");
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST(FolderScanner, RecursiveWalkHandsOutEachFolderBeforeItsContents) {
    Tree tree({"f", "B\\", "B\\g", "B\\Empty\\", "B\\C\\", "B\\C\\h", "D\\"});
    FolderScanner scanner;
    ASSERT_TRUE(scanner.Start(tree.Path(), true));
    std::vector<Entry> entries = Walk(scanner);
    std::map<std::string, size_t> at;
    for (size_t i = 0; i < entries.size(); ++i) at[entries[i].name] = i;
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_LT(at["B"], at["g"]);
    EXPECT_LT(at["C"], at["h"]);
    EXPECT_EQ(entries[at["f"]].relative, "");
    EXPECT_EQ(entries[at["B"]].relative, "");
    EXPECT_TRUE(entries[at["B"]].folder);
    EXPECT_EQ(entries[at["g"]].relative, "B");
    EXPECT_EQ(entries[at["Empty"]].relative, "B");
    EXPECT_EQ(entries[at["h"]].relative, "B\\C");
    EXPECT_FALSE(entries[at["h"]].folder);
    // A folder's contents follow it directly: g, Empty and C come right after B, in some order.
    for (const char* inB : {"g", "Empty", "C"}) EXPECT_LE(at[inB], at["B"] + 4) << inB;
    scanner.Finish();

    // The walk can be run again, and CurrentFolder names the last entry's folder in full.
    ASSERT_TRUE(scanner.Start(tree.Path() + "\\", true));
    for (auto name = scanner.First(); name; name = scanner.Next())
        if (*name == "h") {
            EXPECT_EQ(scanner.CurrentFolder(), JoinPath(tree.Path(), "B\\C"));
            EXPECT_EQ(scanner.RelativeFolder(), "B\\C");
        }
    scanner.Finish();
}
