#include <gtest/gtest.h>

#include "TestSupport.h"
#include "model/ProjectDocument.h"
#include "model/WizardProject.h"

namespace {

struct WizardProject : ::testing::Test {
    ScratchFolder product;
    ProjectDocument project{EnglishTexts()};
    ProjectWizardData answers;

    void SetUp() override {
        product.Write("a.exe", "A");
        product.Folder("sub");
        product.Write("sub\\b.dll", "B");
        answers.SetFilesFolder(product.Path());
    }
    const TreeNode* Node(const std::string& path) const { return project.fileTree.Find(path); }
};

TEST_F(WizardProject, RecursiveScanAddsFoldersBeforeTheirFilesWithTheirSourcePaths) {
    answers.SetCompanyName("Acme");
    answers.SetProductName("Rocket");
    answers.SetCopyrightNotice("(C) Acme");
    const WizardFiles added = CreateWizardProject(project, answers);

    EXPECT_EQ(WizardFiles::None, added.problem);
    EXPECT_EQ(2u, added.files);
    EXPECT_EQ(1u, added.folders);
    const TreeNode* a = Node("%DestComp%\\%AppDir%\\a.exe");
    const TreeNode* b = Node("%DestComp%\\%AppDir%\\sub\\b.dll");
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(FileTree::IsFolder(Node("%DestComp%\\%AppDir%\\sub")));
    EXPECT_EQ(product.File("sub\\b.dll"), FileTree::SourcePath(b));
    EXPECT_EQ(1, FileTree::Options(a));
    EXPECT_EQ(0, FileTree::ReplaceMode(a));

    const GeneralInfo& info = project.generalInfo;
    EXPECT_EQ("Acme", info.CompanyName());
    EXPECT_EQ("Rocket", info.ProductName());
    EXPECT_EQ("1.0", info.ProductVersion());
    EXPECT_EQ("(C) Acme", info.CopyrightNotice());
    EXPECT_TRUE(project.IsModified());
    // The rest of the project is a new project's: the fixed folders are there.
    EXPECT_TRUE(Node("%DestComp%\\%WinDir%\\%WinSysDir%"));
    // Its output goes beside the project file, wherever that is saved.
    EXPECT_EQ("output", project.outputSettings.OutputFolder());
    // The copyright notice is asked for in full: the footer does not add the company again, and
    // the setup window is titled after the product.
    EXPECT_EQ("%ProductName% Setup", project.installerScreens.windowTitle);
    EXPECT_EQ("%Copyright% %ProductURL%", project.installerScreens.footer.text);
    EXPECT_EQ(std::string::npos, project.installerScreens.footer.text.find("%CompanyName%"));
}

TEST_F(WizardProject, FlatScanTakesTheTopLevelFilesOnly) {
    answers.scanOption = false;
    const WizardFiles added = CreateWizardProject(project, answers);
    EXPECT_EQ(1u, added.files);
    EXPECT_EQ(0u, added.folders);
    EXPECT_TRUE(Node("%DestComp%\\%AppDir%\\a.exe"));
    EXPECT_FALSE(Node("%DestComp%\\%AppDir%\\sub"));
}

// The project is still made, with its general information, and the caller learns why it holds
// no files.
TEST_F(WizardProject, AMissingFolderGivesAProjectWithoutFilesAndSaysWhy) {
    answers.SetFilesFolder(product.File("absent"));
    answers.SetProductName("Rocket");
    const WizardFiles added = CreateWizardProject(project, answers);
    EXPECT_EQ(WizardFiles::Missing, added.problem);
    EXPECT_EQ(0u, added.files);
    EXPECT_EQ("Rocket", project.generalInfo.ProductName());
    EXPECT_EQ(0u, project.fileTree.Find("%DestComp%\\%AppDir%")->ChildCount());

    answers.SetFilesFolder("");
    project.SetModifiedFlag(false);  // as when the user declines to save
    EXPECT_EQ(WizardFiles::NoFolder, CreateWizardProject(project, answers).problem);
}

// Two runs with the same answers make the same project file, whatever the first project held.
TEST_F(WizardProject, TheSameAnswersSaveTheSameBytes) {
    ScratchFolder projects;
    CreateWizardProject(project, answers);
    const std::string first = projects.File("first.qsp");
    project.SaveAs(first);
    ProjectDocument other(EnglishTexts());
    other.generalInfo.SetProductName("Something else");
    other.SetModifiedFlag(false);
    CreateWizardProject(other, answers);
    const std::string second = projects.File("second.qsp");
    other.SaveAs(second);
    EXPECT_EQ(ReadBytes(first), ReadBytes(second));
}

}  // namespace
