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

namespace {

std::vector<std::string> WholeLines(const std::string& bytes, const std::string& section) {
    std::vector<std::string> lines;
    ForEachLine(ProfileText::FromBytes(bytes), section, [&](const std::string& line) { lines.push_back(line); });
    return lines;
}

std::vector<std::string> FileLines(const std::string& path, const std::string& bytes, const std::string& section,
                                   bool* read = nullptr) {
    std::vector<std::string> lines;
    const bool ok =
        ForEachFileSectionLine(path, section, StampOf(bytes), [&](const std::string& line) { lines.push_back(line); });
    if (read) *read = ok;
    EXPECT_TRUE(ok || read) << section;
    return lines;
}

}  // namespace

// Reading one section from the file a block at a time gives the lines that the profile of the
// whole file gives, whatever the line ends, marks, comments, short lines and repeated headers,
// and wherever the blocks end.
TEST(ProfileText, ASectionReadFromTheFileHasTheLinesOfTheWholeProfile) {
    ScratchFolder scratch;
    const std::vector<std::string> cases = {
        "[A]\r\nX=1\r\n[F]\r\nFile=a\r\n;File=b\r\nab\r\n ;c\r\n[\r\nFile=d\r\n[B]\r\n[F]\r\nFile=e\r\n",
        "[F]\nFile=1\r\nFile=2\n;x\n[Fx]\nFile=3\n",
        "[F]\rFile=1\r\nFile=2\r[G]\rFile=3\r",
        "\xEF\xBB\xBF[F]\r\nFile=\xC3\xA9\r\nxy",
        "[F]\r\nFile=1\r\n;x",
        "[F]\r\nA\rB\nC\r\r\n",
        "[F]\n a\rb \r\r\nlast\r",
        "[F]",
        "[F]\r\n",
        "\r\n\r\n[F]\r\n\r\nFile=x\r\n[",
        "no section\r\nFile=1\r\n",
        "",
    };
    for (const std::string& bytes : cases) {
        const std::string path = scratch.Write("p.qsp", bytes);
        for (const char* section : {"F", "A", "G", "B"})
            EXPECT_EQ(FileLines(path, bytes, section), WholeLines(bytes, section)) << bytes << " / " << section;
    }

    // Files of several blocks, with a line end split between two blocks and lines of all lengths.
    for (const char* end : {"\r\n", "\n", "\r"}) {
        std::string bytes = std::string("[A]") + end + "K=v" + end + "[F]" + end;
        for (int i = 0; bytes.size() < (1u << 20) - 300; ++i)
            bytes += "File=" + std::string(static_cast<size_t>(i % 200), 'x') + std::to_string(i) + end;
        bytes += std::string((1u << 20) - 1 - bytes.size(), 'y');  // the block ends between CR and LF
        bytes += end;
        for (int i = 0; bytes.size() < (3u << 20) + 100; ++i)
            bytes += (i % 97 == 0 ? ";skipped" : "Folder=" + std::to_string(i)) + std::string(end);
        bytes += "[B]" + std::string(end) + "Z=1";
        const std::string path = scratch.Write("big.qsp", bytes);
        const std::vector<std::string> whole = WholeLines(bytes, "F");
        EXPECT_GT(whole.size(), 100000u);
        EXPECT_EQ(FileLines(path, bytes, "F"), whole);
        EXPECT_EQ(FileLines(path, bytes, "B"), WholeLines(bytes, "B"));
    }
    // The first line end, which tells the form of all, split between two blocks.
    for (const char* end : {"\r\n", "\r"}) {
        const std::string bytes = std::string((1u << 20) - 1, 'x') + end + "[F]" + end + "File=1\n2" + end;
        const std::string path = scratch.Write("first.qsp", bytes);
        EXPECT_EQ(FileLines(path, bytes, "F"), WholeLines(bytes, "F"));
        EXPECT_EQ(WholeLines(bytes, "F").size(), 1u);
    }
}

TEST(ProfileText, ASectionReadFromAFileThatChangedIsRefused) {
    ScratchFolder scratch;
    const std::string bytes = "[F]\r\nFile=1\r\nFile=2\r\n";
    const std::string path = scratch.Write("p.qsp", bytes);
    std::string changed = bytes;
    changed[8] = '9';
    bool read = true;
    scratch.Write("p.qsp", changed);
    FileLines(path, bytes, "F", &read);
    EXPECT_FALSE(read);
    scratch.Write("p.qsp", bytes + "File=3\r\n");
    FileLines(path, bytes, "F", &read);
    EXPECT_FALSE(read);
    EXPECT_FALSE(
        ForEachFileSectionLine(scratch.Path() + "/missing.qsp", "F", StampOf(bytes), [](const std::string&) {}));
    scratch.Write("p.qsp", bytes);
    EXPECT_EQ(FileLines(path, bytes, "F", &read), (std::vector<std::string>{"File=1", "File=2"}));
    EXPECT_TRUE(read);
}

// A profile made without a section's lines keeps that section's header, so every other section
// is what it was, and lets go of the memory of the file.
TEST(ProfileText, AHeldOutSectionLeavesTheOthersAsTheyWere) {
    std::string bytes = "[A]\r\nX=1\r\n[F]\r\n";
    for (int i = 0; i < 10000; ++i) bytes += "File=" + std::to_string(i) + "\r\n";
    bytes += "[B]\r\nY=2\r\n[F]\r\nFile=again\r\n[C]\r\nZ=3";
    const ProfileText whole = ProfileText::FromBytes(bytes);
    const ProfileText held = ProfileText::FromBytes(bytes, "F");
    EXPECT_EQ(held.Text(), "[A]\r\nX=1\r\n[F]\r\n[B]\r\nY=2\r\n[F]\r\nFile=again\r\n[C]\r\nZ=3");
    EXPECT_LT(held.Text().capacity(), 1000u);
    EXPECT_EQ(held.CountLines("F"), 0u);
    for (const char* section : {"A", "B", "C"}) EXPECT_EQ(WholeLines(held.Text(), section), WholeLines(bytes, section));
    EXPECT_EQ(Value(held, "C", "Z"), Value(whole, "C", "Z"));
    // A section that is missing, empty or last is held out as well.
    EXPECT_EQ(ProfileText::FromBytes("[A]\r\nX=1\r\n", "F").Text(), "[A]\r\nX=1\r\n");
    EXPECT_EQ(ProfileText::FromBytes("[F]\r\n[A]\r\nX=1\r\n", "F").Text(), "[F]\r\n[A]\r\nX=1\r\n");
    EXPECT_EQ(ProfileText::FromBytes("[A]\nX=1\n[F]\nFile=1\nlast", "F").Text(), "[A]\r\nX=1\r\n[F]\r\n");
}
