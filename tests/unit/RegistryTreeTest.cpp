#include <gtest/gtest.h>

#include <map>
#include <random>

#include "TreeTestSupport.h"
#include "model/RegistryTree.h"

namespace {
struct Registry : ::testing::Test, TreeUnderTest<RegistryTree> {};

const std::string kHklm = "%DestComp%\\%HKEY_LOCAL_MACHINE%";
}  // namespace

TEST_F(Registry, ANewTreeHoldsTheFiveFixedKeysAndWritesNoLine) {
    std::vector<std::string> paths;
    tree.Walk([&](const TreeNode& node) {
        paths.push_back(RegistryTree::PathOf(&node));
        EXPECT_TRUE(RegistryTree::IsKey(&node));
        EXPECT_TRUE(RegistryTree::IsFixed(&node));
        EXPECT_FALSE(RegistryTree::IsUserItem(&node));
    });
    EXPECT_EQ(paths, (std::vector<std::string>{"%DestComp%", "%DestComp%\\%HKEY_CLASSES_ROOT%",
                                               "%DestComp%\\%HKEY_CURRENT_USER%", kHklm, "%DestComp%\\%HKEY_USERS%"}));
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(SavedText(tree), "[REGISTRY_ENTRIES]\r\n\r\n");
    EXPECT_EQ(ExportedText(tree), "");
    tree.Clear();
    EXPECT_EQ(tree.TopLevelCount(), 0u);
}

TEST_F(Registry, AKeyWithAStringValueIsSavedAndExportedInBothForms) {
    TreeNode* value = tree.AddStringValue(kHklm + "\\Software\\Example\\Path", "C:\\Tools", true);
    ASSERT_NE(value, nullptr);
    EXPECT_TRUE(document.IsModified());
    EXPECT_TRUE(RegistryTree::IsKey(tree.Find(kHklm + "\\Software\\Example")));
    EXPECT_TRUE(RegistryTree::IsUserItem(value));
    EXPECT_TRUE(RegistryTree::IsStringValue(value));
    EXPECT_FALSE(RegistryTree::IsKey(value));
    EXPECT_EQ(SavedText(tree),
              "[REGISTRY_ENTRIES]\r\nKEY=%HKEY_LOCAL_MACHINE%\\Software\r\n"
              "KEY=%HKEY_LOCAL_MACHINE%\\Software\\Example\r\n"
              "STRING=%HKEY_LOCAL_MACHINE%\\Software\\Example\\Path,C:\\Tools\r\n\r\n");
    EXPECT_EQ(ExportedText(tree),
              "[REGISTRY_ENTRIES]\r\nkey,HKLM,Software\r\nkey,HKLM,Software\\Example\r\n"
              "value,HKLM,Software\\Example,Path,s,C:\\Tools\r\n\r\n");
}

TEST_F(Registry, BinaryTextIsReadAsHexTokensAndWrittenAsCapitalPairs) {
    EXPECT_EQ(RegistryTree::BinaryFromText("1 a0  ff"), (Bytes{0x01, 0xA0, 0xFF}));
    EXPECT_EQ(RegistryTree::BinaryFromText("\t0x10\r\n1FF  zz 7g "), (Bytes{0x10, 0xFF, 0x00, 0x07}));
    EXPECT_EQ(RegistryTree::BinaryFromText("123456789"), (Bytes{0xFF}));  // saturates, then the low byte
    EXPECT_EQ(RegistryTree::BinaryFromText("   "), Bytes{});
    EXPECT_EQ(RegistryTree::BinaryAsText(Bytes{0x01, 0xA0, 0xFF}), "01 A0 FF");
    EXPECT_EQ(RegistryTree::BinaryAsText(Bytes{}), "");

    Load("REGISTRY_ENTRIES",
         "BINARY=%HKEY_CURRENT_USER%\\K\\Data,1 a0  ff\n"
         "BINARY=%HKEY_CURRENT_USER%\\K\\Empty,\n"
         "BINARY=%HKEY_CURRENT_USER%\\K\\NoComma\n");
    std::string text;
    ASSERT_TRUE(tree.BinaryAsText(tree.FindValue("%DestComp%\\%HKEY_CURRENT_USER%\\K\\Data"), text));
    EXPECT_EQ(text, "01 A0 FF");
    TreeNode* empty = tree.FindValue("%DestComp%\\%HKEY_CURRENT_USER%\\K\\Empty");
    ASSERT_TRUE(RegistryTree::IsBinaryValue(empty));
    EXPECT_TRUE(RegistryTree::ValueOf(empty)->BinaryData().empty());
    EXPECT_FALSE(tree.BinaryAsText(tree.Find("%DestComp%\\%HKEY_CURRENT_USER%\\K"), text));
    EXPECT_EQ(SavedText(tree),
              "[REGISTRY_ENTRIES]\r\nKEY=%HKEY_CURRENT_USER%\\K\r\nBINARY=%HKEY_CURRENT_USER%\\K\\Data,01 A0 FF\r\n"
              "BINARY=%HKEY_CURRENT_USER%\\K\\Empty,\r\n\r\n");
    EXPECT_NE(ExportedText(tree).find("value,HKCU,K,Empty,b,\r\n"), std::string::npos);
}

TEST_F(Registry, NumbersAreReadAsHexAndWrittenWithEightDigits) {
    Load("REGISTRY_ENTRIES",
         "DWORD=%HKEY_USERS%\\K\\Ten,0x0000000A\n"
         "DWORD=%HKEY_USERS%\\K\\Big,123456789\n"
         "DWORD=%HKEY_USERS%\\K\\Word,beefz\n"
         "DWORD=%HKEY_USERS%\\K\\None,xyz\n");
    auto number = [&](const char* name) {
        return RegistryTree::ValueOf(tree.FindValue("%DestComp%\\%HKEY_USERS%\\K\\" + std::string(name)))->NumberData();
    };
    EXPECT_EQ(number("Ten"), 10u);
    EXPECT_EQ(number("Big"), 0xFFFFFFFFu);
    EXPECT_EQ(number("Word"), 0xBEEFu);
    EXPECT_EQ(number("None"), 0u);
    TreeNode* ten = tree.AddNumberValue(tree.Find(kHklm), "N", 10, true);
    EXPECT_NE(SavedText(tree).find("DWORD=%HKEY_LOCAL_MACHINE%\\N,0x0000000A\r\n"), std::string::npos);
    // Directly under a hive: an empty key path, two commas in a row.
    EXPECT_NE(ExportedText(tree).find("value,HKLM,,N,d,0x0000000A\r\n"), std::string::npos);
    EXPECT_TRUE(RegistryTree::IsNumberValue(ten));
}

TEST_F(Registry, StringDataMayHoldCommasAndBackslashes) {
    Load("REGISTRY_ENTRIES", "STRING=%HKEY_CLASSES_ROOT%\\A\\B\\Name,C:\\x,y\\z,\n");  // keys made from the path
    TreeNode* value = tree.FindValue("%DestComp%\\%HKEY_CLASSES_ROOT%\\A\\B\\Name");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(RegistryTree::ValueOf(value)->StringData(), "C:\\x,y\\z,");
    EXPECT_EQ(ExportedText(tree),
              "[REGISTRY_ENTRIES]\r\nkey,HKCR,A\r\nkey,HKCR,A\\B\r\nvalue,HKCR,A\\B,Name,s,C:\\x,y\\z,\r\n\r\n");
    EXPECT_EQ(tree.AddStringValue(tree.Find(kHklm), "Lines", "a\r\nb", true), nullptr);
    TreeNode* longValue = tree.AddStringValue(tree.Find(kHklm), "Long", std::string(400, 'x'), true);
    EXPECT_EQ(RegistryTree::ValueOf(longValue)->StringData().size(), 259u);
}

TEST_F(Registry, AKeyAndAValueMayShareANameTwoOfOneKindMayNot) {
    TreeNode* hklm = tree.Find(kHklm);
    TreeNode* key = tree.AddKey(hklm, "Tool", true);
    ASSERT_NE(key, nullptr);
    TreeNode* value = tree.AddStringValue(hklm, "Tool", "x", true);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(tree.AddStringValue(hklm, "TOOL", "y", true), nullptr);
    EXPECT_EQ(tree.AddNumberValue(kHklm + "\\tool", 1, true), nullptr);
    EXPECT_EQ(tree.AddKey(hklm, "tOOL", true), nullptr);
    EXPECT_EQ(tree.AddKey(kHklm + "\\TOOL", true), nullptr);
    EXPECT_EQ(tree.Find(kHklm + "\\tool"), key);
    EXPECT_EQ(tree.FindValue(kHklm + "\\tool"), value);
    EXPECT_EQ(tree.FindChild(hklm, "TOOL"), key);
    EXPECT_EQ(tree.FindChild(hklm, "TOOL", false), value);
    // Keys precede values whatever the order of creation.
    TreeNode* later = tree.AddKey(hklm, "Later", true);
    EXPECT_EQ(RegistryTree::Position(later), 1u);
    EXPECT_EQ(RegistryTree::Position(value), 2u);
    // A value below the path of a value, a value without a key part, a key under the top node.
    EXPECT_NE(tree.AddStringValue(kHklm + "\\Tool\\Inner", "ok", true), nullptr);
    EXPECT_EQ(tree.AddStringValue("Loose", "x", true), nullptr);
    EXPECT_EQ(tree.AddKey(tree.TopLevel(0), "Direct", true), nullptr);
    EXPECT_EQ(tree.AddStringValue(tree.TopLevel(0), "Direct", "x", true), nullptr);
    EXPECT_EQ(tree.AddKey(value, "Below", true), nullptr);
}

TEST_F(Registry, AnEmptyValueNameIsTheKeysDefaultValue) {
    Load("REGISTRY_ENTRIES", "STRING=%HKEY_CLASSES_ROOT%\\.acme\\,AcmeFile\n");
    TreeNode* value = tree.FindValue("%DestComp%\\%HKEY_CLASSES_ROOT%\\.acme\\");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->Name(), "");
    EXPECT_EQ(tree.AddStringValue(tree.Find("%DestComp%\\%HKEY_CLASSES_ROOT%\\.ACME"), "", "x", true), nullptr);
    EXPECT_EQ(tree.AddKey("%DestComp%\\%HKEY_CLASSES_ROOT%\\.acme\\", true), nullptr);  // keys need a name
    EXPECT_EQ(SavedText(tree),
              "[REGISTRY_ENTRIES]\r\nKEY=%HKEY_CLASSES_ROOT%\\.acme\r\n"
              "STRING=%HKEY_CLASSES_ROOT%\\.acme\\,AcmeFile\r\n\r\n");
    EXPECT_EQ(ExportedText(tree), "[REGISTRY_ENTRIES]\r\nkey,HKCR,.acme\r\nvalue,HKCR,.acme,,s,AcmeFile\r\n\r\n");
}

TEST_F(Registry, SettersCheckTheValueType) {
    TreeNode* hklm = tree.Find(kHklm);
    TreeNode* text = tree.AddStringValue(hklm, "S", "a", false);
    TreeNode* bytes = tree.AddBinaryValue(hklm, "B", Bytes{1}, false);
    TreeNode* number = tree.AddNumberValue(hklm, "N", 1, false);
    EXPECT_FALSE(document.IsModified());
    EXPECT_FALSE(tree.SetStringData(number, "x", true));
    EXPECT_FALSE(tree.SetNumberData(text, 2, true));
    EXPECT_FALSE(tree.SetBinaryData(hklm, Bytes{2}, true));
    EXPECT_FALSE(tree.SetName(hklm, "Other", true));
    EXPECT_FALSE(document.IsModified());
    EXPECT_TRUE(tree.SetStringData(text, "b", true));
    EXPECT_TRUE(tree.SetBinaryData(bytes, Bytes{}, true));
    EXPECT_TRUE(tree.SetNumberData(number, 7, true));
    EXPECT_TRUE(tree.SetName(number, "Seven", true));
    EXPECT_FALSE(tree.SetName(text, "seven", true));
    EXPECT_EQ(RegistryTree::ValueOf(text)->StringData(), "b");
    EXPECT_TRUE(RegistryTree::ValueOf(bytes)->BinaryData().empty());
    EXPECT_EQ(tree.FindValue(kHklm + "\\SEVEN"), number);
    EXPECT_EQ(RegistryTree::ValueOf(number)->NumberData(), 7u);
}

TEST_F(Registry, LoadingDropsLinesItCannotUseAndMarksTheDocument) {
    Load("REGISTRY_ENTRIES",
         "KEY=%HKEY_CURRENT_USER%\\Software\n"
         "KEY=%HKEY_CURRENT_USER%\\SOFTWARE\n"
         "STRING=%HKEY_CURRENT_USER%\\Software\\NoComma\n"
         "STRING=%HKEY_CURRENT_USER%\\Software\\V,first\n"
         "STRING=%HKEY_CURRENT_USER%\\Software\\v,second\n"
         "KEY=Outside\n"
         "string=%HKEY_CURRENT_USER%\\Software\\lower,x\n");
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(SavedText(tree),
              "[REGISTRY_ENTRIES]\r\nKEY=%HKEY_CURRENT_USER%\\Software\r\n"
              "STRING=%HKEY_CURRENT_USER%\\Software\\V,first\r\nKEY=Outside\r\n\r\n");
    // A key under no hive exports with an empty abbreviation and key part.
    EXPECT_NE(ExportedText(tree).find("key,,\r\n"), std::string::npos);
}

TEST_F(Registry, ExpandableAndMultiStringsAreSavedExportedAndReadBack) {
    TreeNode* hklm = tree.Find(kHklm);
    TreeNode* path = tree.AddTextValue(hklm, "Path", RegistryValueItem::kExpandString, "%SystemRoot%\\x;%AppDir%", true);
    TreeNode* list =
        tree.AddTextValue(hklm, "List", RegistryValueItem::kMultiString, "C:\\One\r\n\r\nsay \"hi\", twice\nlast", true);
    ASSERT_NE(path, nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(RegistryTree::IsTextValue(path));
    EXPECT_FALSE(RegistryTree::IsStringValue(path));
    // An empty line is no string: Windows keeps none in a list.
    EXPECT_EQ(RegistryTree::ValueOf(list)->Strings(), (std::vector<std::string>{"C:\\One", "say \"hi\", twice", "last"}));
    EXPECT_EQ(RegistryTree::TextOf(list), "C:\\One\r\nsay \"hi\", twice\r\nlast\r\n");
    EXPECT_EQ(RegistryTree::TextOf(path), "%SystemRoot%\\x;%AppDir%");
    const std::string saved = SavedText(tree);
    EXPECT_EQ(saved,
              "[REGISTRY_ENTRIES]\r\nEXPANDSTRING=%HKEY_LOCAL_MACHINE%\\Path,%SystemRoot%\\x;%AppDir%\r\n"
              "MULTISTRING=%HKEY_LOCAL_MACHINE%\\List,\"C:\\One\",\"say \"\"hi\"\", twice\",\"last\"\r\n\r\n");
    EXPECT_EQ(ExportedText(tree),
              "[REGISTRY_ENTRIES]\r\nvalue,HKLM,,Path,e,%SystemRoot%\\x;%AppDir%\r\n"
              "value,HKLM,,List,m,\"C:\\One\",\"say \"\"hi\"\", twice\",\"last\"\r\n\r\n");

    TreeUnderTest<RegistryTree> read;
    read.Load("REGISTRY_ENTRIES",
              "EXPANDSTRING=%HKEY_LOCAL_MACHINE%\\Path,%SystemRoot%\\x;%AppDir%\n"
              "MULTISTRING=%HKEY_LOCAL_MACHINE%\\List,\"C:\\One\",\"say \"\"hi\"\", twice\",\"last\"\n"
              "MULTISTRING=%HKEY_LOCAL_MACHINE%\\Open,\"unclosed\n"
              "MULTISTRING=%HKEY_LOCAL_MACHINE%\\Empty,\n");
    EXPECT_EQ(SavedText(read.tree), saved.substr(0, saved.size() - 2) + "MULTISTRING=%HKEY_LOCAL_MACHINE%\\Empty,\r\n\r\n");

    // A string takes no line end; the text types change among themselves, never into another.
    EXPECT_EQ(tree.AddTextValue(hklm, "Two", RegistryValueItem::kString, "a\r\nb", true), nullptr);
    EXPECT_EQ(tree.AddTextValue(hklm, "Two", RegistryValueItem::kBinary, "a", true), nullptr);
    EXPECT_TRUE(tree.SetTextValue(list, RegistryValueItem::kString, "one", true));
    EXPECT_EQ(RegistryTree::ValueOf(list)->ValueType(), RegistryValueItem::kString);
    EXPECT_TRUE(RegistryTree::ValueOf(list)->Strings().empty());
    EXPECT_TRUE(tree.SetTextValue(path, RegistryValueItem::kMultiString, "a\nb", true));
    EXPECT_EQ(RegistryTree::ValueOf(path)->Strings(), (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(tree.SetTextValue(path, RegistryValueItem::kString, "a\nb", true));
    EXPECT_FALSE(tree.SetTextValue(tree.AddNumberValue(hklm, "N", 1, true), RegistryValueItem::kString, "x", true));
}

// Siblings beyond a handful are looked up through a table of their names: lookups must stay right
// through adds, removals and renames in any order, for keys and values of one name alike.
TEST_F(Registry, ManySiblingsStayFoundThroughRemovalsAndRenames) {
    TreeNode* hklm = tree.Find(kHklm);
    std::map<std::string, TreeNode*> keys, values;  // by lower-case name
    std::mt19937 random(20261207);
    auto check = [&] {
        for (int i = 0; i < 600; ++i) {
            const std::string name = "Item" + std::to_string(i);
            const std::string upper = "ITEM" + std::to_string(i);
            const auto key = keys.find("item" + std::to_string(i));
            const auto value = values.find("item" + std::to_string(i));
            ASSERT_EQ(tree.FindChild(hklm, upper, true), key == keys.end() ? nullptr : key->second) << name;
            ASSERT_EQ(tree.FindChild(hklm, name, false), value == values.end() ? nullptr : value->second) << name;
        }
    };
    for (int i = 0; i < 400; ++i) {
        const std::string name = "Item" + std::to_string(i);
        keys["item" + std::to_string(i)] = tree.AddKey(hklm, name, true);
        values["item" + std::to_string(i)] = tree.AddStringValue(hklm, name, "x", true);
    }
    check();
    for (int round = 0; round < 300; ++round) {
        auto& kind = random() % 2 ? keys : values;
        if (kind.empty()) continue;
        auto it = std::next(kind.begin(), static_cast<long>(random() % kind.size()));
        if (random() % 2) {
            tree.Remove(it->second);
            kind.erase(it);
        } else {
            // A free name of that kind among Item0..Item599 (the other kind may hold it).
            const std::string fresh = "Item" + std::to_string(400 + round % 200);
            std::string lower = fresh;
            lower[0] = 'i';
            if (kind.count(lower)) continue;
            ASSERT_TRUE(tree.SetName(it->second, fresh, true)) << fresh;
            kind[lower] = it->second;
            kind.erase(it);
        }
    }
    check();
    EXPECT_EQ(hklm->ChildCount(), keys.size() + values.size());
}
