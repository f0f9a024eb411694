#include <gtest/gtest.h>

#include <memory>

#include "BuildTestSupport.h"
#include "TestSupport.h"
#include "build/BuildJob.h"
#include "build/ContainerWriter.h"
#include "build/ProjectPaths.h"
#include "lang/UiTextSource.h"
#include "model/ProjectDocument.h"
#include "platform/File.h"

namespace {

struct NoTexts : UiTextSource {
    std::string UiText(const std::string&, const std::string&) const override { return ""; }
};

std::string LogLines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text += std::string(line) + "\n";
    return text;
}

// The lines of a build up to a finished archive holding only the uninstaller.
const std::string kUpToArchive = LogLines({"Setup build process started", "Checking dependencies...",
                                        "Creating setup.ini file...", "setup.ini - OK",
                                        "Adding files to the product file archive setup.zip...",
                                        "uninstall.exe - OK", "setup.zip - OK"});

std::string Summary(int errors) {
    return LogLines({"Setup build process has finished", "--------------------------------"}) + "Errors: " +
           std::to_string(errors) + "  Warnings: 0\n";
}

}  // namespace

class Build : public ::testing::Test {
protected:
    void SetUp() override {
        builder = MakeBuilderFolder(scratch, true);
        projectFolder = scratch.Folder("project");
    }

    // Opens a project file written into the project folder: [CREATE_SETUP] with the given lines
    // after the defaults of an output folder "out" and a setup file "Setup.exe".
    void OpenProject(const std::string& createSetup, const std::string& otherSections = "") {
        const std::string path = scratch.Write("project\\Demo.qsp",
                                               "[BUILDER_INFO]\r\nVersion=1.0\r\n\r\n[CREATE_SETUP]\r\n"
                                               "OutputFolder=out\r\nSetupFilename=Setup.exe\r\n" +
                                                   createSetup + "\r\n" + otherSections);
        project = std::make_unique<ProjectDocument>(texts);
        project->Open(path);
    }

    int Run() {
        ScopedTempFolder temp(tempFolder);
        BuildJob job(*project, *log, builder);
        job.Run();
        return job.ErrorCount();
    }

    std::string Output(const std::string& name) { return ReadBytes(JoinPath(projectFolder, "out\\" + name)); }
    std::vector<std::string> OutputNames() { return FolderNames(JoinPath(projectFolder, "out")); }
    std::string Program(const std::string& name) { return ReadBytes(builder + "\\setup\\" + name); }

    NoTexts texts;
    ScratchFolder scratch;
    std::string builder, projectFolder;
    std::string tempFolder = scratch.Folder("temp");
    std::unique_ptr<ProjectDocument> project;
    std::unique_ptr<RecordingLog> log = std::make_unique<RecordingLog>();
};

TEST_F(Build, SelfExtractingBuildWritesTheContainerAndLogsEveryStep) {
    OpenProject("CreateSelfExtractedSetup=Yes\r\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(log->Text(),
              kUpToArchive + LogLines({"Creating self-extracted executable Setup.exe", "Setup.exe - OK"}) + Summary(0));
    EXPECT_EQ(log->steps, 3);
    EXPECT_EQ(OutputNames(), std::vector<std::string>{"Setup.exe"});
    EXPECT_TRUE(FolderNames(tempFolder).empty()) << "temporary files left behind";

    const std::string bytes = Output("Setup.exe");
    Container container = ReadContainer(bytes);
    ASSERT_TRUE(container.valid);
    ASSERT_EQ(container.files.size(), 4u);
    const char* names[] = {"setup.ini", "setup.zip", "English.dat", "setup.exe"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(container.files[i].name, names[i]);
    EXPECT_EQ(container.files[0].offset, Program("_sfx.exe").size());
    EXPECT_EQ(bytes.substr(0, container.files[0].offset), Program("_sfx.exe"));
    auto data = [&](int i) { return bytes.substr(container.files[i].offset, container.files[i].size); };
    EXPECT_EQ(data(0).substr(0, 27), "[SETUP_INFO]\r\nVersion=1.0\r\n");
    EXPECT_EQ(data(2), ReadBytes(builder + "\\LanguageSets\\Setup\\English.dat"));
    EXPECT_EQ(data(3), Program("_setup.exe"));
    ASSERT_EQ(container.commands.size(), 1u);
    EXPECT_EQ(container.commands[0], std::make_pair(1000u, std::string("setup.exe")));

    // The archive inside holds the uninstaller at its top level.
    const std::string zip = scratch.Write("inner.zip", data(1));
    std::vector<ZipEntry> entries = ReadZip(zip);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "uninstall.exe");
    EXPECT_EQ(entries[0].data, Program("_uninstall.exe"));

    // The stored checksum is that of the file with the checksum bytes zero.
    const std::uint32_t stored = ReadInt(bytes, bytes.size() - 16);
    std::string zeroed = bytes;
    zeroed.replace(bytes.size() - 16, 4, std::string(4, '\0'));
    EXPECT_EQ(FileChecksum(scratch.Write("zeroed.exe", zeroed)), stored);
}

TEST_F(Build, TwoBuildsOfTheSameProjectAreByteIdentical) {
    OpenProject("CreateSelfExtractedSetup=Yes\r\n");
    Run();
    const std::string first = Output("Setup.exe");
    Run();
    EXPECT_EQ(Output("Setup.exe"), first);
    EXPECT_FALSE(first.empty());
}

TEST_F(Build, CopyModeFillsTheOutputFolder) {
    OpenProject("CreateSelfExtractedSetup=No\r\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(log->Text(), kUpToArchive +
                               LogLines({"Copying files to the output directory", "language file English - OK",
                                      "Setup executable file Setup.exe - OK"}) +
                               Summary(0));
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"English.dat", "Setup.exe", "setup.ini", "setup.zip"}));
    EXPECT_EQ(Output("Setup.exe"), Program("_setup.exe"));
    EXPECT_EQ(ReadZip(JoinPath(projectFolder, "out\\setup.zip")).size(), 1u);
}

TEST_F(Build, MissingInstallerProgramsAreErrorsAndLeaveNoBrokenSetup) {
    builder = MakeBuilderFolder(scratch, false);
    builder = scratch.Folder("empty-builder");
    OpenProject("CreateSelfExtractedSetup=Yes\r\n");
    EXPECT_EQ(Run(), 4);
    for (const char* line : {"uninstall.exe - Error", "Error! Can not add language file English to the self-extracted file",
                             "Error! Can not add setup executable to the self-extracted file",
                             "Error! Can not create self-extracted file Setup.exe", "Errors: 4  Warnings: 0"})
        EXPECT_TRUE(log->Has(line)) << line;
    EXPECT_FALSE(log->Has("Setup.exe - OK"));
    EXPECT_TRUE(OutputNames().empty());
    EXPECT_TRUE(FolderNames(tempFolder).empty());
}

TEST_F(Build, AnUncreatableOutputFolderFailsEveryLaterStep) {
    OpenProject("OutputFolder=missing\\deeper\r\nCreateSelfExtractedSetup=No\r\n");
    EXPECT_EQ(Run(), 4);
    EXPECT_EQ(log->Text(), LogLines({"Setup build process started", "Checking dependencies...",
                                 "Error! Can not create setup.ini file",
                                 "Error! Can not create product file archive: setup.zip",
                                 "Copying files to the output directory",
                                 "Error! Can not copy language file: English.dat",
                                 "Error! Can not copy setup executable file: Setup.exe"}) +
                               Summary(4));
}

TEST_F(Build, CancelEndsTheBuildWithoutSummaryAndRemovesTemporaryFiles) {
    OpenProject("CreateSelfExtractedSetup=Yes\r\n");
    log->cancelAt = "Adding files to the product file archive setup.zip...";
    Run();
    EXPECT_EQ(log->lines.back(), log->cancelAt);
    EXPECT_EQ(log->steps, 2);
    EXPECT_TRUE(OutputNames().empty());
    EXPECT_TRUE(FolderNames(tempFolder).empty());

    log = std::make_unique<RecordingLog>();
    log->cancelAt = "Creating self-extracted executable Setup.exe";
    Run();
    EXPECT_EQ(log->lines.back(), log->cancelAt);
    EXPECT_TRUE(OutputNames().empty());
    EXPECT_TRUE(FolderNames(tempFolder).empty());
}

TEST_F(Build, CustomIconGoesIntoTheInstallerAndTheStubBeforeTheChecksum) {
    const std::string image(744, 'c');
    scratch.Folder("project\\icons");
    scratch.Write("project\\icons\\My.ico", IconFile({{32, 32, 16, image}}));
    OpenProject("SetupIconPathname=icons\\My.ico\r\nCreateSelfExtractedSetup=Yes\r\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(log->Has("Customize setup icon - OK"));
    EXPECT_TRUE(log->Has("Customize self-extracted file icon - OK"));
    const std::string bytes = Output("Setup.exe");
    Container container = ReadContainer(bytes);
    ASSERT_EQ(container.files.size(), 4u);
    const std::string stub = bytes.substr(0, container.files[0].offset);
    EXPECT_EQ(stub.size(), Program("_sfx.exe").size());
    EXPECT_NE(stub.find(image), std::string::npos);
    EXPECT_NE(bytes.substr(container.files[3].offset, container.files[3].size).find(image), std::string::npos);
    std::string zeroed = bytes;
    zeroed.replace(bytes.size() - 16, 4, std::string(4, '\0'));
    EXPECT_EQ(FileChecksum(scratch.Write("zeroed.exe", zeroed)), ReadInt(bytes, bytes.size() - 16));
    // The builder's own programs are never changed.
    EXPECT_EQ(Program("_setup.exe"), ProgramWithIcon("installer"));
}

TEST_F(Build, AnUnusableIconIsAnErrorInBothModes) {
    scratch.Write("project\\bad.ico", "not an icon");
    OpenProject("SetupIconPathname=bad.ico\r\nCreateSelfExtractedSetup=Yes\r\n");
    EXPECT_EQ(Run(), 2);
    EXPECT_TRUE(log->Has("Error! Can not replace setup icon"));
    EXPECT_TRUE(log->Has("Error! Can not replace self-extracted file icon"));
    EXPECT_TRUE(log->Has("Setup.exe - OK"));

    log = std::make_unique<RecordingLog>();
    OpenProject("SetupIconPathname=bad.ico\r\nCreateSelfExtractedSetup=No\r\n");
    EXPECT_EQ(Run(), 1);
    EXPECT_TRUE(log->Has("Error! Can not replace setup icon"));
}

TEST(ProjectPaths, RelativePathsAreTakenFromTheProjectFolder) {
    EXPECT_EQ(ResolveProjectPath("C:\\Work\\Demo", "files\\app.exe"), "C:\\Work\\Demo\\files\\app.exe");
    EXPECT_EQ(ResolveProjectPath("C:\\Work\\Demo", "..\\Shared\\x.txt"), "C:\\Work\\Demo\\..\\Shared\\x.txt");
    EXPECT_EQ(ResolveProjectPath("C:\\Work\\Demo", "D:\\Other\\x.txt"), "D:\\Other\\x.txt");
    EXPECT_EQ(ResolveProjectPath("C:\\Work\\Demo", "\\\\server\\share\\x.txt"), "\\\\server\\share\\x.txt");
    EXPECT_EQ(ResolveProjectPath("C:\\Work\\Demo", "\\Root\\x.txt"), "\\Root\\x.txt");
    EXPECT_EQ(ResolveProjectPath("C:\\Work\\Demo", ""), "");
    EXPECT_EQ(ResolveProjectPath("", "x.txt"), "x.txt");
    EXPECT_EQ(FolderOf("C:\\Work\\Demo\\Demo.qsp"), "C:\\Work\\Demo");
    EXPECT_EQ(NameOf("C:\\Work\\Demo\\Demo.qsp"), "Demo.qsp");
    EXPECT_EQ(NameOf("Demo.qsp"), "Demo.qsp");
}
