#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <random>

#include "BuildTestSupport.h"
#include "TestSupport.h"
#include "installer/ArchiveReader.h"
#include "pipeline/ArchiveEndRecords.h"
#include "pipeline/PackedFile.h"
#include "pipeline/ProductArchive.h"
#include "platform/FileSystem.h"

static std::string Mixed(std::size_t n) {
    std::mt19937 rng(3);
    std::string bytes;
    while (bytes.size() < n) bytes += "line " + std::to_string(rng() % 1000) + " of the product\r\n";
    bytes.resize(n);
    return bytes;
}

static unsigned long DosDate(int year, int month, int day, int hour, int minute, int second) {
    return static_cast<unsigned long>((year - 1980) << 25 | month << 21 | day << 16 | hour << 11 | minute << 5 |
                                      second / 2);
}

TEST(ProductArchive, EntriesReadBackWithTheirNamesContentsAndLocalTimes) {
    ScratchFolder scratch;
    const std::string big = Mixed(100000);  // several transfer buffers
    const std::string app = scratch.Write("app.exe", big);
    const std::string empty = scratch.Write("empty.txt", "");
    const std::string path = scratch.File("setup.zip");
    ProductArchive archive;
    ASSERT_TRUE(archive.Open(path));
    EXPECT_TRUE(archive.AddFile(app, "AppDir\\bin\\app.exe", EntryMethod::Deflated));
    EXPECT_TRUE(archive.AddFile(empty, "AppDir\\empty.txt", EntryMethod::Deflated));
    EXPECT_TRUE(archive.AddFile(app, "stored.exe", EntryMethod::Stored));
    EXPECT_FALSE(archive.AddFile(scratch.File("deleted.txt"), "AppDir\\deleted.txt", EntryMethod::Deflated));
    EXPECT_EQ(archive.Status(), -1);
    EXPECT_EQ(archive.BytesRead(), 2 * big.size());
    ASSERT_TRUE(archive.Close());

    std::vector<ZipEntry> entries = ReadZip(path);
    ASSERT_EQ(entries.size(), 3u);  // the missing source left no entry
    EXPECT_EQ(entries[0].name, "AppDir\\bin\\app.exe");
    EXPECT_EQ(entries[0].data, big);
    EXPECT_EQ(entries[0].method, 8);
    EXPECT_EQ(entries[1].name, "AppDir\\empty.txt");
    EXPECT_EQ(entries[1].data, "");
    EXPECT_EQ(entries[2].data, big);
    EXPECT_EQ(entries[2].method, 0);

    platform::LocalTime t;
    ASSERT_TRUE(platform::GetFileLocalWriteTime(app, t));
    EXPECT_EQ(entries[0].dosDate, DosDate(t.year, t.month, t.day, t.hour, t.minute, t.second));
}

TEST(ProductArchive, ReplacesAnExistingFileAndFailsWhereItCannotCreateOne) {
    ScratchFolder scratch;
    const std::string path = scratch.Write("setup.zip", "old contents that are not a zip");
    const std::string source = scratch.Write("a.txt", "a");
    {
        ProductArchive archive;
        ASSERT_TRUE(archive.Open(path));
        archive.AddFile(source, "AppDir\\a.txt", EntryMethod::Deflated);
    }  // closed by the destructor
    std::vector<ZipEntry> entries = ReadZip(path);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].data, "a");

    ProductArchive archive;
    EXPECT_FALSE(archive.Open(scratch.File("no\\such\\folder\\setup.zip")));
    EXPECT_EQ(archive.Status(), -1);
    EXPECT_FALSE(archive.AddFile(source, "a.txt", EntryMethod::Deflated));
}

TEST(ProductArchive, AFileMadeByTheBuildTakesTheTimeOfTheFileItStandsFor) {
    ScratchFolder scratch;
    const std::string prebuilt = scratch.Write("prebuilt.exe", "program");
    const std::filesystem::path native = platform::NativePath(prebuilt);
    std::filesystem::last_write_time(native, std::filesystem::last_write_time(native) - std::chrono::hours(49));
    const std::string made = scratch.Write("made.exe", "program with its version");
    const std::string path = scratch.File("setup.zip");
    ProductArchive archive;
    ASSERT_TRUE(archive.Open(path));
    ASSERT_TRUE(archive.AddFile(made, "uninstall.exe", EntryMethod::Deflated, prebuilt));
    ASSERT_TRUE(archive.Close());
    std::vector<ZipEntry> entries = ReadZip(path);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].data, "program with its version");
    platform::LocalTime t;
    ASSERT_TRUE(platform::GetFileLocalWriteTime(prebuilt, t));
    EXPECT_EQ(entries[0].dosDate, DosDate(t.year, t.month, t.day, t.hour, t.minute, t.second));
}

TEST(ProductArchive, TheSameFilesGiveTheSameBytes) {
    ScratchFolder scratch;
    const std::string a = scratch.Write("a.txt", Mixed(20000));
    const std::string b = scratch.Write("b.txt", "b");
    std::string first, second;
    for (std::string* out : {&first, &second}) {
        ProductArchive archive;
        const std::string path = scratch.File("run.zip");
        archive.Open(path);
        archive.AddFile(a, "AppDir\\a.txt", EntryMethod::Deflated);
        archive.AddFile(b, "WinSysDir\\b.txt", EntryMethod::Deflated);
        archive.Close();
        *out = ReadBytes(path);
    }
    EXPECT_EQ(first, second);
}

// Names are UTF-8; beyond ASCII the entry says so (bit 11), which other zip tools read.
TEST(ProductArchive, NamesBeyondAsciiAreMarkedAsUtf8) {
    ScratchFolder scratch;
    const std::string source = scratch.Write("a.txt", "text");
    const std::string path = scratch.File("setup.zip");
    const std::string japanese = "AppDir\\\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E-\xF0\x9F\x98\x80.txt";
    ProductArchive archive;
    ASSERT_TRUE(archive.Open(path));
    ASSERT_TRUE(archive.AddFile(source, "AppDir\\a.txt", EntryMethod::Deflated));
    ASSERT_TRUE(archive.AddFile(source, japanese, EntryMethod::Stored));
    ASSERT_TRUE(archive.Close());

    const std::string bytes = ReadBytes(path);
    std::map<std::string, unsigned> flags;
    for (size_t at = bytes.find("PK\x03\x04"); at != std::string::npos; at = bytes.find("PK\x03\x04", at + 4)) {
        const auto byte = [&](size_t offset) { return static_cast<unsigned char>(bytes[at + offset]); };
        flags[bytes.substr(at + 30, byte(26) | byte(27) << 8)] = byte(6) | byte(7) << 8;
    }
    ASSERT_EQ(flags.size(), 2u);
    EXPECT_EQ(flags["AppDir\\a.txt"] & 0x800, 0u);
    EXPECT_EQ(flags[japanese] & 0x800, 0x800u);
    const std::vector<ZipEntry> entries = ReadZip(path);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].name, japanese);
    EXPECT_EQ(entries[1].data, "text");
}

namespace {

std::uint64_t Le(const std::string& bytes, std::size_t at, int size) {
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// An archive of `count` one-byte stored entries named e0, e1, ...
std::string ArchiveOf(ScratchFolder& scratch, int count) {
    const std::string path = scratch.File("setup-" + std::to_string(count) + ".zip");
    ProductArchive archive;
    if (!archive.Open(path)) return "";
    PackedFile packed;
    packed.state = PackedFile::State::Packed;
    packed.data = {'x'};
    packed.size = 1;
    packed.crc = 0x8CDC1683;  // of "x"
    for (int i = 0; i < count; ++i)
        if (!archive.AddPacked("", "e" + std::to_string(i), packed)) return "";
    return archive.Close() ? path : "";
}

}  // namespace

// The classic end record's 16-bit count cannot tell 65,535 entries from "see the zip64 record":
// from that count on the zip64 records come first, and the reader finds every entry.
TEST(ProductArchive, ArchivesOfManyEntriesEndInTheZip64RecordsTheFormatWants) {
    ScratchFolder scratch;
    for (int count : {65534, 65535, 65536}) {
        const std::string path = ArchiveOf(scratch, count);
        ASSERT_FALSE(path.empty()) << count;
        const std::string bytes = ReadBytes(path);
        const std::size_t end = bytes.size() - 22;
        ASSERT_EQ(Le(bytes, end, 4), 0x06054b50u);
        const bool zip64 = count >= 65535;
        EXPECT_EQ(Le(bytes, end + 10, 2), zip64 ? 0xFFFFu : static_cast<unsigned>(count));
        if (zip64) {
            const std::size_t record = end - 20 - 56;
            ASSERT_EQ(Le(bytes, end - 20, 4), 0x07064b50u) << count;
            EXPECT_EQ(Le(bytes, end - 20 + 8, 8), record);
            ASSERT_EQ(Le(bytes, record, 4), 0x06064b50u);
            EXPECT_EQ(Le(bytes, record + 32, 8), static_cast<std::uint64_t>(count));
            EXPECT_EQ(Le(bytes, record + 48, 8) + Le(bytes, record + 40, 8), record);  // directory ends at the record
        } else {
            EXPECT_NE(Le(bytes, end - 20, 4), 0x07064b50u);
        }
        ArchiveReader reader;
        ASSERT_TRUE(reader.Open(path)) << count;
        ArchiveEntry entry;
        EXPECT_TRUE(reader.Find("e0", entry));
        EXPECT_TRUE(reader.Find("e" + std::to_string(count - 1), entry)) << count;
        EXPECT_EQ(reader.Extract("e" + std::to_string(count - 1), scratch.File("last"), nullptr, entry), ExtractStatus::Ok);
        EXPECT_EQ(ReadBytes(scratch.File("last")), "x");
    }
}

TEST(ProductArchive, EndRecordsSpellOutEveryFieldThatOverflows) {
    const std::string small = EndRecords(3, 1000, 150);
    ASSERT_EQ(small.size(), 22u);
    EXPECT_EQ(Le(small, 8, 2), 3u);
    EXPECT_EQ(Le(small, 12, 4), 150u);
    EXPECT_EQ(Le(small, 16, 4), 1000u);

    const std::uint64_t offset = 0x123456789ull;  // past 4 GiB
    const std::string big = EndRecords(7, offset, 500);
    ASSERT_EQ(big.size(), 56u + 20u + 22u);
    EXPECT_EQ(Le(big, 24, 8), 7u);
    EXPECT_EQ(Le(big, 32, 8), 7u);
    EXPECT_EQ(Le(big, 40, 8), 500u);
    EXPECT_EQ(Le(big, 48, 8), offset);
    EXPECT_EQ(Le(big, 56 + 8, 8), offset + 500);  // the locator points at the record after the directory
    EXPECT_EQ(Le(big, 76 + 10, 2), 7u);
    EXPECT_EQ(Le(big, 76 + 16, 4), 0xFFFFFFFFu);
}
