// Planning an installation from setup.ini and the archive's listing, before anything is changed:
// what is planned, in which order and with which data, and every refusal.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "core/Text.h"
#include "package/ExitCodes.h"
#include "package/InstallPlan.h"
#include "package/TargetLimits.h"
#include "profile/TextForm.h"

namespace {

// Beyond ASCII the text is written as the builders write setup.ini: UTF-8 after its mark.
ProfileText Crlf(const std::string& text) { return ProfileText::FromBytes(EncodeUtf8(CrLfLineEnds(text))); }

TargetFolders Folders() {
    TargetFolders f;
    f.programFiles = "C:\\Program Files";
    f.commonFiles = "C:\\Program Files\\Common Files";
    f.windows = "C:\\Windows";
    f.system = "C:\\Windows\\system32";
    f.fonts = "C:\\Windows\\Fonts";
    f.desktop = "C:\\Users\\Public\\Desktop";
    f.startMenu = "C:\\ProgramData\\Start Menu";
    f.startMenuPrograms = "C:\\ProgramData\\Start Menu\\Programs";
    f.startUp = "C:\\ProgramData\\Start Menu\\Programs\\StartUp";
    return f;
}

const char kHeader[] =
    "[SETUP_INFO]\nDefaultInstallationPath=%ProgramFiles%\\%ProductName%\\\nDefaultShortcutFolderName=%ProductName%\n\n"
    "[GENERAL_INFO]\nCompanyName=Quill Co\nProductName=Demo\nProductVersion=2.1\nProductURL=http://example.com\n\n";

// A plan of `script` (after kHeader) against an archive that lists `entries` with their sizes.
struct Planned {
    explicit Planned(const std::string& body, std::map<std::string, std::uint64_t> entries = {},
                     InstallerOptions chosen = {})
        : script(ReadSetupScript(Crlf(kHeader + body))), options(std::move(chosen)), plan(script, options, log) {
        ok = plan.CheckScript() && plan.ResolveVariables("C:\\Temp\\Setup", Folders()) &&
             plan.PlanActions([entries](const std::string& name, std::uint64_t& size) {
                 auto it = entries.find(name);
                 if (it == entries.end()) return false;
                 size = it->second;
                 return true;
             });
    }
    SetupScript script;
    InstallerOptions options;
    ActivityLog log;
    InstallPlan plan;
    bool ok = false;
};

}  // namespace

TEST(InstallPlan, FoldersAndFilesResolvedWithTheArchivesSizes) {
    Planned p("[APPLICATION_FOLDERS]\n%AppDir%\\bin\n\n[SHARED_FOLDERS]\n%CommonFiles%\\Demo\n\n"
              "[APPLICATION_FILES]\n,a.exe,%AppDir%\\bin\\a.exe,2,3\n,uninstall.exe,%AppDir%\\uninstall.exe,1,0\n\n"
              "[SHARED_FILES]\n,CommonFiles\\Demo\\s.dll,%CommonFiles%\\Demo\\s.dll,7,6\n",
              {{"a.exe", 1000}, {"uninstall.exe", 24}, {"CommonFiles\\Demo\\s.dll", 2048}});
    ASSERT_TRUE(p.ok) << p.plan.Problem();
    // The trailing backslash of the installation path goes; the installation folder comes first.
    EXPECT_EQ(p.plan.AppDir(), "C:\\Program Files\\Demo");
    EXPECT_EQ(p.plan.Folders(), (std::vector<std::string>{"C:\\Program Files\\Demo", "C:\\Program Files\\Demo\\bin",
                                                          "C:\\Program Files\\Common Files\\Demo"}));
    ASSERT_EQ(p.plan.Files().size(), 3u);
    const PlannedFile& shared = p.plan.Files()[2];
    EXPECT_EQ(shared.entry, "CommonFiles\\Demo\\s.dll");
    EXPECT_EQ(shared.path, "C:\\Program Files\\Common Files\\Demo\\s.dll");
    EXPECT_EQ(shared.options, 7);
    EXPECT_EQ(shared.replaceMode, 6);
    EXPECT_EQ(shared.size, 2048u);
    EXPECT_EQ(p.plan.RequiredBytes(), 3072u);
    EXPECT_EQ(p.plan.ProgramGroup(), "Demo");
    EXPECT_EQ(p.plan.Product(), "Demo");
    EXPECT_EQ(p.plan.Text("%ProductName% %ProductVersion% in %AppDir%, 50%"), "Demo 2.1 in C:\\Program Files\\Demo, 50%");
}

TEST(InstallPlan, ShortcutsTakeTheirFolderTheirExtensionAndAKnownShowCommand) {
    Planned p("[SHORTCUT_FOLDERS]\n%AppSCFolder%\\Tools\n\n"
              "[SHORTCUTS]\ns,%AppSCFolder%\\Tools\\Run,%AppDir%\\a.exe,-x %1,%AppDir%\\a.ico,2,7,%AppDir%\n"
              "s,%Desktop%\\Big,%AppDir%\\a.exe,,,0,3,\ns,%Desktop%\\Odd,%AppDir%\\a.exe,,,0,5,\n"
              "i,%Desktop%\\Web,%ProductURL%/?a=50%,,,,,,\n");
    ASSERT_TRUE(p.ok) << p.plan.Problem();
    EXPECT_EQ(p.plan.ShortcutFolders(),
              (std::vector<std::string>{"C:\\ProgramData\\Start Menu\\Programs\\Demo\\Tools"}));
    ASSERT_EQ(p.plan.Shortcuts().size(), 4u);
    const PlannedShortcut& run = p.plan.Shortcuts()[0];
    EXPECT_EQ(run.path, "C:\\ProgramData\\Start Menu\\Programs\\Demo\\Tools\\Run.lnk");
    EXPECT_EQ(run.fields.target, "C:\\Program Files\\Demo\\a.exe");
    EXPECT_EQ(run.fields.arguments, "-x %1");
    EXPECT_EQ(run.fields.iconPath, "C:\\Program Files\\Demo\\a.ico");
    EXPECT_EQ(run.fields.iconIndex, 2);
    EXPECT_EQ(run.fields.showCommand, kShowMinimizedInactive);
    EXPECT_EQ(run.fields.workingFolder, "C:\\Program Files\\Demo");
    EXPECT_EQ(p.plan.Shortcuts()[1].fields.showCommand, kShowMaximized);
    EXPECT_EQ(p.plan.Shortcuts()[2].fields.showCommand, kShowNormal);
    const PlannedShortcut& web = p.plan.Shortcuts()[3];
    EXPECT_TRUE(web.internet);
    EXPECT_EQ(web.path, "C:\\Users\\Public\\Desktop\\Web.url");
    EXPECT_EQ(web.url, "http://example.com/?a=50%");
}

TEST(InstallPlan, RegistryLinesFileTypesAndTheUninstallEntryBecomeValuesAsStored) {
    InstallerOptions chosen;
    chosen.userName = "Ann";
    Planned p("[APPLICATION_FILES]\n,uninstall.exe,%AppDir%\\uninstall.exe,1,0\n\n"
              "[REGISTRY_ENTRIES]\nkey,HKLM,Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo\n"
              "value,HKCU,Software\\%ProductName%,Path,s,%AppDir%\\%1\nvalue,HKLM,Software\\Demo,Blob,b,01 a0 FF\n"
              "value,HKU,,Level,d,0000000A\n\n"
              "[FILE_TYPES]\ntxt,Demo.Text,Demo text,%AppDir%\\Demo.exe,,1\n",
              {{"uninstall.exe", 1025}}, chosen);
    ASSERT_TRUE(p.ok) << p.plan.Problem();
    const auto& v = p.plan.Values();
    ASSERT_GE(v.size(), 8u);
    EXPECT_TRUE(v[0].keyOnly);
    EXPECT_EQ(v[1].hive, "HKCU");
    EXPECT_EQ(v[1].key, "Software\\Demo");
    EXPECT_EQ(v[1].type, kRegString);
    EXPECT_EQ(v[1].data, StringData("C:\\Program Files\\Demo\\%1"));
    EXPECT_EQ(v[2].type, kRegBinary);
    EXPECT_EQ(v[2].data, std::string("\x01\xA0\xFF", 3));
    EXPECT_EQ(v[3].key, "");
    EXPECT_EQ(v[3].type, kRegDword);
    EXPECT_EQ(v[3].data, std::string("\x0A\0\0\0", 4));
    // The file type: the extension, the type's name, its icon (the program's) and its command.
    EXPECT_EQ(v[4].key, ".txt");
    EXPECT_EQ(v[4].data, StringData("Demo.Text"));
    EXPECT_EQ(v[5].data, StringData("Demo text"));
    EXPECT_EQ(v[6].key, "Demo.Text\\DefaultIcon");
    EXPECT_EQ(v[6].data, StringData("C:\\Program Files\\Demo\\Demo.exe,1"));
    EXPECT_EQ(v[7].data, StringData("\"C:\\Program Files\\Demo\\Demo.exe\" \"%1\""));
    // The uninstall entry under the key the script names, with what the plan knows.
    std::map<std::string, std::string> entry;
    for (size_t i = 8; i < v.size(); ++i) {
        EXPECT_EQ(v[i].key, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo");
        entry[v[i].name] = v[i].data;
    }
    EXPECT_EQ(entry["DisplayVersion"], StringData("2.1"));
    EXPECT_EQ(entry["Publisher"], StringData("Quill Co"));
    EXPECT_EQ(entry["EstimatedSize"], DwordData(2));  // 1025 bytes, rounded up to kilobytes
    EXPECT_EQ(entry["RegOwner"], StringData("Ann"));
    EXPECT_EQ(entry.count("RegCompany"), 0u);
    EXPECT_EQ(entry["QuietUninstallString"], StringData("\"C:\\Program Files\\Demo\\uninstall.exe\" /S"));
    EXPECT_EQ(entry["NoModify"], DwordData(1));
    EXPECT_EQ(entry[kProgramGroupValue], StringData("Demo")) << "the group, for an update to take again";
}

TEST(InstallPlan, ExpandableAndMultiStringsExpandFolderVariablesAndKeepTheWindowsOnes) {
    Planned p("[REGISTRY_ENTRIES]\nvalue,HKLM,Software\\Demo,Path,e,%AppDir%\\bin;%SystemRoot%\n"
              "value,HKLM,Software\\Demo,List,m,\"%AppDir%\",\"a,\"\"b\"\"\"\n"
              "value,HKLM,Software\\Demo,None,m,\n\n");
    ASSERT_TRUE(p.ok) << p.plan.Problem();
    const auto& v = p.plan.Values();
    ASSERT_GE(v.size(), 3u);
    EXPECT_EQ(v[0].type, kRegExpandString);
    EXPECT_EQ(v[0].data, StringData("C:\\Program Files\\Demo\\bin;%SystemRoot%"));
    EXPECT_EQ(v[1].type, kRegMultiString);
    EXPECT_EQ(v[1].data, std::string("C:\\Program Files\\Demo\0a,\"b\"\0\0", 29));
    EXPECT_EQ(v[2].type, kRegMultiString);
    EXPECT_EQ(v[2].data, std::string(1, '\0'));

    Planned bad("[REGISTRY_ENTRIES]\nvalue,HKLM,Software\\Demo,List,m,\"open\n\n");
    EXPECT_FALSE(bad.ok);
    EXPECT_NE(bad.plan.Problem().find("bad multi-string data: \"open"), std::string::npos) << bad.plan.Problem();
}

TEST(InstallPlan, TheUsersFolderAndGroupTakeThePlaceOfTheScripts) {
    InstallerOptions chosen;
    chosen.folder = "D:\\Tools\\Demo\\\\";
    chosen.group = "Quill\\Demo";
    Planned p("[SHORTCUT_FOLDERS]\n%AppSCFolder%\n", {}, chosen);
    ASSERT_TRUE(p.ok) << p.plan.Problem();
    EXPECT_EQ(p.plan.AppDir(), "D:\\Tools\\Demo");
    EXPECT_EQ(p.plan.ProgramGroup(), "Quill\\Demo");
    EXPECT_EQ(p.plan.ShortcutFolders()[0], "C:\\ProgramData\\Start Menu\\Programs\\Quill\\Demo");
}

TEST(InstallPlan, RefusesWhatCannotBeInstalledAsDamagedOrAsAValueAtFault) {
    struct Case {
        const char* body;
        const char* problem;
        int exitCode;
    };
    const Case cases[] = {
        {"[APPLICATION_FILES]\n,gone.exe,%AppDir%\\gone.exe,0,0\n", "setup.zip lacks the entry gone.exe", kExitDamaged},
        {"[APPLICATION_FILES]\n,..\\a.exe,%AppDir%\\a.exe,0,0\n", "the archive entry ..\\a.exe is not a safe name",
         kExitDamaged},
        {"[APPLICATION_FILES]\n,a.exe,%AppDir%\\..\\a.exe,0,0\n", "leaves its folder", kExitDamaged},
        {"[APPLICATION_FOLDERS]\nC:\\Elsewhere\n", "does not begin with a folder variable", kExitDamaged},
        {"[REGISTRY_ENTRIES]\nvalue,HKXX,Software\\Demo,a,s,x\n", "unknown registry hive HKXX", kExitDamaged},
        {"[SHORTCUTS]\ns,%Desktop%\\x,%Nowhere%\\a.exe,,,0,1,,\n", "unknown variable %Nowhere%", kExitFailed},
        {"[REGISTRY_ENTRIES]\nkey,HKLM,Software\\\\Demo\n", "is not a key path", kExitFailed},
        {"[REGISTRY_ENTRIES]\nvalue,HKLM,Software\\Demo,a,b,01 zz\n", "bad binary data: 01 zz", kExitFailed},
        {"[REGISTRY_ENTRIES]\nvalue,HKLM,Software\\Demo,a,d,100000000\n", "bad number data: 100000000", kExitFailed},
        {"[FILE_TYPES]\na\\b,Demo.Text,Demo,%AppDir%\\Demo.exe,,0\n", "is not a registry name", kExitFailed},
        {"[FILE_TYPES]\ntxt,,Demo document,,%WinSysDir%\\shell32.dll,0\n", "the file type txt has no identifier", kExitFailed},
        {"[FILE_TYPES]\n.a,A.File,A,%AppDir%\\a.exe,,0\n,Demo.Text,Demo text,%AppDir%\\a.exe,,0\n",
         "the file type \"Demo text\" has no extension", kExitFailed},
        {"[APPLICATION_FILES]\n,a.exe,%AppDir%\\NUL.exe,0,0\n", "reserves or changes", kExitFailed},
        {"[APPLICATION_FILES]\n,a.exe,%AppDir%\\. .,0,0\n", "reserves or changes", kExitFailed},
        {"[APPLICATION_FILES]\n,a.exe,%AppDir%\\CON.,0,0\n", "reserves or changes", kExitFailed},
        {"[SHORTCUTS]\ns,%Desktop%\\x?,%AppDir%\\a.exe,,,,1,\n", "reserves or changes", kExitFailed},
        {"[SHORTCUTS]\ns,%AppSCFolder%\\,%AppDir%\\a.exe,,,,1,\n", "the destination %AppSCFolder%\\ holds an empty name",
         kExitFailed},
    };
    for (const Case& c : cases) {
        Planned p(c.body, {{"a.exe", 1}});
        EXPECT_FALSE(p.ok) << c.body;
        EXPECT_NE(p.plan.Problem().find(c.problem), std::string::npos) << c.body << ": " << p.plan.Problem();
        EXPECT_EQ(p.plan.Failure(), c.exitCode) << c.body;
        ASSERT_EQ(p.plan.Refusals().size(), 1u) << c.body;
        EXPECT_FALSE(p.plan.Refusals()[0].section.empty());
        EXPECT_FALSE(p.plan.Refusals()[0].fix.empty()) << c.body;
    }
}

TEST(InstallPlan, NamesThatOnlyEmptyProductTextsLeaveEmptyDropOut) {
    const std::string noCompany =
        "[SETUP_INFO]\nDefaultInstallationPath=%ProgramFiles%\\%CompanyName%\\%ProductName%\n"
        "DefaultShortcutFolderName=%CompanyName%\\%ProductName%\n\n[GENERAL_INFO]\nCompanyName=\nProductName=Super, Duper\n\n"
        "[APPLICATION_FOLDERS]\n%AppDir%\\%CompanyName%\\Docs\n\n[SHORTCUT_FOLDERS]\n%AppSCFolder%\n\n"
        "[SHORTCUTS]\ns,%AppSCFolder%\\Run,%AppDir%\\a.exe,,,,1,\n";
    SetupScript script = ReadSetupScript(Crlf(noCompany));
    InstallerOptions none;
    ActivityLog log;
    InstallPlan plan(script, none, log);
    ASSERT_TRUE(plan.ResolveVariables("C:\\Temp", Folders())) << plan.Problem();
    ASSERT_TRUE(plan.PlanActions([](const std::string&, std::uint64_t&) { return true; })) << plan.Problem();
    EXPECT_EQ(plan.AppDir(), "C:\\Program Files\\Super, Duper");
    EXPECT_EQ(plan.ProgramGroup(), "Super, Duper");
    EXPECT_EQ(plan.Folders()[1], "C:\\Program Files\\Super, Duper\\Docs");
    EXPECT_EQ(plan.Shortcuts()[0].path, "C:\\ProgramData\\Start Menu\\Programs\\Super, Duper\\Run.lnk");
}

TEST(InstallPlan, AnInstallationFolderMustNameAFolderBelowItsVariable) {
    SetupScript script = ReadSetupScript(
        Crlf("[SETUP_INFO]\nDefaultInstallationPath=%ProgramFiles%\\%CompanyName%\\%ProductName%\\\n\n"));
    InstallerOptions none;
    ActivityLog log;
    InstallPlan plan(script, none, log);
    EXPECT_FALSE(plan.ResolveVariables("C:\\Temp", Folders()));
    EXPECT_EQ(plan.Failure(), kExitFailed);
    EXPECT_EQ(plan.Problem(), "the installation folder %ProgramFiles%\\%CompanyName%\\%ProductName%\\ names no folder "
                              "below C:\\Program Files");
}

TEST(InstallPlan, AnEmptyProgramGroupPutsItsShortcutsIntoTheProgramsFolder) {
    const std::string header = "[SETUP_INFO]\nDefaultInstallationPath=%ProgramFiles%\\Demo\nDefaultShortcutFolderName=\n\n";
    SetupScript script = ReadSetupScript(Crlf(header + "[SHORTCUTS]\ns,%Desktop%\\Run,%AppDir%\\a.exe,,,,1,\n"));
    InstallerOptions none;
    ActivityLog log;
    InstallPlan desktopOnly(script, none, log);
    EXPECT_TRUE(desktopOnly.ResolveVariables("C:\\Temp", Folders())) << desktopOnly.Problem();
    EXPECT_EQ(desktopOnly.ProgramGroup(), "");

    SetupScript used = ReadSetupScript(Crlf(header + "[SHORTCUT_FOLDERS]\n%AppSCFolder%\n\n"
                                                     "[SHORTCUTS]\ns,%AppSCFolder%\\Run,%AppDir%\\a.exe,,,,1,\n"));
    InstallPlan intoGroup(used, none, log);
    ASSERT_TRUE(intoGroup.ResolveVariables("C:\\Temp", Folders())) << intoGroup.Problem();
    ASSERT_TRUE(intoGroup.PlanActions([](const std::string&, std::uint64_t&) { return true; })) << intoGroup.Problem();
    EXPECT_EQ(intoGroup.ProgramGroup(), "");
    EXPECT_EQ(intoGroup.ShortcutFolders(), std::vector<std::string>{"C:\\ProgramData\\Start Menu\\Programs"});
    EXPECT_EQ(intoGroup.Shortcuts()[0].path, "C:\\ProgramData\\Start Menu\\Programs\\Run.lnk");
}

// Windows drops the dots and blanks at the end of a name; the plan names what it will create,
// so that the installed files' log, and with it the uninstaller, agree with the disk.
TEST(InstallPlan, NamesEndingInADotOrBlankAreStoredWithoutThem) {
    SetupScript script = ReadSetupScript(Crlf(
        "[SETUP_INFO]\nDefaultInstallationPath=%ProgramFiles%\\%CompanyName%\\%ProductName%\n"
        "DefaultShortcutFolderName=%CompanyName%\\Tools. \n\n"
        "[GENERAL_INFO]\nCompanyName=Widgets, Inc.\nProductName=Pocket Notes\n\n"
        "[APPLICATION_FILES]\n,a.exe,%AppDir%\\bin.\\a.exe.,0,0\n\n"
        "[SHORTCUTS]\ns,%AppSCFolder%\\Run.,%AppDir%\\bin\\a.exe,,,,1,\n"));
    InstallerOptions none;
    ActivityLog log;
    InstallPlan plan(script, none, log);
    ASSERT_TRUE(plan.ResolveVariables("C:\\Temp", Folders())) << plan.Problem();
    ASSERT_TRUE(plan.PlanActions([](const std::string&, std::uint64_t&) { return true; })) << plan.Problem();
    EXPECT_EQ(plan.AppDir(), "C:\\Program Files\\Widgets, Inc\\Pocket Notes");
    EXPECT_EQ(plan.ProgramGroup(), "Widgets, Inc\\Tools");
    EXPECT_EQ(plan.Files()[0].path, "C:\\Program Files\\Widgets, Inc\\Pocket Notes\\bin\\a.exe");
    EXPECT_EQ(plan.Shortcuts()[0].path, "C:\\ProgramData\\Start Menu\\Programs\\Widgets, Inc\\Tools\\Run.lnk");
}

TEST(InstallPlan, EveryRefusedLineIsListedAndSelfRegistrationIsCheckedWhenAsked) {
    SetupScript script = ReadSetupScript(Crlf(std::string(kHeader) +
        "[APPLICATION_FILES]\n,Guide.pdf,%AppDir%\\Guide.pdf,3,0\n,a.dll,%AppDir%\\a.dll,2,0\n,b.exe,%AppDir%\\CON,0,0\n\n"
        "[FILE_TYPES]\ntxt,,Demo document,,%WinSysDir%\\shell32.dll,0\n"));
    InstallerOptions none;
    ActivityLog log;
    InstallPlan plan(script, none, log);
    ASSERT_TRUE(plan.ResolveVariables("C:\\Temp", Folders()));
    auto any = [](const std::string&, std::uint64_t&) { return true; };
    EXPECT_FALSE(plan.PlanActions(any, [](const std::string& entry) { return entry == "a.dll"; }));
    ASSERT_EQ(plan.Refusals().size(), 3u);
    EXPECT_EQ(plan.Refusals()[0].item, "%AppDir%\\Guide.pdf");
    EXPECT_NE(plan.Refusals()[0].problem.find("DllRegisterServer"), std::string::npos);
    EXPECT_EQ(plan.Refusals()[1].item, "%AppDir%\\CON");
    EXPECT_EQ(plan.Refusals()[2].section, "File types");
    EXPECT_EQ(BuildLogText(plan.Refusals()[2]),
              "File types txt: the file type txt has no identifier. Give the file type an identifier, such as "
              "Company.Document");
    // The installer itself has no registration check before it installs.
    InstallPlan installer(script, none, log);
    ASSERT_TRUE(installer.ResolveVariables("C:\\Temp", Folders()));
    EXPECT_FALSE(installer.PlanActions(any));
    EXPECT_EQ(installer.Refusals().size(), 2u);
}

TEST(InstallPlan, AnInstallationFolderThatIsNoFullPathIsAValueAtFault) {
    InstallerOptions chosen;
    chosen.folder = "Relative\\Demo";
    Planned byUser("", {}, chosen);
    EXPECT_FALSE(byUser.ok);
    EXPECT_EQ(byUser.plan.Failure(), kExitFailed);
    EXPECT_EQ(byUser.plan.Problem(), "the installation folder Relative\\Demo is not a full folder path");

    SetupScript script = ReadSetupScript(Crlf("[SETUP_INFO]\nDefaultInstallationPath=C:\\\n"));
    InstallerOptions none;
    ActivityLog log;
    InstallPlan plan(script, none, log);
    EXPECT_FALSE(plan.ResolveVariables("C:\\Temp", Folders()));
    EXPECT_EQ(plan.Failure(), kExitFailed);

    // A group name that leaves the Start menu, and a system folder the computer lacks.
    InstallerOptions group;
    group.group = "..\\Startup";
    EXPECT_FALSE(Planned("", {}, group).ok);
    InstallPlan missing(script, none, log);
    TargetFolders folders = Folders();
    folders.fonts.clear();
    EXPECT_FALSE(missing.ResolveVariables("C:\\Temp", folders));
    EXPECT_EQ(missing.Problem(), "the system folder of %FontsDir% is unknown");
}

TEST(InstallPlan, AScriptWithLinesNoBuildWritesIsRefusedFirst) {
    Planned p("[APPLICATION_FILES]\nnot a file line\n");
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.plan.Problem().rfind("setup.ini holds a ", 0), 0u) << p.plan.Problem();
    EXPECT_TRUE(p.plan.AppDir().empty());  // nothing resolved
}

TEST(InstallPlan, TheUninstallEntryKeepsTheLogsFingerprintEvenWhenTheScriptNamesNone) {
    const std::string uninstaller = "[APPLICATION_FILES]\n,uninstall.exe,%AppDir%\\uninstall.exe,1,0\n\n";
    const std::string entries = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    Planned named(uninstaller + "[REGISTRY_ENTRIES]\nkey,HKLM," + entries + "Demo Tools\n", {{"uninstall.exe", 1}});
    ASSERT_TRUE(named.ok) << named.plan.Problem();
    EXPECT_TRUE(named.plan.HasUninstaller());
    EXPECT_EQ(named.plan.UninstallKey(), entries + "Demo Tools");

    Planned unnamed(uninstaller, {{"uninstall.exe", 1}});
    ASSERT_TRUE(unnamed.ok) << unnamed.plan.Problem();
    EXPECT_EQ(unnamed.plan.UninstallKey(), entries + "Demo");
    ASSERT_FALSE(unnamed.plan.Values().empty());
    const PlannedValue& key = unnamed.plan.Values().back();
    EXPECT_TRUE(key.keyOnly);
    EXPECT_EQ(key.key, entries + "Demo");

    Planned without("[APPLICATION_FILES]\n,a.exe,%AppDir%\\a.exe,1,0\n", {{"a.exe", 1}});
    ASSERT_TRUE(without.ok) << without.plan.Problem();
    EXPECT_FALSE(without.plan.HasUninstaller());
    EXPECT_EQ(without.plan.UninstallKey(), "");
    EXPECT_TRUE(without.plan.Values().empty());
}

TEST(InstallPlan, SizesFromTheArchiveSaturate) {
    Planned p("[APPLICATION_FILES]\n,a.exe,%AppDir%\\a.exe,1,0\n,b.exe,%AppDir%\\b.exe,1,0\n",
              {{"a.exe", UINT64_MAX - 5}, {"b.exe", 10}});
    ASSERT_TRUE(p.ok) << p.plan.Problem();
    EXPECT_EQ(p.plan.RequiredBytes(), UINT64_MAX);
}

// Paths beyond Windows' classic limits are found before anything is written, naming the path
// and the limit: a folder must leave room for a short file name, a file may use the rest.
TEST(TargetLimits, TheFirstPathTooLongForWindowsIsNamedWithItsLimit) {
    const std::string body = "[APPLICATION_FOLDERS]\n%AppDir%\\bin\n\n[APPLICATION_FILES]\n,a.exe,%AppDir%\\bin\\a.exe,1,0\n";
    auto planned = [&](size_t appDirLength) {
        InstallerOptions options;
        options.folder = "C:\\" + std::string(appDirLength - 3, 'x');
        return std::make_unique<Planned>(body, std::map<std::string, std::uint64_t>{{"a.exe", 1}}, options);
    };
    // C:\xx...x\bin\a.exe: the folder is 4 bytes longer than the installation folder, the file 10.
    auto fits = planned(kLongestFolder - 4);
    ASSERT_TRUE(fits->ok) << fits->plan.Problem();
    EXPECT_EQ(TooLongPath(fits->plan).sentence, "");
    auto folder = planned(kLongestFolder - 3);
    ASSERT_TRUE(folder->ok);
    const std::string bin = folder->options.folder + "\\bin";
    EXPECT_EQ(TooLongPath(folder->plan).sentence, "The path " + bin + " is 248 characters long; Windows takes at most 247 "
                                         "characters here. Choose a shorter installation folder.");
    // The language file's text takes the same values.
    EXPECT_EQ(TooLongPath(folder->plan).arguments, (std::vector<std::string>{bin, "248", "247"}));
    // A file whose folder fits but whose own name does not.
    InstallerOptions longName = fits->options;
    auto named = std::make_unique<Planned>(
        "[APPLICATION_FOLDERS]\n%AppDir%\\bin\n\n[APPLICATION_FILES]\n,a.exe,%AppDir%\\bin\\" + std::string(20, 'n') + ".exe,1,0\n",
        std::map<std::string, std::uint64_t>{{"a.exe", 1}}, longName);
    ASSERT_TRUE(named->ok) << named->plan.Problem();
    EXPECT_NE(TooLongPath(named->plan).sentence.find("\\bin\\nnnnnnnnnnnnnnnnnnnn.exe is 272 characters long; Windows takes at most 259"),
              std::string::npos)
        << TooLongPath(named->plan).sentence;
    // Windows counts UTF-16 units, not bytes: 20 Japanese characters (60 bytes) are 20, an emoji 2.
    std::string japanese;
    for (int i = 0; i < 20; ++i) japanese += "\xE6\x97\xA5";
    auto wide = std::make_unique<Planned>(
        "[APPLICATION_FOLDERS]\n%AppDir%\\bin\n\n[APPLICATION_FILES]\n,a.exe,%AppDir%\\bin\\" + japanese + "\xF0\x9F\x98\x80.exe,1,0\n",
        std::map<std::string, std::uint64_t>{{"a.exe", 1}}, longName);
    ASSERT_TRUE(wide->ok) << wide->plan.Problem();
    EXPECT_NE(TooLongPath(wide->plan).sentence.find(".exe is 274 characters long; Windows takes at most 259"), std::string::npos)
        << TooLongPath(wide->plan).sentence;
    auto fitsWide = std::make_unique<Planned>(
        "[APPLICATION_FOLDERS]\n%AppDir%\\bin\n\n[APPLICATION_FILES]\n,a.exe,%AppDir%\\bin\\" + japanese.substr(0, 15) + ".exe,1,0\n",
        std::map<std::string, std::uint64_t>{{"a.exe", 1}}, longName);
    ASSERT_TRUE(fitsWide->ok) << fitsWide->plan.Problem();
    EXPECT_EQ(TooLongPath(fitsWide->plan).sentence, "");
}

TEST(TargetLimits, FilesThatDoNotFitOnTheDriveAreRefusedRoundingUp) {
    EXPECT_EQ(NoRoomForFiles("E:", 2048, 2).sentence, "");
    const TargetProblem noRoom = NoRoomForFiles("E:", 2049, 2);
    EXPECT_EQ(noRoom.sentence, "The files need 3 KB on drive E:, which has 2 KB free.");
    EXPECT_EQ(noRoom.arguments, (std::vector<std::string>{"3", "E:", "2"}));
    EXPECT_EQ(NoRoomForFiles("E:", 0, 0).sentence, "");
}
