#include <gtest/gtest.h>

#include "TreeTestSupport.h"
#include "lang/UiTextSource.h"
#include "model/ProjectDocument.h"

namespace {
struct NoTexts : UiTextSource {
    std::string UiText(TextKey) const override { return ""; }
};

// The three tree sections of the golden project, loaded as the document loads them.
struct GoldenTrees {
    DocumentBase document;
    FileTree files;
    ShortcutTree shortcuts;
    RegistryTree registry;

    explicit GoldenTrees(const ProfileText& project) {
        for (DestinationTree* tree : {static_cast<DestinationTree*>(&files), static_cast<DestinationTree*>(&shortcuts),
                                      static_cast<DestinationTree*>(&registry)})
            tree->AttachTo(document);
        files.Reset();
        shortcuts.Reset();
        registry.Reset();
        files.Load(project);
        shortcuts.Load(project);
        registry.Load(project);
    }
    std::string Saved() const { return SavedText(files) + SavedText(shortcuts) + SavedText(registry); }
    std::string Exported() const {
        ScriptBuilder script;
        files.Export(script);
        shortcuts.Export(script);
        registry.Export(script);
        return script.Text();
    }
};

std::string Golden(const char* name) { return ReadBytes(DataPath(std::string("golden/") + name)); }
}  // namespace

TEST(TreesGolden, TheFilledTreesRoundTripByteForByteAndExportTheExpectedScript) {
    GoldenTrees trees(ProfileText(DataPath("golden"), "trees.qsp"));
    EXPECT_EQ(trees.Saved(), Golden("trees.qsp"));
    EXPECT_EQ(trees.Exported(), Golden("trees-setup.ini"));
}

// The same project written by hand in another order, with duplicates in other letters, comment
// lines and lines that belong to no key, loads to the same trees.
TEST(TreesGolden, AProjectInAnotherLineOrderLoadsToTheSameTrees) {
    const std::string golden = Golden("trees.qsp");
    std::string shuffled;
    for (const char* section : {"[APPLICATION_FILES]", "[SHORTCUTS]", "[REGISTRY_ENTRIES]"}) {
        size_t start = golden.find(section);
        size_t end = golden.find("\r\n\r\n", start);
        std::string body =
            golden.substr(start + std::string(section).size() + 2, end - start - std::string(section).size());
        // Reverse the lines within each parent: files first, folders last; values before keys.
        std::vector<std::string> lines;
        for (size_t at = 0; at < body.size();) {
            size_t eol = body.find("\r\n", at);
            lines.push_back(body.substr(at, eol - at));
            at = eol + 2;
        }
        shuffled += std::string(section) + "\r\n; written by hand\r\nUnknown=1\r\n";
        for (auto it = lines.rbegin(); it != lines.rend(); ++it) shuffled += *it + "\r\n";
        shuffled += "\r\n";
    }
    shuffled +=
        "[APPLICATION_FILES]\r\nFile=%AppDir%\\Extra.txt,C:\\Extra.txt,1,0\r\n\r\n";  // a second header is never read
    GoldenTrees trees(ProfileText::FromBytes(shuffled));
    // Reversed lines give reversed sibling order, so compare the sets of lines and the
    // rules that order them: every saved line is a golden line, and no line was lost.
    std::string saved = trees.Saved();
    EXPECT_EQ(saved.size(), golden.size());
    for (size_t at = 0; at < golden.size();) {
        size_t eol = golden.find("\r\n", at);
        std::string line = golden.substr(at, eol - at + 2);
        EXPECT_NE(saved.find(line), std::string::npos) << line;
        at = eol + 2;
    }
    EXPECT_EQ(saved.find("Extra.txt"), std::string::npos);
    EXPECT_EQ(GoldenTrees(ProfileText::FromBytes(saved)).Saved(), saved);
}

TEST(TreesGolden, TheDocumentLoadsSavesAndExportsItsTreesInTheirPlaces) {
    NoTexts texts;
    ProjectDocument doc(texts);
    ASSERT_TRUE(doc.Open(DataPath("golden/trees.qsp")));
    EXPECT_FALSE(doc.IsModified());
    ScratchFolder scratch;
    std::string path = scratch.File("Trees.qsp");
    doc.SaveAs(path);
    std::string saved = ReadBytes(path);
    std::string golden = Golden("trees.qsp");
    // The trees are the last sections but file types, in files, shortcuts, registry order.
    size_t at = saved.find(golden);
    ASSERT_NE(at, std::string::npos);
    EXPECT_LT(saved.find("[CREATE_SETUP]"), at);
    size_t fileTypes = saved.find("[FILE_TYPES]");
    EXPECT_TRUE(fileTypes == std::string::npos || fileTypes > at);

    // Other sections may put lines of their own into these script sections first, so each
    // golden section's lines must close its section in the document's script.
    ScriptBuilder script;
    doc.Export(script);
    std::string exported = script.Text();
    std::string fragment = Golden("trees-setup.ini");
    for (size_t start = 0; start < fragment.size();) {
        size_t end = fragment.find("\r\n\r\n", start) + 4;  // one section with its empty line
        std::string section = fragment.substr(start, end - start);
        std::string header = section.substr(0, section.find("\r\n") + 2);
        std::string body = section.substr(header.size());
        size_t found = exported.find(header);
        ASSERT_NE(found, std::string::npos) << header;
        size_t sectionEnd = exported.find("\r\n\r\n", found) + 4;
        EXPECT_EQ(exported.substr(sectionEnd - body.size(), body.size()), body) << header;
        start = end;
    }
    EXPECT_EQ(exported.rfind("[SETUP_INFO]\r\nVersion=1.0\r\n", 0), 0u);

    // Closing the project clears every tree; a new project resets them.
    doc.New();
    EXPECT_EQ(doc.fileTree.Find("%DestComp%\\%AppDir%\\Bin"), nullptr);
    EXPECT_NE(doc.fileTree.Find("%DestComp%\\%AppDir%"), nullptr);
    EXPECT_EQ(doc.shortcutTree.TopLevel(0)->Name(), "%DestComp%");
    EXPECT_EQ(doc.registryTree.Find("%DestComp%\\%HKEY_CURRENT_USER%\\Software"), nullptr);
    EXPECT_FALSE(doc.IsModified());
    doc.registryTree.AddKey(doc.registryTree.Find("%DestComp%\\%HKEY_USERS%"), "K", true);
    EXPECT_TRUE(doc.IsModified());
}
