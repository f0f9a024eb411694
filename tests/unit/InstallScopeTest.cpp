// The install scope: its names, the one mapping to folders and hives, the decision at the start
// of an installation, the plan of a current-user installation with every refusal, the project
// key, the install log's scope and the rights that produced programs ask for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <sstream>

#include "TestSupport.h"
#include "core/Text.h"
#include "installer/InstallLog.h"
#include "model/SetupInfo.h"
#include "package/InstallPlan.h"
#include "package/PackageCheck.h"
#include "package/ScopeDecision.h"
#include "pipeline/ExecutionLevel.h"
#include "profile/ScriptBuilder.h"

namespace {

const char kScript[] =
    "[SETUP_INFO]\nDefaultInstallationPath=@folder\nDefaultShortcutFolderName=%ProductName%\n"
    "InstallScope=@scope\n\n"
    "[GENERAL_INFO]\nCompanyName=Quill Co\nProductName=Demo\n\n"
    "[APPLICATION_FILES]\n,a.exe,%AppDir%\\a.exe,1,0\n,uninstall.exe,%AppDir%\\uninstall.exe,1,0\n\n"
    "[REGISTRY_ENTRIES]\nkey,HKLM,SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\%ProductName%\n"
    "value,HKLM,SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\%ProductName%,DisplayName,S,Demo\n"
    "value,HKCU,Software\\Quill\\Demo,Path,S,%AppDir%\n@registry\n"
    "[SHORTCUTS]\ns,%Desktop%\\Demo,%AppDir%\\a.exe,,,,0,%AppDir%\n\n"
    "[FILE_TYPES]\n.qdx,Quill.Document,Quill document,%AppDir%\\a.exe,,0\n";

// The script for `scope` with more sections, more registry lines, another installation folder.
SetupScript Script(const std::string& scope, const std::string& more = std::string(),
                   const std::string& registry = std::string(),
                   const std::string& folder = "%ProgramFiles%\\%ProductName%\\") {
    std::string text = kScript;
    for (const auto& [mark, value] : {std::make_pair("@scope", scope), std::make_pair("@folder", folder),
                                      std::make_pair("@registry", registry)})
        text.replace(text.find(mark), std::string(mark).size(), value);
    return ReadSetupScript(ProfileText::FromBytes(CrLfLineEnds(text + more)));
}

bool Sized(const std::string&, std::uint64_t& size) {
    size = 100;
    return true;
}

struct Plan {
    Plan(const SetupScript& s, InstallScope scope) : script(s) {
        options.scope = scope;
        plan = std::make_unique<InstallPlan>(script, options, log);
        ok = plan->CheckScript() && plan->ResolveVariables("C:\\Setup", TypicalFolders(scope)) && plan->PlanActions(Sized);
    }
    // "HIVE\key\name" of every planned value.
    std::vector<std::string> Values() const {
        std::vector<std::string> out;
        for (const PlannedValue& v : plan->Values()) out.push_back(v.hive + "\\" + v.key + (v.keyOnly ? "" : "\\" + v.name));
        return out;
    }
    SetupScript script;
    InstallerOptions options;
    ActivityLog log;
    std::unique_ptr<InstallPlan> plan;
    bool ok = false;
};

bool Has(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

TEST(InstallScope, NamesReadBothWaysAndAnEmptyLoggedScopeIsAllUsers) {
    for (ScopeChoice c : {ScopeChoice::AllUsers, ScopeChoice::CurrentUser, ScopeChoice::Ask}) {
        ScopeChoice read = ScopeChoice::AllUsers;
        std::string shouted = ScopeChoiceName(c);
        for (char& ch : shouted) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        EXPECT_TRUE(ReadScopeChoice(shouted, read));
        EXPECT_EQ(read, c);
    }
    ScopeChoice choice = ScopeChoice::Ask;
    EXPECT_FALSE(ReadScopeChoice("everyone", choice));
    InstallScope scope = InstallScope::CurrentUser;
    EXPECT_TRUE(ReadScope("", scope));
    EXPECT_EQ(scope, InstallScope::AllUsers);
    EXPECT_TRUE(ReadScope("user", scope));
    EXPECT_EQ(scope, InstallScope::CurrentUser);
    EXPECT_FALSE(ReadScope("ask", scope));
    EXPECT_STREQ(ExecutionLevel(ScopeChoice::AllUsers), "requireAdministrator");
    EXPECT_STREQ(ExecutionLevel(ScopeChoice::CurrentUser), "asInvoker");
    EXPECT_STREQ(ExecutionLevel(ScopeChoice::Ask), "asInvoker");
    EXPECT_TRUE(Offers(ScopeChoice::Ask, InstallScope::CurrentUser));
    EXPECT_FALSE(Offers(ScopeChoice::AllUsers, InstallScope::CurrentUser));
    EXPECT_FALSE(Offers(ScopeChoice::CurrentUser, InstallScope::AllUsers));
}

TEST(InstallScope, EachScopeMapsTheFolderVariablesToItsOwnFolders) {
    std::map<KnownFolder, std::string> asked;
    auto locate = [&](KnownFolder f) { return asked[f] = "#" + std::to_string(static_cast<int>(f)); };
    const TargetFolders user = ScopeFolders(InstallScope::CurrentUser, locate);
    EXPECT_EQ(user.programFiles, asked[KnownFolder::UserProgramFiles]);
    EXPECT_EQ(user.commonFiles, asked[KnownFolder::UserProgramFilesCommon]);
    EXPECT_EQ(user.desktop, asked[KnownFolder::Desktop]);
    EXPECT_EQ(user.startMenu, asked[KnownFolder::StartMenu]);
    EXPECT_EQ(user.startMenuPrograms, asked[KnownFolder::Programs]);
    EXPECT_EQ(user.startUp, asked[KnownFolder::Startup]);
    EXPECT_EQ(user.windows, asked[KnownFolder::Windows]);
    EXPECT_EQ(asked.count(KnownFolder::ProgramFiles) + asked.count(KnownFolder::CommonDesktop) +
                  asked.count(KnownFolder::CommonPrograms) + asked.count(KnownFolder::CommonStartup), 0u);
    const TargetFolders all = ScopeFolders(InstallScope::AllUsers, locate);
    EXPECT_EQ(all.programFiles, asked[KnownFolder::ProgramFiles]);
    EXPECT_EQ(all.startMenuPrograms, asked[KnownFolder::CommonPrograms]);
    EXPECT_EQ(all.desktop, asked[KnownFolder::CommonDesktop]);
    EXPECT_EQ(TypicalFolders(InstallScope::CurrentUser).programFiles, "C:\\Users\\User\\AppData\\Local\\Programs");
    EXPECT_EQ(TypicalFolders(InstallScope::CurrentUser).commonFiles, "C:\\Users\\User\\AppData\\Local\\Programs\\Common");
    EXPECT_EQ(TypicalFolders(InstallScope::AllUsers).programFiles, "C:\\Program Files");
    // Every variable is mapped once, the machine's own folders alike in both scopes.
    for (const FolderVariable* v = FolderVariablesBegin(); v != FolderVariablesEnd(); ++v) {
        EXPECT_EQ(FindFolderVariable(LowerCase(v->name)), v);
        EXPECT_EQ(v->perUser, v->allUsers != v->currentUser) << v->name;
    }
}

TEST(InstallScope, RegistryPlacesFollowTheScopeOnlyForTheUninstallEntryAndTheClasses) {
    const std::string entry = std::string(kUninstallEntries) + "Demo";
    auto place = [](InstallScope s, const char* hive, const std::string& key) {
        RegistryPlace p = ScopeRegistryPlace(s, hive, key);
        return p.hive + "\\" + p.key;
    };
    EXPECT_EQ(place(InstallScope::AllUsers, "HKLM", entry), "HKLM\\" + entry);
    EXPECT_EQ(place(InstallScope::CurrentUser, "HKLM", entry), "HKCU\\" + entry);
    EXPECT_EQ(place(InstallScope::CurrentUser, "HKEY_LOCAL_MACHINE", entry + "\\Sub"), "HKCU\\" + entry + "\\Sub");
    EXPECT_EQ(place(InstallScope::AllUsers, "HKCR", ".qdx"), "HKCR\\.qdx");
    EXPECT_EQ(place(InstallScope::CurrentUser, "HKCR", ".qdx"), "HKCU\\Software\\Classes\\.qdx");
    EXPECT_EQ(place(InstallScope::CurrentUser, "HKLM", "SOFTWARE\\Quill"), "HKLM\\SOFTWARE\\Quill");
    // A key whose name only begins like the list of entries is no entry.
    EXPECT_EQ(place(InstallScope::CurrentUser, "HKLM", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\UninstallX"),
              "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\UninstallX");
    EXPECT_TRUE(WritableForCurrentUser("HKCU", "Software\\X"));
    EXPECT_TRUE(WritableForCurrentUser("HKCR", ".x"));
    EXPECT_TRUE(WritableForCurrentUser("HKLM", entry));
    EXPECT_FALSE(WritableForCurrentUser("HKLM", "SOFTWARE\\Quill"));
    EXPECT_FALSE(WritableForCurrentUser("HKU", ".DEFAULT\\Software"));
}

TEST(ScopeDecision, TheProjectsChoiceAndTheSwitchesDecideOnceAndRefuseWhatIsNotOffered) {
    auto decide = [](ScopeChoice choice, const std::string& arguments) {
        return DecideScope(choice, ParseInstallerArguments(arguments));
    };
    EXPECT_EQ(decide(ScopeChoice::AllUsers, "/S").scope, InstallScope::AllUsers);
    EXPECT_EQ(decide(ScopeChoice::AllUsers, "/allusers").start, ScopeStart::Decided);
    EXPECT_EQ(decide(ScopeChoice::AllUsers, "/CURRENTUSER").start, ScopeStart::Refused);
    EXPECT_EQ(decide(ScopeChoice::CurrentUser, "").scope, InstallScope::CurrentUser);
    EXPECT_EQ(decide(ScopeChoice::CurrentUser, "/ALLUSERS /S").start, ScopeStart::Refused);
    EXPECT_NE(decide(ScopeChoice::CurrentUser, "/ALLUSERS").problem.find("current user only"), std::string::npos);
    EXPECT_EQ(decide(ScopeChoice::Ask, "").start, ScopeStart::Ask);
    EXPECT_EQ(decide(ScopeChoice::Ask, "/S").scope, InstallScope::AllUsers);
    EXPECT_EQ(decide(ScopeChoice::Ask, "/S").start, ScopeStart::Decided);
    const ScopeDecision user = decide(ScopeChoice::Ask, "/CurrentUser");
    EXPECT_EQ(user.start, ScopeStart::Decided);
    EXPECT_EQ(user.scope, InstallScope::CurrentUser);
    EXPECT_EQ(decide(ScopeChoice::Ask, "/ALLUSERS /CURRENTUSER").start, ScopeStart::Refused);
    EXPECT_TRUE(NeedsElevation(InstallScope::AllUsers, false, false));
    EXPECT_FALSE(NeedsElevation(InstallScope::AllUsers, true, false));
    EXPECT_FALSE(NeedsElevation(InstallScope::CurrentUser, false, false));
    // The run with rights gets the same arguments, the scope and the language chosen.
    InstallerOptions given = ParseInstallerArguments("/D=C:\\Apps\\Demo /LANG=English");
    given.language = "German";
    const InstallerOptions again = ParseInstallerArguments(ElevatedArguments(given));
    EXPECT_TRUE(again.allUsers);
    EXPECT_TRUE(again.restarted);
    // A run started again never starts once more, rights or not.
    EXPECT_FALSE(NeedsElevation(InstallScope::AllUsers, false, again.restarted));
    EXPECT_EQ(again.language, "German");
    EXPECT_EQ(again.folder, "C:\\Apps\\Demo");
    EXPECT_EQ(DecideScope(ScopeChoice::Ask, again).start, ScopeStart::Decided);
}

TEST(CurrentUserPlan, FoldersFileTypesAndTheUninstallEntryAreTheUsersOwn) {
    const Plan all(Script("all"), InstallScope::AllUsers);
    ASSERT_TRUE(all.ok) << all.plan->Problem();
    EXPECT_EQ(all.plan->AppDir(), "C:\\Program Files\\Demo");
    EXPECT_TRUE(Has(all.Values(), "HKLM\\" + std::string(kUninstallEntries) + "Demo\\DisplayName"));
    EXPECT_TRUE(Has(all.Values(), "HKCR\\.qdx\\"));

    const Plan user(Script("user"), InstallScope::CurrentUser);
    ASSERT_TRUE(user.ok) << user.plan->Problem();
    EXPECT_EQ(user.plan->AppDir(), "C:\\Users\\User\\AppData\\Local\\Programs\\Demo");
    EXPECT_EQ(user.plan->Shortcuts().at(0).path, "C:\\Users\\User\\Desktop\\Demo.lnk");
    EXPECT_EQ(user.plan->UninstallKey(), std::string(kUninstallEntries) + "Demo");
    const std::vector<std::string> values = user.Values();
    EXPECT_TRUE(Has(values, "HKCU\\" + std::string(kUninstallEntries) + "Demo"));
    EXPECT_TRUE(Has(values, "HKCU\\" + std::string(kUninstallEntries) + "Demo\\InstallLocation"));
    EXPECT_TRUE(Has(values, "HKCU\\Software\\Classes\\.qdx\\"));
    EXPECT_TRUE(Has(values, "HKCU\\Software\\Classes\\Quill.Document\\shell\\open\\command\\"));
    EXPECT_TRUE(Has(values, "HKCU\\Software\\Quill\\Demo\\Path"));
    // Nothing is written outside the user's own hive.
    for (const PlannedValue& v : user.plan->Values()) EXPECT_EQ(v.hive, "HKCU") << v.key;
}

TEST(CurrentUserPlan, EveryMachineWideItemIsRefusedByNameWithWhatToDo) {
    const std::string machineWide =
        "\n[SHARED_FILES]\n,s.dll,%WinSysDir%\\s.dll,4,0\n,r.dll,%AppDir%\\r.dll,2,0\n,f.ttf,%FontsDir%\\f.ttf,1,0\n"
        ",c.dll,%CommonFiles%\\Quill\\c.dll,5,0\n\n"
        "[APPLICATION_FOLDERS]\n%WinDir%\\Quill\n\n";
    const std::string registry = "value,HKLM,SOFTWARE\\Quill,Path,S,x\nkey,HKU,.DEFAULT\\Software\\Quill\n";
    const Plan user(Script("user", machineWide, registry), InstallScope::CurrentUser);
    ASSERT_FALSE(user.ok);
    std::map<std::string, std::string> refused;  // item -> problem and fix
    for (const Refusal& r : user.plan->Refusals()) {
        EXPECT_EQ(r.exitCode, kExitScope) << r.item;
        refused[r.item] = r.problem + ". " + r.fix;
    }
    EXPECT_EQ(refused.size(), 7u);
    EXPECT_NE(refused["%WinSysDir%\\s.dll"].find("%WinSysDir%"), std::string::npos);
    EXPECT_NE(refused["%AppDir%\\r.dll"].find("Clear Self-register"), std::string::npos);
    EXPECT_NE(refused["%FontsDir%\\f.ttf"].find("install the project for all users"), std::string::npos);
    EXPECT_NE(refused["%CommonFiles%\\Quill\\c.dll"].find("Clear Shared file"), std::string::npos);
    EXPECT_NE(refused["%WinDir%\\Quill"].find("%WinDir%"), std::string::npos);
    EXPECT_NE(refused["HKLM\\SOFTWARE\\Quill"].find("HKEY_CURRENT_USER"), std::string::npos);
    EXPECT_NE(refused["HKU\\.DEFAULT\\Software\\Quill"].find("below HKU"), std::string::npos);
    // The same items install for all users.
    EXPECT_TRUE(Plan(Script("user", machineWide, registry), InstallScope::AllUsers).ok);
}

TEST(CurrentUserPlan, TheBuildCheckPlansTheProjectsScopeAndReportsWhatOnlyTheUsersChoiceRefuses) {
    const std::string systemFile = "\n[SHARED_FILES]\n,s.dll,%WinSysDir%\\s.dll,1,0\n";
    EXPECT_TRUE(CheckPackage(Script("all", systemFile), Sized, nullptr).empty());
    EXPECT_TRUE(CheckCurrentUserChoice(Script("all", systemFile), Sized, nullptr).empty());
    const std::vector<Refusal> user = CheckPackage(Script("user", systemFile), Sized, nullptr);
    ASSERT_EQ(user.size(), 1u);
    EXPECT_EQ(BuildLogText(user[0]).rfind("Files %WinSysDir%\\s.dll: an installation for the current user", 0), 0u);
    EXPECT_TRUE(CheckPackage(Script("ask", systemFile), Sized, nullptr).empty());
    const std::vector<Refusal> ask = CheckCurrentUserChoice(Script("ask", systemFile), Sized, nullptr);
    ASSERT_EQ(ask.size(), 1u);
    EXPECT_EQ(ask[0].item, "%WinSysDir%\\s.dll");
    const std::vector<Refusal> folder = CheckPackage(Script("user", "", "", "%WinDir%\\Demo"), Sized, nullptr);
    ASSERT_EQ(folder.size(), 1u);
    EXPECT_EQ(folder[0].section, "Setup Info");
    // An unknown scope in setup.ini is a damaged package.
    const std::vector<Refusal> unknown = CheckPackage(Script("everyone"), Sized, nullptr);
    ASSERT_FALSE(unknown.empty());
    EXPECT_EQ(unknown[0].exitCode, kExitDamaged);
}

TEST(ProjectScope, AMissingKeyIsAllUsersAndOnlyOtherScopesAreSavedAndExported) {
    SetupInfo info;
    info.Load(ProfileText::FromBytes("[SETUP_INFO]\r\nSetupType=0\r\n\r\n"));
    EXPECT_EQ(info.Scope(), ScopeChoice::AllUsers);
    EXPECT_EQ(SavedText(info).find("InstallScope"), std::string::npos);
    EXPECT_EQ(ExportedText(info).find("InstallScope"), std::string::npos);
    info.SetScope(ScopeChoice::Ask, false);
    EXPECT_NE(SavedText(info).find("DefaultSetupLanguage=\r\nInstallScope=ask\r\n"), std::string::npos);
    EXPECT_NE(ExportedText(info).find("InstallScope=ask\r\n"), std::string::npos);
    SetupInfo again;
    again.Load(ProfileText::FromBytes(SavedText(info)));
    EXPECT_EQ(again.Scope(), ScopeChoice::Ask);
    again.Load(ProfileText::FromBytes("[SETUP_INFO]\r\nInstallScope=user\r\n"));
    EXPECT_EQ(again.Scope(), ScopeChoice::CurrentUser);
    again.Load(ProfileText::FromBytes("[SETUP_INFO]\r\nInstallScope=nobody\r\n"));
    EXPECT_EQ(again.Scope(), ScopeChoice::AllUsers);
    // The uninstall entry line is one for every scope.
    EXPECT_NE(ExportedText(info).find("key,HKLM,SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\%ProductName%"),
              std::string::npos);
}

TEST(InstallLogScope, TheLogNamesACurrentUsersScopeAndUninstallersWithRightsRefuseIt) {
    InstallScope scope = InstallScope::CurrentUser;
    EXPECT_TRUE(LoggedScope(ProfileText::FromBytes("[UNINSTALL]\r\nAppDir=C:\\A\r\n"), scope));
    EXPECT_EQ(scope, InstallScope::AllUsers);
    EXPECT_EQ(ScopeLogLine(InstallScope::AllUsers), "");
    EXPECT_TRUE(LoggedScope(ProfileText::FromBytes("[UNINSTALL]\r\n" + ScopeLogLine(InstallScope::CurrentUser)), scope));
    EXPECT_EQ(scope, InstallScope::CurrentUser);
    EXPECT_FALSE(LoggedScope(ProfileText::FromBytes("[UNINSTALL]\r\nInstallScope=ask\r\n"), scope));
    EXPECT_TRUE(AcceptsLogScope(true, InstallScope::AllUsers));
    EXPECT_FALSE(AcceptsLogScope(true, InstallScope::CurrentUser));
    EXPECT_TRUE(AcceptsLogScope(false, InstallScope::CurrentUser));
    EXPECT_TRUE(AcceptsLogScope(false, InstallScope::AllUsers));
}

TEST(ExecutionLevel, TheManifestsLevelIsReplacedAndNothingElse) {
    const std::string manifest =
        "<assembly><trustInfo><security><requestedPrivileges>\r\n"
        "<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>\r\n"
        "</requestedPrivileges></security></trustInfo><x level=\"y\"/></assembly>";
    std::string out;
    ASSERT_TRUE(ManifestWithLevel(manifest, "asInvoker", out));
    EXPECT_EQ(out, std::string(manifest).replace(manifest.find("requireAdministrator"), 20, "asInvoker"));
    EXPECT_FALSE(ManifestWithLevel("<assembly><x level=\"y\"/></assembly>", "asInvoker", out));
    EXPECT_FALSE(ManifestWithLevel("<requestedExecutionLevel uiAccess=\"false\"/><a level=\"b\"/>", "asInvoker", out));
}

// Where the installer programs are built (for Windows), their manifests are rewritten as they are.
TEST(ExecutionLevel, TheInstallerProgramsStartWithoutRightsOnceTheirLevelIsSet) {
    std::istringstream programs(QS_INSTALLER_PROGRAMS);
    ScratchFolder scratch;
    for (std::string program; std::getline(programs, program, '|');) {
        SCOPED_TRACE(program);
        const std::string original = ReadBytes(program);
        EXPECT_EQ(ExecutionLevelOf(program), program.find("_sfx") != std::string::npos ? "asInvoker" : "requireAdministrator");
        const std::string copy = scratch.Write("copy.exe", original);
        ASSERT_TRUE(SetExecutionLevel(copy, "asInvoker"));
        EXPECT_EQ(ExecutionLevelOf(copy), "asInvoker");
        ASSERT_TRUE(SetExecutionLevel(copy, "requireAdministrator"));
        EXPECT_EQ(ExecutionLevelOf(copy), "requireAdministrator");
    }
}
