#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <sstream>

#include "BuildFixture.h"
#include "BuildTestSupport.h"
#include "TestSupport.h"
#include "core/Path.h"
#include "pipeline/BuildJob.h"
#include "pipeline/ContainerWriter.h"
#include "pipeline/IconReplacement.h"
#include "model/ProjectPaths.h"
#include "lang/UiTextSource.h"
#include "model/ProjectDocument.h"
#include "platform/File.h"
#include "platform/Process.h"

namespace {

// The system's codes for a missing file and for a folder opened as a file.
#ifdef _WIN32
constexpr int kNoSuchFile = 2, kFolderAsFile = 5;  // ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED
#else
constexpr int kNoSuchFile = ENOENT, kFolderAsFile = EISDIR;
#endif

// The lines of a build up to a finished archive holding only the uninstaller.
const std::string kUpToArchive = LogLines({"Setup build process started", "Checking dependencies...",
                                        "Creating setup.ini file...", "setup.ini - OK",
                                        "Adding files to the product file archive setup.zip...",
                                        "uninstall.exe - OK", "setup.zip - OK"});

// The images a test program has once given `icon`, for comparing with what a build wrote.
std::string TestProgramWithIcon(ScratchFolder& scratch, const std::string& icon) {
    const std::string path = scratch.Write("reference.exe", TestProgram("reference"));
    ReplaceIcon(path, icon);
    return ReadBytes(path);
}

}  // namespace

TEST_F(Build, SelfExtractingBuildWritesTheContainerAndLogsEveryStep) {
    OpenProject("CreateSelfExtractedSetup=Yes\r\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(log->Text(),
              kUpToArchive + LogLines({"Creating self-extracted executable Setup.exe", "Setup.exe - OK"}) +
                  Summary(0, 0, JoinPath(projectFolder, "out\\Setup.exe")));
    EXPECT_EQ(log->steps, 3);
    EXPECT_EQ(log->finished, 1);
    EXPECT_EQ(OutputNames(), std::vector<std::string>{"Setup.exe"});
    EXPECT_TRUE(FolderNames(tempFolder).empty()) << "temporary files left behind";

    const std::string bytes = Output("Setup.exe");
    Container container = ReadContainer(bytes);
    ASSERT_TRUE(container.valid);
    ASSERT_EQ(container.files.size(), 4u);
    const char* names[] = {"setup.ini", "setup.zip", "English.dat", "setup.exe"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(container.files[i].name, names[i]);
    // The stub and the installer are the builder's own, with the version information added.
    const std::string stub = bytes.substr(0, container.files[0].offset);
    auto data = [&](int i) { return bytes.substr(container.files[i].offset, container.files[i].size); };
    EXPECT_EQ(data(0).substr(0, 27), "[SETUP_INFO]\r\nVersion=1.0\r\n");
    EXPECT_EQ(data(2), ReadBytes(builder + "\\LanguageSets\\Setup\\English.dat"));
    for (const auto& program : {std::make_pair(stub, "stub"), std::make_pair(data(3), "installer")}) {
        EXPECT_EQ(program.first.substr(0x200, 12), std::string(program.second) + std::string(12 - std::strlen(program.second), '\0'));
        const ProgramResources read = ReadProgramResources(program.first);
        EXPECT_EQ(read.icon, ReadProgramResources(Program("_setup.exe")).icon) << "the application icon stays";
        EXPECT_EQ(read.version.strings.at(u"FileDescription"), u"Demo Setup");
    }
    ASSERT_EQ(container.commands.size(), 1u);
    EXPECT_EQ(container.commands[0], std::make_pair(1000u, std::string("setup.exe")));

    // The archive inside holds the uninstaller at its top level.
    const std::string zip = scratch.Write("inner.zip", data(1));
    std::vector<ZipEntry> entries = ReadZip(zip);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "uninstall.exe");
    EXPECT_EQ(entries[0].data.substr(0x200, 11), "uninstaller");
    EXPECT_EQ(ReadProgramResources(entries[0].data).version.strings.at(u"FileDescription"), u"Demo Uninstall");

    // The stored checksum is that of the file with the checksum bytes zero.
    const std::uint32_t stored = ReadInt(bytes, bytes.size() - 16);
    std::string zeroed = bytes;
    zeroed.replace(bytes.size() - 16, 4, std::string(4, '\0'));
    EXPECT_EQ(FileChecksum(scratch.Write("zeroed.exe", zeroed)), stored);
}

TEST_F(Build, TwoBuildsOfTheSameProjectAreByteIdentical) {
    // The uninstaller goes into the archive as a working copy made by each build; its entry
    // keeps the time of the prebuilt program, not the copy's, or no two builds would be alike.
    platform::LocalTime old;
    old.year = 2020, old.month = 5, old.day = 6, old.hour = 7, old.minute = 8, old.second = 10;
    {
        File prebuilt;
        ASSERT_TRUE(prebuilt.Open(builder + "\\setup\\_uninstall.exe", ReadWriteExisting));
        ASSERT_TRUE(prebuilt.SetLocalWriteTime(old));
    }
    OpenProject("CreateSelfExtractedSetup=Yes\r\n");
    Run();
    const std::string first = Output("Setup.exe");
    Run();
    EXPECT_EQ(Output("Setup.exe"), first);
    EXPECT_FALSE(first.empty());
    const Container container = ReadContainer(first);
    ASSERT_TRUE(container.valid);
    const ReadBackEntry& zip = container.files.at(1);
    const std::vector<ZipEntry> entries = ReadZip(scratch.Write("inner.zip", first.substr(zip.offset, zip.size)));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].dosDate, (2020ul - 1980) << 25 | 5ul << 21 | 6ul << 16 | 7ul << 11 | 8ul << 5 | 5ul);
}

TEST_F(Build, CopyModeFillsTheOutputFolder) {
    OpenProject("CreateSelfExtractedSetup=No\r\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(log->Text(), kUpToArchive +
                               LogLines({"Copying files to the output directory", "language file English - OK",
                                      "Setup executable file Setup.exe - OK"}) +
                               Summary(0, 0, JoinPath(projectFolder, "out\\Setup.exe")));
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"English.dat", "Setup.exe", "setup.ini", "setup.zip"}));
    EXPECT_EQ(Output("Setup.exe").substr(0x200, 9), "installer");
    EXPECT_TRUE(ReadProgramResources(Output("Setup.exe")).version.valid);
    EXPECT_EQ(ReadZip(JoinPath(projectFolder, "out\\setup.zip")).size(), 1u);
}

TEST_F(Build, MissingInstallerProgramsAreErrorsAndLeaveNoBrokenSetup) {
    builder = MakeBuilderFolder(scratch, false);
    builder = scratch.Folder("empty-builder");
    // Its folders are there, so that each missing file is missing alike on every system.
    scratch.Folder("empty-builder\\setup");
    scratch.Folder("empty-builder\\LanguageSets");
    scratch.Folder("empty-builder\\LanguageSets\\Setup");
    OpenProject("CreateSelfExtractedSetup=Yes\r\n");
    EXPECT_EQ(Run(), 4);
    for (const char* line : {"uninstall.exe - Error", "Error! Can not add language file English to the self-extracted file",
                             "Error! Can not add setup executable to the self-extracted file",
                             "Error! Can not create self-extracted file Setup.exe", "Errors: 4  Warnings: 0"})
        EXPECT_TRUE(log->Has(line)) << line;
    EXPECT_FALSE(log->Has("Setup.exe - OK"));
    EXPECT_TRUE(OutputNames().empty());
    EXPECT_TRUE(FolderNames(tempFolder).empty());
    // Each error names the builder's file that is missing, and why.
    const std::string missing = ": " + platform::ErrorText(kNoSuchFile);
    for (const auto& [line, path] : {std::make_pair("uninstall.exe - Error", "setup\\_uninstall.exe"),
                                     std::make_pair("Error! Can not add language file English to the self-extracted file",
                                                    "LanguageSets\\Setup\\English.dat"),
                                     std::make_pair("Error! Can not add setup executable to the self-extracted file",
                                                    "setup\\_setup.exe"),
                                     std::make_pair("Error! Can not create self-extracted file Setup.exe", "setup\\_sfx.exe")}) {
        const auto at = std::find(log->lines.begin(), log->lines.end(), line);
        ASSERT_NE(at, log->lines.end()) << line;
        EXPECT_EQ(at[1], "  " + platform::NativePath(JoinPath(builder, path)) + missing);
    }
    EXPECT_EQ(log->lines.back(), kNoSetupProduced);
}

TEST_F(Build, AnErrorAfterTheChecksLeavesNoSetupInEitherMode) {
    const std::string missing = "  " + platform::NativePath(builder + "\\LanguageSets\\Setup\\Klingon.dat") + ": " +
                                platform::ErrorText(kNoSuchFile);
    OpenProject("CreateSelfExtractedSetup=Yes\r\n", "[SETUP_INFO]\r\nSetupLanguages=English,Klingon\r\n\r\n");
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(log->Text(), kUpToArchive +
                               LogLines({"Creating self-extracted executable Setup.exe",
                                         "Error! Can not add language file Klingon to the self-extracted file"}) +
                               missing + "\n" + Summary(1));
    EXPECT_TRUE(OutputNames().empty());

    log = std::make_unique<RecordingLog>();
    OpenProject("CreateSelfExtractedSetup=No\r\n", "[SETUP_INFO]\r\nSetupLanguages=English,Klingon\r\n\r\n");
    EXPECT_EQ(Run(), 1);
    EXPECT_TRUE(log->Has("Error! Can not copy language file: Klingon.dat"));
    EXPECT_TRUE(log->Has(missing));
    EXPECT_TRUE(log->Has("Setup executable file Setup.exe - OK"));  // copied, then removed
    EXPECT_EQ(log->lines.back(), kNoSetupProduced);
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"English.dat", "setup.ini", "setup.zip"}));
}

TEST_F(Build, ValuesTheInstallerRefusesAreErrorsAndNoSetupIsBuilt) {
    scratch.Write("project\\a.txt", "a");
    OpenProject("CreateSelfExtractedSetup=Yes\r\n",
                "[APPLICATION_FILES]\r\nFile=%AppDir%\\a.txt,a.txt,1,9\r\nFile=%AppDir%\\b.txt,a.txt,1,7\r\n"
                "Folder=%AppDir%\\CON\r\nFolder=%AppDir%\\%ProductName%\r\n\r\n"
                "[SHORTCUTS]\r\nShortcutFolder=%AppSCFolder%\\Tools.\r\n\r\n"
                "[FILE_TYPES]\r\n.qs,,Q file,%AppDir%\\a.txt,,0\r\n.ok,Ok.File,Ok,%AppDir%\\a.txt,,0\r\n\r\n"
                "[SETUP_INFO]\r\nSetupLanguages=English,..\\German\r\nEnableUninstaller=Yes\r\n"
                "CreateUninstallerIcon=Yes\r\nUninstallerIconDescription=Uninstall Demo, Inc.\r\n\r\n");
    // Only the editor makes such an extension: the project file would drop its line as a comment.
    ASSERT_NE(project->fileTypes.Add("", "Pocket.Note", "Pocket note", "%AppDir%\\a.txt", "", 0, false), nullptr);
    ASSERT_NE(project->fileTypes.Add(";x", "Semi.File", "S", "%AppDir%\\a.txt", "", 0, false), nullptr);
    // A group that product texts leave empty and a name with a dot at its end are no faults: the
    // shortcuts go into the programs folder, and the name is stored without its dot.
    EXPECT_EQ(Run(), 7);
    // First what setup.ini cannot hold, then the installer's own check of the setup.ini to write.
    EXPECT_EQ(log->Text(),
              LogLines({"Setup build process started", "Checking dependencies...",
                        "Error! File types ;x: the extension begins with \";\". Begin the extension with a letter or digit",
                        "Error! Setup Info UninstallerIconDescription: the uninstaller shortcut's name \"Uninstall Demo, "
                        "Inc.\" holds a \",\". Remove the \",\" from it: setup.ini separates its fields with \",\"",
                        "Error! Files %AppDir%\\a.txt: the replace mode 9 is unknown. Choose how an existing file is "
                        "replaced in the file's properties",
                        "Error! File types row 3: the file type \"Pocket note\" has no extension. Give it the extension "
                        "of its files, such as .txt, in its properties",
                        "Error! Setup Info SetupLanguages: the installer language ..\\German is not a plain name. Choose "
                        "the installer languages from the list of languages",
                        "Error! Files %AppDir%\\CON: the destination %AppDir%\\CON holds the name \"CON\", which Windows "
                        "reserves or changes: the device name \"CON\". Rename the item, or change the text of the "
                        "variable that its name uses",
                        "Error! File types .qs: the file type .qs has no identifier. Give the file type an identifier, "
                        "such as Company.Document",
                        "Warning! The program group name is empty: the shortcuts of the program group go straight "
                        "into the Start menu's Programs folder"}) +
                  Summary(7, 1));
    EXPECT_TRUE(OutputNames().empty());
    EXPECT_TRUE(FolderNames(tempFolder).empty());
    // In copy mode not even setup.ini reaches the output folder.
    log = std::make_unique<RecordingLog>();
    project->outputSettings.SetCreateSelfExtractingSetup(false);
    EXPECT_EQ(Run(), 7);
    EXPECT_TRUE(OutputNames().empty());
}

TEST_F(Build, AFileMarkedForSelfRegistrationMustExportDllRegisterServer) {
    scratch.Write("project\\Guide.pdf", "%PDF-1.4");
    scratch.Write("project\\Plain.dll", TestLibrary({"DllCanUnloadNow", "DllRegisterServe"}));
    scratch.Write("project\\Server.dll", TestLibrary({"DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer"}));
    OpenProject("CreateSelfExtractedSetup=Yes\r\n",
                "[APPLICATION_FILES]\r\nFile=%AppDir%\\Setup Guide.pdf,Guide.pdf,3,0\r\n"
                "File=%AppDir%\\Plain.dll,Plain.dll,2,0\r\nFile=%AppDir%\\Server.dll,Server.dll,3,0\r\n\r\n");
    EXPECT_EQ(Run(), 2);
    for (const std::string& line : log->lines) EXPECT_EQ(line.find("Server.dll"), std::string::npos) << line;
    for (const char* file : {"%AppDir%\\Setup Guide.pdf", "%AppDir%\\Plain.dll"})
        EXPECT_TRUE(log->Has(std::string("Error! Files ") + file +
                             ": the file is marked for self-registration, but it is no program library that exports "
                             "DllRegisterServer. Clear Self-register in the file's properties"))
            << file;
    EXPECT_TRUE(OutputNames().empty());
}

TEST_F(Build, TheOutputFolderIsMadeWithEveryMissingParent) {
    OpenProject("OutputFolder=missing\\deeper\\out\r\nCreateSelfExtractedSetup=No\r\n");
    EXPECT_EQ(Run(), 0) << log->Text();
    EXPECT_EQ(FolderNames(JoinPath(projectFolder, "missing\\deeper\\out")),
              (std::vector<std::string>{"English.dat", "Setup.exe", "setup.ini", "setup.zip"}));
}

TEST_F(Build, AnUncreatableOutputFolderIsOneErrorWithItsPathAndReason) {
    scratch.Write("project\\blocker", "a file where a folder should be");
    OpenProject("OutputFolder=blocker\\out\r\nCreateSelfExtractedSetup=No\r\n");
    EXPECT_EQ(Run(), 1);
    ASSERT_EQ(log->lines.size(), 8u) << log->Text();
    EXPECT_EQ(log->lines[2], "Error! Can not create the output folder");
    const std::string detail = "  " + platform::NativePath(JoinPath(projectFolder, "blocker\\out")) + ": ";
    EXPECT_EQ(log->lines[3].substr(0, detail.size()), detail);
    EXPECT_GT(log->lines[3].size(), detail.size() + 5) << "a reason follows the path";
    EXPECT_EQ(log->lines.back(), kNoSetupProduced);
    EXPECT_TRUE(FolderNames(tempFolder).empty());
}

TEST_F(Build, CancelEndsTheBuildWithoutSummaryAndRemovesTemporaryFiles) {
    OpenProject("CreateSelfExtractedSetup=Yes\r\n");
    log->cancelAt = "Adding files to the product file archive setup.zip...";
    Run();
    EXPECT_EQ(log->lines.back(), log->cancelAt);
    EXPECT_EQ(log->steps, 2);
    EXPECT_EQ(log->finished, 1);  // a cancelled build still ends as usual
    EXPECT_TRUE(OutputNames().empty());
    EXPECT_TRUE(FolderNames(tempFolder).empty());

    log = std::make_unique<RecordingLog>();
    log->cancelAt = "Creating self-extracted executable Setup.exe";
    Run();
    EXPECT_EQ(log->lines.back(), log->cancelAt);
    EXPECT_TRUE(OutputNames().empty());
    EXPECT_TRUE(FolderNames(tempFolder).empty());

    // Stopped during the checks: nothing is written, and there is no summary.
    log = std::make_unique<RecordingLog>();
    log->cancelAt = "Checking dependencies...";
    Run();
    EXPECT_EQ(log->lines.back(), log->cancelAt);
    EXPECT_TRUE(OutputNames().empty());
}

TEST_F(Build, TheProjectsIconGoesIntoTheStubTheInstallerAndTheUninstallerWithEveryImage) {
    scratch.Folder("project\\icons");
    const std::string icon = scratch.Write("project\\icons\\My.ico", FiveImageIcon());
    const ProgramResources expected = ReadProgramResources(
        TestProgramWithIcon(scratch, icon));
    ASSERT_EQ(expected.icon.size(), 5u);
    OpenProject("SetupIconPathname=icons\\My.ico\r\nCreateSelfExtractedSetup=Yes\r\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(log->Has("Customize setup icon - OK"));
    EXPECT_TRUE(log->Has("Customize self-extracted file icon - OK"));
    const std::string bytes = Output("Setup.exe");
    Container container = ReadContainer(bytes);
    ASSERT_EQ(container.files.size(), 4u);
    EXPECT_EQ(ReadProgramResources(bytes.substr(0, container.files[0].offset)).icon, expected.icon);
    EXPECT_EQ(ReadProgramResources(bytes.substr(container.files[3].offset, container.files[3].size)).icon,
              expected.icon);
    // The uninstaller, whose icon the uninstall entry shows, has the project's too.
    EXPECT_TRUE(log->Has("Customize uninstaller icon - OK"));
    const std::vector<ZipEntry> zip =
        ReadZip(scratch.Write("inner.zip", bytes.substr(container.files[1].offset, container.files[1].size)));
    ASSERT_EQ(zip.at(0).name, "uninstall.exe");
    EXPECT_EQ(ReadProgramResources(zip.at(0).data).icon, expected.icon);
    std::string zeroed = bytes;
    zeroed.replace(bytes.size() - 16, 4, std::string(4, '\0'));
    EXPECT_EQ(FileChecksum(scratch.Write("zeroed.exe", zeroed)), ReadInt(bytes, bytes.size() - 16));

    // Copy mode: the installer in the output folder.
    log = std::make_unique<RecordingLog>();
    OpenProject("SetupIconPathname=icons\\My.ico\r\nCreateSelfExtractedSetup=No\r\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(log->Has("Customize setup icon - OK"));
    EXPECT_EQ(ReadProgramResources(Output("Setup.exe")).icon, expected.icon);
    const std::vector<ZipEntry> copied = ReadZip(JoinPath(projectFolder, "out\\setup.zip"));
    ASSERT_EQ(copied.at(0).name, "uninstall.exe");
    EXPECT_EQ(ReadProgramResources(copied.at(0).data).icon, expected.icon);

    // Without a project icon the uninstaller keeps the application icon.
    log = std::make_unique<RecordingLog>();
    OpenProject("CreateSelfExtractedSetup=No\r\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(log->Has("Customize uninstaller icon - OK"));
    EXPECT_EQ(ReadProgramResources(ReadZip(JoinPath(projectFolder, "out\\setup.zip")).at(0).data).icon,
              ReadProgramResources(Program("_uninstall.exe")).icon);
}

TEST_F(Build, AnUnreadableIconIsAnErrorAndNoSetupIsLeft) {
    scratch.Write("project\\bad.ico", "not an icon");
    OpenProject("SetupIconPathname=bad.ico\r\nCreateSelfExtractedSetup=Yes\r\n");
    EXPECT_EQ(Run(), 3);
    EXPECT_TRUE(log->Has("Error! Can not replace setup icon"));
    EXPECT_TRUE(log->Has("Error! Can not replace self-extracted file icon"));
    EXPECT_TRUE(log->Has("Error! Can not replace uninstaller icon"));
    EXPECT_FALSE(log->Has("Setup.exe - OK"));
    EXPECT_TRUE(OutputNames().empty());
    EXPECT_TRUE(FolderNames(tempFolder).empty());

    log = std::make_unique<RecordingLog>();
    OpenProject("SetupIconPathname=bad.ico\r\nCreateSelfExtractedSetup=No\r\n");
    EXPECT_EQ(Run(), 2);
    EXPECT_TRUE(log->Has("Error! Can not replace setup icon"));
    EXPECT_TRUE(log->Has("Error! Can not replace uninstaller icon"));
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"English.dat", "setup.ini", "setup.zip"}));
}

TEST_F(Build, TheProgramsCarryTheProductsVersionInformation) {
    OpenProject("CreateSelfExtractedSetup=Yes\r\n",
                "[GENERAL_INFO]\r\nCompanyName=Example Ltd\r\nProductName=Demo\r\nProductVersion=3.1\r\n"
                "CopyrightNotice=(c) Example\r\n\r\n");
    EXPECT_EQ(Run(), 0);
    const std::string bytes = Output("Setup.exe");
    Container container = ReadContainer(bytes);
    ASSERT_EQ(container.files.size(), 4u);
    const std::vector<ZipEntry> zip =
        ReadZip(scratch.Write("inner.zip", bytes.substr(container.files[1].offset, container.files[1].size)));
    const std::pair<std::string, std::u16string> programs[] = {
        {bytes.substr(0, container.files[0].offset), u"Demo Setup"},
        {bytes.substr(container.files[3].offset, container.files[3].size), u"Demo Setup"},
        {zip.at(0).data, u"Demo Uninstall"}};
    for (const auto& program : programs) {
        const VersionInfoRead version = ReadProgramResources(program.first).version;
        ASSERT_TRUE(version.valid);
        EXPECT_EQ(version.strings.at(u"FileDescription"), program.second);
        EXPECT_EQ(version.strings.at(u"ProductName"), u"Demo");
        EXPECT_EQ(version.strings.at(u"ProductVersion"), u"3.1");
        EXPECT_EQ(version.strings.at(u"CompanyName"), u"Example Ltd");
        EXPECT_EQ(version.fixed[0], 0x00030001u);
        EXPECT_EQ(version.fixed[1], 0u);
    }
}

TEST_F(Build, TheSigningCommandSignsEveryProgramBeforeItIsPackedAndTheSetupLast) {
    // A command that every system's command interpreter runs alike: it notes the file it signs.
    const std::string noted = scratch.File("signed files.txt");
    signing = "echo {file}>> " + platform::QuotedArgument(noted);
    OpenProject("CreateSelfExtractedSetup=Yes\r\n");
    EXPECT_EQ(Run(), 0) << log->Text();
    std::istringstream lines(ReadBytes(noted));
    std::vector<std::string> names;
    for (std::string line; std::getline(lines, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '"' || line.back() == '\''))
            line.pop_back();
        names.push_back(NameOf(line));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"uninstall.exe", "setup.exe", "Setup.exe"}));
    for (const char* line : {"Signing uninstall.exe - OK", "Signing setup.exe - OK", "Signing Setup.exe - OK"})
        EXPECT_TRUE(log->Has(line)) << line;
    EXPECT_TRUE(FolderNames(tempFolder).empty()) << (FolderNames(tempFolder).empty() ? "" : FolderNames(tempFolder)[0]);
}

TEST_F(Build, AFailingSigningCommandIsAnErrorWithItsOutputAndNoSetupIsLeft) {
    signing = "echo no key for {file}&& exit 3";
    OpenProject("CreateSelfExtractedSetup=Yes\r\n");
    EXPECT_EQ(Run(), 2);
    EXPECT_TRUE(log->Has("Error! Can not sign uninstall.exe: the signing command ended with code 3"));
    EXPECT_TRUE(log->Has("Error! Can not sign setup.exe: the signing command ended with code 3"));
    EXPECT_NE(log->Text().find("  no key for "), std::string::npos) << log->Text();
    EXPECT_EQ(log->lines.back(), kNoSetupProduced);
    EXPECT_TRUE(OutputNames().empty());
    EXPECT_TRUE(FolderNames(tempFolder).empty());

    log = std::make_unique<RecordingLog>();
    OpenProject("CreateSelfExtractedSetup=No\r\n");
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"English.dat", "setup.ini", "setup.zip"}));
}

TEST(ProjectPaths, RelativePathsAreTakenFromTheProjectFolder) {
    EXPECT_EQ(ResolveProjectPath("C:\\Work\\Demo", "files\\app.exe"), "C:\\Work\\Demo\\files\\app.exe");
    EXPECT_EQ(ResolveProjectPath("C:\\Work\\Demo", "..\\Shared\\x.txt"), "C:\\Work\\Demo\\..\\Shared\\x.txt");
    EXPECT_EQ(ResolveProjectPath("C:\\Work\\Demo", "D:\\Other\\x.txt"), "D:\\Other\\x.txt");
    EXPECT_EQ(ResolveProjectPath("C:\\Work\\Demo", "\\\\server\\share\\x.txt"), "\\\\server\\share\\x.txt");
    EXPECT_EQ(ResolveProjectPath("C:\\Work\\Demo", "\\Root\\x.txt"), "\\Root\\x.txt");
    EXPECT_EQ(ResolveProjectPath("C:\\Work\\Demo", ""), "");
    EXPECT_EQ(ResolveProjectPath("", "x.txt"), "x.txt");
}

// A project with product files in nested folders and in the system folder, relative source paths,
// and the installer's screens with their files.
class BuildWithFiles : public Build {
protected:
    void SetUp() override {
        Build::SetUp();
        scratch.Folder("project\\files\\bin");
        scratch.Write("project\\files\\bin\\app.exe", "application bytes");
        scratch.Write("project\\files\\readme.txt", "read me");
        scratch.Write("project\\files\\helper.dll", "helper");
        scratch.Write("project\\files\\bin\\readme.txt", "second read me");
        scratch.Write("project\\License.txt", "license");
        scratch.Write("project\\Splash.bmp", "BM splash");
    }

    void OpenWith(const std::string& createSetup, const std::string& setupInfo, const std::string& dialogs) {
        OpenProject(createSetup,
                    "[SETUP_INFO]\r\n" + setupInfo + "\r\n[DIALOGS]\r\n" + dialogs +
                        "\r\n[SPLASH_WINDOW]\r\nBitmap_Pathname=Splash.bmp\r\n\r\n"
                        "[LICENSE_DIALOG]\r\nLicense_Pathname=License.txt\r\n\r\n"
                        "[README_DIALOG]\r\nReadme_Pathname=files\\readme.txt\r\n\r\n"
                        "[APPLICATION_FILES]\r\n"
                        "File=%AppDir%\\bin\\app.exe,files\\bin\\app.exe,1,0\r\n"
                        "File=%AppDir%\\bin\\readme.txt,files\\bin\\readme.txt,1,0\r\n"
                        "File=%AppDir%\\readme.txt,files\\readme.txt,1,0\r\n"
                        "File=%WinSysDir%\\helper.dll,files\\helper.dll,5,0\r\n\r\n");
    }
};

TEST_F(BuildWithFiles, TheArchiveHoldsEveryFileUnderItsEntryNameInTreeOrder) {
    OpenWith("CreateSelfExtractedSetup=No\r\n", "EnableUninstaller=Yes\r\n", "");
    EXPECT_EQ(Run(), 0);
    std::vector<ZipEntry> entries = ReadZip(JoinPath(projectFolder, "out\\setup.zip"));
    ASSERT_EQ(entries.size(), 5u);
    const char* names[] = {"AppDir\\bin\\app.exe", "AppDir\\bin\\readme.txt", "AppDir\\readme.txt",
                           "WinSysDir\\helper.dll", "uninstall.exe"};
    const char* data[] = {"application bytes", "second read me", "read me", "helper"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(entries[i].name, names[i]);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(entries[i].data, data[i]);
    EXPECT_EQ(entries[4].data.substr(0x200, 11), "uninstaller");
    EXPECT_NE(log->Text().find(LogLines({"Adding files to the product file archive setup.zip...", "app.exe - OK",
                                         "readme.txt - OK", "readme.txt - OK", "helper.dll - OK",
                                         "uninstall.exe - OK", "setup.zip - OK"})),
              std::string::npos)
        << log->Text();
}

TEST_F(BuildWithFiles, SetupIniListsTheUninstallerSectionsBeforeTheRequirements) {
    OpenWith("CreateSelfExtractedSetup=No\r\n", "EnableUninstaller=Yes\r\n", "");
    Run();
    const std::string ini = Output("setup.ini");
    std::vector<std::string> headers;
    for (size_t at = 0; (at = ini.find("\r\n[", at)) != std::string::npos; at += 3)
        headers.push_back(ini.substr(at + 2, ini.find(']', at) - at - 1));
    ASSERT_EQ(ini.rfind("[SETUP_INFO]\r\nVersion=1.0\r\n", 0), 0u);
    const std::vector<std::string> expected = {"[GENERAL_INFO]", "[APPLICATION_FILES]", "[REGISTRY_ENTRIES]",
                                               "[SYSTEM_REQUIREMENTS]"};
    ASSERT_GE(headers.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(headers.begin(), headers.begin() + 4), expected);
    EXPECT_NE(ini.find("[APPLICATION_FILES]\r\n,uninstall.exe,%AppDir%\\uninstall.exe,1,0\r\n"
                       ",AppDir\\bin\\app.exe,%AppDir%\\bin\\app.exe,1,0\r\n"),
              std::string::npos);
    EXPECT_EQ(ini.substr(ini.size() - 4), "\r\n\r\n");  // one empty line after the last section
    EXPECT_EQ(ini.find("\r\n\r\n\r\n"), std::string::npos);
}

TEST_F(BuildWithFiles, CopyModePutsTheScreenFilesAndEveryLanguageBesideTheInstaller) {
    OpenWith("CreateSelfExtractedSetup=No\r\n", "SetupLanguages=English,German\r\n",
             "SplashWindow=Yes\r\nLicenseDialog=Yes\r\nReadmeDialog=Yes\r\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_NE(log->Text().find(LogLines({"Copying files to the output directory", "splash bitmap file Splash.bmp - OK",
                                         "license file License.txt - OK", "readme file readme.txt - OK",
                                         "language file English - OK", "language file German - OK",
                                         "Setup executable file Setup.exe - OK"})),
              std::string::npos)
        << log->Text();
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"English.dat", "German.dat", "License.txt", "Setup.exe",
                                                       "Splash.bmp", "readme.txt", "setup.ini", "setup.zip"}));
    EXPECT_EQ(Output("German.dat"), ReadBytes(builder + "\\LanguageSets\\Setup\\German.dat"));
    EXPECT_EQ(Output("License.txt"), "license");
}

TEST_F(BuildWithFiles, TheContainerCarriesTheScreenFilesAndLanguagesInOrder) {
    OpenWith("CreateSelfExtractedSetup=Yes\r\n", "SetupLanguages=English,German\r\n",
             "SplashWindow=Yes\r\nLicenseDialog=Yes\r\nReadmeDialog=Yes\r\n");
    EXPECT_EQ(Run(), 0);
    Container container = ReadContainer(Output("Setup.exe"));
    std::vector<std::string> names;
    for (const ReadBackEntry& e : container.files) names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{"setup.ini", "setup.zip", "Splash.bmp", "License.txt", "readme.txt",
                                               "English.dat", "German.dat", "setup.exe"}));
}

TEST_F(BuildWithFiles, MissingFilesAreAllReportedWithTheirPathsAndNothingIsWritten) {
    OpenWith("SetupIconPathname=None.ico\r\nCreateSelfExtractedSetup=Yes\r\n", "EnableUninstaller=No\r\n",
             "ReadmeDialog=Yes\r\nLicenseDialog=Yes\r\nSplashWindow=Yes\r\n");
    RemoveFile(JoinPath(projectFolder, "files\\readme.txt"));  // both the readme screen's file and a product file
    RemoveFile(JoinPath(projectFolder, "files\\bin\\app.exe"));
    RemoveFile(JoinPath(projectFolder, "License.txt"));
    EXPECT_EQ(Run(), 5);
    const std::string missing = ": " + platform::ErrorText(kNoSuchFile);
    const auto detail = [&](const char* path) {
        return "  " + platform::NativePath(JoinPath(projectFolder, path)) + missing;
    };
    EXPECT_EQ(log->Text(),
              LogLines({"Setup build process started", "Checking dependencies..."}) +
                  "Error! Can not read product file app.exe\n" + detail("files\\bin\\app.exe") + "\n" +
                  "Error! Can not read product file readme.txt\n" + detail("files\\readme.txt") + "\n" +
                  "Error! Can not read setup icon file None.ico\n" + detail("None.ico") + "\n" +
                  "Error! Can not read license file License.txt\n" + detail("License.txt") + "\n" +
                  "Error! Can not read readme file readme.txt\n" + detail("files\\readme.txt") + "\n" + Summary(5));
    EXPECT_TRUE(OutputNames().empty());
    EXPECT_TRUE(FolderNames(tempFolder).empty());
}

TEST_F(BuildWithFiles, AFileThatCannotBeReadIsAnErrorWithTheSystemsReason) {
    // A folder where a product file should be cannot be read whoever runs the build.
    RemoveFile(JoinPath(projectFolder, "files\\helper.dll"));
    scratch.Folder("project\\files\\helper.dll");
    OpenWith("CreateSelfExtractedSetup=No\r\n", "", "");
    EXPECT_EQ(Run(), 1);
    EXPECT_TRUE(log->Has("Error! Can not read product file helper.dll"));
    const std::string detail = "  " + platform::NativePath(JoinPath(projectFolder, "files\\helper.dll")) + ": ";
    const auto line = std::find(log->lines.begin(), log->lines.end(), "Error! Can not read product file helper.dll");
    ASSERT_NE(line + 1, log->lines.end());
    EXPECT_EQ(line[1].substr(0, detail.size()), detail);
    EXPECT_NE(line[1].find(platform::ErrorText(kFolderAsFile)), std::string::npos) << line[1];
    EXPECT_TRUE(OutputNames().empty());
}

TEST_F(BuildWithFiles, CancelDuringTheArchiveStopsAfterTheCurrentFile) {
    OpenWith("CreateSelfExtractedSetup=No\r\n", "", "");
    log->cancelAt = "app.exe - OK";
    Run();
    EXPECT_EQ(log->lines.back(), "app.exe - OK");
    std::vector<ZipEntry> entries = ReadZip(JoinPath(projectFolder, "out\\setup.zip"));
    ASSERT_EQ(entries.size(), 1u);  // closed properly with what was added
    EXPECT_EQ(entries[0].name, "AppDir\\bin\\app.exe");
}

// Product files of 4 GiB or more cannot go into a single-file setup: the build says so, with the
// size and the way out, before it packs anything. (The big file is sparse: a hole and one byte.)
TEST_F(BuildWithFiles, ASingleFileSetupOfMoreThanFourGiBIsRefusedBeforePacking) {
    const std::string huge = JoinPath(projectFolder, "files\\huge.bin");
    {
        File file;
        ASSERT_TRUE(file.Open(huge, CreateWrite));
        std::uint32_t done = 0;
        ASSERT_TRUE(file.Seek(std::int64_t(4) << 30, 0) && file.Write("x", 1, done));
    }
    OpenProject("CreateSelfExtractedSetup=Yes\r\n",
                "[APPLICATION_FILES]\r\nFile=%AppDir%\\huge.bin,files\\huge.bin,1,0\r\n"
                "File=%AppDir%\\app.exe,files\\bin\\app.exe,1,0\r\n\r\n");
    EXPECT_EQ(Run(), 1);
    EXPECT_NE(log->Text().find("Error! The product files: 4.00 GiB (4294967314 bytes), more than the 4 GiB that a "
                               "single-file setup can hold; use side-by-side output\n"),
              std::string::npos)
        << log->Text();
    EXPECT_EQ(log->Text().find("Adding files"), std::string::npos);
    EXPECT_TRUE(OutputNames().empty());
}

// Without a product name, what is named after the product would be refused three times in words
// that never mention it: the one error names the field to fill in.
TEST_F(Build, AnEmptyProductNameIsOneErrorThatNamesItsField) {
    scratch.Write("project\\a.txt", "a");
    OpenProject("CreateSelfExtractedSetup=Yes\r\n",
                "[GENERAL_INFO]\r\nCompanyName=Lindqvist Tools\r\n\r\n"
                "[SETUP_INFO]\r\nDefaultShortcutFolderName=%ProductName%\r\nEnableUninstaller=Yes\r\n"
                "AddRemoveProgramsDescription=%ProductName%\r\nCreateUninstallerIcon=Yes\r\n"
                "UninstallerIconDescription=Uninstall %ProductName%\r\n\r\n"
                "[APPLICATION_FILES]\r\nFile=%AppDir%\\a.txt,a.txt,1,0\r\n\r\n"
                "[SHORTCUTS]\r\nShortcut=%AppSCFolder%\\A,%AppDir%\\a.txt,,,,1,%AppDir%\r\n\r\n");
    project->generalInfo.SetProductName("");
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(log->Text(),
              LogLines({"Setup build process started", "Checking dependencies...",
                        "Error! General Info Product name: the product has no name, and its installation folder, "
                        "program group and uninstall entry are named after it. Type the product's name into the "
                        "Product name field of the General Info page"}) +
                  Summary(1));
    EXPECT_TRUE(OutputNames().empty());
}
