#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Exception.h"
#include "model/ProjectDocument.h"
#include "model/ProjectFileCheck.h"
#include "profile/ProfileText.h"

using namespace std::string_literals;

namespace {

std::string WithLineEnds(const std::string& crlf, const std::string& end) {
    std::string out;
    for (size_t pos = 0;;) {
        const size_t found = crlf.find("\r\n", pos);
        if (found == std::string::npos) return out + crlf.substr(pos);
        out += crlf.substr(pos, found - pos) + end;
        pos = found + 2;
    }
}

// The sentence of the refusal, or "<accepted>".
std::string Refusal(const std::string& bytes) {
    try {
        CheckProjectText(bytes, "P.qsp");
    } catch (const ProjectFormatException& e) {
        EXPECT_EQ(e.Code(), 2);
        return e.Text();
    }
    return "<accepted>";
}

// The golden projects as the builder saves them; output-settings.qsp and
// trees.qsp hold only some sections.
const char* const kGoldenProjects[] = {"golden/full-project.qsp",  "golden/new-project.qsp",
                                       "golden/EditedDemo.qsp",
                                       "golden/PagesRegistry.qsp", "golden/PagesShortcuts.qsp",
                                       "golden/PagesFiles.qsp"};

}  // namespace

TEST(ProfileLineEnds, LfAndCrFilesReadAsTheirCrLfForm) {
    const std::string crlf = "[A]\r\nKey=1\r\nx\r\n;c\r\n\r\nLong=2\r\nEnd";
    for (const char* end : {"\n", "\r"}) {
        auto p = ProfileText::FromBytes(WithLineEnds(crlf, end));
        EXPECT_EQ(p.Text(), "[A]\r\nKey=1\r\nLong=2\r\nEnd") << int(end[0]);
        std::string value;
        p.GetValue(value, "A", "Long", "");
        EXPECT_EQ(value, "2");
    }
    EXPECT_EQ(DetectLineEnds("[A]\r\nx\ny\r"), LineEnds::CrLf);
    EXPECT_EQ(DetectLineEnds("[A]\nx\r\n"), LineEnds::Lf);
    EXPECT_EQ(DetectLineEnds("[A]\rx\r\n"), LineEnds::Cr);
    EXPECT_EQ(DetectLineEnds("[A]"), LineEnds::CrLf);
    // The first line end decides: in an LF file a CR inside a line stays a byte of it.
    EXPECT_EQ(ProfileText::FromBytes("[A]\nK=a\rb\n").Text(), "[A]\r\nK=a\rb\r\n");
}

TEST(ProfileLineEnds, RawLinesCarryTheirNumbersAndTheUnterminatedLast) {
    std::vector<std::string> seen;
    ForEachRawLine(std::string("a\n\nbc\nlast"), [&](size_t number, size_t start, size_t length, bool terminated) {
        seen.push_back(std::to_string(number) + ":" + std::to_string(start) + "+" + std::to_string(length) +
                       (terminated ? "" : "!"));
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"1:0+1", "2:2+0", "3:3+2", "4:6+4!"}));
    seen.clear();
    ForEachRawLine(std::string("a\r\n"), [&](size_t number, size_t, size_t, bool) { seen.push_back(std::to_string(number)); });
    EXPECT_EQ(seen, std::vector<std::string>{"1"});
}

TEST(ProjectFileCheck, FilesThatAreNoProjectAreRefusedSayingWhatTheyHold) {
    EXPECT_EQ(Refusal(""), "P.qsp is not a Quillset project: the file is empty");
    EXPECT_NE(Refusal("\xFF\xFE[\0G\0"s).find("it is UTF-16 text"), std::string::npos);
    EXPECT_NE(Refusal("\xFE\xFF\0["s).find("it is UTF-16 text"), std::string::npos);
    EXPECT_NE(Refusal("\xFF\xFE\0\0[\0\0\0"s).find("it is UTF-32 text"), std::string::npos);
    EXPECT_EQ(Refusal("[GENERAL_INFO]\r\nProduct\0Name=x\r\n"s),
              "P.qsp is not a Quillset project: it holds binary data (a zero byte at offset 23)");
    EXPECT_NE(Refusal("just some text\r\n[NOTES]\r\nx=1\r\n").find("none of the project's sections"),
              std::string::npos);
    // A header inside a line is no header.
    EXPECT_NE(Refusal("x [GENERAL_INFO]\r\n"), "<accepted>");
    EXPECT_EQ(Refusal("[BUILDER_INFO]\r\nVersion=1.0\r\n"), "<accepted>");
    EXPECT_EQ(Refusal("\xEF\xBB\xBF[GENERAL_INFO]\r\nProductName=x\r\n"), "<accepted>");
}

TEST(ProjectFileCheck, UnreadLinesAndSectionsAreFindingsWithTheirLineNumbers) {
    const std::string text =
        "; a comment\r\n"
        "stray\r\n"
        "[GENERAL_INFO]\r\n"
        "ProductName=Demo\r\n"
        "   \r\n"
        "Produktname=Demo\r\n"
        "[APPLICATION_FILES]\r\n"
        "Fiel=%AppDir%\\a.txt,a.txt,1,0\r\n"
        "File=%AppDir%\\b.txt,b.txt,1,0\r\n"
        "x\r\n"
        "[MY_NOTES]\r\n"
        "Anything=1\r\n"
        "[GENERAL_INFO]\r\n"
        "ProductName=Other\r\n"
        "[FILE_TYPES]\r\n"
        "txt,Demo.Text,Text,%AppDir%\\a.exe,%AppDir%\\a.exe,0\r\n"
        "txt,Demo.Text\r\n"
        "[REGISTRY_ENTRIES]\r\n"
        "STRING=%HKEY_CURRENT_USER%\\Soft";
    const std::vector<std::string> expected = {
        "P.qsp line 2: line \"stray\" outside any section",
        "P.qsp line 6: unknown key Produktname= in [GENERAL_INFO]",
        "P.qsp line 8: unknown key Fiel= in [APPLICATION_FILES]",
        "P.qsp line 10: unknown line \"x\" in [APPLICATION_FILES]",
        "P.qsp line 11: unknown section [MY_NOTES]",
        "P.qsp line 13: [GENERAL_INFO] appears a second time; only its first lines are read",
        "P.qsp line 17: unknown line \"txt,Demo.Text\" in [FILE_TYPES]",
        "P.qsp line 19: the last line has no line end: the file may be cut off",
    };
    EXPECT_EQ(CheckProjectText(text, "P.qsp"), expected);
    // The same text with other line ends gives the same findings.
    EXPECT_EQ(CheckProjectText(WithLineEnds(text, "\n"), "P.qsp"), expected);
    EXPECT_EQ(CheckProjectText(WithLineEnds(text, "\r"), "P.qsp"), expected);
}

// Lines of the other kind of line end among the file's own: LF lines in a CR LF file would be
// read as one line, which a section of items never holds; CR LF lines in an LF file read well.
TEST(ProjectFileCheck, MixedLineEndsAreReadWhereTheyCanBeAndFoundWhereTheyCannot) {
    const std::string crlfFirst =
        "[GENERAL_INFO]\r\nProductName=Demo\r\n[APPLICATION_FILES]\r\n"
        "File=%AppDir%\\a.txt,a.txt,1,0\nFile=%AppDir%\\b.txt,b.txt,1,0\r\n";
    EXPECT_EQ(CheckProjectText(crlfFirst, "P.qsp"),
              std::vector<std::string>{"P.qsp line 4: a line end of another kind inside the line: the file mixes line "
                                       "ends, and the lines after it up to the next CR LF are not read in "
                                       "[APPLICATION_FILES]"});
    const std::string lfFirst = "[GENERAL_INFO]\nProductName=Demo\r\n[SETUP_INFO]\r\nSetupType=1\n";
    EXPECT_TRUE(CheckProjectText(lfFirst, "P.qsp").empty());
    auto p = ProfileText::FromBytes(lfFirst);
    EXPECT_EQ(p.Text(), "[GENERAL_INFO]\r\nProductName=Demo\r\n[SETUP_INFO]\r\nSetupType=1\r\n");
}

TEST(ProjectFileCheck, ALongRunOfDamageIsListedUpToTheLimitAndCounted) {
    std::string text = "[GENERAL_INFO]\r\n";
    for (int i = 0; i < 80; ++i) text += "Garbage" + std::to_string(i) + "\r\n";
    const std::vector<std::string> found = CheckProjectText(text, "P.qsp");
    ASSERT_EQ(found.size(), kMostFindings + 1);
    EXPECT_EQ(found.front(), "P.qsp line 2: unknown line \"Garbage0\" in [GENERAL_INFO]");
    EXPECT_EQ(found.back(), "P.qsp: 30 more lines that Quillset does not read");
}

// Every project the builder writes reads back without findings (this also keeps the check's list
// of keys complete), and reads the same with any line ends: saved again, it is the CR LF file.
TEST(ProjectFileCheck, GoldenProjectsReadCleanlyWithEveryFormOfLineEnds) {
    ScratchFolder scratch;
    for (const char* golden : kGoldenProjects) {
        const std::string crlf = ReadBytes(DataPath(golden));
        for (const char* end : {"\r\n", "\n", "\r"}) {
            const std::string input = scratch.Write("input.qsp", WithLineEnds(crlf, end));
            ProjectDocument doc(EnglishTexts());
            ASSERT_TRUE(doc.Open(input)) << golden;
            EXPECT_TRUE(doc.ReadFindings().empty()) << golden << ": " << doc.ReadFindings().front();
            ASSERT_TRUE(doc.SaveAs(scratch.File("saved.qsp")));
            EXPECT_EQ(ReadBytes(scratch.File("saved.qsp")), crlf) << golden << " with " << int(end[0]);
        }
    }
}

TEST(ProjectFileCheck, OpenRefusesANonProjectAndKeepsTheFindingsOfADamagedOne) {
    ScratchFolder scratch;
    ProjectDocument doc(EnglishTexts());
    EXPECT_THROW(doc.Open(scratch.Write("Empty.qsp", "")), ProjectFormatException);
    doc.SetModifiedFlag(false);

    // Cut off in the middle of a line of the files.
    std::string example = ReadBytes(DataPath("golden/full-project.qsp"));
    const size_t cut = example.find("\r\n", example.find("[APPLICATION_FILES]") + 30) - 4;
    ASSERT_TRUE(doc.Open(scratch.Write("Cut.qsp", example.substr(0, cut))));
    ASSERT_EQ(doc.ReadFindings().size(), 1u);
    EXPECT_NE(doc.ReadFindings()[0].find("Cut.qsp line "), std::string::npos);
    EXPECT_NE(doc.ReadFindings()[0].find("may be cut off"), std::string::npos);
    doc.New();
    EXPECT_TRUE(doc.ReadFindings().empty());
}

// The registry's newer value types are lines the check knows.
TEST(ProjectFileCheck, ExpandableAndMultiStringLinesAreKnown) {
    const std::vector<std::string> found = CheckProjectText(
        "[BUILDER_INFO]\r\nVersion=1.0\r\n\r\n[REGISTRY_ENTRIES]\r\nEXPANDSTRING=%HKEY_CURRENT_USER%\\K\\P,%SystemRoot%\r\n"
        "MULTISTRING=%HKEY_CURRENT_USER%\\K\\L,\"a\",\"b\"\r\n\r\n",
        "P.qsp");
    EXPECT_TRUE(found.empty()) << found.front();
}

// A multi-string line the registry section cannot read is dropped by it: the reader hears which
// line, with its text, as of any other line that is not read.
TEST(ProjectFileCheck, AnUnreadableMultiStringLineIsAFindingWithItsText) {
    const std::string text =
        "[REGISTRY_ENTRIES]\r\n"
        "MULTISTRING=%HKEY_CURRENT_USER%\\K\\Good,\"a\",\"say \"\"hi\"\"\"\r\n"
        "MULTISTRING=%HKEY_CURRENT_USER%\\K\\Empty,\r\n"
        "MULTISTRING=%HKEY_CURRENT_USER%\\K\\Open,\"unclosed\r\n"
        "MULTISTRING=%HKEY_CURRENT_USER%\\K\\Bare,a,b\r\n"
        "MULTISTRING=%HKEY_CURRENT_USER%\\K\\NoData\r\n"
        "MULTISTRING=%HKEY_CURRENT_USER%\\K\\Trailing,\"a\",\r\n";
    const std::vector<std::string> found = CheckProjectText(text, "P.qsp");
    ASSERT_EQ(found.size(), 4u);
    const char* const lines[] = {"line 4: ", "line 5: ", "line 6: ", "line 7: "};
    const char* const shown[] = {"\\K\\Open,\"unclosed\"", "\\K\\Bare,a,b\"", "\\K\\NoData\"", "\\K\\Trailing,\"a\",\""};
    for (size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].rfind(std::string("P.qsp ") + lines[i], 0), 0u) << found[i];
        EXPECT_NE(found[i].find(std::string("line \"MULTISTRING=%HKEY_CURRENT_USER%") + shown[i]), std::string::npos)
            << found[i];
        EXPECT_NE(found[i].find("cannot be read"), std::string::npos) << found[i];
    }
    // The document reports them too, and keeps the values it could read.
    ScratchFolder scratch;
    ProjectDocument doc(EnglishTexts());
    ASSERT_TRUE(doc.Open(scratch.Write("M.qsp", "[GENERAL_INFO]\r\nProductName=M\r\n" + text)));
    EXPECT_EQ(doc.ReadFindings().size(), 4u);
}
