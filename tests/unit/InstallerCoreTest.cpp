// The installer programs' portable part: switches, variables and destination safety, every
// setup.ini line form, the install log, and the container reader's checks.
#include <algorithm>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Path.h"
#include "core/Text.h"
#include "pipeline/ContainerWriter.h"
#include "pipeline/ZstdCompressor.h"
#include "installer/EntryDecoder.h"
#include "package/CommandLine.h"
#include "installer/Container.h"
#include "installer/InstallLog.h"
#include "package/SetupScript.h"
#include "installer/SetupTexts.h"
#include "package/Variables.h"
#include "package/WorkProgress.h"

TEST(InstallerSwitches, AcceptTheCommonSpellingsAnywhereAndUnquotedFoldersWithBlanks) {
    InstallerOptions a = ParseInstallerArguments("/D=C:\\Program Files\\My App /LANG=German /s");
    EXPECT_TRUE(a.silent);
    EXPECT_EQ(a.folder, "C:\\Program Files\\My App");
    EXPECT_EQ(a.language, "German");

    InstallerOptions b = ParseInstallerArguments("/VERYSILENT \"/DIR=C:\\A B\" /SUPPRESSMSGBOXES /LOG=\"C:\\l g.txt\"");
    EXPECT_TRUE(b.silent);
    EXPECT_TRUE(b.suppressBoxes);
    EXPECT_EQ(b.folder, "C:\\A B");
    EXPECT_EQ(b.logPath, "C:\\l g.txt");

    InstallerOptions c = ParseInstallerArguments("/dir=\"D:\\x\" /SILENT /? extra");
    EXPECT_TRUE(c.silent && c.help);
    EXPECT_EQ(c.folder, "D:\\x");
    ASSERT_EQ(c.unknown.size(), 1u);
    EXPECT_EQ(c.unknown[0], "extra");

    // "/Sx" is no switch, and a value keeps a slash that starts no known switch.
    InstallerOptions d = ParseInstallerArguments("/Sx /D=C:\\a /b");
    EXPECT_FALSE(d.silent);
    EXPECT_EQ(d.folder, "C:\\a /b");
    EXPECT_TRUE(ParseInstallerArguments("/HELP").help);
}

TEST(InstallerSwitches, TheStubsArchiveLocationSurvivesTheCommandLineAndWinsOverOneGivenByHand) {
    const ArchiveLocation where{"C:\\Users\\Ann Lee\\Down,loads\\Setup.exe", 123456, 5000000000ull};
    const InstallerOptions options =
        ParseInstallerArguments("/S /_ARCHIVE=\"1,2,C:\\forged.zip\" /D=C:\\App" + ArchiveSwitch(where));
    EXPECT_TRUE(options.silent);
    EXPECT_EQ(options.folder, "C:\\App");
    ArchiveLocation read;
    ASSERT_TRUE(ParseArchiveLocation(options.archive, read));
    EXPECT_EQ(read.path, where.path);
    EXPECT_EQ(read.offset, where.offset);
    EXPECT_EQ(read.size, where.size);

    for (const char* bad : {"", "1,2", "1,2,", ",2,C:\\a", "1,x,C:\\a", "-1,2,C:\\a", "99999999999999999999,2,C:\\a"})
        EXPECT_FALSE(ParseArchiveLocation(bad, read)) << bad;
}

TEST(InstallerSwitches, ProgramNameIsCutQuotedOrNot) {
    EXPECT_EQ(ArgumentsAfterProgram("\"C:\\Pro gram\\Setup.exe\"  /S /D=x"), "/S /D=x");
    EXPECT_EQ(ArgumentsAfterProgram("Setup.exe /S"), "/S");
    EXPECT_EQ(ArgumentsAfterProgram("Setup.exe"), "");
}

TEST(InstallerVariables, ExpandStrictlyInPathsAndLeaveUnknownPercentsInData) {
    Variables v;
    v.Set("AppDir", "C:\\Apps\\Demo", true);
    v.Set("ProductName", "Demo", false);
    std::string out, problem;
    EXPECT_TRUE(v.Expand("%appdir%\\%ProductName%.exe", true, out, problem));
    EXPECT_EQ(out, "C:\\Apps\\Demo\\Demo.exe");
    EXPECT_FALSE(v.Expand("%AppDir%\\%Nope%\\x", true, out, problem));
    EXPECT_NE(problem.find("%Nope%"), std::string::npos);
    EXPECT_TRUE(v.Expand("\"%1\" 50% %ProductName%", false, out, problem));
    EXPECT_EQ(out, "\"%1\" 50% Demo");
}

TEST(InstallerVariables, DestinationsMustStayInsideTheirFolderVariable) {
    Variables v;
    v.Set("AppDir", "C:\\Apps\\Demo", true);
    v.Set("ProductName", "..", false);
    std::string out, problem;
    bool escapes = false;
    EXPECT_TRUE(v.ExpandDestination("%AppDir%\\bin\\a.txt", out, problem, escapes));
    EXPECT_EQ(out, "C:\\Apps\\Demo\\bin\\a.txt");
    EXPECT_TRUE(v.ExpandDestination("%AppDir%", out, problem, escapes));
    for (const char* bad : {"%AppDir%\\..\\evil.txt", "%AppDir%\\a\\..\\..\\x", "%AppDir%x",
                            "%AppDir%\\C:\\x", "C:\\Windows\\x", "%ProductName%\\x", "%AppDir%\\%ProductName%\\x",
                            "%AppDir%\\a/../../x"}) {
        EXPECT_FALSE(v.ExpandDestination(bad, out, problem, escapes)) << bad;
        EXPECT_TRUE(escapes) << bad;
    }
    // Names written empty are values at fault, not escapes.
    for (const char* empty : {"%AppDir%\\\\x", "%AppDir%\\", "%AppDir%\\a\\"}) {
        EXPECT_FALSE(v.ExpandDestination(empty, out, problem, escapes)) << empty;
        EXPECT_FALSE(escapes) << empty;
        EXPECT_NE(problem.find("holds an empty name"), std::string::npos) << problem;
    }
    EXPECT_TRUE(IsAbsolutePath("C:\\Program Files\\Demo\\"));
    EXPECT_TRUE(IsAbsolutePath("\\\\server\\share\\app"));
    EXPECT_FALSE(IsAbsolutePath("Program Files"));
    EXPECT_FALSE(IsAbsolutePath("C:\\a\\..\\b"));
}

TEST(InstallerVariables, EmptyVariablesLeaveNoEmptyNamesAndValuesMayBePaths) {
    Variables v;
    v.Set("AppDir", "C:\\Apps\\Demo", true);
    v.Set("CompanyName", "", false);
    v.Set("ProductName", "Super, Duper", false);
    v.Set("Suite", "Quill\\Tools", false);
    v.Set("Up", "a\\..", false);
    std::string out, problem;
    bool escapes = false;
    EXPECT_TRUE(v.ExpandRelativePath("%CompanyName%\\%ProductName%", out, problem, escapes));
    EXPECT_EQ(out, "Super, Duper");
    EXPECT_TRUE(v.ExpandRelativePath("%CompanyName%", out, problem, escapes));
    EXPECT_EQ(out, "");
    EXPECT_TRUE(v.ExpandDestination("%AppDir%\\%Suite%\\%CompanyName%\\x.txt", out, problem, escapes));
    EXPECT_EQ(out, "C:\\Apps\\Demo\\Quill\\Tools\\x.txt");
    EXPECT_FALSE(v.ExpandDestination("%AppDir%\\%Up%\\x.txt", out, problem, escapes));
    EXPECT_TRUE(escapes);
    EXPECT_FALSE(v.ExpandRelativePath("a\\\\b", out, problem, escapes));
    EXPECT_EQ(problem, "holds an empty name");
    EXPECT_FALSE(escapes);
}

TEST(InstallerVariables, NamesThatWindowsRewritesOrReservesAreRefused) {
    Variables v;
    v.Set("AppDir", "C:\\Apps\\Demo", true);
    std::string out, problem;
    for (const char* bad : {"CON", "nul.txt", "Com1", "LPT9.log", "AUX .txt", "setup.exe.", "file ", "a*b", "a?b",
                            "a<b", "a>b", "a|b", "a\"b", "tab\there", "line\nbreak", "conin$", "CON.", "...", " "}) {
        EXPECT_FALSE(IsStoredAsSpelt(bad)) << bad;
        EXPECT_FALSE(IsSafeRelativePath(std::string("Bin\\") + bad)) << bad;
        EXPECT_FALSE(IsSafeEntryName(bad)) << bad;
    }
    // A destination's names are taken as Windows stores them: a dot or blank at the end drops,
    // and what is left must still be a name of its own.
    for (const char* bad : {"CON", "nul.txt", "AUX .txt", "a*b", "tab\there", "CON.", "...", " "}) {
        bool escapes = false;
        EXPECT_FALSE(v.ExpandDestination(std::string("%AppDir%\\") + bad + "\\x.txt", out, problem, escapes)) << bad;
    }
    for (const auto& [name, stored] : {std::pair<const char*, const char*>{"setup.exe.", "setup.exe"},
                                       {"file ", "file"}, {"Widgets, Inc.", "Widgets, Inc"}, {"a. .", "a"}}) {
        bool escapes = false;
        ASSERT_TRUE(v.ExpandDestination(std::string("%AppDir%\\") + name + "\\x.txt", out, problem, escapes)) << name;
        EXPECT_EQ(out, std::string("C:\\Apps\\Demo\\") + stored + "\\x.txt");
        EXPECT_EQ(WindowsStoredName(name), stored);
    }
    for (const char* good : {"CONSOLE", "con1", "COM10", "nul_x", "a.b.c", ".config", "Demo [Beta]", "x y"}) {
        EXPECT_TRUE(IsStoredAsSpelt(good)) << good;
        EXPECT_TRUE(IsSafeEntryName(good)) << good;
    }
    for (const char* bad : {"\\\\?\\C:\\Apps", "\\\\.\\C:\\Apps", "\\\\?\\UNC\\server\\share", "\\\\.\\pipe\\x",
                            "C:\\Apps\\NUL", "C:\\Apps.\\x"})
        EXPECT_FALSE(IsAbsolutePath(bad)) << bad;
    EXPECT_TRUE(IsAbsolutePath("C:\\Apps[ACTIONS]"));
}

namespace {
ProfileText Script(const std::string& text) { return ProfileText::FromBytes(CrLfLineEnds(text)); }
}  // namespace

TEST(InstallerScript, ReadsEveryLineFormThatABuildWrites) {
    SetupScript s = ReadSetupScript(Script(
        "[SETUP_INFO]\nVersion=1.0\nDefaultInstallationPath=%ProgramFiles%\\Demo\nDefaultShortcutFolderName=Demo\n"
        "EnableUninstaller=Yes\nAddRemoveProgramsDescription=Demo, the tool\nSetupLanguages=English,,German,\n"
        "DefaultSetupLanguage=German\nRequiredDiskSpace=2048\n\n"
        "[GENERAL_INFO]\nProductName=Demo\nCopyrightNotice=(c) a=b\n\n"
        "[SYSTEM_REQUIREMENTS]\nAnyWindows=No\nWindows95=No\nWindowsXP=Yes\nAbortInstallation=Yes\n\n"
        "[APPLICATION_FOLDERS]\n%AppDir%\n%AppDir%\\bin\n\n[SHARED_FOLDERS]\n%CommonFiles%\\Demo\n\n"
        "[SYSTEM_FOLDERS]\n%WinDir%\\Demo\n\n"
        "[APPLICATION_FILES]\n,uninstall.exe,%AppDir%\\uninstall.exe,1,0\n\n"
        "[SHARED_FILES]\n,CommonFiles\\Demo\\s.dll,%CommonFiles%\\Demo\\s.dll,7,3\n\n"
        "[SYSTEM_FILES]\n,WinSysDir\\d.dll,%WinSysDir%\\d.dll,9,7\n\n"
        "[SHORTCUT_FOLDERS]\n%AppSCFolder%\n%AppSCFolder%\\Tools\n\n"
        "[SHORTCUTS]\ns,%AppSCFolder%\\Run,%AppDir%\\a.exe,-x,%AppDir%\\a.ico,2,7,C:\\w,1\n"
        "i,%Desktop%\\Web,http://example.com/?a=1,,,,,,\n\n"
        "[REGISTRY_ENTRIES]\nkey,HKLM,Software\\Demo\nvalue,HKLM,Software\\Demo,Name,S,a,b,c\n"
        "value,HKCU,Software\\Demo,Bin,b,01 A0 FF\nvalue,HKU,,Top,d,0x0000000A\n\n"
        "[FILE_TYPES]\ntxt,Demo.Text,Demo text,%AppDir%\\Demo.exe,%AppDir%\\Demo.exe,1\n"));
    EXPECT_TRUE(s.problems.empty());
    EXPECT_EQ(s.installationPath, "%ProgramFiles%\\Demo");
    EXPECT_TRUE(s.enableUninstaller);
    EXPECT_EQ(s.removeDescription, "Demo, the tool");
    EXPECT_EQ(s.languages, (std::vector<std::string>{"English", "German"}));
    EXPECT_EQ(s.defaultLanguage, "German");
    EXPECT_EQ(s.requiredDiskSpace, "2048");
    ASSERT_EQ(s.generalInfo.size(), 2u);
    EXPECT_EQ(s.generalInfo[1].second, "(c) a=b");
    EXPECT_FALSE(s.anyWindows);
    EXPECT_FALSE(s.windowsFlags[0]);
    EXPECT_TRUE(s.windowsFlags[5]);
    EXPECT_TRUE(s.abortInstallation);
    EXPECT_EQ(s.folders, (std::vector<std::string>{"%AppDir%", "%AppDir%\\bin", "%CommonFiles%\\Demo", "%WinDir%\\Demo"}));
    ASSERT_EQ(s.files.size(), 3u);
    EXPECT_EQ(s.files[1].entry, "CommonFiles\\Demo\\s.dll");
    EXPECT_EQ(s.files[1].options, 7);
    EXPECT_EQ(s.files[2].replaceMode, 7);
    ASSERT_EQ(s.shortcuts.size(), 2u);
    EXPECT_EQ(s.shortcuts[0].iconIndex, "2");
    EXPECT_EQ(s.shortcuts[0].showCommand, 7);
    EXPECT_EQ(s.shortcuts[0].workingFolder, "C:\\w,1");
    EXPECT_TRUE(s.shortcuts[1].internet);
    EXPECT_EQ(s.shortcuts[1].target, "http://example.com/?a=1");
    ASSERT_EQ(s.registry.size(), 4u);
    EXPECT_TRUE(s.registry[0].key);
    EXPECT_EQ(s.registry[1].type, 's');
    EXPECT_EQ(s.registry[1].data, "a,b,c");
    EXPECT_EQ(s.registry[2].type, 'b');
    EXPECT_EQ(s.registry[3].keyPath, "");
    EXPECT_EQ(s.registry[3].name, "Top");
    ASSERT_EQ(s.fileTypes.size(), 1u);
    EXPECT_EQ(s.fileTypes[0].iconNumber, 1);
}

TEST(InstallerScript, LinesThatNoBuildWritesMarkThePackageDamaged) {
    SetupScript s = ReadSetupScript(Script(
        "[APPLICATION_FILES]\n,a,%AppDir%\\a,1\nx,b,%AppDir%\\b,1,0\n,c,%AppDir%\\c,1,9\n\n"
        "[SHORTCUTS]\nq,%Desktop%\\x,y,,,,0,\n\n[REGISTRY_ENTRIES]\nvalue,HKLM,k,n,z,1\n\n[FILE_TYPES]\na,b\n"));
    ASSERT_EQ(s.problems.size(), 6u);
    EXPECT_TRUE(s.files.empty());
    // Each names where the project keeps the line; an unknown replace mode is a value of the
    // project, the others are lines split at the wrong place.
    const char* sections[] = {"Files", "Files", "Files", "Shortcuts", "Registry", "File types"};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(s.problems[i].section, sections[i]) << i;
        EXPECT_EQ(s.problems[i].exitCode, i == 2 ? kExitFailed : kExitDamaged) << i;
    }
    EXPECT_EQ(s.problems[2].item, "%AppDir%\\c");
    EXPECT_EQ(s.problems[2].problem, "the replace mode 9 is unknown");
    EXPECT_EQ(s.languages, (std::vector<std::string>{"English"}));
}

TEST(InstallerScript, HeaderTextsInsideValuesAreOnlyText) {
    SetupScript s = ReadSetupScript(ProfileText::FromBytes(
        "[SETUP_INFO]\r\nDefaultInstallationPath=C:\\[FILE_TYPES]\r\nDefaultShortcutFolderName=Demo\r\n\r\n[GENERAL_INFO]\r\n"
        "ProductName=Demo [Beta]\r\nProductVersion=2\r\n\r\n[FILE_TYPES]\r\n.qs,QsFile,Q,%AppDir%\\q.exe,,0\r\n"));
    EXPECT_TRUE(s.problems.empty()) << s.problems.front().problem;
    EXPECT_EQ(s.installationPath, "C:\\[FILE_TYPES]");
    ASSERT_EQ(s.generalInfo.size(), 2u);
    EXPECT_EQ(s.generalInfo[1].second, "2");
    ASSERT_EQ(s.fileTypes.size(), 1u);
    EXPECT_EQ(s.fileTypes[0].identifier, "QsFile");
}

TEST(InstallerScript, LanguageNamesAreCheckedLikeTheLanguageSwitch) {
    for (const char* line : {"SetupLanguages=English,..\\..\\x", "SetupLanguages=a/b", "DefaultSetupLanguage=C:x",
                             "SetupLanguages=CON"}) {
        SetupScript s = ReadSetupScript(Script(std::string("[SETUP_INFO]\n") + line + "\n"));
        EXPECT_EQ(s.problems.size(), 1u) << line;
    }
    EXPECT_TRUE(ReadSetupScript(Script("[SETUP_INFO]\nSetupLanguages=English,German\n")).problems.empty());
}

TEST(InstallerLog, AFolderNamedLikeTheActionsHeaderKeepsTheActions) {
    InstallLog log;
    InstallAction folder;
    folder.path = "C:\\Apps[ACTIONS]";
    log.Add(folder);
    std::string text = "[UNINSTALL]\r\nProductName=Demo [Beta]\r\nAppDir=C:\\Apps[ACTIONS]\r\nPanelColours=0x00FF0000\r\n\r\n"
                       "[ACTIONS]\r\n" + log.ActionLines() + "\r\n";
    auto profile = ProfileText::FromBytes(text);
    InstallLog back;
    ASSERT_TRUE(back.Read(profile));
    ASSERT_EQ(back.Actions().size(), 1u);
    EXPECT_EQ(back.Actions()[0].path, "C:\\Apps[ACTIONS]");
    std::string colours;
    profile.GetValue(colours, "UNINSTALL", "PanelColours", "");
    EXPECT_EQ(colours, "0x00FF0000");
}

TEST(InstallerLog, ActionsSurviveWritingAndReading) {
    InstallLog log;
    InstallAction folder;
    folder.path = "C:\\App, Inc";
    log.Add(folder);
    InstallAction file;
    file.kind = ActionKind::File;
    file.path = "C:\\App, Inc\\a.dll";
    file.options = 6;
    file.previousCount = 3;
    file.backup = "not written";
    log.Add(file);
    InstallAction value;
    value.kind = ActionKind::Value;
    value.hive = "HKCR";
    value.key = ".txt";
    value.previousType = 1;
    value.previousData = std::string("txtfile\0", 8);
    log.Add(value);
    InstallLog back;
    ASSERT_TRUE(back.Read(ProfileText::FromBytes("[ACTIONS]\r\n" + log.ActionLines())));
    ASSERT_EQ(back.Actions().size(), 3u);
    EXPECT_EQ(back.Actions()[0].path, "C:\\App, Inc");
    EXPECT_EQ(back.Actions()[1].options, 6);
    EXPECT_EQ(back.Actions()[1].previousCount, 3);
    EXPECT_EQ(back.Actions()[1].backup, "");
    EXPECT_EQ(back.Actions()[2].name, "");
    EXPECT_EQ(back.Actions()[2].previousData, std::string("txtfile\0", 8));
    EXPECT_FALSE(back.Read(ProfileText::FromBytes("[ACTIONS]\r\nFile=x\tC:\\a\r\n")));
}

TEST(InstallerLog, NamesWithTabsLineBreaksAndPercentSignsSurvive) {
    InstallLog log;
    InstallAction value;
    value.kind = ActionKind::Value;
    value.hive = "HKCU";
    value.key = "Software\\Tab\there\rand\nthere";
    value.name = "50% \t name";
    value.previousType = -1;
    log.Add(value);
    InstallAction key;
    key.kind = ActionKind::Key;
    key.hive = "HKCU";
    key.key = "Software\\%41\x7F";
    log.Add(key);
    std::string lines = log.ActionLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\t'), 5);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2);
    InstallLog back;
    ASSERT_TRUE(back.Read(ProfileText::FromBytes("[ACTIONS]\r\n" + lines)));
    ASSERT_EQ(back.Actions().size(), 2u);
    EXPECT_EQ(back.Actions()[0].key, value.key);
    EXPECT_EQ(back.Actions()[0].name, value.name);
    EXPECT_EQ(back.Actions()[1].key, key.key);
    // A broken escape or a hex number with a sign is no line that a log holds.
    EXPECT_FALSE(back.Read(ProfileText::FromBytes("[ACTIONS]\r\nFolder=C:\\a%4\r\n")));
    EXPECT_FALSE(back.Read(ProfileText::FromBytes("[ACTIONS]\r\nFolder=C:\\a%G1\r\n")));
    EXPECT_FALSE(back.Read(ProfileText::FromBytes("[ACTIONS]\r\nValue=HKCU\tk\tn\t1\t-1\r\n")));
}

TEST(InstallerLog, OnlyAnUnchangedLogOfItsOwnFolderIsTrusted) {
    const std::string log = "[UNINSTALL]\r\nProductName=Demo\r\nAppDir=C:\\tools\\Demo\r\n\r\n[ACTIONS]\r\n"
                            "Folder=C:\\tools\\Demo\r\n\r\n";
    const std::string kept = InstallLogFingerprint(log);
    EXPECT_EQ(kept.size(), 64u);
    // "\t" in the folder is no TAB here: paths are compared as the log holds them.
    EXPECT_EQ(CheckInstallLog(log, kept, "C:\\tools\\Demo"), LogTrust::Trusted);
    EXPECT_EQ(CheckInstallLog(log, LowerCase(kept), "c:\\TOOLS\\demo"), LogTrust::Trusted);
    EXPECT_EQ(CheckInstallLog(log, "", "C:\\tools\\Demo"), LogTrust::NoFingerprint);
    EXPECT_EQ(CheckInstallLog(log, kept, "C:\\Other"), LogTrust::OtherFolder);
    for (size_t i = 0; i < log.size(); i += 7) {
        std::string changed = log;
        changed[i] = static_cast<char>(changed[i] ^ 1);
        EXPECT_EQ(CheckInstallLog(changed, kept, "C:\\tools\\Demo"), LogTrust::Changed) << i;
    }
    EXPECT_EQ(CheckInstallLog(log + "Folder=C:\\Windows\r\n", kept, "C:\\tools\\Demo"), LogTrust::Changed);
}

TEST(InstallerLog, TheUninstallEntryItNamesMustBeOne) {
    auto named = [](const std::string& key) {
        return LoggedUninstallKey(ProfileText::FromBytes("[UNINSTALL]\r\nUninstallKey=" + key + "\r\n"));
    };
    const std::string entries = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    EXPECT_EQ(named(entries + "Demo\\tools"), "");
    EXPECT_EQ(named(entries + "Demo [Beta] \\t"), "");
    EXPECT_EQ(named(entries + "Demo [Beta] \t"), entries + "Demo [Beta] \t");
    EXPECT_EQ(named(LowerCase(entries) + "x"), LowerCase(entries) + "x");
    for (const std::string& bad : {entries, std::string("SOFTWARE\\Classes\\x"), std::string("x")})
        EXPECT_EQ(named(bad), "") << bad;
    EXPECT_EQ(LoggedUninstallKey(ProfileText::FromBytes("[UNINSTALL]\r\nAppDir=C:\\x\r\n")), "");
}

TEST(InstallerProgress, SizesFromThePackageSaturateInsteadOfWrapping) {
    WorkProgress empty;
    EXPECT_EQ(empty.Permille(), 1000);
    WorkProgress normal;
    normal.AddToTotal(4000);
    normal.Advance(1000);
    EXPECT_EQ(normal.Permille(), 250);
    normal.Advance(5000);
    EXPECT_EQ(normal.Permille(), 1000);
    // Two sizes that add up to 2^64 would make the whole 0 and the share a division by zero.
    WorkProgress crafted;
    crafted.AddToTotal(10);
    crafted.AddToTotal(UINT64_MAX - 9);
    crafted.AddToTotal(UINT64_MAX);
    EXPECT_EQ(crafted.Permille(), 0);
    crafted.Advance(UINT64_MAX / 2);
    EXPECT_EQ(crafted.Permille(), 499);
    crafted.Advance(UINT64_MAX);
    EXPECT_EQ(crafted.Permille(), 1000);
}

class ContainerTest : public ::testing::Test {
protected:
    // A new file each time: the reader keeps the last one open, and Windows does not let it change.
    std::string Write(const std::string& bytes) { return scratch_.Write("c" + std::to_string(serial_++) + ".exe", bytes); }
    std::string Sample() {
        return MakeTestContainer(std::string(3000, 'M'), {{"setup.ini", "[SETUP_INFO]\r\n"}, {"setup.exe", "EXE"}},
                                 "setup.exe");
    }
    ScratchFolder scratch_;
    int serial_ = 0;
};

TEST_F(ContainerTest, ReadsTheTablesBackwardsAndExtractsByOffset) {
    ContainerReader reader;
    ASSERT_EQ(reader.Open(Write(Sample())), ContainerStatus::Ok) << reader.Problem();
    ASSERT_EQ(reader.Entries().size(), 2u);
    EXPECT_EQ(reader.Entries()[0].name, "setup.ini");
    EXPECT_EQ(reader.Entries()[0].offset, 3000u);
    EXPECT_EQ(reader.Entries()[1].offset, 3000u + 14u);
    EXPECT_EQ(reader.Command(kRunCommandId), "setup.exe");
    EXPECT_EQ(reader.Command(1), "");
    std::string out = scratch_.File("out");
    ASSERT_TRUE(reader.Extract(reader.Entries()[1], out));
    EXPECT_EQ(ReadBytes(out), "EXE");
}

TEST_F(ContainerTest, ReadsWhatTheBuildersWriterWrites) {
    const std::string stub = scratch_.Write("stub.exe", std::string(4096, 'S'));
    ContainerWriter writer;
    ASSERT_TRUE(writer.AddFile(scratch_.Write("setup.ini", "[SETUP_INFO]\r\nVersion=1.0\r\n")));
    ASSERT_TRUE(writer.AddFile(scratch_.Write("setup.exe", std::string(3000, 'E'))));
    ASSERT_TRUE(writer.AddCommand(kRunCommandId, "setup.exe"));
    const std::string target = scratch_.File("Packaged.exe");
    ASSERT_EQ(writer.WriteContainer(stub, target, nullptr, 4), kContainerWritten);
    const std::uint32_t checksum = FileChecksum(target);
    ASSERT_TRUE(WriteReserved(target, &checksum, 4));
    ContainerReader reader;
    ASSERT_EQ(reader.Open(target), ContainerStatus::Ok) << reader.Problem();
    ASSERT_EQ(reader.Entries().size(), 2u);
    EXPECT_EQ(reader.Entries()[1].offset, 4096u + 27u);  // after the 27 bytes of setup.ini
    EXPECT_EQ(reader.Command(kRunCommandId), "setup.exe");
    EXPECT_EQ(ContainerChecksum(0, reinterpret_cast<const unsigned char*>("abc"), 3), ReferenceChecksum("abc"));
}

TEST_F(ContainerTest, AnExtractedFileMatchesOnlyWhileItHoldsTheEntrysBytes) {
    ContainerReader reader;
    ASSERT_EQ(reader.Open(Write(Sample())), ContainerStatus::Ok) << reader.Problem();
    const ContainerEntry& ini = reader.Entries()[0];
    std::string path = scratch_.File("setup.ini");
    ASSERT_TRUE(reader.Extract(ini, path));
    EXPECT_TRUE(reader.Matches(ini, path));
    EXPECT_FALSE(reader.Matches(reader.Entries()[1], path));
    for (const char* other : {"[SETUP_INFO]\r\r", "[SETUP_INFO]\r\n\r\n", ""}) {
        scratch_.Write("setup.ini", other);
        EXPECT_FALSE(reader.Matches(ini, path)) << other;
    }
    EXPECT_FALSE(reader.Matches(ini, scratch_.File("absent.ini")));
}

TEST_F(ContainerTest, ChecksumIsThePublishedTableWithoutInversion) {
    const unsigned char abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(ContainerChecksum(0, abc, 3), 0xCA6598D0u);
    EXPECT_EQ(ContainerChecksum(ContainerChecksum(0, abc, 1), abc + 1, 2), 0xCA6598D0u);
}

TEST_F(ContainerTest, RefusesEveryChangedByteAndEveryCut) {
    std::string good = Sample();
    ContainerReader reader;
    // Each byte of the file, changed, is caught: by the checksum, the tables or the trailer.
    for (size_t i = 0; i < good.size(); i += (i < 2990 ? 97 : 1)) {
        std::string bad = good;
        bad[i] = static_cast<char>(bad[i] ^ 0x20);
        EXPECT_NE(reader.Open(Write(bad)), ContainerStatus::Ok) << "byte " << i;
    }
    for (size_t cut : {size_t(1), size_t(9), size_t(20), good.size() - 3000, good.size() - 1})
        EXPECT_NE(reader.Open(Write(good.substr(0, good.size() - cut))), ContainerStatus::Ok) << "cut " << cut;
    EXPECT_EQ(reader.Open(Write("plain program")), ContainerStatus::NoContainer);
}

TEST_F(ContainerTest, RefusesUnsafeNamesAndEntriesOutsideTheFile) {
    ContainerReader reader;
    for (const char* name : {"..", "", "a\\b", "../x", "C:x", "setup.exe.", "CON", "NUL.txt", "a?b", "x\x01"}) {
        std::string bytes = MakeTestContainer("MZ", {{name, "x"}, {"setup.exe", "E"}}, "setup.exe");
        EXPECT_EQ(reader.Open(Write(bytes)), ContainerStatus::Damaged) << name;
    }
    // The single-entry container "MZ" + "E": the directory starts at byte 3 with offset, size,
    // 9 name bytes and the name length; the entry count stands at byte 24.
    const std::string good = MakeTestContainer("MZ", {{"setup.exe", "E"}}, "setup.exe");
    ASSERT_EQ(reader.Open(Write(good)), ContainerStatus::Ok);
    struct Patch {
        size_t at;
        std::uint32_t value;
    };
    for (Patch p : {Patch{7, 0x7FFFFFFF}, Patch{3, 0xFFFFFFFF}, Patch{3, 60}, Patch{20, 0xFFFFFFF0},
                    Patch{20, 300}, Patch{24, 0}, Patch{24, 1025}, Patch{24, 2}, Patch{45, 300}}) {
        std::string bad = good;
        for (int i = 0; i < 4; ++i) bad[p.at + i] = static_cast<char>((p.value >> (8 * i)) & 0xFF);
        StampTestContainer(bad);
        EXPECT_EQ(reader.Open(Write(bad)), ContainerStatus::Damaged) << p.at << " = " << p.value;
    }
}

// A small setup holds its script as one checked zstd frame, which the installer unpacks; a plain
// script is read as it is, and a frame that is damaged, cut short or followed by other bytes is
// no script at all.
TEST(InstallerScript, APackedScriptUnpacksWholeAndOnlyWhenSound) {
    ScratchFolder scratch;
    std::string text = "[SETUP_INFO]\r\nVersion=1.0\r\n\r\n[APPLICATION_FILES]\r\n";
    for (int i = 0; i < 20000; ++i) text += ",AppDir\\bin\\file" + std::to_string(i % 977) + ".dll,%AppDir%\\bin,1,0\r\n";
    std::uint64_t packedSize = 0;
    ASSERT_TRUE(PackFileAsFrame(scratch.Write("setup.ini", text), scratch.File("packed"), packedSize));
    const std::string frame = ReadBytes(scratch.File("packed"));
    ASSERT_EQ(frame.size(), packedSize);
    ASSERT_LT(packedSize, text.size() / 10);
    std::string bytes = frame;
    ASSERT_TRUE(UnpackScript(bytes));
    EXPECT_EQ(bytes, text);
    ASSERT_TRUE(UnpackScript(bytes));
    EXPECT_EQ(bytes, text) << "a plain script stays as it is";
    std::string damaged = frame;
    damaged[damaged.size() / 2] = static_cast<char>(damaged[damaged.size() / 2] ^ 0x55);
    for (const std::string& bad : {damaged, frame + "x", frame.substr(0, frame.size() - 5), frame.substr(0, 6)}) {
        bytes = bad;
        EXPECT_FALSE(UnpackScript(bytes)) << bad.size();
    }
}

TEST(InstallerLog, ARepeatedInstallationKeepsTheFirstRecordOfEachThing) {
    auto value = [](const char* key, const char* name, long previousType) {
        InstallAction a;
        a.kind = ActionKind::Value;
        a.hive = "HKLM";
        a.key = key;
        a.name = name;
        a.previousType = previousType;
        return a;
    };
    InstallLog first, second;
    first.Add(value("Software\\Demo", "Path", -1));
    second.Add(value("software\\DEMO", "path", 1));  // the first installation's value, seen again
    second.Add(value("Software\\Demo", "Other", -1));
    InstallAction folder;
    folder.path = "C:\\Demo";
    second.Add(folder);
    InstallLog merged = first.MergedWith(second);
    ASSERT_EQ(merged.Actions().size(), 3u);
    EXPECT_EQ(merged.Actions()[0].previousType, -1);
    EXPECT_EQ(merged.Actions()[1].name, "Other");
    EXPECT_EQ(merged.Actions()[2].kind, ActionKind::Folder);
    EXPECT_TRUE(merged.Covers(value("SOFTWARE\\demo", "OTHER", 4)));
    EXPECT_FALSE(merged.Covers(value("Software\\Demo", "Third", -1)));
}

TEST(InstallerScript, ScreensAreShownOnlyWhenTheScriptSwitchesThemOn) {
    // A script that names no screens installs behind the progress window alone.
    SetupScript none = ReadSetupScript(Script("[SETUP_INFO]\nDefaultInstallationPath=C:\\Demo\n"));
    for (bool shown : none.screens.shows) EXPECT_FALSE(shown);
    // Without a setup window the welcome and finish panels run from blue to black.
    EXPECT_EQ(PanelColours(none.screens), std::make_pair(0x00FF0000u, 0x00000000u));

    SetupScript s = ReadSetupScript(Script(
        "[DIALOGS]\nSplashWindow=Yes\nLicenseDialog=yes\nWelcomeDialog=No\n\n"
        "[SETUP_WINDOW]\nWindowTitle=%ProductName% Setup\nColorFrom=0x000000FF\nHeadingAlignment=2\n"
        "HeadingFont=Verdana,-40,700,0,0,0\n\n"
        "[LICENSE_DIALOG]\nLicense_Pathname=%SetupDir%\\License.txt\n\n"
        "[FINISH_DIALOG]\nShow_RunApplication_CheckBox=Yes\nShow_RunApplication_Checked=No\n"
        "Application_Pathname=%AppDir%\\Demo.exe\n"));
    EXPECT_TRUE(s.screens.shows[ScreenSettings::SplashWindow]);
    EXPECT_TRUE(s.screens.shows[ScreenSettings::LicenseDialog]);
    EXPECT_FALSE(s.screens.shows[ScreenSettings::WelcomeDialog]);
    // A key that the section lacks keeps the project's default.
    EXPECT_TRUE(s.screens.shows[ScreenSettings::FinishDialog]);
    EXPECT_EQ(s.screens.windowTitle, "%ProductName% Setup");
    EXPECT_EQ(s.screens.colourFrom, 0xFFu);
    EXPECT_EQ(s.screens.heading.alignment, 2);
    EXPECT_EQ(s.screens.heading.font.face, "Verdana");
    EXPECT_EQ(s.screens.heading.font.height, -40);
    EXPECT_EQ(s.screens.licensePath, "%SetupDir%\\License.txt");
    EXPECT_TRUE(s.screens.showRunApplication);
    EXPECT_FALSE(s.screens.runApplicationChecked);
    EXPECT_EQ(s.screens.finishApplicationPath, "%AppDir%\\Demo.exe");
    EXPECT_EQ(PanelColours(s.screens), std::make_pair(0x000000FFu, 0x00000000u));
    s.screens.gradientFill = false;
    EXPECT_EQ(PanelColours(s.screens), std::make_pair(0x000000FFu, 0x000000FFu));
}

TEST(InstallerTexts, EveryLanguageHasEveryTextAndFillsItsArguments) {
    for (const char* language : {"English.dat", "German.dat"}) {
        SetupTexts texts(std::make_shared<const ProfileText>(JoinPath(SourceFolder(), "LanguageSets\\Setup"), language));
        for (int id = kTextCaption; id <= kTextLast; ++id)
            EXPECT_FALSE(texts.Get(id).empty()) << language << " " << id;
        EXPECT_NE(texts.Get(kTextCaption, {"Demo"}).find("Demo"), std::string::npos) << language;
        // The target's limits: each value of the sentence has its place in every language.
        for (int id : {kTextPathTooLong, kTextNoRoomForFiles}) {
            const std::string filled = texts.Get(id, {"<first>", "<second>", "<third>"});
            for (const char* value : {"<first>", "<second>", "<third>"})
                EXPECT_NE(filled.find(value), std::string::npos) << language << " " << id << ": " << filled;
        }
        EXPECT_NE(texts.Lines().find("\r\n"), std::string::npos);
    }
    EXPECT_EQ(FillArguments("%1 of %2, 100%, %3", {"a", "b"}), "a of b, 100%, %3");
}
