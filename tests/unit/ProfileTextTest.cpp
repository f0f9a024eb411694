#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Exception.h"
#include "profile/ProfileText.h"

static std::string Line(const ProfileText& p, const std::string& section, size_t index) {
    std::string line = "<unset>";
    p.GetLine(section, index, line);
    return line;
}

static std::string Value(const ProfileText& p, const std::string& section, const std::string& key,
                         const std::string& def = "<default>") {
    std::string value;
    p.GetValue(value, section, key, def);
    return value;
}

TEST(ProfileText, LoadingDropsShortAndCommentLinesButKeepsTheUnterminatedLast) {
    auto p = ProfileText::FromBytes("[A]\r\nKey=1\r\nx\r\n");
    EXPECT_EQ(p.Text(), "[A]\r\nKey=1\r\n");
    EXPECT_EQ(p.CountLines("A"), 1u);

    // Three characters survive, two do not; a blank before ";" makes an ordinary line.
    p = ProfileText::FromBytes("[S]\r\nAB=\r\nA=\r\n;comment\r\n ;kept\r\n\r\n;x");
    EXPECT_EQ(p.Text(), "[S]\r\nAB=\r\n ;kept\r\n;x");
    EXPECT_EQ(p.CountLines("S"), 3u);
    EXPECT_EQ(Line(p, "S", 1), " ;kept");
    EXPECT_EQ(Line(p, "S", 2), ";x");

    // A lone CR or LF is an ordinary byte; lines are not trimmed.
    p = ProfileText::FromBytes("[S]\r\n a\rb\nc \r\n");
    EXPECT_EQ(Line(p, "S", 0), " a\rb\nc ");
}

TEST(ProfileText, SectionsEndAtTheNextHeaderAndTheFirstHeaderWins) {
    auto p = ProfileText::FromBytes("[A]\r\nX=1\r\nY=2\r\n[B]\r\nZ=3\r\n[A]\r\nW=9\r\n");
    EXPECT_EQ(p.CountLines("A"), 2u);
    EXPECT_EQ(p.CountLines("B"), 1u);
    EXPECT_EQ(Value(p, "A", "Z"), "<default>");
    EXPECT_EQ(Value(p, "A", "W"), "<default>");
    EXPECT_EQ(Value(p, "B", "Z"), "3");
    EXPECT_EQ(Line(p, "A", 1), "Y=2");
    std::string line = "junk";
    EXPECT_FALSE(p.GetLine("A", 2, line));
    EXPECT_EQ(line, "");
}

TEST(ProfileText, MissingAndEmptySectionsHaveNoLines) {
    auto p = ProfileText::FromBytes("[A]\r\nX=1\r\n[Last]\r\n");
    EXPECT_EQ(p.CountLines("Last"), 0u);
    EXPECT_EQ(p.CountLines("Nope"), 0u);
    std::string line = "junk";
    EXPECT_FALSE(p.GetLine("Nope", 0, line));
    EXPECT_EQ(line, "");
    EXPECT_FALSE(p.GetLine("Last", 0, line));
    // Headers are compared byte for byte.
    EXPECT_EQ(p.CountLines("a"), 0u);
    // A header without a line end is the last line: no lines follow.
    EXPECT_EQ(ProfileText::FromBytes("[A]").CountLines("A"), 0u);
}

TEST(ProfileText, GetValueMatchesWholeKeysAtLineStartsAndReturnsTheFirst) {
    auto p = ProfileText::FromBytes("[A]\r\nKey=first\r\nKey=second\r\nLongKey=x\r\n Key2=y\r\nB=2");
    EXPECT_EQ(Value(p, "A", "Key"), "first");
    EXPECT_EQ(Value(p, "A", "Long"), "<default>");
    EXPECT_EQ(Value(p, "A", "Key2"), "<default>");
    EXPECT_EQ(Value(p, "A", "B"), "2");  // the unterminated last line is found too
    std::string value;
    EXPECT_EQ(p.GetValue(value, "A", "Key", ""), 5u);
    EXPECT_EQ(p.GetValue(value, "Z", "Key", "dflt"), 4u);
    EXPECT_EQ(value, "dflt");
}

TEST(ProfileText, BracketsInsideAValueNeitherEndNorHideASection) {
    auto p = ProfileText::FromBytes("[A]\r\nX=Demo [Beta]\r\nY=2\r\n");
    EXPECT_EQ(Value(p, "A", "X"), "Demo [Beta]");
    EXPECT_EQ(Value(p, "A", "Y"), "2");
    EXPECT_EQ(p.CountLines("A"), 2u);

    // A header text inside a value is no header: the real one, at a line start, counts.
    p = ProfileText::FromBytes("[GENERAL_INFO]\r\nProductDescription=x[FILES]\r\n\r\n[FILES]\r\n"
                               "Folder=%AppDir%\\Bin\r\n");
    EXPECT_EQ(p.CountLines("GENERAL_INFO"), 1u);
    EXPECT_EQ(p.CountLines("FILES"), 1u);
    EXPECT_EQ(Line(p, "FILES", 0), "Folder=%AppDir%\\Bin");
    EXPECT_EQ(Value(p, "FILES", "Folder"), "%AppDir%\\Bin");

    // Only a header text inside a value, and no real header: the section does not exist.
    p = ProfileText::FromBytes("[U]\r\nAppDir=C:\\Apps[ACTIONS]\r\nFolder=C:\\x\r\n");
    EXPECT_EQ(p.CountLines("ACTIONS"), 0u);
    EXPECT_EQ(Value(p, "ACTIONS", "Folder"), "<default>");
    EXPECT_EQ(p.CountLines("U"), 2u);

    // A header as the very first bytes, and one right after a short first line that was dropped.
    EXPECT_EQ(ProfileText::FromBytes("[A]\r\nK=1\r\n").CountLines("A"), 1u);
    EXPECT_EQ(ProfileText::FromBytes("x[A]\r\nK=1\r\n").CountLines("A"), 0u);
}

TEST(ProfileText, ValuesAreUnescaped) {
    auto p = ProfileText::FromBytes("[A]\r\nR=a\\rb\r\nT=a\\tb\r\nO=a\\nb\\\r\nBoth=\\\\r\\t\r\n");
    EXPECT_EQ(Value(p, "A", "R"), std::string("a\n\rb"));
    EXPECT_EQ(Value(p, "A", "T"), "a\tb");
    EXPECT_EQ(Value(p, "A", "O"), "a\\nb\\");
    EXPECT_EQ(Value(p, "A", "Both"), std::string("\\\n\r\t"));
    // GetLine and GetRawValue return the raw text.
    EXPECT_EQ(Line(p, "A", 0), "R=a\\rb");
    std::string raw = "junk";
    EXPECT_TRUE(p.GetRawValue("A", "T", raw));
    EXPECT_EQ(raw, "a\\tb");
    EXPECT_FALSE(p.GetRawValue("A", "None", raw));
    EXPECT_EQ(raw, "");
    EXPECT_EQ(Unescape("\\"), "\\");
}

TEST(ProfileText, LineByLineReadingAgreesWithFreshLookupsInAnyOrder) {
    std::string bytes = "[A]\r\n";
    for (int i = 0; i < 50; ++i) bytes += "K" + std::to_string(i) + "=v\r\n";
    bytes += "[B]\r\nK=b\r\n";
    auto p = ProfileText::FromBytes(bytes);
    EXPECT_EQ(Line(p, "A", 10), "K10=v");
    EXPECT_EQ(Line(p, "A", 3), "K3=v");  // going back starts again
    EXPECT_EQ(Line(p, "B", 0), "K=b");
    EXPECT_EQ(Line(p, "A", 49), "K49=v");
    std::string line;
    EXPECT_FALSE(p.GetLine("A", 50, line));
    EXPECT_EQ(Line(p, "A", 48), "K48=v");
}

TEST(ProfileText, FileThatCannotBeOpenedRaisesFileExceptionWithTheName) {
    ScratchFolder scratch;
    try {
        ProfileText p(scratch.Path(), "missing.qsp");
        FAIL() << "no exception";
    } catch (const FileException& e) {
        EXPECT_EQ(e.Kind(), 1);
        EXPECT_EQ(e.Code(), 2);
        EXPECT_EQ(e.Text(), "missing.qsp");
    }
    std::string path = scratch.Write("p.ini", "[A]\r\nK=v\r\n");
    ProfileText p("", path);
    EXPECT_EQ(Value(p, "A", "K"), "v");
}
