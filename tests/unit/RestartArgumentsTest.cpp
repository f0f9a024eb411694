// The command line of an installer started again with administrator rights: every switch the
// user gave comes back as it was given, whatever its value holds, with the answers of the
// screens before the restart; and the owner's name that the user information screen suggests.
#include <gtest/gtest.h>

#include <map>

#include "package/CommandLine.h"
#include "package/ScopeDecision.h"

namespace {

InstallerOptions RoundTrip(const InstallerOptions& options) { return ParseInstallerArguments(InstallerArguments(options)); }

void ExpectSame(const InstallerOptions& a, const InstallerOptions& b) {
    EXPECT_EQ(a.silent, b.silent);
    EXPECT_EQ(a.suppressBoxes, b.suppressBoxes);
    EXPECT_EQ(a.allowDowngrade, b.allowDowngrade);
    EXPECT_EQ(a.closeApplications, b.closeApplications);
    EXPECT_EQ(a.folder, b.folder);
    EXPECT_EQ(a.language, b.language);
    EXPECT_EQ(a.logPath, b.logPath);
    EXPECT_EQ(a.cleanup, b.cleanup);
    EXPECT_EQ(a.archive, b.archive);
    EXPECT_EQ(a.allUsers, b.allUsers);
    EXPECT_EQ(a.currentUser, b.currentUser);
    EXPECT_EQ(a.restarted, b.restarted);
    EXPECT_EQ(a.screensAnswered, b.screensAnswered);
    EXPECT_EQ(a.userName, b.userName);
    EXPECT_EQ(a.company, b.company);
    EXPECT_TRUE(b.unknown.empty());
}

}  // namespace

TEST(RestartArguments, EachSwitchComesBackAsGiven) {
    const std::map<std::string, std::function<void(InstallerOptions&)>> each = {
        {"silent", [](InstallerOptions& o) { o.silent = true; }},
        {"boxes", [](InstallerOptions& o) { o.suppressBoxes = true; }},
        {"downgrade", [](InstallerOptions& o) { o.allowDowngrade = true; }},
        {"close", [](InstallerOptions& o) { o.closeApplications = true; }},
        {"folder", [](InstallerOptions& o) { o.folder = "C:\\Program Files\\My App"; }},
        {"language", [](InstallerOptions& o) { o.language = "German"; }},
        {"log", [](InstallerOptions& o) { o.logPath = "C:\\Users\\A B\\setup log.txt"; }},
        {"cleanup", [](InstallerOptions& o) { o.cleanup = "C:\\Temp\\x"; }},
        {"archive", [](InstallerOptions& o) { o.archive = "12,34,C:\\Down loads\\Setup.exe"; }},
        {"all", [](InstallerOptions& o) { o.allUsers = true; }},
        {"user", [](InstallerOptions& o) { o.currentUser = true; }},
        {"restarted", [](InstallerOptions& o) { o.restarted = true; }},
        {"answered", [](InstallerOptions& o) { o.screensAnswered = true; }},
        {"name", [](InstallerOptions& o) { o.userName = "Ann Smith"; }},
        {"company", [](InstallerOptions& o) { o.company = "Smith & Sons"; }},
    };
    for (const auto& [name, set] : each) {
        SCOPED_TRACE(name);
        InstallerOptions options;
        set(options);
        ExpectSame(options, RoundTrip(options));
    }
    EXPECT_EQ(InstallerArguments(InstallerOptions()), "");
}

TEST(RestartArguments, ValuesWithBlanksQuotesSwitchesAndBackslashesSurvive) {
    InstallerOptions options;
    options.silent = true;
    options.folder = "C:\\Program Files\\";                  // a closing backslash before the quote
    options.logPath = "C:\\logs /S\\x -LANG=y\\setup.log";   // what looks like switches inside
    options.userName = "Ann \"The Boss\" O'Neil";            // quotes, one at each end below
    options.company = "\"Quoted\"";
    options.language = "English";
    const std::string written = InstallerArguments(options);
    EXPECT_NE(written.find("/D=\"C:\\Program Files\\\""), std::string::npos) << written;
    EXPECT_NE(written.find("/_USER=\"Ann \"\"The Boss\"\" O'Neil\""), std::string::npos) << written;
    ExpectSame(options, ParseInstallerArguments(written));
    // A value of quotes only, and one that is a single blank.
    options.userName = "\"\"";
    options.company = " ";
    ExpectSame(options, RoundTrip(options));
    EXPECT_EQ(QuotedSwitch("D", "a\"b"), "/D=\"a\"\"b\"");
}

TEST(RestartArguments, QuotedValuesAsUsersWriteThemReadAsBefore) {
    // Doubled quotes are new only inside a quoted value; the old spellings read as they did.
    const InstallerOptions a = ParseInstallerArguments("/D=\"C:\\x y\" /S \"/LOG=C:\\l g.txt\" /LANG=");
    EXPECT_EQ(a.folder, "C:\\x y");
    EXPECT_EQ(a.logPath, "C:\\l g.txt");
    EXPECT_TRUE(a.silent);
    const InstallerOptions b = ParseInstallerArguments("/D=\"\" /S");
    EXPECT_EQ(b.folder, "");
    EXPECT_TRUE(b.silent);
    const InstallerOptions c = ParseInstallerArguments("/D=C:\\a\"b /S");
    EXPECT_EQ(c.folder, "C:\\a\"b");
    EXPECT_TRUE(c.silent);
    // An unclosed quote runs to the end of the line.
    EXPECT_EQ(ParseInstallerArguments("/_USER=\"Ann \"\" Smith").userName, "Ann \" Smith");
}

TEST(RestartArguments, TheRunWithRightsIsForAllUsersWithTheAnswersAndNeverStartsAgain) {
    // As a user would type it, with an unknown word and a scope the choice replaces.
    InstallerOptions given = ParseInstallerArguments(
        "/SUPPRESSMSGBOXES /D=C:\\Program Files\\Demo App \"/LOG=C:\\A B\\s.log\" /CURRENTUSER /?  extra /CLOSEAPPLICATIONS");
    given.language = "German";
    given.screensAnswered = true;
    given.userName = "Jo \"JJ\" Jones";
    given.company = "J & J";
    const std::string arguments = ElevatedArguments(given);
    const InstallerOptions again = ParseInstallerArguments(arguments);
    EXPECT_TRUE(again.allUsers);
    EXPECT_FALSE(again.currentUser);
    EXPECT_TRUE(again.restarted);
    EXPECT_FALSE(again.help);
    EXPECT_FALSE(again.silent);
    EXPECT_TRUE(again.suppressBoxes);
    EXPECT_TRUE(again.closeApplications);
    EXPECT_EQ(again.folder, "C:\\Program Files\\Demo App");
    EXPECT_EQ(again.logPath, "C:\\A B\\s.log");
    EXPECT_EQ(again.language, "German");
    EXPECT_TRUE(again.screensAnswered);
    EXPECT_EQ(again.userName, "Jo \"JJ\" Jones");
    EXPECT_EQ(again.company, "J & J");
    EXPECT_TRUE(again.unknown.empty()) << arguments;
    EXPECT_FALSE(NeedsElevation(InstallScope::AllUsers, false, again.restarted));
    const ScopeDecision decided = DecideScope(ScopeChoice::Ask, again);
    EXPECT_EQ(decided.start, ScopeStart::Decided);
    EXPECT_EQ(decided.scope, InstallScope::AllUsers);
}

TEST(RegisteredOwner, TheUserIsAskedFirstWhenInstallingForHimselfOrStillChoosing) {
    std::map<std::string, std::string> registry = {
        {"HKCU\\Software\\Microsoft\\MS Setup (ACME)\\User Info\\DefName", "  Una User "},
        {"HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\RegisteredOwner", "Machine Owner"},
        {"HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\RegisteredOrganization", "Machine Org"},
        {"HKCU\\Software\\Microsoft\\MS Setup (ACME)\\User Info\\DefCompany", "   "},
    };
    auto read = [&registry](const RegistryValuePlace& place, std::string& text) {
        auto found = registry.find(place.hive + "\\" + place.key + "\\" + place.name);
        if (found == registry.end()) return false;
        text = found->second;
        return true;
    };
    auto owner = [&](InstallScope scope, bool asked, bool organization) {
        return FirstRegisteredValue(RegisteredOwnerPlaces(scope, asked, organization), read);
    };
    EXPECT_EQ(owner(InstallScope::CurrentUser, false, false), "Una User");
    EXPECT_EQ(owner(InstallScope::AllUsers, true, false), "Una User");
    EXPECT_EQ(owner(InstallScope::AllUsers, false, false), "Machine Owner");
    // A blank value counts as none: the machine's organisation follows.
    EXPECT_EQ(owner(InstallScope::CurrentUser, false, true), "Machine Org");
    registry.erase("HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\RegisteredOwner");
    EXPECT_EQ(owner(InstallScope::AllUsers, false, false), "Una User");
    registry.clear();
    EXPECT_EQ(owner(InstallScope::CurrentUser, false, false), "");
}
