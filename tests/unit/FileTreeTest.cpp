#include <gtest/gtest.h>

#include <vector>

#include "TreeTestSupport.h"
#include "model/FileTree.h"
#include "model/Variables.h"

namespace {
struct Files : ::testing::Test, TreeUnderTest<FileTree> {
    std::vector<std::string> WalkedPaths() const {
        std::vector<std::string> paths;
        tree.Walk([&](const TreeNode& node) { paths.push_back(FileTree::PathOf(&node)); });
        return paths;
    }
    std::vector<std::string> ChildNames(const std::string& path) const {
        std::vector<std::string> names;
        const TreeNode* node = tree.Find(path);
        for (size_t i = 0; node && i < node->ChildCount(); ++i) names.push_back(node->Child(i)->Name());
        return names;
    }
};

const std::string kApp = "%DestComp%\\%AppDir%";
}  // namespace

TEST(Variables, DisplayNamesComeFromTheFixedTableByExactToken) {
    EXPECT_EQ(VariableDisplayName("%DestComp%"), "Destination Computer");
    EXPECT_EQ(VariableDisplayName("%destcomp%"), "%destcomp%");
    EXPECT_EQ(VariableDisplayName("Tools"), "Tools");
    EXPECT_EQ(VariableDisplayName("%ProgramFiles%"), "Program Files");
    EXPECT_EQ(VariableDisplayName("%FontsDir%"), "Fonts");
    EXPECT_EQ(VariableDisplayName("%Software%"), "Software");
    EXPECT_EQ(VariableDisplayName("%AppSCFolder%"), "Application Shortcut Folder");
    EXPECT_EQ(VariableDisplayName("%WinSysDir%"), "System");
    EXPECT_EQ(VariableDisplayName("%HKEY_USERS%"), "HKEY_USERS");
    EXPECT_EQ(VariableDisplayName(""), "");
}

TEST_F(Files, ResetCreatesTheFixedFoldersInOrderWithoutMarkingAndClearRemovesThem) {
    EXPECT_EQ(WalkedPaths(), (std::vector<std::string>{"%DestComp%", kApp, "%DestComp%\\%CommonFiles%",
                                                       "%DestComp%\\%WinDir%", "%DestComp%\\%WinDir%\\%WinSysDir%"}));
    EXPECT_FALSE(document.IsModified());
    const TreeNode* top = tree.TopLevel(0);
    EXPECT_TRUE(FileTree::IsTopNode(top));
    EXPECT_TRUE(FileTree::IsVariableFolder(top));
    EXPECT_EQ(tree.TopLevelCount(), 1u);
    EXPECT_EQ(top->Parent(), nullptr);
    EXPECT_FALSE(FileTree::IsTopNode(tree.Find(kApp)));
    EXPECT_EQ(SavedText(tree), "[APPLICATION_FILES]\r\n\r\n");
    // A new project exports no files or folders section at all.
    EXPECT_EQ(ExportedText(tree), "");

    tree.Clear();
    EXPECT_EQ(tree.TopLevelCount(), 0u);
    ScriptBuilder script;
    EXPECT_FALSE(tree.Export(script));
    tree.Reset();
    EXPECT_EQ(WalkedPaths().size(), 5u);
}

TEST_F(Files, PathLookupIgnoresCaseAndShortPathsTakeTheDeepestFixedFolder) {
    EXPECT_EQ(tree.Find("%destcomp%\\%APPDIR%"), tree.Find(kApp));
    EXPECT_NE(tree.Find(kApp), nullptr);
    EXPECT_EQ(tree.Find("%DestComp%\\%AppDir%\\Missing"), nullptr);
    EXPECT_EQ(tree.Find(""), nullptr);

    TreeNode* sys = tree.AddProductFile("%DestComp%\\%WinDir%\\%WinSysDir%\\Acme\\x.dll", "C:\\x.dll", 1, 0, true);
    ASSERT_NE(sys, nullptr);
    EXPECT_EQ(FileTree::ShortPath(sys), "%WinSysDir%\\Acme\\x.dll");
    EXPECT_EQ(FileTree::EntryName(sys), "WinSysDir\\Acme\\x.dll");
    EXPECT_EQ(FileTree::ShortPath(tree.Find("%DestComp%\\%WinDir%")), "%WinDir%");
    EXPECT_EQ(FileTree::ShortPath(tree.Find("%DestComp%\\%CommonFiles%")), "%CommonFiles%");
    EXPECT_EQ(FileTree::ShortPath(tree.TopLevel(0)), "%DestComp%");
    // A lookup in other letters finds the same node, so the add fails.
    EXPECT_EQ(tree.AddFolder("%DESTCOMP%\\%windir%\\%winsysdir%\\ACME", true), nullptr);
}

TEST_F(Files, FoldersComeBeforeFilesEachInOrderOfCreation) {
    TreeNode* app = tree.Find(kApp);
    ASSERT_NE(tree.AddProductFile(app, "C:\\Src\\b.txt", 1, 0, true), nullptr);
    ASSERT_NE(tree.AddProductFile(app, "C:\\Src\\a.txt", 1, 0, true), nullptr);
    ASSERT_NE(tree.AddFolder(app, "Zeta", true), nullptr);
    ASSERT_NE(tree.AddFolder(kApp + "\\Alpha", true), nullptr);
    ASSERT_NE(tree.AddProductFile(kApp + "\\c.txt", "C:\\c.txt", 1, 0, true), nullptr);
    EXPECT_EQ(ChildNames(kApp), (std::vector<std::string>{"Zeta", "Alpha", "b.txt", "a.txt", "c.txt"}));
    // The fixed system folder stays first inside Windows.
    ASSERT_NE(tree.AddFolder("%DestComp%\\%WinDir%\\Help", true), nullptr);
    EXPECT_EQ(ChildNames("%DestComp%\\%WinDir%"), (std::vector<std::string>{"%WinSysDir%", "Help"}));
}

TEST_F(Files, AddsFollowTheirFailureRulesAndChangeNothingWhenTheyFail) {
    TreeNode* app = tree.Find(kApp);
    TreeNode* tool = tree.AddProductFile(app, "C:\\Src\\Tool.exe", FileTree::kCompress, 0, true);
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->Name(), "Tool.exe");
    EXPECT_TRUE(document.IsModified());

    // A name taken in any letter case, a file as parent, no parent part, an existing path.
    EXPECT_EQ(tree.AddProductFile(app, "D:\\Other\\TOOL.EXE", 1, 0, true), nullptr);
    EXPECT_EQ(tree.AddFolder(app, "tool.exe", true), nullptr);
    EXPECT_EQ(tree.AddFolder(kApp + "\\Tool.exe\\Sub", true), nullptr);
    EXPECT_EQ(tree.AddProductFile(kApp + "\\Tool.exe\\x.txt", "C:\\x.txt", 1, 0, true), nullptr);
    EXPECT_EQ(tree.AddFolder(tool, "Sub", true), nullptr);
    EXPECT_EQ(tree.AddProductFile("Loose.txt", "C:\\Loose.txt", 1, 0, true), nullptr);
    EXPECT_EQ(tree.AddFolder(kApp, true), nullptr);
    EXPECT_EQ(tree.AddFolder(nullptr, "X", true), nullptr);
    // What the project file could not hold back: commas in names or source paths, line ends.
    EXPECT_EQ(tree.AddFolder(kApp + "\\a,b", true), nullptr);
    EXPECT_EQ(tree.AddProductFile(kApp + "\\x.txt", "C:\\a,b\\x.txt", 1, 0, true), nullptr);
    EXPECT_EQ(tree.AddFolder(app, "two\r\nlines", true), nullptr);
    EXPECT_EQ(tree.AddFolder(kApp + "\\\\Empty", true), nullptr);
    // A failed add in a missing chain leaves no folders behind.
    EXPECT_EQ(tree.AddFolder(kApp + "\\New\\Deeper\\bad,name", true), nullptr);
    EXPECT_EQ(tree.Find(kApp + "\\New"), nullptr);
    EXPECT_EQ(app->ChildCount(), 1u);

    // A path without "\" makes a top-level folder.
    TreeNode* loose = tree.AddFolder("Loose", true);
    ASSERT_NE(loose, nullptr);
    EXPECT_EQ(tree.TopLevelCount(), 2u);
    EXPECT_EQ(FileTree::IndexPath(loose, '/'), "1");
}

TEST_F(Files, NamesAndPathsStayWithinTheirLimits) {
    std::string longest(259, 'n');
    EXPECT_NE(tree.AddFolder("Top" + std::string("\\") + std::string(255, 'a'), true), nullptr);  // 259 bytes
    EXPECT_EQ(tree.AddFolder("Top\\" + std::string(256, 'b'), true), nullptr);                    // 260 bytes
    EXPECT_NE(tree.AddFolder(longest, true), nullptr);
    EXPECT_EQ(tree.AddFolder(longest + "n", true), nullptr);
    EXPECT_EQ(tree.AddFolder(tree.Find(longest), "x", true), nullptr);  // the path would be 261 bytes

    // Source paths are fields: a longer one is cut, not refused.
    TreeNode* file = tree.AddProductFile(kApp + "\\long.bin", "C:\\" + std::string(300, 's'), 1, 0, true);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(FileTree::SourcePath(file).size(), 259u);
}

// Source paths are kept in parts (the folder shared by its files, the rest often the file's own
// name); whatever their form, they come back, are written and are mapped exactly as given.
TEST_F(Files, SourcePathsOfEveryFormComeBackExactly) {
    const std::vector<std::pair<std::string, std::string>> files = {
        {"a.dat", "files\\Folder1\\a.dat"},
        {"b.dat", "files\\Folder1\\b.dat"},
        {"c.dat", "files\\Folder1\\other.dat"},
        {"d.dat", "d.dat"},
        {"e.dat", "\\e.dat"},
        {"f.dat", "files\\Folder1\\"},
        {"g.dat", "C:\\\\two\\\\g.dat"},
        {"h.dat", "files/Folder1/h.dat"},
        {"i.dat", "\\\\server\\share\\I.DAT"},
        {"j.dat", "relative\\..\\j.dat"},
    };
    for (const auto& [name, source] : files)
        ASSERT_NE(tree.AddProductFile(kApp + "\\" + name, source, 1, 0, true), nullptr) << source;
    for (const auto& [name, source] : files) EXPECT_EQ(FileTree::SourcePath(tree.Find(kApp + "\\" + name)), source);
    std::string line;
    ASSERT_TRUE(tree.ProjectLine(*tree.Find(kApp + "\\e.dat"), line));
    EXPECT_EQ(line, "File=%AppDir%\\e.dat,\\e.dat,1,0");

    // The Insert Files form names the file after its source.
    TreeNode* inserted = tree.AddProductFile(tree.Find(kApp), "C:\\Src\\Inserted.exe", 1, 0, true);
    ASSERT_NE(inserted, nullptr);
    EXPECT_EQ(inserted->Name(), "Inserted.exe");
    EXPECT_EQ(FileTree::SourcePath(inserted), "C:\\Src\\Inserted.exe");

    tree.MapSourcePaths([](const std::string& path) { return "D:\\Base\\" + path; });
    for (const auto& [name, source] : files)
        EXPECT_EQ(FileTree::SourcePath(tree.Find(kApp + "\\" + name)), "D:\\Base\\" + source);
    EXPECT_EQ(FileTree::SourcePath(inserted), "D:\\Base\\C:\\Src\\Inserted.exe");
    // A mapped path is kept whole, however long.
    tree.MapSourcePaths([](const std::string& path) { return std::string(400, 'x') + "\\" + path; });
    EXPECT_EQ(FileTree::SourcePath(inserted).size(), 400 + 1 + std::string("D:\\Base\\C:\\Src\\Inserted.exe").size());

    // A tree made anew after a reset holds only what it is given.
    tree.Reset();
    Load("APPLICATION_FILES", "File=%AppDir%\\x.dat,files\\Folder1\\x.dat,1,0\nFile=%AppDir%\\y.dat,y.dat,3,2\n");
    EXPECT_EQ(FileTree::SourcePath(tree.Find(kApp + "\\x.dat")), "files\\Folder1\\x.dat");
    EXPECT_EQ(FileTree::SourcePath(tree.Find(kApp + "\\y.dat")), "y.dat");
    EXPECT_EQ(tree.Find(kApp + "\\a.dat"), nullptr);
}

TEST_F(Files, ChainCreationAlwaysMarksTheDocument) {
    ASSERT_NE(tree.AddProductFile(kApp + "\\a.txt", "C:\\a.txt", 1, 0, false), nullptr);
    EXPECT_FALSE(document.IsModified());
    ASSERT_NE(tree.AddProductFile(kApp + "\\New\\b.txt", "C:\\b.txt", 1, 0, false), nullptr);
    EXPECT_TRUE(document.IsModified());
    EXPECT_FALSE(FileTree::IsVariableFolder(tree.Find(kApp + "\\New")));
    EXPECT_TRUE(FileTree::IsFolder(tree.Find(kApp + "\\New")));
}

TEST_F(Files, QueriesAndSettersAnswerForFilesOnly) {
    TreeNode* folder = tree.AddFolder(kApp + "\\Bin", false);
    TreeNode* file = tree.AddProductFile(kApp + "\\Bin\\Tool.exe", "C:\\Src\\Tool.exe", 3, 2, false);
    EXPECT_EQ(FileTree::SourcePath(folder), "");
    EXPECT_EQ(FileTree::Options(folder), 0);
    EXPECT_EQ(FileTree::FileOf(folder), nullptr);
    EXPECT_FALSE(tree.SetOptions(folder, 5, true));
    EXPECT_FALSE(tree.SetReplaceMode(folder, 5, true));
    EXPECT_FALSE(document.IsModified());

    EXPECT_EQ(FileTree::SourcePath(file), "C:\\Src\\Tool.exe");
    EXPECT_EQ(FileTree::Options(file), 3);
    EXPECT_EQ(FileTree::ReplaceMode(file), 2);
    EXPECT_TRUE(tree.SetOptions(file, 9, false));
    EXPECT_FALSE(document.IsModified());
    EXPECT_TRUE(tree.SetReplaceMode(file, 7, true));
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(FileTree::Options(file), 9);
    EXPECT_EQ(FileTree::ReplaceMode(file), 7);
    EXPECT_FALSE(FileTree::IsFolder(file));
    EXPECT_FALSE(FileTree::IsVariableFolder(file));
    EXPECT_FALSE(FileTree::IsTopNode(file));
}

TEST_F(Files, IndexPathsLeadBothWaysAndRemovalTakesTheWholeSubtree) {
    TreeNode* bin = tree.AddFolder(kApp + "\\Bin", true);
    TreeNode* tool = tree.AddProductFile(kApp + "\\Bin\\Tool.exe", "C:\\Tool.exe", 1, 0, true);
    TreeNode* readme = tree.AddProductFile(kApp + "\\ReadMe.txt", "C:\\ReadMe.txt", 1, 0, true);
    EXPECT_EQ(FileTree::IndexPath(tool, '/'), "0/0/0/0");
    EXPECT_EQ(FileTree::IndexPath(readme, '.'), "0.0.1");
    EXPECT_EQ(FileTree::IndexPath(tree.Find("%DestComp%\\%WinDir%\\%WinSysDir%"), '/'), "0/2/0");
    EXPECT_EQ(FileTree::Position(readme), 1u);
    EXPECT_EQ(readme->Parent(), tree.Find(kApp));
    EXPECT_EQ(tree.FindByIndexPath("0/0/1", '/'), readme);
    EXPECT_EQ(tree.FindByIndexPath("0/0/0/0/", '/'), tool);
    EXPECT_EQ(tree.FindByIndexPath("", '/'), tree.TopLevel(0));
    EXPECT_EQ(tree.FindByIndexPath("0/2/0", '/'), tree.Find("%DestComp%\\%WinDir%\\%WinSysDir%"));
    EXPECT_EQ(tree.FindByIndexPath("0/3", '/'), nullptr);
    EXPECT_EQ(tree.FindByIndexPath("1", '/'), nullptr);
    EXPECT_EQ(tree.FindByIndexPath("0/0/1/0", '/'), nullptr);
    EXPECT_EQ(tree.FindByIndexPath("0/-1", '/'), nullptr);

    document.SetModifiedFlag(false);
    tree.Remove(bin);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(tree.Find(kApp + "\\Bin"), nullptr);
    EXPECT_EQ(tree.Find(kApp)->ChildCount(), 1u);
    // The name is free again, and the new folder goes before the remaining file.
    ASSERT_NE(tree.AddFolder(kApp + "\\BIN", true), nullptr);
    EXPECT_EQ(ChildNames(kApp), (std::vector<std::string>{"BIN", "ReadMe.txt"}));
    EXPECT_TRUE(tree.RemoveByIndexPath("0/0/1", '/'));
    EXPECT_FALSE(tree.RemoveByIndexPath("0/0/1", '/'));
    tree.SetModified();
    EXPECT_TRUE(document.IsModified());
}

TEST_F(Files, SaveAndExportFollowTheWalkWithShortPaths) {
    ASSERT_NE(tree.AddProductFile(tree.Find(kApp), "C:\\Src\\Tool.exe", 1, 0, true), nullptr);
    EXPECT_EQ(SavedText(tree), "[APPLICATION_FILES]\r\nFile=%AppDir%\\Tool.exe,C:\\Src\\Tool.exe,1,0\r\n\r\n");
    EXPECT_EQ(ExportedText(tree),
              "[APPLICATION_FOLDERS]\r\n%AppDir%\r\n\r\n"
              "[APPLICATION_FILES]\r\n,AppDir\\Tool.exe,%AppDir%\\Tool.exe,1,0\r\n\r\n");

    TreeUnderTest<FileTree> other;
    other.tree.AddFolder("%DestComp%\\%CommonFiles%\\Acme", true);
    other.tree.AddProductFile("%DestComp%\\%WinDir%\\%WinSysDir%\\x.ocx", "C:\\x.ocx", 3, 1, true);
    // Below the top node itself: saved, but under none of the exported folders.
    other.tree.AddProductFile("%DestComp%\\Stray.txt", "C:\\Stray.txt", 1, 0, true);
    EXPECT_EQ(SavedText(other.tree),
              "[APPLICATION_FILES]\r\nFolder=%CommonFiles%\\Acme\r\nFile=%WinSysDir%\\x.ocx,C:\\x.ocx,3,1\r\n"
              "File=%DestComp%\\Stray.txt,C:\\Stray.txt,1,0\r\n\r\n");
    EXPECT_EQ(ExportedText(other.tree),
              "[SHARED_FOLDERS]\r\n%CommonFiles%\\Acme\r\n\r\n"
              "[SYSTEM_FILES]\r\n,WinSysDir\\x.ocx,%WinSysDir%\\x.ocx,3,1\r\n\r\n");
}

TEST_F(Files, LoadingKeepsTheTreeWhateverTheOrderOfLinesAndSkipsWhatItCannotUse) {
    Load("APPLICATION_FILES",
         "File=%AppDir%\\Bin\\Tool.exe,C:\\Src\\Tool.exe,1,0\n"
         "Folder=%AppDir%\\Bin\n"                            // already made by the file line
         "File=%AppDir%\\a.txt,C:\\a.txt,1\n"                // only two commas
         "File=%AppDir%\\BIN\\tool.exe,C:\\Other.exe,1,0\n"  // the same path in other letters
         "Folder=%AppDir%\\Bin\\Tool.exe\\Sub\n"             // below a file
         "File=%WinSysDir%\\x.dll,C:\\x.dll,7junk,3\n"
         "Folder=%CommonFiles%\\Acme\n"
         "Unknown=1\n"
         "File=%AppDir%\\Bin\\Aaa.dll,C:\\Aaa.dll,,\n");
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(SavedText(tree),
              "[APPLICATION_FILES]\r\n"
              "Folder=%AppDir%\\Bin\r\n"
              "File=%AppDir%\\Bin\\Tool.exe,C:\\Src\\Tool.exe,1,0\r\n"
              "File=%AppDir%\\Bin\\Aaa.dll,C:\\Aaa.dll,0,0\r\n"
              "Folder=%CommonFiles%\\Acme\r\n"
              "File=%WinSysDir%\\x.dll,C:\\x.dll,7,3\r\n\r\n");
    // The folder made from the file's path is a user folder like any other.
    EXPECT_FALSE(FileTree::IsVariableFolder(tree.Find(kApp + "\\Bin")));
}

TEST_F(Files, TwentyThousandFilesInOneFolderKeepTheirOrderAndNames) {
    TreeNode* app = tree.Find(kApp);
    for (int i = 0; i < 20000; ++i)
        ASSERT_NE(tree.AddProductFile(app, "C:\\Src\\F" + std::to_string(i) + ".dat", 1, 0, false), nullptr);
    EXPECT_EQ(tree.AddProductFile(app, "C:\\Elsewhere\\f19999.DAT", 1, 0, false), nullptr);
    EXPECT_EQ(app->ChildCount(), 20000u);
    EXPECT_EQ(app->Child(12345)->Name(), "F12345.dat");
    EXPECT_EQ(tree.Find(kApp + "\\f777.DAT"), app->Child(777));
    EXPECT_EQ(tree.FindChild(app, "F777.dat"), app->Child(777));
    EXPECT_EQ(tree.FindChild(app, "F20000.dat"), nullptr);
}
