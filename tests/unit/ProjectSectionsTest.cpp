// The single-value and list sections: reading rules, saved and exported lines.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "profile/ScriptBuilder.h"
#include "lang/UiTextSource.h"
#include "model/FileTypes.h"
#include "model/GeneralInfo.h"
#include "model/InstallerScreens.h"
#include "profile/ProfileText.h"
#include "model/ProjectDocument.h"
#include "model/SetupInfo.h"
#include "model/SystemRequirements.h"
#include "platform/File.h"

namespace {
// Texts that name their own section and key, so a test sees which text a default came from.
struct KeyEchoTexts : UiTextSource {
    std::string UiText(TextKey key) const override {
        return key.Section() + ("/" + std::to_string(key.Number()));
    }
};

ProfileText Profile(const std::string& section, const std::string& lines) {
    return ProfileText::FromBytes("[" + section + "]\r\n" + lines + "[NEXT]\r\nx=1\r\n");
}

}  // namespace

TEST(GeneralInfo, DefaultsComeFromTheLanguageAndKeysMatchExactPrefixes) {
    KeyEchoTexts texts;
    GeneralInfo info;
    info.SetDefaults(texts);
    EXPECT_EQ(info.CompanyName(), "GENERAL_INFO_TAB/11");
    EXPECT_EQ(info.CopyrightNotice(), "GENERAL_INFO_TAB/16");

    info.Load(Profile("GENERAL_INFO", "ProductName=Demo\r\ncompanyname=X\r\nProductVersion=\r\n"
                                      "ProductDescription= a=b, c \r\nProductName=Later\r\n"));
    EXPECT_EQ(info.ProductName(), "Later");
    EXPECT_EQ(info.CompanyName(), "GENERAL_INFO_TAB/11");
    EXPECT_EQ(info.ProductVersion(), "");
    EXPECT_EQ(info.ProductDescription(), " a=b, c ");
    EXPECT_EQ(info.ProductUrl(), "GENERAL_INFO_TAB/15");

    const std::string lines =
        "CompanyName=GENERAL_INFO_TAB/11\r\nProductName=Later\r\nProductVersion=\r\n"
        "ProductDescription= a=b, c \r\nProductURL=GENERAL_INFO_TAB/15\r\nCopyrightNotice=GENERAL_INFO_TAB/16\r\n";
    EXPECT_EQ(SavedText(info), "[GENERAL_INFO]\r\n" + lines + "\r\n");
    EXPECT_EQ(ExportedText(info), "[GENERAL_INFO]\r\n" + lines + "\r\n");

    info.Clear();
    EXPECT_EQ(info.CompanyName() + info.ProductName() + info.CopyrightNotice(), "");

    // A section written twice: only the first is read.
    info.Load(ProfileText::FromBytes("[GENERAL_INFO]\r\nProductName=First\r\n[GENERAL_INFO]\r\nProductName=Second\r\n"));
    EXPECT_EQ(info.ProductName(), "First");
}

TEST(SetupInfo, MissingSectionGivesDefaultsAndLanguagesAreSplitWithoutEmptyPieces) {
    KeyEchoTexts texts;
    SetupInfo info;
    info.SetDefaults(texts);
    info.Load(ProfileText::FromBytes("[OTHER]\r\nx=1\r\n"));
    EXPECT_TRUE(info.EnableUninstaller());
    EXPECT_FALSE(info.CreateUninstallerIcon());
    EXPECT_EQ(info.SetupType(), 0);
    EXPECT_EQ(info.SetupLanguages(), std::vector<std::string>{"English"});
    EXPECT_EQ(info.DefaultSetupLanguage(), "English");
    EXPECT_EQ(info.DefaultInstallationPath(), "SETUP_INFO_TAB/11");
    EXPECT_EQ(info.UninstallerIconDescription(), "SETUP_INFO_TAB/14");

    info.Load(Profile("SETUP_INFO", "SetupLanguages=English,,German,\r\n"));
    EXPECT_EQ(info.SetupLanguages(), (std::vector<std::string>{"English", "German"}));
    for (const char* empty : {"SetupLanguages=\r\n", "SetupLanguages=,,,\r\n"}) {
        info.Load(Profile("SETUP_INFO", "SetupLanguages=German\r\n" + std::string(empty)));
        EXPECT_EQ(info.SetupLanguages(), std::vector<std::string>{"English"}) << empty;
    }

    info.Load(Profile("SETUP_INFO", "EnableUninstaller=true\r\nCreateUninstallerIcon=yes\r\nSetupType= -7x\r\n"));
    EXPECT_FALSE(info.EnableUninstaller());
    EXPECT_TRUE(info.CreateUninstallerIcon());
    EXPECT_EQ(info.SetupType(), -7);
    info.Load(Profile("SETUP_INFO", "EnableUninstaller=1\r\nSetupType=abc\r\n"));
    EXPECT_TRUE(info.EnableUninstaller());
    EXPECT_EQ(info.SetupType(), 0);
}

TEST(SetupInfo, ExportPutsTheUninstallerLinesBetweenTheFirstTwoLinesAndTheRest) {
    KeyEchoTexts texts;
    SetupInfo info;
    info.SetDefaults(texts);
    info.SetAddRemoveProgramsDescription("", false);

    ScriptBuilder script;
    script.AddLine("[SETUP_INFO]", "Version=1.0");
    info.Export(script);
    const std::string key = "HKLM,SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\%ProductName%";
    EXPECT_EQ(script.Text(),
              "[SETUP_INFO]\r\nVersion=1.0\r\nDefaultInstallationPath=SETUP_INFO_TAB/11\r\n"
              "DefaultShortcutFolderName=SETUP_INFO_TAB/12\r\nEnableUninstaller=Yes\r\nAddRemoveProgramsDescription=\r\n"
              "CreateUninstallerIcon=No\r\nUninstallerIconDescription=SETUP_INFO_TAB/14\r\nSetupType=0\r\n"
              "SetupLanguages=English\r\nDefaultSetupLanguage=English\r\n\r\n"
              "[APPLICATION_FILES]\r\n,uninstall.exe,%AppDir%\\uninstall.exe,1,0\r\n\r\n"
              "[REGISTRY_ENTRIES]\r\nkey," + key + "\r\nvalue," + key + ",DisplayName,S,\r\n"
              "value," + key + ",UninstallString,S,\"%AppDir%\\uninstall.exe\"\r\n\r\n");

    info.SetEnableUninstaller(false, false);
    info.SetCreateUninstallerIcon(true, false);
    std::string text = ExportedText(info);
    EXPECT_EQ(text.find("[APPLICATION_FILES]"), std::string::npos);
    EXPECT_EQ(text.find("[REGISTRY_ENTRIES]"), std::string::npos);
    EXPECT_EQ(text.find("[SHORTCUTS]"), std::string::npos);
}

TEST(SetupInfo, SettersAndLanguageListMarkTheDocumentOnlyWhenAsked) {
    KeyEchoTexts texts;
    ProjectDocument doc(texts);
    doc.New();
    SetupInfo& info = doc.setupInfo;
    info.AddLanguage("German", false);
    info.AddLanguage("German", false);
    EXPECT_FALSE(doc.IsModified());
    std::string name;
    EXPECT_TRUE(info.GetLanguage(2, name));
    EXPECT_EQ(name, "German");
    EXPECT_FALSE(info.GetLanguage(3, name));
    EXPECT_EQ(name, "");

    info.RemoveLanguage("german", true);  // compared exactly: nothing removed, but marked
    EXPECT_EQ(info.SetupLanguages().size(), 3u);
    EXPECT_TRUE(doc.IsModified());
    info.RemoveLanguage("German", true);
    EXPECT_EQ(info.SetupLanguages(), std::vector<std::string>{"English"});

    // Closing empties the texts and the list but keeps the yes/no values and the setup type.
    info.SetSetupType(3, true);
    info.SetEnableUninstaller(false, true);
    info.Clear();
    EXPECT_TRUE(info.SetupLanguages().empty());
    EXPECT_EQ(info.DefaultInstallationPath(), "");
    EXPECT_EQ(info.SetupType(), 3);
    EXPECT_FALSE(info.EnableUninstaller());
    EXPECT_NE(SavedText(info).find("SetupLanguages=\r\nDefaultSetupLanguage=\r\n"), std::string::npos);
}

TEST(SystemRequirements, VersionsAreIndependentAndDiskSpaceMovesToSetupInfoOnExport) {
    SystemRequirements req;
    req.SetDefaults();
    req.Load(Profile("SYSTEM_REQUIREMENTS", "AnyWindows=No\r\nWindows95=no\r\nRequiredDiskSpace=\r\nJunk\r\n"));
    EXPECT_FALSE(req.AnyWindows());
    EXPECT_FALSE(req.AllowsVersion(SystemRequirements::Windows95));
    EXPECT_TRUE(req.AllowsVersion(SystemRequirements::WindowsXP));
    EXPECT_EQ(req.RequiredDiskSpace(), "");
    EXPECT_FALSE(req.AbortInstallation());

    const std::string versions =
        "AnyWindows=No\r\nWindows95=No\r\nWindows98=Yes\r\nWindowsME=Yes\r\nWindowsNT4=Yes\r\n"
        "Windows2000=Yes\r\nWindowsXP=Yes\r\n";
    EXPECT_EQ(SavedText(req), "[SYSTEM_REQUIREMENTS]\r\n" + versions + "RequiredDiskSpace=\r\nAbortInstallation=No\r\n\r\n");
    EXPECT_EQ(ExportedText(req), "[SYSTEM_REQUIREMENTS]\r\n" + versions +
                                 "AbortInstallation=No\r\n\r\n[SETUP_INFO]\r\nRequiredDiskSpace=\r\n\r\n");

    req.SetAnyWindows(true, false);
    EXPECT_FALSE(req.AllowsVersion(SystemRequirements::Windows95));
    req.Load(ProfileText::FromBytes(""));
    EXPECT_EQ(req.RequiredDiskSpace(), "");  // loading alone keeps what was there
    req.SetDefaults();
    EXPECT_EQ(req.RequiredDiskSpace(), "10240");
    EXPECT_TRUE(req.AllowsVersion(SystemRequirements::Windows95));
}

TEST(FileTypes, LinesNeedFiveCommasAndExtensionsAreUniqueWithoutRegardToCase) {
    FileTypeList types;
    types.Load(Profile("FILE_TYPES",
                       "txt,Demo.Text,Demo text,%AppDir%\\Demo.exe,%AppDir%\\Demo.exe,1\r\n"
                       "doc,a,b,c,d\r\n"
                       "TXT,Other,x,y,z,2\r\n"
                       "abc,,,,,abc\r\n"
                       "neg,i,n,p,q,-3,extra\r\n"));
    ASSERT_EQ(types.Count(), 3u);
    EXPECT_EQ(types.GetAt(0)->Line(), "txt,Demo.Text,Demo text,%AppDir%\\Demo.exe,%AppDir%\\Demo.exe,1");
    EXPECT_EQ(types.GetAt(1)->iconNumber, 0);
    EXPECT_EQ(types.GetAt(2)->iconNumber, -3);
    EXPECT_EQ(types.GetAt(2)->iconPath, "q");
    EXPECT_EQ(types.GetAt(3), nullptr);
    EXPECT_EQ(types.FindByExtension("Txt"), types.GetAt(0));
    EXPECT_EQ(types.FindByExtension("doc"), nullptr);
    EXPECT_EQ(types.Add("ABC", "", "", "", "", 0, false), nullptr);

    EXPECT_TRUE(types.RemoveAt(0));
    EXPECT_FALSE(types.RemoveAt(5));
    EXPECT_EQ(SavedText(types), "[FILE_TYPES]\r\nabc,,,,,0\r\nneg,i,n,p,q,-3\r\n\r\n");
    EXPECT_EQ(ExportedText(types), "[FILE_TYPES]\r\nabc,,,,,0\r\nneg,i,n,p,q,-3\r\n\r\n");
    // The removed extension may be added again.
    EXPECT_NE(types.Add("txt", "T", "", "", "", 0, false), nullptr);

    // Update replaces every field; the old extension becomes free, the new one taken.
    EXPECT_TRUE(types.Update(0, "new", "N", "", "", "", 4, false));
    EXPECT_FALSE(types.Update(9, "x", "", "", "", "", 0, false));
    EXPECT_NE(types.Add("abc", "", "", "", "", 0, false), nullptr);
    EXPECT_EQ(types.Add("NEW", "", "", "", "", 0, false), nullptr);

    // A "," or a line break in a text would split the record's line: refused.
    EXPECT_EQ(types.Add("csv", "Demo.Csv", "Comma, separated", "", "", 0, false), nullptr);
    EXPECT_EQ(types.Add("two", "Two\r\nLines", "", "", "", 0, false), nullptr);
    EXPECT_FALSE(types.Update(0, "new", "N", "", "C:\\a,b.exe", "", 4, false));
    EXPECT_EQ(types.GetAt(0)->programPath, "");
    EXPECT_EQ(types.FindByExtension("csv"), nullptr);

    types.Clear();
    EXPECT_EQ(ExportedText(types), "");
    EXPECT_EQ(SavedText(types), "[FILE_TYPES]\r\n\r\n");
}

TEST(InstallerScreens, FontsColoursAndAlignmentsFollowTheirReadingRules) {
    ScreenFont font = ScreenFont::Read("Verdana,12");
    EXPECT_EQ(font.face, "Verdana");
    EXPECT_EQ(font.height, -10);
    EXPECT_EQ(font.weight, 400);
    EXPECT_EQ(font.italic, 0);
    font = ScreenFont::Read("Courier,-20,700,1");
    EXPECT_EQ(font.Text(), "Courier,-20,700,0,0,0");  // italic needs the fourth ","
    font = ScreenFont::Read("Courier,-20,700,1,1,1");
    EXPECT_EQ(font.Text(), "Courier,-20,700,1,1,1");
    EXPECT_EQ(ScreenFont::Read("NoCommaFace").Text(), "Arial,-10,400,0,0,0");
    EXPECT_EQ(ScreenFont::Read(std::string(40, 'F') + ",1,2,3,4,5").face, std::string(31, 'F'));

    InstallerScreens screens;
    screens.SetDefaults();
    for (const char* blue : {"00ff0000", "0xff0000", "0XFF0000", "  0x00FF0000 trailing"}) {
        screens.Load(Profile("SETUP_WINDOW", std::string("ColorTo=") + blue + "\r\n"));
        EXPECT_EQ(screens.colourTo, 0x00FF0000u) << blue;
    }
    for (const char* zero : {"green", "", "- 1", "x1"}) {
        screens.Load(Profile("SETUP_WINDOW", std::string("ColorFrom=") + zero + "\r\n"));
        EXPECT_EQ(screens.colourFrom, 0u) << zero;
    }
    screens.Load(Profile("SETUP_WINDOW", "ColorFrom=-2\r\nColorTo=+0x10\r\n"));
    EXPECT_EQ(screens.colourFrom, 0xFFFFFFFEu);
    EXPECT_EQ(screens.colourTo, 0x10u);
    screens.Load(Profile("SETUP_WINDOW", "ColorFrom=1FFFFFFFF\r\nHeadingAlignment=2px\r\nSubheading3D=no\r\n"
                                         "Heading=A,B=C\r\nFooterAlignment=x\r\n"));
    EXPECT_EQ(screens.colourFrom, 0xFFFFFFFFu);
    EXPECT_EQ(screens.heading.alignment, 2);
    EXPECT_EQ(screens.footer.alignment, 0);
    EXPECT_FALSE(screens.subheading.threeD);
    EXPECT_EQ(screens.heading.text, "A,B=C");
    EXPECT_EQ(screens.subheading.text, "%ProductDescription%");
}

TEST(InstallerScreens, ExportNamesBuilderFilesInTheSetupFolderAndCutsFinishPaths) {
    EXPECT_EQ(LastVariableToken("%DestComp%\\%AppDir%\\Bin\\Demo.exe"), "%AppDir%\\Bin\\Demo.exe");
    EXPECT_EQ(LastVariableToken("%AppDir%\\Bin\\Demo.exe"), "%AppDir%\\Bin\\Demo.exe");
    EXPECT_EQ(LastVariableToken("C:\\Bin\\Demo.exe"), "C:\\Bin\\Demo.exe");
    EXPECT_EQ(LastVariableToken("%"), "%");
    EXPECT_EQ(LastVariableToken("%%"), "%%");

    InstallerScreens screens;
    screens.SetDefaults();
    screens.licensePath = "C:\\Docs\\License.txt";
    screens.readmePath = "docs/ReadMe.txt";  // the build copies it beside the setup as ReadMe.txt
    screens.finishApplicationPath = "%DestComp%\\%AppDir%\\Bin\\Demo.exe";
    std::string saved = SavedText(screens);
    std::string exported = ExportedText(screens);
    EXPECT_NE(saved.find("[LICENSE_DIALOG]\r\nLicense_Pathname=C:\\Docs\\License.txt\r\n\r\n"), std::string::npos);
    EXPECT_NE(exported.find("[LICENSE_DIALOG]\r\nLicense_Pathname=%SetupDir%\\License.txt\r\n\r\n"), std::string::npos);
    EXPECT_NE(exported.find("[README_DIALOG]\r\nReadme_Pathname=%SetupDir%\\ReadMe.txt\r\n"), std::string::npos);
    EXPECT_NE(exported.find("[SPLASH_WINDOW]\r\nBitmap_Pathname=%SetupDir%\\\r\n\r\n"), std::string::npos);
    EXPECT_NE(exported.find("Application_Pathname=%AppDir%\\Bin\\Demo.exe\r\n"), std::string::npos);
    EXPECT_NE(saved.find("Application_Pathname=%DestComp%\\%AppDir%\\Bin\\Demo.exe\r\n"), std::string::npos);

    // Clearing empties texts and paths only.
    screens.shows[InstallerScreens::SplashWindow] = true;
    screens.colourTo = 0x123;
    screens.Clear();
    EXPECT_TRUE(screens.shows[InstallerScreens::SplashWindow]);
    EXPECT_FALSE(screens.shows[InstallerScreens::LicenseDialog]);
    EXPECT_EQ(screens.colourTo, 0x123u);
    EXPECT_EQ(screens.heading.font.face, "Times New Roman");
    EXPECT_EQ(screens.licensePath + screens.windowTitle + screens.footer.text + screens.finishApplicationPath, "");
}

TEST(FileTypes, ANewTypeIsOfferedANameAfterItsExtension) {
    const FileTypeRecord offered = FileTypeRecord::Offered(".pnote");
    EXPECT_EQ(offered.extension, ".pnote");
    EXPECT_EQ(offered.identifier, "pnote.Document");
    EXPECT_EQ(offered.fullName, "pnote Document");
    EXPECT_EQ(FileTypeRecord::Offered("txt").identifier, "txt.Document");
    EXPECT_EQ(FileTypeRecord::Offered("").identifier, ".Document");
}
