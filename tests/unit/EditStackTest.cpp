#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>
#include <vector>

#include "TestSupport.h"
#include "model/ProjectDocument.h"

namespace {

// Seeded random edits of every part of an opened project, as the editor makes them.
class RandomEditor {
public:
    RandomEditor(ProjectDocument& doc, unsigned seed) : doc_(doc), random_(seed) {}

    void EditOnce() {
        using Edit = void (RandomEditor::*)();
        static const Edit kEdits[] = {&RandomEditor::GeneralInfo, &RandomEditor::SetupInfo,
                                      &RandomEditor::Requirements, &RandomEditor::Files,
                                      &RandomEditor::Shortcuts,   &RandomEditor::Registry,
                                      &RandomEditor::FileTypes,   &RandomEditor::Screens,
                                      &RandomEditor::Output};
        (this->*kEdits[Pick(std::size(kEdits))])();
    }

private:
    size_t Pick(size_t count) { return std::uniform_int_distribution<size_t>(0, count - 1)(random_); }
    bool Coin() { return Pick(2) == 1; }
    std::string Word() { return "w" + std::to_string(Pick(60)); }
    void Apply(ProjectPart part, const std::function<void()>& change) {
        doc_.Apply(ProjectEdit("Edit", part), change);
    }

    // The nodes of a tree that `want` accepts, in walk order.
    template <class Tree>
    std::vector<TreeNode*> Nodes(const Tree& tree, const std::function<bool(const TreeNode*)>& want) {
        std::vector<TreeNode*> nodes;
        tree.Walk([&](const TreeNode& node) {
            if (want(&node)) nodes.push_back(const_cast<TreeNode*>(&node));
        });
        return nodes;
    }
    template <class Tree>
    void RemoveSome(Tree& tree) {
        std::vector<TreeNode*> nodes = Nodes(tree, [](const TreeNode* n) { return !Tree::IsFixed(n); });
        if (nodes.empty()) return;
        TreeNode* victim = nodes[Pick(nodes.size())];
        tree.Remove(victim);
        tree.SetModified();
    }

    void GeneralInfo() {
        ::GeneralInfo& info = doc_.generalInfo;
        const std::string text = Word();
        Apply(kGeneralInfoPart, [&] {
            switch (Pick(3)) {
                case 0: info.SetProductName(info.ProductName() + text); break;
                case 1: info.SetCompanyName(text); break;
                default: info.SetCopyrightNotice(""); break;
            }
        });
    }
    void SetupInfo() {
        ::SetupInfo& info = doc_.setupInfo;
        const std::string text = Word();
        Apply(kSetupInfoPart, [&] {
            switch (Pick(6)) {
                case 0: info.SetDefaultInstallationPath("%ProgramFiles%\\" + text, true); break;
                case 1: info.SetEnableUninstaller(!info.EnableUninstaller(), true); break;
                case 2: info.AddLanguage(Coin() ? "French" : "Dutch", true); break;
                case 3: info.RemoveLanguage(info.SetupLanguages().empty() ? "" : info.SetupLanguages()[0], true); break;
                case 4: info.SetSetupType(static_cast<int>(Pick(3)), true); break;
                default: info.SetScope(Coin() ? ScopeChoice::CurrentUser : ScopeChoice::AllUsers, true); break;
            }
        });
    }
    void Requirements() {
        SystemRequirements& req = doc_.systemRequirements;
        Apply(kRequirementsPart, [&] {
            switch (Pick(3)) {
                case 0: req.SetAnyWindows(!req.AnyWindows(), true); break;
                case 1: req.SetAllowsVersion(static_cast<SystemRequirements::Version>(Pick(6)), Coin(), true); break;
                default: req.SetRequiredDiskSpace(std::to_string(Pick(100000)), true); break;
            }
        });
    }
    void Files() {
        FileTree& tree = doc_.fileTree;
        Apply(kFilesPart, [&] {
            std::vector<TreeNode*> folders = Nodes(tree, [](const TreeNode* n) {
                return FileTree::IsFolder(n) && !FileTree::IsTopNode(n);
            });
            TreeNode* folder = folders[Pick(folders.size())];
            switch (Pick(4)) {
                case 0: tree.AddFolder(folder, Word(), true); break;
                case 1: tree.AddProductFile(folder, "C:\\Src\\" + Word() + ".dll", FileTree::kCompress, 0, true); break;
                case 2: {
                    std::vector<TreeNode*> files = Nodes(tree, [](const TreeNode* n) { return !FileTree::IsFolder(n); });
                    if (!files.empty()) tree.SetOptions(files[Pick(files.size())], static_cast<int>(Pick(16)), true);
                    break;
                }
                default: RemoveSome(tree); break;
            }
        });
    }
    void Shortcuts() {
        ShortcutTree& tree = doc_.shortcutTree;
        Apply(kShortcutsPart, [&] {
            std::vector<TreeNode*> folders = Nodes(tree, [](const TreeNode* n) {
                return ShortcutTree::IsFolder(n) && ShortcutTree::NewFoldersAllowed(n);
            });
            TreeNode* folder = folders[Pick(folders.size())];
            ShortcutFields fields;
            fields.target = "%AppDir%\\" + Word() + ".exe";
            fields.showCommand = Coin() ? 1 : 7;
            switch (Pick(3)) {
                case 0: tree.AddFolder(folder, Word(), true); break;
                case 1: tree.AddShortcut(folder, Word(), fields, true); break;
                default: RemoveSome(tree); break;
            }
        });
    }
    void Registry() {
        RegistryTree& tree = doc_.registryTree;
        Apply(kRegistryPart, [&] {
            std::vector<TreeNode*> keys = Nodes(tree, [](const TreeNode* n) {
                return RegistryTree::IsKey(n) && !RegistryTree::IsTopNode(n);
            });
            TreeNode* key = keys[Pick(keys.size())];
            switch (Pick(5)) {
                case 0: tree.AddKey(key, Word(), true); break;
                case 1: tree.AddStringValue(key, Word(), Word(), true); break;
                case 2: tree.AddNumberValue(key, Word(), static_cast<std::uint32_t>(Pick(1000)), true); break;
                case 3: tree.AddBinaryValue(key, Word(), RegistryTree::BinaryFromText("01 A0 FF"), true); break;
                default: RemoveSome(tree); break;
            }
        });
    }
    void FileTypes() {
        FileTypeList& types = doc_.fileTypes;
        Apply(kFileTypesPart, [&] {
            const std::string ext = "." + Word();
            switch (Pick(3)) {
                case 0: types.Add(ext, ext + ".Doc", "Doc", "%AppDir%\\a.exe", "", 0, true); break;
                case 1:
                    if (types.Count()) types.Update(0, types.GetAt(0)->extension, "id" + ext, "Name", "", "", 1, true);
                    break;
                default:
                    if (types.Count() && types.RemoveAt(Pick(types.Count()))) types.SetModified(true);
                    break;
            }
        });
    }
    void Screens() {
        InstallerScreens& screens = doc_.installerScreens;
        Apply(kScreensPart, [&] {
            if (Coin())
                screens.SetShows(static_cast<ScreenSettings::Screen>(Pick(ScreenSettings::kScreenCount)), Coin());
            else
                screens.Set(&ScreenSettings::windowTitle, Word());
        });
    }
    void Output() {
        OutputSettings& output = doc_.outputSettings;
        Apply(kOutputPart, [&] {
            switch (Pick(3)) {
                case 0: output.SetSetupFileName(Word() + ".exe"); break;
                case 1: output.SetCreateSelfExtractingSetup(!output.CreateSelfExtractingSetup()); break;
                default: output.SetArchiveCompression(Coin() ? Compression::Small : Compression::Standard); break;
            }
        });
    }

    ProjectDocument& doc_;
    std::mt19937 random_;
};

}  // namespace

class EditStackDocument : public ::testing::Test {
protected:
    void SetUp() override {
        path = scratch.Write("Project.qsp", ReadBytes(DataPath("golden/full-project.qsp")));
        doc.Open(path);
    }
    // The project as Save writes it, beside the opened file so that no path is rebased.
    std::string Saved() {
        const std::string out = scratch.File("Saved.qsp");
        doc.SaveAs(out);
        return ReadBytes(out);
    }

    ScratchFolder scratch;
    ProjectDocument doc{EnglishTexts()};
    std::string path;
};

TEST_F(EditStackDocument, ThousandRandomEditsUndoToTheOriginalAndRedoToTheEditedBytes) {
    const std::string original = ReadBytes(path);
    ASSERT_EQ(Saved(), original);
    RandomEditor editor(doc, 20261207);
    for (int i = 0; i < 1000; ++i) editor.EditOnce();
    const size_t kept = doc.Edits().Count();
    EXPECT_GT(kept, 800u);  // the few edits that changed nothing were not kept
    const std::string edited = Saved();
    ASSERT_NE(edited, original);

    while (doc.Undo()) {}
    EXPECT_EQ(Saved(), original);
    while (doc.Redo()) {}
    EXPECT_EQ(Saved(), edited);
    EXPECT_EQ(doc.Edits().Count(), kept);  // the stack survives saving
}

TEST_F(EditStackDocument, ModifiedFlagFollowsTheStackAndAnnouncesEachChange) {
    std::vector<std::pair<ProjectChange::Kind, std::string>> heard;
    doc.SetChangeListener([&](const ProjectChange& change) { heard.emplace_back(change.kind, change.edit.Name()); });
    EXPECT_FALSE(doc.IsModified());
    doc.Apply(ProjectEdit("Change Product Name", kGeneralInfoPart), [&] { doc.generalInfo.SetProductName("A"); });
    EXPECT_TRUE(doc.IsModified());
    doc.Undo();
    EXPECT_FALSE(doc.IsModified());
    doc.Redo();
    EXPECT_TRUE(doc.IsModified());
    Saved();
    EXPECT_FALSE(doc.IsModified());
    doc.Undo();
    EXPECT_TRUE(doc.IsModified());
    doc.Redo();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(heard.size(), 5u);
    EXPECT_EQ(heard[1], std::make_pair(ProjectChange::Undone, std::string("Change Product Name")));

    // A new edit after undoing past the saved state leaves no way back to it.
    doc.Undo();
    doc.Apply(ProjectEdit("Change Company Name", kGeneralInfoPart), [&] { doc.generalInfo.SetCompanyName("B"); });
    doc.Undo();
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.Edits().CanRedo() && doc.Edits().NextRedo()->Name() == "Change Product Name");
}

TEST_F(EditStackDocument, TypingMergesUntilTheFieldIsLeftAndUnchangedEditsAreNotKept) {
    for (const char* text : {"N", "Ne", "New"})
        doc.Apply(ProjectEdit("Change Product Name", kGeneralInfoPart, "product"),
                  [&] { doc.generalInfo.SetProductName(text); });
    EXPECT_EQ(doc.Edits().Count(), 1u);
    doc.EndMerge();
    doc.Apply(ProjectEdit("Change Product Name", kGeneralInfoPart, "product"),
              [&] { doc.generalInfo.SetProductName("Newer"); });
    EXPECT_EQ(doc.Edits().Count(), 2u);
    EXPECT_EQ(doc.Apply(ProjectEdit("Change Product Name", kGeneralInfoPart),
                        [&] { doc.generalInfo.SetProductName("Newer"); }),
              nullptr);
    doc.Undo();
    EXPECT_EQ(doc.generalInfo.ProductName(), "New");
    doc.Undo();
    EXPECT_EQ(doc.generalInfo.ProductName(), "Demo Writer");
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(EditStackDocument, ChangesPastTheStackEndItsHistoryAndOpenNewClearIt) {
    doc.Apply(ProjectEdit("Change Product Name", kGeneralInfoPart), [&] { doc.generalInfo.SetProductName("A"); });
    doc.generalInfo.SetCompanyName("B");  // not through an edit
    EXPECT_FALSE(doc.Edits().CanUndo());
    EXPECT_TRUE(doc.IsModified());
    doc.SetModifiedFlag(false);
    doc.Open(path);
    doc.Apply(ProjectEdit("Change Product Name", kGeneralInfoPart), [&] { doc.generalInfo.SetProductName("A"); });
    doc.SetModifiedFlag(false);
    doc.New();
    EXPECT_FALSE(doc.Edits().CanUndo());
}

// What the editor keeps of a tree is node ids. An id finds its node whatever else changes around
// it; once the node is gone (deleted, or read anew by undo or redo) it finds nothing, never
// another node; and the node that undo or redo brings back is found by its own new id.
TEST_F(EditStackDocument, NodeIdsFindTheirNodesUntilTheyGoAndNeverAnother) {
    FileTree& files = doc.fileTree;
    TreeNode* appDir = files.Find("%DestComp%\\%AppDir%");
    ASSERT_NE(appDir, nullptr);
    TreeNodeId docs = kNoTreeNode, manual = kNoTreeNode, other = kNoTreeNode;
    doc.Apply(ProjectEdit("Add", kFilesPart), [&] {
        other = files.AddFolder(appDir, "Id Test Other", true)->Id();
        TreeNode* folder = files.AddFolder(appDir, "Id Test Docs", true);
        docs = folder->Id();
        manual = files.AddProductFile(folder, "C:\\Product\\Manual.pdf", FileTree::kCompress, 0, true)->Id();
    });
    ASSERT_NE(files.NodeById(docs), nullptr);
    EXPECT_EQ(files.NodeById(docs)->Name(), "Id Test Docs");
    EXPECT_EQ(files.NodeById(manual)->Name(), "Manual.pdf") << "a leaf is found too";
    EXPECT_EQ(files.NodeById(manual)->Parent(), files.NodeById(docs));
    EXPECT_NE(docs, manual);
    EXPECT_EQ(doc.shortcutTree.NodeById(docs), nullptr) << "an id of another tree";
    EXPECT_EQ(files.NodeById(kNoTreeNode), nullptr);

    // A sibling deleted before it moves the folder's place, not its id.
    const std::string placeBefore = DestinationTree::IndexPath(files.NodeById(docs), '/');
    doc.Apply(ProjectEdit("Delete Folder", kFilesPart), [&] {
        files.Remove(files.NodeById(other));
        files.SetModified();
    });
    EXPECT_EQ(files.NodeById(other), nullptr) << "a deleted node is found no more";
    ASSERT_NE(files.NodeById(docs), nullptr);
    EXPECT_EQ(files.NodeById(docs)->Name(), "Id Test Docs");
    EXPECT_NE(DestinationTree::IndexPath(files.NodeById(docs), '/'), placeBefore);

    // The folder deleted with its file: neither id finds anything.
    doc.Apply(ProjectEdit("Delete Folder", kFilesPart), [&] {
        files.Remove(files.NodeById(docs));
        files.SetModified();
    });
    EXPECT_EQ(files.NodeById(docs), nullptr);
    EXPECT_EQ(files.NodeById(manual), nullptr);

    // Undone: the folder is back, read anew under an id of its own; the old ids still find nothing.
    ASSERT_TRUE(doc.Undo());
    TreeNode* back = files.Find("%DestComp%\\%AppDir%\\Id Test Docs");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(files.NodeById(back->Id()), back);
    EXPECT_EQ(files.NodeById(docs), nullptr);
    EXPECT_EQ(files.NodeById(manual), nullptr);
    EXPECT_NE(back->Id(), docs);
    const TreeNodeId undone = back->Id();
    const TreeNodeId undoneManual = files.FindChild(back, "Manual.pdf", false)->Id();

    // Redone: gone again, and the ids of the undone state find nothing either.
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(files.Find("%DestComp%\\%AppDir%\\Id Test Docs"), nullptr);
    EXPECT_EQ(files.NodeById(undone), nullptr);
    EXPECT_EQ(files.NodeById(undoneManual), nullptr);
    ASSERT_TRUE(doc.Undo());
    TreeNode* again = files.Find("%DestComp%\\%AppDir%\\Id Test Docs");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(files.NodeById(again->Id()), again);
    EXPECT_NE(again->Id(), undone) << "no id is given twice";

    // Every node of every tree has an id of its own, and each finds its node.
    std::set<TreeNodeId> ids;
    for (const DestinationTree* tree :
         std::initializer_list<const DestinationTree*>{&doc.fileTree, &doc.shortcutTree, &doc.registryTree})
        tree->Walk([&](const TreeNode& node) {
            EXPECT_TRUE(ids.insert(node.Id()).second) << node.Name();
            EXPECT_EQ(tree->NodeById(node.Id()), &node) << node.Name();
        });
    EXPECT_GT(ids.size(), 20u);

    // A renamed shortcut keeps its id; a new document's nodes never take an id of this one.
    ShortcutTree& shortcuts = doc.shortcutTree;
    TreeNode* tools = shortcuts.Find("%DestComp%\\%StartMenu%\\%StartMenuPrograms%\\%AppSCFolder%\\Tools");
    ASSERT_NE(tools, nullptr);
    const TreeNodeId toolsId = tools->Id();
    ASSERT_TRUE(shortcuts.SetName(tools, "Utilities", false));
    EXPECT_EQ(shortcuts.NodeById(toolsId), tools);
    ProjectDocument second{EnglishTexts()};
    second.New();
    second.fileTree.Walk([&](const TreeNode& node) { EXPECT_FALSE(ids.count(node.Id())) << node.Name(); });
    EXPECT_EQ(second.shortcutTree.NodeById(toolsId), nullptr);
}

TEST(EditStack, DropsTheOldestBeyondItsCountOrBytesButNeverTheNewest) {
    EditStack stack(3, 1000);
    for (int i = 0; i < 5; ++i) {
        ProjectEdit edit("Edit " + std::to_string(i), kFilesPart);
        edit.Keep(kFilesPart, "x");
        stack.Push(std::move(edit));
    }
    EXPECT_EQ(stack.Count(), 3u);
    EXPECT_EQ(stack.StepBack().Name(), "Edit 4");
    EXPECT_EQ(stack.StepBack().Name(), "Edit 3");
    EXPECT_EQ(stack.StepBack().Name(), "Edit 2");
    EXPECT_FALSE(stack.CanUndo());
    EXPECT_FALSE(stack.AtSavedState());  // the saved state was dropped with the oldest edits

    ProjectEdit big("Big", kFilesPart);
    big.Keep(kFilesPart, std::string(5000, 'x'));
    stack.Push(std::move(big));
    EXPECT_EQ(stack.Count(), 1u);
    ProjectEdit next("Next", kFilesPart);
    next.Keep(kFilesPart, "x");
    stack.Push(std::move(next));
    EXPECT_EQ(stack.Count(), 1u);
    EXPECT_LT(stack.Bytes(), 1000u);
}
