// Texts beyond ASCII: the two forms of the system's text files, the code-page conversions, and
// names in several scripts through the project, setup.ini and the install log.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "core/Path.h"
#include "core/Text.h"
#include "installer/InstallLog.h"
#include "lang/UiTextSource.h"
#include "model/ProjectDocument.h"
#include "package/SetupScript.h"
#include "platform/CodePage.h"
#include "profile/ProfileText.h"
#include "profile/ScriptBuilder.h"
#include "profile/TextForm.h"

namespace {

// Latin with accents, Greek, Cyrillic, CJK and an emoji outside the Basic Multilingual Plane.
const char kLatin[] = "\xC3\x9C" "n\xC3\xAF" "c\xC3\xB6" "d\xC3\xA9";  // Ünïcödé
const char kGreek[] = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC";  // Ελληνικά
const char kCyrillic[] = "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9";  // Русский
const char kJapanese[] = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";  // 日本語
const char kEmoji[] = "emoji-\xF0\x9F\x98\x80";  // emoji-😀

struct NoTexts : UiTextSource {
    std::string UiText(TextKey) const override { return ""; }
};

// Restores the legacy code page that a test changes.
class LegacyCodePageScope {
public:
    explicit LegacyCodePageScope(unsigned codePage) : saved_(platform::LegacyCodePage()) {
        platform::SetLegacyCodePage(codePage);
    }
    ~LegacyCodePageScope() { platform::SetLegacyCodePage(saved_); }

private:
    unsigned saved_;
};

std::string ProjectText(const std::string& company, const std::string& product, const std::vector<std::string>& files) {
    std::string text = "[BUILDER_INFO]\r\nVersion=1.0\r\n\r\n[GENERAL_INFO]\r\nCompanyName=" + company +
                       "\r\nProductName=" + product + "\r\n\r\n[APPLICATION_FILES]\r\n";
    for (const std::string& file : files) text += "File=%AppDir%\\" + file + ",files\\" + file + ",1,0\r\n";
    return text;
}

std::string GeneralValue(const SetupScript& script, const std::string& key) {
    for (const auto& [name, value] : script.generalInfo)
        if (name == key) return value;
    return "(none)";
}

}  // namespace

TEST(Utf8Text, WellFormedCharactersPassAndEveryOtherByteIsFound) {
    for (const char* text : {kLatin, kGreek, kCyrillic, kJapanese, kEmoji}) {
        EXPECT_TRUE(FindInvalidUtf8(text) == std::string::npos) << text;
        EXPECT_FALSE(IsAscii(text)) << text;
    }
    EXPECT_TRUE(IsAscii("plain ~\x7F"));
    EXPECT_TRUE(FindInvalidUtf8("") == std::string::npos);
    struct Case {
        std::string text;
        size_t at;
    } cases[] = {
        {"ab\xFF", 2},                       // a byte never used
        {"\xC3", 0},                         // cut short
        {"x\xC0\xAF", 1},                    // an overlong "/"
        {"\xED\xA0\x80", 0},                 // a surrogate
        {"\xF4\x90\x80\x80", 0},             // above U+10FFFF
        {std::string(kJapanese) + "\x80", 9},  // a continuation byte alone
        {"\xC3\x9C\xE6\x97", 2},             // a character cut at the end
    };
    for (const Case& c : cases) EXPECT_EQ(FindInvalidUtf8(c.text), c.at) << HexBytes(c.text);
}

TEST(Utf8Text, NamesInAnyScriptAreKeptAndEveryRefusalNamesItsReason) {
    for (const char* name : {kLatin, kGreek, kCyrillic, kJapanese, kEmoji})
        EXPECT_TRUE(IsStoredAsSpelt(std::string(name) + ".txt")) << name;
    EXPECT_EQ(SpellingFault("a*b.txt"), "the character \"*\"");
    EXPECT_EQ(SpellingFault("a\x01" "b"), "the control character 01h");
    EXPECT_EQ(SpellingFault("caf\xE9.txt"), "the byte E9h, which is not UTF-8 text");
    EXPECT_EQ(SpellingFault("Tools."), "a dot at its end");
    EXPECT_EQ(SpellingFault("nul.txt"), "the device name \"nul\"");
    // The superscript digits after COM and LPT name devices too, written as UTF-8 now.
    EXPECT_FALSE(IsStoredAsSpelt("COM\xC2\xB9.txt"));
    EXPECT_FALSE(IsStoredAsSpelt("lpt\xC2\xB3"));
    EXPECT_TRUE(IsStoredAsSpelt("COM\xC2\xB4"));
}

TEST(CodePages, ConvertBothWaysAndRefuseWhatTheCodePageLacks) {
    std::string bytes, text;
    ASSERT_TRUE(platform::Utf8ToCodePage(kLatin, 1252, bytes));
    EXPECT_EQ(bytes, "\xDCn\xEF" "c\xF6" "d\xE9");
    ASSERT_TRUE(platform::CodePageToUtf8(bytes, 1252, text));
    EXPECT_EQ(text, kLatin);
    // A byte that Windows-1252 leaves undefined reads as the character of its number.
    ASSERT_TRUE(platform::CodePageToUtf8("a\x81" "b", 1252, text));
    EXPECT_EQ(text, "a\xC2\x81" "b");
    // Nothing is written as "?" or as a look-alike.
    EXPECT_FALSE(platform::Utf8ToCodePage(kJapanese, 1252, bytes));
    EXPECT_FALSE(platform::Utf8ToCodePage(kEmoji, 1252, bytes));
    EXPECT_FALSE(platform::Utf8ToCodePage("\xE2\x88\x9E", 1252, bytes));  // ∞
    // A Japanese code page holds the Japanese name in two bytes a character.
    ASSERT_TRUE(platform::Utf8ToCodePage(kJapanese, 932, bytes));
    EXPECT_EQ(bytes, "\x93\xFA\x96\x7B\x8C\xEA");
    ASSERT_TRUE(platform::CodePageToUtf8(bytes, 932, text));
    EXPECT_EQ(text, kJapanese);
    EXPECT_TRUE(platform::IsKnownCodePage(1251));
    EXPECT_FALSE(platform::IsKnownCodePage(12345));
    EXPECT_FALSE(platform::CodePageToUtf8("x", 12345, text));
}

TEST(TextForms, TheMarkTellsUtf8AndEverythingElseIsTheCodePage) {
    LegacyCodePageScope westernEurope(1252);
    DecodedText ascii = DecodeText("[A]\r\nx=1\r\n");
    EXPECT_EQ(ascii.text, "[A]\r\nx=1\r\n");
    EXPECT_EQ(ascii.form, TextForm::Utf8);
    DecodedText marked = DecodeText(std::string(kUtf8Mark) + "x=" + kJapanese);
    EXPECT_EQ(marked.text, std::string("x=") + kJapanese);
    EXPECT_EQ(marked.form, TextForm::Utf8);
    DecodedText old = DecodeText("x=\xDCn\xEF" "c\xF6" "d\xE9");
    EXPECT_EQ(old.text, std::string("x=") + kLatin);
    EXPECT_EQ(old.form, TextForm::CodePage);

    TextForm form = TextForm::CodePage;
    EXPECT_EQ(EncodeText("x=1", form), "x=1");
    EXPECT_EQ(EncodeText(std::string("x=") + kLatin, form), "x=\xDCn\xEF" "c\xF6" "d\xE9");
    EXPECT_EQ(form, TextForm::CodePage);
    EXPECT_EQ(EncodeText(std::string("x=") + kEmoji, form), std::string(kUtf8Mark) + "x=" + kEmoji);
    EXPECT_EQ(form, TextForm::Utf8);
    EXPECT_EQ(EncodeUtf8("x=1"), "x=1");
}

class ProjectTexts : public ::testing::Test {
protected:
    NoTexts texts;
    ScratchFolder scratch;
    LegacyCodePageScope westernEurope{1252};
};

// A project of the new form opens with its characters, saves to the same bytes, and exports a
// setup.ini that the installer's reader reads with the same characters.
TEST_F(ProjectTexts, NamesInSeveralScriptsSurviveProjectAndSetupIni) {
    const std::vector<std::string> files = {std::string(kLatin) + ".txt", std::string(kGreek) + ".txt",
                                            std::string(kCyrillic) + ".txt", std::string(kJapanese) + ".txt",
                                            std::string(kEmoji) + ".txt"};
    const std::string company = std::string(kLatin) + " Co", product = std::string("\xC3\x9C") + "bersicht " + kJapanese;
    const std::string bytes = kUtf8Mark + ProjectText(company, product, files);
    const std::string path = scratch.Write("Names.qsp", bytes);
    ProjectDocument project(texts);
    ASSERT_TRUE(project.Open(path));
    EXPECT_EQ(project.Form(), TextForm::Utf8);
    ASSERT_TRUE(project.SaveAs(scratch.File("Again.qsp")));
    const std::string again = ReadBytes(scratch.File("Again.qsp"));
    EXPECT_EQ(again.substr(0, 3), kUtf8Mark);
    EXPECT_FALSE(project.TakeFormChange());

    ScriptBuilder script;
    project.Export(script);
    EXPECT_EQ(script.Bytes(), kUtf8Mark + script.Text());
    const SetupScript read = ReadSetupScript(ProfileText::FromBytes(script.Bytes()));
    EXPECT_EQ(GeneralValue(read, "CompanyName"), company);
    EXPECT_EQ(GeneralValue(read, "ProductName"), product);
    std::vector<std::string> destinations;
    for (const ScriptFile& file : read.files) destinations.push_back(file.destination);
    for (const std::string& file : files)
        EXPECT_NE(std::find(destinations.begin(), destinations.end(), "%AppDir%\\" + file), destinations.end()) << file;
    EXPECT_TRUE(read.problems.empty());
}

TEST_F(ProjectTexts, AsciiProjectsStayByteIdentical) {
    for (const std::string& path : {DataPath("golden/EditedDemo.qsp"), DataPath("golden/PagesShortcuts.qsp"),
                                    SourceFolder() + "/examples/Demo/Demo.qsp"}) {
        // Opened and saved in one folder: a project saved into another rebases its relative paths.
        ProjectDocument project(texts);
        ASSERT_TRUE(project.Open(scratch.Write("original.qsp", ReadBytes(path))));
        ASSERT_TRUE(project.SaveAs(scratch.File("copy.qsp")));
        EXPECT_EQ(ReadBytes(scratch.File("copy.qsp")), ReadBytes(path)) << path;
        ScriptBuilder script;
        project.Export(script);
        EXPECT_EQ(script.Bytes(), script.Text()) << path;
    }
}

// A project written in the code page opens with the same characters, keeps its form while the
// code page holds them, and takes the new form, told once, when it no longer does.
TEST_F(ProjectTexts, OldFormProjectsOpenFromTheCodePageAndKeepTheirForm) {
    const std::string old = ProjectText("\xDCn\xEF Co", "\xDC" "bersicht", {"\xDCn\xEF" "c\xF6" "d\xE9.txt"});
    const std::string path = scratch.Write("Old.qsp", old);
    ProjectDocument project(texts);
    ASSERT_TRUE(project.Open(path));
    EXPECT_EQ(project.Form(), TextForm::CodePage);
    EXPECT_EQ(project.generalInfo.CompanyName(), std::string(kLatin).substr(0, 5) + " Co");
    project.SetModifiedFlag(true);
    ASSERT_TRUE(project.Save());
    const std::string kept = ReadBytes(path);
    EXPECT_EQ(kept.rfind("[BUILDER_INFO]\r\n", 0), 0u);
    EXPECT_NE(kept.find("CompanyName=\xDCn\xEF Co\r\nProductName=\xDC" "bersicht\r\n"), std::string::npos);
    EXPECT_NE(kept.find("File=%AppDir%\\\xDCn\xEF" "c\xF6" "d\xE9.txt,"), std::string::npos);
    EXPECT_FALSE(project.TakeFormChange());

    project.generalInfo.SetProductName(std::string("\xC3\x9C") + "bersicht " + kJapanese);
    ASSERT_TRUE(project.Save());
    const std::string now = ReadBytes(path);
    EXPECT_EQ(now.substr(0, 3), kUtf8Mark);
    EXPECT_NE(now.find(std::string("ProductName=\xC3\x9C") + "bersicht " + kJapanese + "\r\n"), std::string::npos);
    EXPECT_NE(now.find(std::string("File=%AppDir%\\") + kLatin + ".txt"), std::string::npos);
    EXPECT_EQ(project.Form(), TextForm::Utf8);
    EXPECT_TRUE(project.TakeFormChange());
    EXPECT_FALSE(project.TakeFormChange());
}

TEST_F(ProjectTexts, AnotherCodePageIsReadWhenChosen) {
    const std::string path = scratch.Write("Japanese.qsp", ProjectText("Co", "\x93\xFA\x96\x7B\x8C\xEA", {}));
    {
        LegacyCodePageScope japanese(932);
        ProjectDocument project(texts);
        ASSERT_TRUE(project.Open(path));
        EXPECT_EQ(project.generalInfo.ProductName(), kJapanese);
    }
    ProjectDocument western(texts);
    ASSERT_TRUE(western.Open(path));
    EXPECT_EQ(western.generalInfo.ProductName(), "\xE2\x80\x9C\xC3\xBA\xE2\x80\x93{\xC5\x92\xC3\xAA");  // “ú–{Œê
}

TEST(InstallLogTexts, NamesSurviveTheLogAndOldLogsReadFromTheCodePage) {
    LegacyCodePageScope westernEurope(1252);
    InstallLog log;
    for (const char* name : {kLatin, kGreek, kCyrillic, kJapanese, kEmoji}) {
        InstallAction file;
        file.kind = ActionKind::File;
        file.path = std::string("C:\\Program Files\\") + kLatin + " Co\\" + name + ".txt";
        log.Add(file);
        InstallAction value;
        value.kind = ActionKind::Value;
        value.hive = "HKLM";
        value.key = std::string("Software\\") + kJapanese;
        value.name = name;
        value.previousData = name;
        value.previousType = 1;
        log.Add(value);
    }
    const std::string bytes = EncodeUtf8("[UNINSTALL]\r\nProductName=" + std::string(kJapanese) + "\r\n\r\n[ACTIONS]\r\n" +
                                         log.ActionLines());
    InstallLog back;
    const ProfileText profile = ProfileText::FromBytes(bytes);
    ASSERT_TRUE(back.Read(profile));
    ASSERT_EQ(back.Actions().size(), log.Actions().size());
    for (size_t i = 0; i < log.Actions().size(); ++i) {
        EXPECT_EQ(back.Actions()[i].path, log.Actions()[i].path);
        EXPECT_EQ(back.Actions()[i].key, log.Actions()[i].key);
        EXPECT_EQ(back.Actions()[i].name, log.Actions()[i].name);
        EXPECT_EQ(back.Actions()[i].previousData, log.Actions()[i].previousData);
    }
    std::string product;
    profile.GetRawValue("UNINSTALL", "ProductName", product);
    EXPECT_EQ(product, kJapanese);

    // A log of an earlier installer holds the code page's bytes.
    InstallLog old;
    ASSERT_TRUE(old.Read(ProfileText::FromBytes("[ACTIONS]\r\nFile=0\t-1\tC:\\\xDCn\xEF" "c\xF6" "d\xE9.txt\r\n")));
    ASSERT_EQ(old.Actions().size(), 1u);
    EXPECT_EQ(old.Actions()[0].path, std::string("C:\\") + kLatin + ".txt");
}

// The shipped German texts carry the mark: the installer shows them alike on every system.
TEST(LanguageFileTexts, GermanReadsTheSameInAnyCodePage) {
    for (unsigned codePage : {1252u, 932u, 1251u}) {
        LegacyCodePageScope system(codePage);
        for (const char* folder : {"LanguageSets\\Setup", "LanguageSets\\Builder"}) {
            const ProfileText german(JoinPath(SourceFolder(), folder), "German.dat");
            EXPECT_EQ(german.Form(), TextForm::Utf8) << folder;
            EXPECT_EQ(FindInvalidUtf8(german.Text()), std::string::npos) << folder;
            EXPECT_NE(german.Text().find("f\xC3\xBCr"), std::string::npos) << folder << " " << codePage;
        }
    }
}
