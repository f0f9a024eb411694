#include <gtest/gtest.h>

#include "TreeTestSupport.h"
#include "model/FileTree.h"
#include "model/ValueText.h"

namespace {
struct ValueTexts : ::testing::Test, TreeUnderTest<RegistryTree> {
    TreeNode* Key() { return tree.AddKey("%DestComp%\\%HKEY_CURRENT_USER%\\Software", true); }
};
}  // namespace

TEST(ValueText, NumbersReadInEitherBaseAndStopAtTheLimit) {
    EXPECT_EQ(ReadUnsignedText("255", 10), 255u);
    EXPECT_EQ(ReadUnsignedText("  FF", 16), 255u);
    EXPECT_EQ(ReadUnsignedText("0x000000ff", 16), 255u);
    EXPECT_EQ(ReadUnsignedText("12ab", 10), 12u);
    EXPECT_EQ(ReadUnsignedText("FF", 10), 0u);
    EXPECT_EQ(ReadUnsignedText("", 16), 0u);
    EXPECT_EQ(ReadUnsignedText("4294967295", 10), 4294967295u);
    EXPECT_EQ(ReadUnsignedText("99999999999999999999", 10), 4294967295u);
    EXPECT_EQ(ReadUnsignedText("1FFFFFFFF", 16), 4294967295u);
    // Decimal 255 shown in hexadecimal and back, as the base buttons of the number dialog do.
    EXPECT_EQ(NumberAsHexText(ReadUnsignedText("255", 10)), "0x000000FF");
    EXPECT_EQ(NumberAsDecimalText(ReadUnsignedText("0x000000FF", 16)), "255");
}

TEST(ValueText, BinaryTextTakesOnlyWholeBytesAndNamesTheFirstThatIsNot) {
    Bytes bytes{9};
    std::string bad;
    ASSERT_TRUE(ReadBinaryText("0A ff\t10\r\n0x7", bytes, bad));
    EXPECT_EQ(bytes, (Bytes{0x0A, 0xFF, 0x10, 0x07}));
    ASSERT_TRUE(ReadBinaryText(" \r\n ", bytes, bad));
    EXPECT_TRUE(bytes.empty());
    // "100" used to become 00 without a word; now it is refused and the bytes stay as they were.
    bytes = {1, 2};
    for (const char* text : {"0A 100 10", "0A G1", "0x", "0A 0x100"}) {
        EXPECT_FALSE(ReadBinaryText(text, bytes, bad)) << text;
        EXPECT_EQ(bytes, (Bytes{1, 2}));
    }
    EXPECT_FALSE(ReadBinaryText("0A 100 10", bytes, bad));
    EXPECT_EQ(bad, "100");
}

TEST_F(ValueTexts, TheDataColumnShowsEachKindOfValue) {
    TreeNode* key = Key();
    EXPECT_EQ(ValueDataText(tree.AddStringValue(key, "Path", "C:\\x", true)), "\"C:\\x\"");
    EXPECT_EQ(ValueDataText(tree.AddNumberValue(key, "Count", 255, true)), "0x000000FF");
    EXPECT_EQ(ValueDataText(tree.AddBinaryValue(key, "Bytes", Bytes{0x0A, 0xFF, 0x10}, true)), "0A FF 10");
    EXPECT_EQ(ValueDataText(tree.AddBinaryValue(key, "None", Bytes{}, true)), "(zero-length binary data)");
    EXPECT_EQ(ValueDataText(key), "");
}

TEST_F(ValueTexts, ANewNameIsCheckedForWhatTheTreeWouldRefuse) {
    TreeNode* key = Key();
    tree.AddKey(key, "Example", true);
    tree.AddStringValue(key, "Example", "", true);
    EXPECT_EQ(CheckNewName(tree, key, "", true), NameCheck::kEmpty);
    for (const char* name : {"a\\b", "a,b", "a\rb", "a\nb"})
        EXPECT_EQ(CheckNewName(tree, key, name, true), NameCheck::kForbiddenCharacter) << name;
    EXPECT_EQ(CheckNewName(tree, key, "EXAMPLE", true), NameCheck::kTaken);
    EXPECT_EQ(CheckNewName(tree, key, "example", false), NameCheck::kTaken);
    EXPECT_EQ(CheckNewName(tree, key, "Other", true), NameCheck::kNameFits);
    EXPECT_EQ(CheckNewName(tree, key, "  ", true), NameCheck::kNameFits);
    const std::string path = RegistryTree::PathOf(key);
    EXPECT_EQ(CheckNewName(tree, key, std::string(DestinationTree::kMaxPath - path.size() - 1, 'n'), true),
              NameCheck::kNameFits);
    EXPECT_EQ(CheckNewName(tree, key, std::string(DestinationTree::kMaxPath - path.size(), 'n'), true),
              NameCheck::kTooLong);
    // What the check lets through, the tree takes.
    EXPECT_NE(tree.AddKey(key, std::string(DestinationTree::kMaxPath - path.size() - 1, 'n'), true), nullptr);
}

// New Key takes a path of keys typed whole ("Software\Company\Product") and makes the keys that
// are missing.
TEST_F(ValueTexts, ANewKeyPathMakesTheWholeChainOfKeys) {
    TreeNode* hive = tree.Find("%DestComp%\\%HKEY_CURRENT_USER%");
    ASSERT_NE(hive, nullptr);
    TreeNode* software = Key();
    EXPECT_EQ(CheckNewKeyPath(tree, hive, "Software\\Lindqvist Tools\\Pocket Notes"), NameCheck::kNameFits);
    EXPECT_EQ(CheckNewKeyPath(tree, hive, "Software"), NameCheck::kTaken);
    for (const char* path : {"", "Software\\", "\\Tools", "Software\\\\Tools"})
        EXPECT_EQ(CheckNewKeyPath(tree, hive, path), NameCheck::kEmpty) << path;
    EXPECT_EQ(CheckNewKeyPath(tree, hive, "Software\\a,b"), NameCheck::kForbiddenCharacter);
    EXPECT_EQ(CheckNewKeyPath(tree, hive, std::string(DestinationTree::kMaxPath, 'n')), NameCheck::kTooLong);

    const std::vector<TreeNode*> made = tree.AddKeyChain(hive, "software\\Lindqvist Tools\\Pocket Notes", true);
    ASSERT_EQ(made.size(), 2u) << "the existing key is taken whatever its letter case";
    EXPECT_EQ(made[0]->Parent(), software);
    EXPECT_EQ(RegistryTree::ShortPath(made[1]), "%HKEY_CURRENT_USER%\\Software\\Lindqvist Tools\\Pocket Notes");
    EXPECT_EQ(CheckNewKeyPath(tree, hive, "Software\\Lindqvist Tools\\Pocket Notes"), NameCheck::kTaken);
    EXPECT_TRUE(tree.AddKeyChain(hive, "Software\\Lindqvist Tools", true).empty());
}

TEST(ValueText, FileTreeNamesAreUniqueAcrossFoldersAndFiles) {
    DocumentBase document;
    FileTree files;
    files.AttachTo(document);
    files.Reset();
    TreeNode* appDir = files.Find("%DestComp%\\%AppDir%");
    files.AddProductFile(appDir, "C:\\src\\readme.txt", FileTree::kCompress, 0, true);
    EXPECT_EQ(CheckNewName(files, appDir, "ReadMe.txt", true), NameCheck::kTaken);
    EXPECT_EQ(CheckNewName(files, appDir, "Bin", true), NameCheck::kNameFits);
}
