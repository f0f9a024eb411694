#include <gtest/gtest.h>

#include "TestSupport.h"
#include "model/BuilderInfo.h"
#include "model/OutputSettings.h"
#include "profile/ProfileText.h"

static OutputSettings LoadOutput(const std::string& lines) {
    OutputSettings settings;
    settings.SetDefaults();
    settings.Load(ProfileText::FromBytes("[CREATE_SETUP]\r\n" + lines));
    return settings;
}

TEST(OutputSettings, SelfExtractingReadsYesOnlyFromYy1) {
    for (const char* yes : {"Yes", "Y", "y", "1", "yes please"})
        EXPECT_TRUE(LoadOutput(std::string("CreateSelfExtractedSetup=") + yes + "\r\n").CreateSelfExtractingSetup()) << yes;
    for (const char* no : {"No", "true", "", "0", " Yes"})
        EXPECT_FALSE(LoadOutput(std::string("CreateSelfExtractedSetup=") + no + "\r\n").CreateSelfExtractingSetup()) << no;
}

TEST(OutputSettings, LaterKeysWinAndUnknownOrMissingKeysKeepDefaults) {
    auto s = LoadOutput("OutputFolder=A\r\nOutputfolder=lower\r\nOutputFolder=B\r\nJunk=1\r\n");
    EXPECT_EQ(s.OutputFolder(), "B");
    EXPECT_EQ(s.SetupFileName(), "Setup.exe");
    EXPECT_EQ(s.SetupIconPath(), "");
    EXPECT_TRUE(s.CreateSelfExtractingSetup());

    // Values are taken unchanged, blanks and "=" included.
    s = LoadOutput("SetupFilename= a=b.exe \r\nSetupIconPathname=C:\\i.ico");
    EXPECT_EQ(s.SetupFileName(), " a=b.exe ");
    EXPECT_EQ(s.SetupIconPath(), "C:\\i.ico");
}

TEST(OutputSettings, ClearEmptiesTextsButKeepsTheSelfExtractingChoice) {
    auto s = LoadOutput("CreateSelfExtractedSetup=No\r\n");
    s.Clear();
    EXPECT_EQ(s.OutputFolder(), "");
    EXPECT_EQ(s.SetupFileName(), "");
    EXPECT_FALSE(s.CreateSelfExtractingSetup());
    s.SetDefaults();
    EXPECT_TRUE(s.CreateSelfExtractingSetup());
}

// The compression is newer than the other keys: a project without it, or with a value this
// builder does not know, builds the standard setup, and it is written only for the small one, so
// that every older project saves unchanged.
TEST(OutputSettings, CompressionIsSmallOnlyWhenTheProjectSaysSoAndIsWrittenOnlyThen) {
    EXPECT_EQ(LoadOutput("OutputFolder=A\r\n").ArchiveCompression(), Compression::Standard);
    for (const char* small : {"Small", "small", "SMALL"})
        EXPECT_EQ(LoadOutput(std::string("Compression=") + small + "\r\n").ArchiveCompression(), Compression::Small)
            << small;
    for (const char* other : {"Standard", "", "Smallest", " Small", "zstd"})
        EXPECT_EQ(LoadOutput(std::string("Compression=Small\r\nCompression=") + other + "\r\n").ArchiveCompression(),
                  Compression::Standard)
            << other;

    OutputSettings s = LoadOutput("");
    const std::string standard = SavedText(s);
    EXPECT_EQ(standard.find("Compression"), std::string::npos);
    s.SetArchiveCompression(Compression::Small);
    EXPECT_EQ(SavedText(s), "[CREATE_SETUP]\r\nOutputFolder=C:\\BuilderProjects\r\nSetupFilename=Setup.exe\r\n"
                            "SetupIconPathname=\r\nCreateSelfExtractedSetup=Yes\r\nCompression=Small\r\n\r\n");
    s.Clear();  // like the self-extracting choice, kept
    EXPECT_EQ(s.ArchiveCompression(), Compression::Small);
    s.SetDefaults();
    EXPECT_EQ(s.ArchiveCompression(), Compression::Standard);
    EXPECT_EQ(SavedText(s), standard);

    Compression parsed = Compression::Small;
    EXPECT_TRUE(ParseCompression("Standard", parsed));
    EXPECT_EQ(parsed, Compression::Standard);
    EXPECT_FALSE(ParseCompression("fast", parsed));
}

TEST(BuilderInfo, VersionIsReadFromItsSectionOnly) {
    BuilderInfo info;
    info.Load(ProfileText::FromBytes("[OTHER]\r\nVersion=9\r\n[BUILDER_INFO]\r\nVersion=2.5\r\nVersion=3.0\r\n"));
    EXPECT_EQ(info.Version(), "3.0");
    info.SetDefaults();
    EXPECT_EQ(info.Version(), "1.0");
}
