#include <gtest/gtest.h>

#include "TreeTestSupport.h"
#include "model/ShortcutTree.h"

namespace {
struct Shortcuts : ::testing::Test, TreeUnderTest<ShortcutTree> {};

const std::string kAppSc = "%DestComp%\\%StartMenu%\\%StartMenuPrograms%\\%AppSCFolder%";

ShortcutFields Ordinary(const std::string& target, const std::string& workingFolder = "") {
    ShortcutFields fields;
    fields.target = target;
    fields.workingFolder = workingFolder;
    return fields;
}
}  // namespace

TEST_F(Shortcuts, ANewTreeHoldsTheSixVariableFoldersAndSavesNoLine) {
    std::vector<std::string> paths;
    tree.Walk([&](const TreeNode& node) {
        paths.push_back(ShortcutTree::PathOf(&node));
        EXPECT_TRUE(ShortcutTree::IsVariableFolder(&node));
    });
    EXPECT_EQ(paths, (std::vector<std::string>{
                         "%DestComp%", "%DestComp%\\%StartMenu%", "%DestComp%\\%StartMenu%\\%StartMenuPrograms%",
                         kAppSc, "%DestComp%\\%StartMenu%\\%StartMenuPrograms%\\%StartUp%", "%DestComp%\\%Desktop%"}));
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(SavedText(tree), "[SHORTCUTS]\r\n\r\n");
    EXPECT_EQ(ExportedText(tree), "");
}

TEST_F(Shortcuts, NewFoldersAreAllowedOnlyInTheApplicationFolderAndUserFolders) {
    for (const char* closed : {"%DestComp%", "%DestComp%\\%StartMenu%", "%DestComp%\\%StartMenu%\\%StartMenuPrograms%",
                               "%DestComp%\\%StartMenu%\\%StartMenuPrograms%\\%StartUp%", "%DestComp%\\%Desktop%"})
        EXPECT_FALSE(ShortcutTree::NewFoldersAllowed(tree.Find(closed))) << closed;
    EXPECT_TRUE(ShortcutTree::NewFoldersAllowed(tree.Find(kAppSc)));
    TreeNode* tools = tree.AddFolder(kAppSc + "\\Tools", true);
    EXPECT_TRUE(ShortcutTree::NewFoldersAllowed(tools));
    TreeNode* shortcut = tree.AddShortcut(tools, "Tool", Ordinary("%AppDir%\\Tool.exe"), true);
    EXPECT_FALSE(ShortcutTree::NewFoldersAllowed(shortcut));
    // A user folder named like a variable is still a user folder, and is saved.
    TreeNode* percent = tree.AddFolder(tools, "%Extras%", true);
    EXPECT_FALSE(ShortcutTree::IsVariableFolder(percent));
    EXPECT_NE(SavedText(tree).find("ShortcutFolder=%AppSCFolder%\\Tools\\%Extras%\r\n"), std::string::npos);
}

TEST_F(Shortcuts, AUserFolderInTheApplicationFolderIsSavedAndExportedAfterIt) {
    ASSERT_NE(tree.AddFolder(kAppSc + "\\Tools", true), nullptr);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(SavedText(tree), "[SHORTCUTS]\r\nShortcutFolder=%AppSCFolder%\\Tools\r\n\r\n");
    EXPECT_EQ(ExportedText(tree), "[SHORTCUT_FOLDERS]\r\n%AppSCFolder%\r\n%AppSCFolder%\\Tools\r\n\r\n");
}

TEST_F(Shortcuts, ADesktopShortcutAloneListsNoShortcutFolder) {
    ShortcutFields fields = Ordinary("%AppDir%\\Tool.exe", "%AppDir%");
    fields.parameters = "/x";
    fields.iconPath = "C:\\i.ico";
    fields.iconIndex = "2";
    fields.showCommand = 3;
    TreeNode* node = tree.AddShortcut("%DestComp%\\%Desktop%\\Tool", fields, true);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(ShortcutTree::ShortPath(node), "%Desktop%\\Tool");
    EXPECT_EQ(SavedText(tree),
              "[SHORTCUTS]\r\nShortcut=%Desktop%\\Tool,%AppDir%\\Tool.exe,/x,C:\\i.ico,2,3,%AppDir%\r\n\r\n");
    EXPECT_EQ(ExportedText(tree),
              "[SHORTCUTS]\r\ns,%Desktop%\\Tool,%AppDir%\\Tool.exe,/x,C:\\i.ico,2,3,%AppDir%\r\n\r\n");
}

TEST_F(Shortcuts, ShortPathsBeginWithTheDeepestVariableFolderAndExpandBack) {
    const char* const paths[] = {"%AppSCFolder%\\A", "%StartUp%\\B", "%StartMenuPrograms%\\C", "%StartMenu%\\D",
                                 "%Desktop%\\E"};
    std::string lines;
    for (const char* path : paths) lines += std::string("Shortcut=") + path + ",t,,,,1,\n";
    Load("SHORTCUTS", lines);
    tree.Walk([&](const TreeNode& node) {
        if (!ShortcutTree::IsFolder(&node)) {
            EXPECT_EQ(ShortcutTree::PathOf(&node).rfind("%DestComp%\\", 0), 0u);
        }
    });
    std::string expected = "[SHORTCUTS]\r\n";
    for (const char* path : paths) expected += std::string("Shortcut=") + path + ",t,,,,1,\r\n";
    // Walk order: the program folders' contents, then the start menu's, then the desktop's.
    EXPECT_EQ(SavedText(tree), expected + "\r\n");
    EXPECT_FALSE(document.IsModified());  // loading shortcuts does not mark the document
}

TEST_F(Shortcuts, LoadingKeepsCommasOnlyInTheWorkingFolder) {
    Load("SHORTCUTS",
         "Shortcut=%AppSCFolder%\\Sub\\Tool,C:\\Tool.exe,-a,,0,7,C:\\Data,Logs,Old\n"  // folder made from the path
         "ShortcutFolder=%AppSCFolder%\\Sub\n"                                         // then fails: it exists
         "Shortcut=%AppSCFolder%\\Five,C:\\x.exe,,,,1\n"                               // five commas
         "Shortcut=%AppSCFolder%\\Shifted,C:\\a,b.exe,,,,1,C:\\\n"                     // a comma in the target
         "InternetShortcut=%StartMenu%\\Web,http://example.com/\n"                     // no second comma
         "InternetShortcut=%StartMenu%\\Site,http://example.com/a,ignored,,,,,\n"
         "Shortcut=%appscfolder%\\sub\\TOOL,C:\\Other.exe,,,,1,\n");  // the same path
    TreeNode* tool = tree.Find(kAppSc + "\\Sub\\Tool");
    ASSERT_NE(tool, nullptr);
    const ShortcutFields* fields = ShortcutTree::FieldsOf(tool);
    ASSERT_NE(fields, nullptr);
    EXPECT_EQ(fields->target, "C:\\Tool.exe");
    EXPECT_EQ(fields->parameters, "-a");
    EXPECT_EQ(fields->iconPath, "");
    EXPECT_EQ(fields->iconIndex, "0");
    EXPECT_EQ(fields->showCommand, 7);
    EXPECT_EQ(fields->workingFolder, "C:\\Data,Logs,Old");
    EXPECT_FALSE(fields->internet);
    EXPECT_FALSE(ShortcutTree::IsVariableFolder(tree.Find(kAppSc + "\\Sub")));
    EXPECT_EQ(tree.Find(kAppSc + "\\Five"), nullptr);
    EXPECT_EQ(tree.Find("%DestComp%\\%StartMenu%\\Web"), nullptr);
    // The file form cannot keep a comma in the target: the fields shift.
    const ShortcutFields* shifted = ShortcutTree::FieldsOf(tree.Find(kAppSc + "\\Shifted"));
    ASSERT_NE(shifted, nullptr);
    EXPECT_EQ(shifted->target, "C:\\a");
    EXPECT_EQ(shifted->parameters, "b.exe");

    TreeNode* site = tree.Find("%DestComp%\\%StartMenu%\\Site");
    ASSERT_TRUE(ShortcutTree::IsInternetShortcut(site));
    EXPECT_EQ(ShortcutTree::FieldsOf(site)->target, "http://example.com/a");
    EXPECT_EQ(ShortcutTree::FieldsOf(site)->showCommand, 0);

    std::string saved = SavedText(tree);
    EXPECT_NE(saved.find("Shortcut=%AppSCFolder%\\Sub\\Tool,C:\\Tool.exe,-a,,0,7,C:\\Data,Logs,Old\r\n"),
              std::string::npos);
    EXPECT_NE(saved.find("InternetShortcut=%StartMenu%\\Site,http://example.com/a,,,,,,\r\n"), std::string::npos);
    TreeUnderTest<ShortcutTree> reloaded;
    reloaded.tree.Load(ProfileText::FromBytes(saved));
    EXPECT_EQ(SavedText(reloaded.tree), saved);
}

TEST_F(Shortcuts, AddsRefuseTakenNamesAndFieldsTheirLineCannotHold) {
    TreeNode* appSc = tree.Find(kAppSc);
    ASSERT_NE(tree.AddShortcut(appSc, "Tool", Ordinary("C:\\Tool.exe"), true), nullptr);
    EXPECT_EQ(tree.AddShortcut(appSc, "TOOL", Ordinary("C:\\Other.exe"), true), nullptr);
    EXPECT_EQ(tree.AddFolder(appSc, "tool", true), nullptr);
    EXPECT_EQ(tree.AddShortcut(kAppSc + "\\tOOl", Ordinary("C:\\x.exe"), true), nullptr);
    EXPECT_EQ(tree.AddShortcut("NoParent", Ordinary("C:\\x.exe"), true), nullptr);
    EXPECT_EQ(tree.AddShortcut(kAppSc + "\\Tool\\Inside", Ordinary("C:\\x.exe"), true), nullptr);
    EXPECT_EQ(tree.AddShortcut(appSc, "Comma", Ordinary("C:\\a,b.exe"), true), nullptr);
    EXPECT_EQ(tree.AddShortcut(appSc, "Line", Ordinary("C:\\x.exe", "C:\\\r\n"), true), nullptr);
    EXPECT_NE(tree.AddShortcut(appSc, "Work", Ordinary("C:\\x.exe", "C:\\a,b"), true), nullptr);

    // An internet shortcut keeps only its URL, as its line does.
    ShortcutFields web = Ordinary("http://example.com/", "C:\\ignored");
    web.internet = true;
    web.parameters = "p";
    TreeNode* site = tree.AddShortcut(appSc, "Site", web, true);
    ASSERT_NE(site, nullptr);
    EXPECT_EQ(ShortcutTree::FieldsOf(site)->workingFolder, "");
    EXPECT_EQ(ShortcutTree::FieldsOf(site)->parameters, "");
    EXPECT_EQ(ShortcutTree::FieldsOf(site)->showCommand, 0);
}

TEST_F(Shortcuts, SettersRenameAndReplaceFieldsUnderTheSameRules) {
    TreeNode* appSc = tree.Find(kAppSc);
    TreeNode* tool = tree.AddShortcut(appSc, "Tool", Ordinary("C:\\Tool.exe"), false);
    TreeNode* other = tree.AddShortcut(appSc, "Other", Ordinary("C:\\Other.exe"), false);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(ShortcutTree::FieldsOf(appSc), nullptr);
    EXPECT_FALSE(tree.SetFields(appSc, Ordinary("x"), true));
    EXPECT_FALSE(tree.SetName(tool, "other", true));
    EXPECT_FALSE(tree.SetName(appSc, "Renamed", true));  // a variable folder keeps its name
    EXPECT_FALSE(document.IsModified());
    EXPECT_TRUE(tree.SetName(tool, "TOOL", true));  // its own name in other letters
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(tree.Find(kAppSc + "\\tool"), tool);
    EXPECT_TRUE(tree.SetName(other, "Tool2", false));
    EXPECT_EQ(tree.Find(kAppSc + "\\Other"), nullptr);
    EXPECT_EQ(tree.Find(kAppSc + "\\tool2"), other);
    // A folder's new name must leave room for the longest path below it.
    TreeNode* folder = tree.AddFolder(kAppSc + "\\F", false);
    std::string longest(DestinationTree::kMaxPath - (kAppSc + "\\F\\").size(), 'x');  // a path of 259 bytes
    ASSERT_NE(tree.AddShortcut(folder, longest, Ordinary("C:\\x.exe"), false), nullptr);
    EXPECT_EQ(tree.AddShortcut(folder, longest + "x", Ordinary("C:\\x.exe"), false), nullptr);
    EXPECT_FALSE(tree.SetName(folder, "FF", true));
    EXPECT_TRUE(tree.SetName(folder, "G", true));

    ShortcutFields changed = Ordinary("C:\\New.exe", "C:\\Work");
    changed.showCommand = 7;
    changed.internet = true;  // the kind of a shortcut does not change
    EXPECT_TRUE(tree.SetFields(tool, changed, true));
    EXPECT_FALSE(ShortcutTree::IsInternetShortcut(tool));
    EXPECT_EQ(ShortcutTree::FieldsOf(tool)->showCommand, 7);
    EXPECT_EQ(ShortcutTree::FieldsOf(tool)->workingFolder, "C:\\Work");
    EXPECT_FALSE(tree.SetFields(tool, Ordinary("C:\\a,b.exe"), true));
    EXPECT_EQ(ShortcutTree::FieldsOf(tool)->target, "C:\\New.exe");
}
