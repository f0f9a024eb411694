// Reading setup.zip as the installer does: finding entries by name, extracting them with their
// progress, and telling a missing, a damaged and an unwritable entry apart.
#include <gtest/gtest.h>
#include <zip.h>

#include "TestSupport.h"
#include "installer/ArchiveReader.h"
#include "platform/FileSystem.h"

namespace {

// An archive of `entries`, each stored (level 0) or deflated, dated 2 January 2024 12:30:10.
void WriteZip(const std::string& path, const std::vector<TestEntry>& entries, int level = 6) {
    zipFile zf = zipOpen(platform::NativePath(path).c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zf, nullptr);
    for (const TestEntry& e : entries) {
        zip_fileinfo info = {};
        info.tmz_date.tm_year = 2024;
        info.tmz_date.tm_mday = 2;
        info.tmz_date.tm_hour = 12;
        info.tmz_date.tm_min = 30;
        info.tmz_date.tm_sec = 10;
        ASSERT_EQ(zipOpenNewFileInZip(zf, e.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                      level ? Z_DEFLATED : 0, level),
                  ZIP_OK);
        ASSERT_EQ(zipWriteInFileInZip(zf, e.bytes.data(), static_cast<unsigned>(e.bytes.size())), ZIP_OK);
        ASSERT_EQ(zipCloseFileInZip(zf), ZIP_OK);
    }
    ASSERT_EQ(zipClose(zf, nullptr), ZIP_OK);
}

std::string Bytes(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += static_cast<char>('a' + (i * 7 + i / 13) % 26);
    return s;
}

}  // namespace

TEST(ArchiveReader, FindsEntriesWithoutRegardToCaseAndExtractsThemWithProgress) {
    ScratchFolder scratch;
    std::string data = Bytes(150000);
    WriteZip(scratch.File("setup.zip"), {{"bin\\Tool.exe", data}, {"empty.txt", ""}});
    ArchiveReader archive;
    ASSERT_TRUE(archive.Open(scratch.File("setup.zip")));
    ArchiveEntry entry;
    ASSERT_TRUE(archive.Find("BIN\\tool.EXE", entry));
    EXPECT_EQ(entry.size, data.size());
    // 2024-01-02 12:30:10 in DOS form: the date in the high word, the time in the low one.
    EXPECT_EQ(entry.dosDate, ((2024u - 1980) << 25 | 1u << 21 | 2u << 16 | 12u << 11 | 30u << 5 | 5u));
    EXPECT_FALSE(archive.Find("bin\\Other.exe", entry));

    std::uint64_t reported = 0;
    int calls = 0;
    ArchiveEntry extracted;
    EXPECT_EQ(archive.Extract("bin\\Tool.exe", scratch.File("Tool.exe"),
                              [&](std::uint32_t n) { reported += n, ++calls; return true; }, extracted),
              ExtractStatus::Ok);
    EXPECT_EQ(ReadBytes(scratch.File("Tool.exe")), data);
    EXPECT_EQ(reported, data.size());
    EXPECT_GT(calls, 1);  // block by block
    EXPECT_EQ(extracted.dosDate, entry.dosDate);
    platform::LocalTime stamped;  // the time it had on the builder's computer, which replace modes compare
    ASSERT_TRUE(platform::GetFileLocalWriteTime(scratch.File("Tool.exe"), stamped));
    EXPECT_EQ(std::vector<int>({stamped.year, stamped.month, stamped.day, stamped.hour, stamped.minute, stamped.second}),
              std::vector<int>({2024, 1, 2, 12, 30, 10}));
    EXPECT_EQ(archive.Extract("empty.txt", scratch.File("empty.txt"), nullptr, extracted), ExtractStatus::Ok);
    EXPECT_EQ(ReadBytes(scratch.File("empty.txt")), "");
}

TEST(ArchiveReader, TellsMissingStoppedUnwritableAndDamagedEntriesApart) {
    ScratchFolder scratch;
    std::string data = Bytes(100000);
    WriteZip(scratch.File("stored.zip"), {{"a.bin", data}}, 0);
    ArchiveReader archive;
    EXPECT_FALSE(archive.Open(scratch.File("none.zip")));
    ArchiveEntry entry;
    EXPECT_FALSE(archive.Find("a.bin", entry));  // nothing open
    ASSERT_TRUE(archive.Open(scratch.File("stored.zip")));
    EXPECT_EQ(archive.Extract("b.bin", scratch.File("b.bin"), nullptr, entry), ExtractStatus::Unreadable);
    EXPECT_EQ(archive.Extract("a.bin", scratch.File("a.bin"), [](std::uint32_t) { return false; }, entry),
              ExtractStatus::Stopped);
    EXPECT_EQ(archive.Extract("a.bin", scratch.File("no folder\\a.bin"), nullptr, entry), ExtractStatus::Unwritten);
    // The reader stays usable after each of those.
    EXPECT_EQ(archive.Extract("a.bin", scratch.File("a.bin"), nullptr, entry), ExtractStatus::Ok);

    // One changed byte in the stored data: the CRC check at the end of the entry refuses it.
    std::string bytes = ReadBytes(scratch.File("stored.zip"));
    size_t at = bytes.find(data.substr(50000, 32));
    ASSERT_NE(at, std::string::npos);
    bytes[at] ^= 1;
    scratch.Write("changed.zip", bytes);
    ArchiveReader changed;
    ASSERT_TRUE(changed.Open(scratch.File("changed.zip")));
    EXPECT_EQ(changed.Extract("a.bin", scratch.File("c.bin"), nullptr, entry), ExtractStatus::Damaged);

    // The same in a deflated entry, which is inflated whole: refused before anything is written.
    WriteZip(scratch.File("deflated.zip"), {{"a.bin", data}});
    bytes = ReadBytes(scratch.File("deflated.zip"));
    bytes[bytes.size() / 3] ^= 0x10;
    scratch.Write("deflated.zip", bytes);
    ArchiveReader deflated;
    ASSERT_TRUE(deflated.Open(scratch.File("deflated.zip")));
    EXPECT_EQ(deflated.Extract("a.bin", scratch.File("d.bin"), nullptr, entry), ExtractStatus::Damaged);
    EXPECT_EQ(ReadBytes(scratch.File("d.bin")), "");
}

TEST(ArchiveReader, ReadsAnArchiveWhereItLiesInsideABiggerFile) {
    ScratchFolder scratch;
    std::string data = Bytes(70000);
    WriteZip(scratch.File("a.zip"), {{"AppDir\\a.txt", data}, {"uninstall.exe", "MZ"}});
    WriteZip(scratch.File("b.zip"), {{"AppDir\\b.txt", "b"}});
    const std::string a = ReadBytes(scratch.File("a.zip"));
    // As in a self-extracting package: a program before the archive, more files after it, among
    // them another archive whose end record comes last in the file.
    const std::string before(4099, 'M');
    const std::string package = scratch.Write("Setup.exe", before + a + ReadBytes(scratch.File("b.zip")) + "<tail>");

    ArchiveReader archive;
    ASSERT_TRUE(archive.Open(package, before.size(), a.size()));
    ArchiveEntry entry;
    EXPECT_TRUE(archive.Find("appdir\\A.TXT", entry));
    EXPECT_EQ(entry.size, data.size());
    EXPECT_FALSE(archive.Find("AppDir\\b.txt", entry));
    EXPECT_EQ(archive.Extract("AppDir\\a.txt", scratch.File("a.txt"), nullptr, entry), ExtractStatus::Ok);
    EXPECT_EQ(ReadBytes(scratch.File("a.txt")), data);
    EXPECT_EQ(archive.Extract("uninstall.exe", scratch.File("u.exe"), nullptr, entry), ExtractStatus::Ok);
    EXPECT_EQ(ReadBytes(scratch.File("u.exe")), "MZ");

    // A window that misses the archive's end, or that starts in the wrong place, is no archive.
    EXPECT_FALSE(archive.Open(package, before.size(), a.size() - 30));
    EXPECT_FALSE(archive.IsOpen());
    EXPECT_FALSE(archive.Open(package, 0, before.size()));
}

TEST(ArchiveReader, FindsEveryEntryOfAManyFileArchiveAndTheFirstOfEqualNames) {
    ScratchFolder scratch;
    std::vector<TestEntry> entries;
    for (int i = 0; i < 300; ++i) entries.push_back({"AppDir\\f" + std::to_string(i) + ".txt", std::to_string(i * i)});
    entries.push_back({"APPDIR\\F7.TXT", "the second of equal names"});
    WriteZip(scratch.File("many.zip"), entries);
    ArchiveReader archive;
    ASSERT_TRUE(archive.Open(scratch.File("many.zip")));
    ArchiveEntry entry;
    for (int i = 299; i >= 0; --i) {
        const std::string name = "AppDir\\f" + std::to_string(i) + ".txt";
        ASSERT_TRUE(archive.Find(name, entry)) << name;
        ASSERT_EQ(archive.Extract(name, scratch.File("out.txt"), nullptr, entry), ExtractStatus::Ok) << name;
        ASSERT_EQ(ReadBytes(scratch.File("out.txt")), std::to_string(i * i)) << name;
    }
    EXPECT_EQ(archive.Extract("appdir\\f7.txt", scratch.File("out.txt"), nullptr, entry), ExtractStatus::Ok);
    EXPECT_EQ(ReadBytes(scratch.File("out.txt")), "49");
}
