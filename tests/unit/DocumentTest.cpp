#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Path.h"
#include "profile/ScriptBuilder.h"
#include "core/Exception.h"
#include "lang/UiTextSource.h"
#include "model/ProjectDocument.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace {
struct FakeTexts : UiTextSource {
    std::string UiText(TextKey key) const override {
        return key.Section() == std::string("STRINGS") && key.Number() == 2 ? "Project" : "";
    }
};

int TitleNumber(const std::string& title) { return std::stoi(title.substr(title.find('-') + 1)); }
}  // namespace

class Document : public ::testing::Test {
protected:
    FakeTexts texts;
    ProjectDocument doc{texts};
    ScratchFolder scratch;
};

TEST_F(Document, NewProjectsAreTitledWithTheWordAndAProcessWideCounter) {
    int titleChanges = 0;
    doc.SetTitleListener([&] { ++titleChanges; });
    ASSERT_TRUE(doc.New());
    std::string first = doc.Title();
    EXPECT_EQ(first.rfind("Project-", 0), 0u);
    EXPECT_EQ(doc.Path(), "");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_GE(titleChanges, 1);

    // Opening another project in between does not reset the counter.
    std::string path = scratch.Write("Other.qsp", "[BUILDER_INFO]\r\nVersion=1.0\r\n");
    doc.Open(path);
    EXPECT_EQ(doc.Title(), "Other");
    ProjectDocument another(texts);
    another.New();
    doc.New();
    EXPECT_EQ(TitleNumber(another.Title()), TitleNumber(first) + 1);
    EXPECT_EQ(TitleNumber(doc.Title()), TitleNumber(first) + 2);
}

TEST_F(Document, NewAndOpenAreRefusedWhileModified) {
    doc.New();
    doc.outputSettings.SetOutputFolder("C:\\Mine");
    std::string title = doc.Title();
    try {
        doc.New();
        FAIL();
    } catch (const ModelException& e) {
        EXPECT_EQ(e.Kind(), 3);
        EXPECT_EQ(e.Code(), 1);
        EXPECT_EQ(e.Text(), "");
    }
    EXPECT_THROW(doc.Open(scratch.Write("x.qsp", "")), ModelException);
    EXPECT_EQ(doc.outputSettings.OutputFolder(), "C:\\Mine");
    EXPECT_EQ(doc.Title(), title);
    EXPECT_TRUE(doc.IsModified());

    // SetModified(false) never clears the mark; the owner may.
    doc.outputSettings.SetModified(false);
    EXPECT_TRUE(doc.IsModified());
    doc.SetModifiedFlag(false);
    EXPECT_NO_THROW(doc.New());
}

TEST_F(Document, NewProjectSavesTheGoldenFileAndRoundTripsByteForByte) {
    ProjectDocument english(EnglishTexts());
    english.New();
    EXPECT_EQ(english.Title().rfind("Project-", 0), 0u);
    std::string path = scratch.File("New.qsp");
    ASSERT_TRUE(english.SaveAs(path));
    EXPECT_EQ(ReadBytes(path), ReadBytes(DataPath("golden/new-project.qsp")));
    EXPECT_EQ(english.Title(), "New");
    EXPECT_EQ(english.Path(), path);

    // A project that gives only some sections is saved whole: the others with their defaults.
    ProjectDocument reloaded(EnglishTexts());
    ASSERT_TRUE(reloaded.Open(DataPath("golden/output-settings.qsp")));
    EXPECT_FALSE(reloaded.IsModified());
    std::string copy = scratch.File("copy.qsp");
    reloaded.SaveAs(copy);
    std::string golden = ReadBytes(DataPath("golden/output-settings.qsp"));
    std::string createSetup = golden.substr(golden.find("[CREATE_SETUP]"));
    std::string expected = ReadBytes(DataPath("golden/new-project.qsp"));
    expected.replace(0, expected.find("[GENERAL_INFO]"), golden.substr(0, golden.find("[CREATE_SETUP]")));
    size_t at = expected.find("[CREATE_SETUP]");
    expected.replace(at, expected.find("[FILE_TYPES]") - at, createSetup);
    EXPECT_EQ(ReadBytes(copy), expected);
}

TEST_F(Document, OpeningAFileWithoutSectionsGivesNewProjectValues) {
    // A file with none of the project's sections is no project at all.
    EXPECT_THROW(doc.Open(scratch.Write("Other.qsp", "; nothing here\r\n[OTHER]\r\nKey=1\r\n")),
                 ProjectFormatException);
    doc.SetModifiedFlag(false);
    std::string path = scratch.Write("Empty.qsp", "; nothing here\r\n[BUILDER_INFO]\r\n");
    ASSERT_TRUE(doc.Open(path));
    EXPECT_TRUE(doc.ReadFindings().empty());
    EXPECT_EQ(doc.Title(), "Empty");
    EXPECT_EQ(doc.Path(), path);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.builderInfo.Version(), "1.0");
    EXPECT_EQ(doc.outputSettings.OutputFolder(), "C:\\BuilderProjects");
    EXPECT_EQ(doc.outputSettings.SetupFileName(), "Setup.exe");
    EXPECT_TRUE(doc.outputSettings.CreateSelfExtractingSetup());
}

TEST_F(Document, FailedOpenLeavesTheDocumentClearedAndModified) {
    doc.New();
    try {
        doc.Open(scratch.File("absent.qsp"));
        FAIL();
    } catch (const FileException& e) {
        EXPECT_EQ(e.Text(), scratch.File("absent.qsp"));
    }
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.outputSettings.OutputFolder(), "");
}

TEST_F(Document, TitleFollowsThePathWithoutAThreeLetterExtension) {
    doc.SetPath("C:\\Work\\Demo.qsp");
    EXPECT_EQ(doc.Title(), "Demo");
    doc.SetPath("C:\\Work\\Demo.project");
    EXPECT_EQ(doc.Title(), "Demo.project");
    doc.SetPath("C:\\Work\\Demo");
    EXPECT_EQ(doc.Title(), "Demo");
    doc.SetPath("ab");
    EXPECT_EQ(doc.Title(), "ab");
    doc.SetPath("C:\\Work\\x.qsp");
    EXPECT_EQ(doc.Title(), "x");

    // The same path in other letters changes nothing.
    doc.SetPath("C:\\Work\\Demo.qsp");
    doc.SetTitle("Custom");
    doc.SetPath("c:\\work\\DEMO.QSP");
    EXPECT_EQ(doc.Path(), "C:\\Work\\Demo.qsp");
    EXPECT_EQ(doc.Title(), "Custom");
    doc.SetTitle("CUSTOM");
    EXPECT_EQ(doc.Title(), "Custom");
}

TEST_F(Document, SaveWritesOnlyWhenModified) {
    doc.New();
    std::string path = scratch.File("Saved.qsp");
    doc.SaveAs(path);
    ASSERT_TRUE(RemoveFile(path));
    EXPECT_TRUE(doc.Save());
    EXPECT_EQ(ReadBytes(path), "<missing " + path + ">");

    doc.outputSettings.SetSetupFileName("Other.exe");
    EXPECT_TRUE(doc.Save());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_NE(ReadBytes(path).find("SetupFilename=Other.exe\r\n"), std::string::npos);
}

TEST_F(Document, AHeaderTextInsideAValueKeepsTheSectionsAndSurvivesSaving) {
    std::string path = scratch.Write("Tricky.qsp",
                                     "[GENERAL_INFO]\r\nProductDescription=x[APPLICATION_FILES]\r\n\r\n"
                                     "[APPLICATION_FILES]\r\nFolder=%AppDir%\\Bin\r\n");
    ASSERT_TRUE(doc.Open(path));
    EXPECT_EQ(doc.generalInfo.ProductDescription(), "x[APPLICATION_FILES]");
    std::string saved = scratch.File("Saved.qsp");
    ASSERT_TRUE(doc.SaveAs(saved));
    EXPECT_NE(ReadBytes(saved).find("[APPLICATION_FILES]\r\nFolder=%AppDir%\\Bin\r\n"), std::string::npos);
    ProjectDocument again(texts);
    ASSERT_TRUE(again.Open(saved));
    std::string resaved = scratch.File("Resaved.qsp");
    ASSERT_TRUE(again.SaveAs(resaved));
    EXPECT_EQ(ReadBytes(resaved), ReadBytes(saved));
}

TEST_F(Document, FailedSaveKeepsTheOldFileAndTheDocumentState) {
    doc.New();
    std::string path = scratch.File("Keep.qsp");
    doc.SaveAs(path);
    std::string before = ReadBytes(path);
    doc.outputSettings.SetOutputFolder("C:\\Changed");

    // A folder that does not exist: the file cannot be created.
    std::string unreachable = JoinPath(JoinPath(scratch.Path(), "no-such-folder"), "X.qsp");
    try {
        doc.SaveAs(unreachable);
        FAIL();
    } catch (const FileException& e) {
        EXPECT_EQ(e.Text(), unreachable);
        EXPECT_EQ(e.Code(), 2);
    }
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Path(), path);
    EXPECT_EQ(doc.Title(), "Keep");

    // The new text is written but cannot take the old file's place (a folder stands there):
    // nothing is left behind and the document is unchanged.
    std::string blocked = JoinPath(scratch.Path(), "Blocked.qsp");
    ASSERT_TRUE(platform::MakeFolder(blocked));
    EXPECT_THROW(doc.SaveAs(blocked), FileException);
    EXPECT_TRUE(platform::IsFolder(blocked));
    EXPECT_FALSE(platform::IsFile(blocked + ".saving~"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Path(), path);
    EXPECT_TRUE(platform::RemoveFolder(blocked));

    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_TRUE(doc.Save());
    EXPECT_NE(ReadBytes(path).find("OutputFolder=C:\\Changed\r\n"), std::string::npos);
}

TEST_F(Document, ExportBeginsTheScriptWithTheFixedVersionLine) {
    ASSERT_TRUE(doc.Open(DataPath("golden/output-settings.qsp")));
    EXPECT_EQ(doc.builderInfo.Version(), "2.5");
    ScriptBuilder script;
    doc.Export(script);
    EXPECT_EQ(script.Text().rfind("[SETUP_INFO]\r\nVersion=1.0\r\nDefaultInstallationPath=", 0), 0u);
}

TEST(WizardData, SettersMarkOnlyRealChanges) {
    ProjectWizardData data;
    EXPECT_EQ(data.CompanyName(), "My Company");
    EXPECT_EQ(data.ProductName(), "My Application");
    EXPECT_EQ(data.ProductVersion(), "1.0");
    EXPECT_TRUE(data.scanOption);
    data.SetCompanyName("My Company");
    EXPECT_FALSE(data.IsModified());
    data.SetCompanyName("My company");
    EXPECT_TRUE(data.IsModified());
    EXPECT_EQ(data.CompanyName(), "My company");
    EXPECT_TRUE(data.SaveAs("never-written.qsp"));  // the base writes nothing
    EXPECT_FALSE(platform::IsFile("never-written.qsp"));
}

TEST(ScriptBuilder, GroupsLinesUnderSectionsInOrderOfFirstUse) {
    ScriptBuilder script;
    script.AddLine("[A]", "1");
    script.AddLine("[B]", "2");
    script.AddLine("[A]", "3");
    script.AddLine("[a]", "4");
    EXPECT_EQ(script.Text(), "[A]\r\n1\r\n3\r\n\r\n[B]\r\n2\r\n\r\n[a]\r\n4\r\n\r\n");
    ScratchFolder scratch;
    File file(scratch.Path(), scratch.File("setup.ini").substr(scratch.Path().size() + 1), CreateWrite);
    ASSERT_TRUE(script.WriteTo(file));
    file.Close();
    EXPECT_EQ(ReadBytes(scratch.File("setup.ini")), script.Text());
}

// Saved beside where it was read, so that its relative readme path stays as it is.
TEST(FullProject, EverySectionRoundTripsAndExportsByteForByte) {
    ScratchFolder scratch;
    const std::string original = scratch.Write("full-project.qsp", ReadBytes(DataPath("golden/full-project.qsp")));
    ProjectDocument doc(EnglishTexts());
    ASSERT_TRUE(doc.Open(original));
    EXPECT_FALSE(doc.IsModified());  // the file types were added marked; Open clears the mark
    EXPECT_EQ(doc.generalInfo.ProductName(), "Demo Writer");
    EXPECT_EQ(doc.fileTypes.Count(), 2u);

    std::string copy = scratch.File("copy.qsp");
    ASSERT_TRUE(doc.SaveAs(copy));
    EXPECT_EQ(ReadBytes(copy), ReadBytes(DataPath("golden/full-project.qsp")));

    ScriptBuilder script;
    doc.Export(script);
    EXPECT_EQ(script.Text(), ReadBytes(DataPath("golden/full-project-setup.ini")));
}

TEST(FullProject, ClosingEmptiesTheSectionsThatHaveClear) {
    ProjectDocument doc(EnglishTexts());
    ASSERT_TRUE(doc.Open(DataPath("golden/full-project.qsp")));
    doc.SetModifiedFlag(true);
    try {
        doc.Open(DataPath("golden/no-such-project.qsp"));
    } catch (const ModelException&) {
        doc.SetModifiedFlag(false);
    }
    EXPECT_THROW(doc.Open(DataPath("golden/no-such-project.qsp")), FileException);
    EXPECT_EQ(doc.generalInfo.ProductName(), "");
    EXPECT_TRUE(doc.setupInfo.SetupLanguages().empty());
    EXPECT_EQ(doc.fileTypes.Count(), 0u);
    EXPECT_EQ(doc.installerScreens.heading.text, "");
    // Sections without Clear keep their values, as do the yes/no values of the others.
    EXPECT_FALSE(doc.systemRequirements.AnyWindows());
    EXPECT_EQ(doc.setupInfo.SetupType(), 2);
}

// The files that the build reads stay where they are when the project file moves: paths below the
// project's folder are kept relative to it, so that the folder builds wherever it is checked out.
TEST_F(Document, SaveAsKeepsTheFilesThatTheBuildReadsAndRelativeBelowTheProject) {
    const std::string work = scratch.Folder("work");
    const std::string elsewhere = scratch.Folder("elsewhere");
    doc.New();
    doc.fileTree.AddProductFile("%DestComp%\\%AppDir%\\a.exe", JoinPath(work, "bin\\a.exe"), 1, 0, true);
    doc.fileTree.AddProductFile("%DestComp%\\%AppDir%\\c.dll", JoinPath(elsewhere, "c.dll"), 1, 0, true);
    doc.installerScreens.Set(&ScreenSettings::licensePath, JoinPath(work, "License.txt"));
    doc.outputSettings.SetSetupIconPath(JoinPath(elsewhere, "Setup.ico"));
    doc.outputSettings.SetOutputFolder("output");
    const auto source = [this](const char* name) {
        return FileTree::SourcePath(doc.fileTree.Find(std::string("%DestComp%\\%AppDir%\\") + name));
    };

    // A new project's files below its folder become relative on the first save.
    doc.SaveAs(JoinPath(work, "Notes.qsp"));
    EXPECT_EQ(source("a.exe"), "bin\\a.exe");
    EXPECT_EQ(source("c.dll"), JoinPath(elsewhere, "c.dll"));
    EXPECT_EQ(doc.installerScreens.licensePath, "License.txt");
    EXPECT_EQ(doc.outputSettings.SetupIconPath(), JoinPath(elsewhere, "Setup.ico"));
    const std::string saved = ReadBytes(JoinPath(work, "Notes.qsp"));
    EXPECT_NE(saved.find("File=%AppDir%\\a.exe,bin\\a.exe,1,0\r\n"), std::string::npos);
    EXPECT_NE(saved.find("OutputFolder=output\r\n"), std::string::npos);

    // Saved elsewhere, each path names the same file: in full, or relative below the new folder.
    doc.SaveAs(JoinPath(elsewhere, "Notes.qsp"));
    EXPECT_EQ(source("a.exe"), JoinPath(work, "bin\\a.exe"));
    EXPECT_EQ(source("c.dll"), "c.dll");
    EXPECT_EQ(doc.outputSettings.SetupIconPath(), "Setup.ico");
    EXPECT_EQ(doc.installerScreens.licensePath, JoinPath(work, "License.txt"));
    EXPECT_EQ(doc.outputSettings.OutputFolder(), "output") << "the output stays beside the project";

    // Saved in a folder above them, they become relative again.
    doc.SaveAs(JoinPath(scratch.Path(), "Notes.qsp"));
    EXPECT_EQ(source("a.exe"), "work\\bin\\a.exe");
    EXPECT_EQ(source("c.dll"), "elsewhere\\c.dll");
    // A save where it was leaves every path as the user wrote it.
    doc.fileTree.AddProductFile("%DestComp%\\%AppDir%\\d.dll", JoinPath(work, "d.dll"), 1, 0, true);
    doc.Save();
    EXPECT_EQ(source("d.dll"), JoinPath(work, "d.dll"));

    // A save that fails leaves the paths as they were.
    const std::string blocked = JoinPath(work, "Blocked.qsp");
    ASSERT_TRUE(platform::MakeFolder(blocked));
    EXPECT_THROW(doc.SaveAs(blocked), FileException);
    EXPECT_EQ(source("a.exe"), "work\\bin\\a.exe");
    EXPECT_EQ(doc.installerScreens.licensePath, "work\\License.txt");
}
