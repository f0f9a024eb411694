// Text helpers of the interface: line ends, placeholders, command lines, file names, sizes.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "core/Sha256.h"
#include "core/Text.h"
#include "platform/File.h"

TEST(TextHelpersTest, OnlyTheFirstPlaceholderIsReplaced) {
    EXPECT_EQ(ReplaceFirstPlaceholder("Save %1 to %1?", "a.qsp"), "Save a.qsp to %1?");
    EXPECT_EQ(ReplaceFirstPlaceholder("No placeholder", "x"), "No placeholder");
    EXPECT_EQ(ReplaceFirstPlaceholder("%1", ""), "");
}

TEST(TextHelpersTest, EveryKindOfLineEndBecomesOneCrLf) {
    EXPECT_EQ(CrLfLineEnds("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(CrLfLineEnds("a\r\n\r\nb"), "a\r\n\r\nb") << "an empty line between CR LFs stays one";
    EXPECT_EQ(CrLfLineEnds("Continue?\n\r\n\rYes"), "Continue?\r\n\r\nYes") << "the language files' LF CR";
    EXPECT_EQ(CrLfLineEnds("\n\na\r\n\n"), "\r\n\r\na\r\n\r\n");
    EXPECT_EQ(CrLfLineEnds("a\rb\r"), "a\rb\r");
    EXPECT_EQ(CrLfLineEnds(""), "");
}

TEST(TextHelpersTest, FileNamesRejectTheReservedCharacters) {
    EXPECT_TRUE(IsValidFileName("My Program 1.0"));
    for (const char* bad : {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"})
        EXPECT_FALSE(IsValidFileName(bad)) << bad;
}

TEST(TextHelpersTest, CommandLinesSplitAtBlanksOutsideQuotes) {
    using Arguments = std::vector<std::string>;
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\Quillset.exe\" \"C:\\My Projects\\a b.qsp\""),
              (Arguments{"C:\\Program Files\\Quillset.exe", "C:\\My Projects\\a b.qsp"}));
    EXPECT_EQ(SplitCommandLine("  Quillset.exe   C:\\p.qsp  "), (Arguments{"Quillset.exe", "C:\\p.qsp"}));
    EXPECT_EQ(SplitCommandLine("q.exe \"a\"b c\" d"), (Arguments{"q.exe", "a\"b c", "d"}))
        << "a quote that is not followed by a blank belongs to the argument";
    EXPECT_EQ(SplitCommandLine("q.exe \"unclosed arg"), (Arguments{"q.exe", "unclosed arg"}));
    EXPECT_EQ(SplitCommandLine("q.exe \"\""), (Arguments{"q.exe", ""}));
    EXPECT_TRUE(SplitCommandLine("").empty());
}

TEST(TextHelpersTest, FileSizesReadAsTheBuilderShowsThem) {
    EXPECT_EQ(FormatFileSize(0), "0 bytes");
    EXPECT_EQ(FormatFileSize(1023), "1023 bytes");
    EXPECT_EQ(FormatFileSize(1024), "1 KB");
    EXPECT_EQ(FormatFileSize(1023999), "999 KB");
    EXPECT_EQ(FormatFileSize(1024000), "1,000 KB");
    EXPECT_EQ(FormatFileSize(1029120), "1,005 KB");
    EXPECT_EQ(FormatFileSize(2000000), "1,953 KB");
    EXPECT_EQ(FormatFileSize(0xFFFFFFFFu), "4194,303 KB");
}

// The window's form: a language's words and digit groups of three, sizes beyond 4 GiB too.
TEST(TextHelpersTest, FileSizesInALanguagesWordsGroupTheirDigits) {
    const auto english = [](std::uint64_t size) { return FormatFileSize(size, "%1 bytes", "%1 KB", ","); };
    const auto german = [](std::uint64_t size) { return FormatFileSize(size, "%1 Bytes", "%1 KB", "."); };
    EXPECT_EQ(english(0), "0 bytes");
    EXPECT_EQ(german(1023), "1023 Bytes");
    EXPECT_EQ(english(1024), "1 KB");
    EXPECT_EQ(english(1023999), "999 KB");
    EXPECT_EQ(english(1024000), "1,000 KB");
    EXPECT_EQ(german(2000000), "1.953 KB");
    EXPECT_EQ(english(0xFFFFFFFFu), "4,194,303 KB");
    EXPECT_EQ(german(5ull << 40), "5.368.709.120 KB");
}

// Dates in the order of the interface language; an order that cannot be read is the English one.
TEST(TextHelpersTest, FileTimesFollowTheLanguagesDateOrder) {
    EXPECT_EQ(FormatFileTime("MM.DD.YY", 2026, 3, 7, 9, 5), "03.07.26 09:05");
    EXPECT_EQ(FormatFileTime("DD.MM.YY", 2026, 3, 7, 23, 59), "07.03.26 23:59");
    EXPECT_EQ(FormatFileTime("YY/MM/DD", 2000, 12, 31, 0, 0), "00/12/31 00:00");
    EXPECT_EQ(FormatFileTime("DD.MM.", 2026, 3, 7, 9, 5), "03.07.26 09:05") << "no year";
    EXPECT_EQ(FormatFileTime("", 1999, 11, 2, 14, 30), "11.02.99 14:30");
}

TEST(TextHelpersTest, FileSizeTextMeasuresFilesAndIsEmptyForMissingOnes) {
    ScratchFolder scratch;
    std::string text = "stale";
    EXPECT_TRUE(FileSizeText(scratch.Write("a.bin", std::string(2048, 'x')), text));
    EXPECT_EQ(text, "2 KB");
    EXPECT_FALSE(FileSizeText(scratch.File("missing.bin"), text));
    EXPECT_EQ(text, "");
}

TEST(Sha256, PublishedDigestsAcrossBlockBoundaries) {
    EXPECT_EQ(Sha256Hex(""), "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855");
    EXPECT_EQ(Sha256Hex("abc"), "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248D6A61D20638B8E5C026930C3E6039A33CE45964FF2167F6ECEDD419DB06C1");
    EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')), "CDC76E5C9914FB9281A1C7E284D73E67F1809A48A497200E046D39CCC7112CD0");
    // Added in pieces that straddle the 64-byte blocks, the digest is the same.
    Sha256 pieces;
    std::string text(1000, 'x');
    for (size_t at = 0; at < text.size(); at += 37) pieces.Add(text.data() + at, std::min<size_t>(37, text.size() - at));
    EXPECT_EQ(HexBytes(pieces.Finish()), Sha256Hex(text));
}

TEST(HexBytes, RoundTripAndStrictReading) {
    std::string bytes;
    EXPECT_TRUE(ReadHexBytes(HexBytes(std::string("\x00\x7F\xFF a", 5)), bytes));
    EXPECT_EQ(bytes, std::string("\x00\x7F\xFF a", 5));
    EXPECT_TRUE(ReadHexBytes("0aFf", bytes));
    EXPECT_EQ(bytes, "\x0a\xff");
    for (const char* bad : {"0", "-1", " 1", "0x", "G0", "+F"}) EXPECT_FALSE(ReadHexBytes(bad, bytes)) << bad;
}

TEST(QuotedList, KeepsPathsAsTypedAndReadsOnlyWhatItWrites) {
    const std::vector<std::string> strings = {"C:\\One", "a, \"b\"", "", "%AppDir%"};
    const std::string line = QuotedList(strings);
    EXPECT_EQ(line, "\"C:\\One\",\"a, \"\"b\"\"\",\"\",\"%AppDir%\"");
    std::vector<std::string> read;
    ASSERT_TRUE(ReadQuotedList(line, read));
    EXPECT_EQ(read, strings);
    EXPECT_TRUE(ReadQuotedList("", read));
    EXPECT_TRUE(read.empty());
    for (const char* bad : {"plain", "\"open", "\"a\",", "\"a\" ,\"b\"", "\"a\"x", ",\"a\""}) {
        EXPECT_FALSE(ReadQuotedList(bad, read)) << bad;
        EXPECT_TRUE(read.empty()) << bad;
    }
}
