// Reading setup.zip as the installer does: finding entries by name, extracting them with their
// progress, and telling a missing, a damaged and an unwritable entry apart.
#include <gtest/gtest.h>
#include <zip.h>
#include <zlib.h>
#include <zstd.h>

#include "TestSupport.h"
#include "installer/ArchiveReader.h"
#include "installer/EntryDecoder.h"
#include "package/ZipRecords.h"
#include "pipeline/ArchiveEndRecords.h"
#include "platform/File.h"
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

// An entry written as another builder might: its bytes as given, with the method, size and CRC
// recorded for it.
struct RawEntry {
    std::string name;
    int method;
    std::string packed;
    std::uint64_t size;
    std::uint32_t crc;
};

// Lays the records out by hand: minizip writes only the methods it knows.
void WriteRawZip(const std::string& path, const std::vector<RawEntry>& entries) {
    auto little = [](std::string& out, std::uint64_t value, int count) {
        for (int i = 0; i < count; ++i, value >>= 8) out += static_cast<char>(value & 0xFF);
    };
    std::string zip, directory;
    for (const RawEntry& e : entries) {
        const std::uint64_t offset = zip.size();
        std::string common;  // from the version needed to the extra field's length, shared by both records
        little(common, 63, 2);
        little(common, 0, 2);
        little(common, static_cast<std::uint64_t>(e.method), 2);
        little(common, 0x58226000u, 4);  // 2024-01-02 12:00:00
        little(common, e.crc, 4);
        little(common, e.packed.size(), 4);
        little(common, e.size, 4);
        little(common, e.name.size(), 2);
        little(common, 0, 2);
        little(zip, 0x04034b50u, 4);
        zip += common + e.name + e.packed;
        little(directory, 0x02014b50u, 4);
        little(directory, 63, 2);
        directory += common;
        little(directory, 0, 2 + 2 + 2 + 4);  // comment, disk, internal and external attributes
        little(directory, offset, 4);
        directory += e.name;
    }
    const std::uint64_t at = zip.size();
    zip += directory;
    little(zip, 0x06054b50u, 4);
    little(zip, 0, 4);
    little(zip, entries.size(), 2);
    little(zip, entries.size(), 2);
    little(zip, directory.size(), 4);
    little(zip, at, 4);
    little(zip, 0, 2);
    WriteFileBytes(path, zip);
}

std::uint32_t Crc(const std::string& bytes) {
    return static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

// One zstd frame of `bytes`; with `windowLog`, streamed without naming its size, so that the frame
// asks for that window whatever its size.
std::string ZstdFrame(const std::string& bytes, int windowLog = 0) {
    std::string frame(ZSTD_compressBound(bytes.size()), '\0');
    ZSTD_CCtx* context = ZSTD_createCCtx();
    ZSTD_CCtx_setParameter(context, ZSTD_c_compressionLevel, 1);
    std::size_t written = 0;
    if (windowLog == 0) {
        written = ZSTD_compress2(context, &frame[0], frame.size(), bytes.data(), bytes.size());
    } else {
        ZSTD_CCtx_setParameter(context, ZSTD_c_windowLog, windowLog);
        // Given its input in pieces, zstd cannot shrink the window to the size.
        ZSTD_inBuffer in = {bytes.data(), bytes.size(), 0};
        ZSTD_outBuffer out = {&frame[0], frame.size(), 0};
        while (in.pos < in.size) ZSTD_compressStream2(context, &out, &in, ZSTD_e_continue);
        while (ZSTD_compressStream2(context, &out, &in, ZSTD_e_end) != 0) {
        }
        written = out.pos;
    }
    ZSTD_freeCCtx(context);
    EXPECT_FALSE(ZSTD_isError(written));
    frame.resize(written);
    return frame;
}

RawEntry ZstdEntry(const std::string& name, const std::string& bytes) {
    return {name, 93, ZstdFrame(bytes), bytes.size(), Crc(bytes)};
}

std::string Bytes(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += static_cast<char>('a' + (i * 7 + i / 13) % 26);
    return s;
}

}  // namespace

TEST(ArchiveReader, FindsEntriesWithoutRegardToCaseAndExtractsThemWithProgress) {
    ScratchFolder scratch;
    std::string data = Bytes(2500000);
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
    EXPECT_FALSE(platform::IsFile(scratch.File("a.bin")));  // not left incomplete
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
    EXPECT_FALSE(platform::IsFile(scratch.File("d.bin")));
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

// A target that is to be new is never written over: the file already there keeps its bytes, and
// the caller learns it was there; a folder of that name is no file and cannot be written.
TEST(ArchiveReader, LeavesAFileThatIsThereAloneWhenTheTargetIsToBeNew) {
    ScratchFolder scratch;
    WriteZip(scratch.File("setup.zip"), {{"a.txt", Bytes(5000)}});
    ArchiveReader archive;
    ASSERT_TRUE(archive.Open(scratch.File("setup.zip")));
    ArchiveEntry entry;
    scratch.Write("there.txt", "the user's own");
    EXPECT_EQ(archive.Extract("a.txt", scratch.File("there.txt"), nullptr, entry, true), ExtractStatus::Exists);
    EXPECT_EQ(ReadBytes(scratch.File("there.txt")), "the user's own");
    ASSERT_TRUE(platform::MakeFolder(scratch.File("folder")));
    EXPECT_EQ(archive.Extract("a.txt", scratch.File("folder"), nullptr, entry, true), ExtractStatus::Unwritten);
    EXPECT_TRUE(platform::IsFolder(scratch.File("folder")));
    EXPECT_EQ(archive.Extract("a.txt", scratch.File("new.txt"), nullptr, entry, true), ExtractStatus::Ok);
    EXPECT_EQ(ReadBytes(scratch.File("new.txt")), Bytes(5000));
    EXPECT_EQ(archive.Extract("a.txt", scratch.File("there.txt"), nullptr, entry), ExtractStatus::Ok);
    EXPECT_EQ(ReadBytes(scratch.File("there.txt")), Bytes(5000));
}

// Reading ahead gives every entry as reading on demand does, in the order asked, whatever its
// kind: deflated, stored, too big to hold (streamed), damaged, named twice; and an entry asked
// for out of that order ends the reading ahead without losing anything.
TEST(ArchiveReader, ReadsAheadTheEntriesOfEveryKindInTheOrderAsked) {
    ScratchFolder scratch;
    const std::string big = Bytes(9u << 20);  // over what is read whole
    WriteZip(scratch.File("deflated.zip"),
             {{"a.txt", Bytes(70000)}, {"big.bin", big}, {"empty.txt", ""}, {"c.txt", "c"}, {"bad.txt", Bytes(90000)}});
    WriteZip(scratch.File("stored.zip"), {{"s1.txt", Bytes(3000)}, {"s2.txt", Bytes(40000)}}, 0);
    // Damage the last entry's deflated data: it lies just before the central directory.
    std::string bytes = ReadBytes(scratch.File("deflated.zip"));
    size_t firstRecord = bytes.find(std::string("PK\1\2", 4));
    ASSERT_NE(firstRecord, std::string::npos);
    bytes[firstRecord - 200] ^= 0x20;
    scratch.Write("deflated.zip", bytes);

    ArchiveReader archive;
    ASSERT_TRUE(archive.Open(scratch.File("deflated.zip")));
    const std::vector<std::string> order = {"c.txt", "a.txt", "big.bin", "empty.txt", "a.txt", "bad.txt", "c.txt"};
    archive.ReadAhead(order);
    ArchiveEntry entry;
    std::uint64_t reported = 0;
    auto count = [&](std::uint32_t n) { reported += n; return true; };
    for (size_t i = 0; i < order.size(); ++i) {
        const std::string target = scratch.File("out" + std::to_string(i));
        const ExtractStatus status = archive.Extract(order[i], target, count, entry);
        if (order[i] == "bad.txt") {
            EXPECT_EQ(status, ExtractStatus::Damaged);
            EXPECT_FALSE(platform::IsFile(target));
            continue;
        }
        ASSERT_EQ(status, ExtractStatus::Ok) << order[i];
        EXPECT_EQ(ReadBytes(target), order[i] == "big.bin" ? big : order[i] == "a.txt" ? Bytes(70000)
                                     : order[i] == "c.txt"  ? "c" : "") << order[i];
    }
    EXPECT_EQ(reported, 1 + 70000 + big.size() + 70000 + 1);

    ArchiveReader stored;
    ASSERT_TRUE(stored.Open(scratch.File("stored.zip")));
    stored.ReadAhead({"s1.txt", "s2.txt", "s1.txt"});
    EXPECT_EQ(stored.Extract("s2.txt", scratch.File("s2"), nullptr, entry), ExtractStatus::Ok);  // out of order
    EXPECT_EQ(stored.Extract("s1.txt", scratch.File("s1"), nullptr, entry), ExtractStatus::Ok);
    EXPECT_EQ(ReadBytes(scratch.File("s2")), Bytes(40000));
    EXPECT_EQ(ReadBytes(scratch.File("s1")), Bytes(3000));
    // A fresh reading ahead after one was left half way through, and after the archive's end.
    stored.ReadAhead({"s1.txt", "s2.txt"});
    EXPECT_EQ(stored.Extract("s1.txt", scratch.File("s1"), nullptr, entry), ExtractStatus::Ok);
    stored.ReadAhead({"s2.txt"});
    stored.StopReadAhead();
    EXPECT_EQ(stored.Extract("s2.txt", scratch.File("s2"), nullptr, entry), ExtractStatus::Ok);
    EXPECT_EQ(ReadBytes(scratch.File("s2")), Bytes(40000));
}

namespace {

void Put(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

// A header of `kind` (local 0x04034b50 or central 0x02014b50) of a stored entry; sizes and offset
// that do not fit 32 bits are 0xFFFFFFFF there and follow in the zip64 extra field.
std::string Header(std::uint32_t kind, const std::string& name, std::uint64_t size, std::uint32_t crc,
                   std::uint64_t offset) {
    const bool bigSize = size >= 0xFFFFFFFF, bigOffset = kind == 0x02014b50 && offset >= 0xFFFFFFFF;
    std::string extra;
    if (bigSize || bigOffset) {
        std::string fields;
        if (bigSize) Put(fields, size, 8), Put(fields, size, 8);
        if (bigOffset) Put(fields, offset, 8);
        Put(extra, 1, 2);
        Put(extra, fields.size(), 2);
        extra += fields;
    }
    std::string h;
    Put(h, kind, 4);
    if (kind == 0x02014b50) Put(h, 45, 2);  // made by
    Put(h, 45, 2);                          // needed
    Put(h, 0, 2);                           // flags
    Put(h, 0, 2);                           // stored
    Put(h, 0x6000, 2);                      // 12:00
    Put(h, 0x5822, 2);                      // 2 January 2024
    Put(h, crc, 4);
    Put(h, bigSize ? 0xFFFFFFFF : size, 4);
    Put(h, bigSize ? 0xFFFFFFFF : size, 4);
    Put(h, name.size(), 2);
    Put(h, extra.size(), 2);
    if (kind == 0x02014b50) {
        Put(h, 0, 2);  // comment
        Put(h, 0, 2);  // disk
        Put(h, 0, 2);  // internal attributes
        Put(h, 0, 4);  // external attributes
        Put(h, bigOffset ? 0xFFFFFFFF : offset, 4);
    }
    return h + name + extra;
}

bool WriteAt(File& file, std::uint64_t offset, const std::string& bytes) {
    std::uint32_t done = 0;
    return file.Seek(static_cast<std::int64_t>(offset), 0) &&
           file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), done);
}

}  // namespace

// An archive past 4 GiB as the builder writes one: an entry of more than 4 GiB (its zeros lie in
// a hole of a sparse file, so the test writes a few bytes), then an entry whose header lies past
// 4 GiB, a directory with zip64 fields and the zip64 end records.
TEST(ArchiveReader, ReadsSizesAndOffsetsPastFourGiB) {
    ScratchFolder scratch;
    const std::uint64_t bigSize = (std::uint64_t(4) << 30) + 4096;
    const std::string path = scratch.File("setup.zip");
    // The big entry is never extracted here: its checksum is left 0.
    const std::string bigLocal = Header(0x04034b50, "AppDir\\big.bin", bigSize, 0, 0);
    const std::uint64_t tailAt = bigLocal.size() + bigSize;
    const std::string tail = "the last entry";
    const std::uint32_t tailCrc = static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(tail.data()), static_cast<uInt>(tail.size())));
    const std::string tailLocal = Header(0x04034b50, "AppDir\\tail.txt", tail.size(), tailCrc, 0);
    const std::string directory = Header(0x02014b50, "AppDir\\big.bin", bigSize, 0, 0) +
                                  Header(0x02014b50, "AppDir\\tail.txt", tail.size(), tailCrc, tailAt);
    const std::uint64_t directoryAt = tailAt + tailLocal.size() + tail.size();
    {
        File file;
        ASSERT_TRUE(file.Open(path, CreateWrite));
        ASSERT_TRUE(WriteAt(file, 0, bigLocal));
        ASSERT_TRUE(WriteAt(file, tailAt, tailLocal + tail + directory +
                                              EndRecords(2, directoryAt, directory.size())));
    }
    ArchiveReader archive;
    ASSERT_TRUE(archive.Open(path));
    ArchiveEntry entry;
    ASSERT_TRUE(archive.Find("AppDir\\big.bin", entry));
    EXPECT_EQ(entry.size, bigSize);
    ASSERT_EQ(archive.Extract("AppDir\\tail.txt", scratch.File("tail.txt"), nullptr, entry), ExtractStatus::Ok);
    EXPECT_EQ(ReadBytes(scratch.File("tail.txt")), tail);
}

// zstd entries (ZIP method 93) are read whole, streamed when too big to hold, and ahead, as the
// others; a frame that is damaged, decodes to another size than the entry's, has bytes after it
// or asks for a bigger window than the installer holds is refused, and nothing is left of it.
TEST(ArchiveReader, DecodesZstdEntriesAndRefusesDamagedOnes) {
    ScratchFolder scratch;
    const std::string small = Bytes(70000), big = Bytes(9u << 20);
    RawEntry damaged = ZstdEntry("damaged.txt", small);
    damaged.packed[damaged.packed.size() / 2] ^= 0x41;
    RawEntry bigDamaged = ZstdEntry("bigdamaged.bin", big);
    bigDamaged.packed[bigDamaged.packed.size() - 100] ^= 0x41;
    RawEntry longer = ZstdEntry("longer.txt", small), shorter = ZstdEntry("shorter.txt", small);
    longer.size += 1;
    shorter.size -= 1;
    RawEntry bigLonger = ZstdEntry("biglonger.bin", big);
    bigLonger.size += 1;
    RawEntry trailing = ZstdEntry("trailing.txt", small), bigTrailing = ZstdEntry("bigtrailing.bin", big);
    trailing.packed += "junk";
    bigTrailing.packed += "junk";
    const RawEntry wide = {"wide.bin", 93, ZstdFrame(big, 27), big.size(), Crc(big)};
    WriteRawZip(scratch.File("small.zip"),
                {ZstdEntry("a.txt", small), ZstdEntry("big.bin", big), ZstdEntry("empty.txt", ""), damaged, bigDamaged,
                 longer, shorter, bigLonger, trailing, bigTrailing, wide});
    const std::vector<std::string> good = {"a.txt", "big.bin", "empty.txt"};
    const std::vector<std::string> bad = {"damaged.txt", "bigdamaged.bin", "longer.txt", "shorter.txt",
                                          "biglonger.bin", "trailing.txt", "bigtrailing.bin", "wide.bin"};
    std::vector<std::string> all = good;
    all.insert(all.end(), bad.begin(), bad.end());

    for (bool ahead : {false, true}) {
        SCOPED_TRACE(ahead ? "read ahead" : "read on demand");
        ArchiveReader archive;
        ASSERT_TRUE(archive.Open(scratch.File("small.zip")));
        if (ahead) archive.ReadAhead(all);
        ArchiveEntry entry;
        std::uint64_t reported = 0;
        auto count = [&](std::uint32_t n) { reported += n; return true; };
        for (const std::string& name : all) {
            const std::string target = scratch.File("out-" + name);
            const ExtractStatus status = archive.Extract(name, target, count, entry);
            EXPECT_EQ(entry.method, 93) << name;
            if (name == "a.txt" || name == "big.bin" || name == "empty.txt") {
                ASSERT_EQ(status, ExtractStatus::Ok) << name;
                EXPECT_EQ(ReadBytes(target), name == "a.txt" ? small : name == "big.bin" ? big : "") << name;
            } else {
                EXPECT_EQ(status, ExtractStatus::Damaged) << name;
                EXPECT_FALSE(platform::IsFile(target)) << name;
            }
        }
        EXPECT_GE(reported, small.size() + big.size());
    }
}

// An entry of a method the installer does not know is told apart from a damaged one, and
// nothing is written for it; the entries beside it are read as ever.
TEST(ArchiveReader, RefusesAnEntryOfAnUnknownMethodWithoutWritingAnything) {
    ScratchFolder scratch;
    const std::string text = Bytes(5000);
    WriteRawZip(scratch.File("setup.zip"),
                {{"future.bin", 95, "]\0\0\x80\0whatever", text.size(), Crc(text)}, ZstdEntry("a.txt", text),
                 {"stored.txt", 0, text, text.size(), Crc(text)}});
    EXPECT_FALSE(CanDecode(95));
    EXPECT_TRUE(CanDecode(0) && CanDecode(8) && CanDecode(93));
    for (bool ahead : {false, true}) {
        ArchiveReader archive;
        ASSERT_TRUE(archive.Open(scratch.File("setup.zip")));
        if (ahead) archive.ReadAhead({"future.bin", "a.txt", "stored.txt"});
        ArchiveEntry entry;
        ASSERT_TRUE(archive.Find("future.bin", entry));
        EXPECT_EQ(entry.method, 95);
        EXPECT_EQ(archive.Extract("future.bin", scratch.File("future.bin"), nullptr, entry), ExtractStatus::Unsupported);
        EXPECT_FALSE(platform::IsFile(scratch.File("future.bin")));
        EXPECT_EQ(archive.Extract("a.txt", scratch.File("a.txt"), nullptr, entry), ExtractStatus::Ok);
        EXPECT_EQ(ReadBytes(scratch.File("a.txt")), text);
        EXPECT_EQ(archive.Extract("stored.txt", scratch.File("stored.txt"), nullptr, entry), ExtractStatus::Ok);
        EXPECT_EQ(ReadBytes(scratch.File("stored.txt")), text);
    }
}

// A central record whose local header lies past 4 GiB names its offset in the zip64 extra field,
// after the sizes that overflowed too; the record's length counts its name, extra and comment.
TEST(ZipRecords, ReadsTheLocalHeaderOffsetFromTheZip64ExtraField) {
    ScratchFolder scratch;
    auto little = [](std::string& out, std::uint64_t value, int count) {
        for (int i = 0; i < count; ++i, value >>= 8) out += static_cast<char>(value & 0xFF);
    };
    std::string record = "junk";  // the record starts 4 bytes into the file
    little(record, 0x02014b50u, 4);
    little(record, 63, 2);
    little(record, 63, 2);
    little(record, 0, 2);
    little(record, 93, 2);
    little(record, 0, 4);
    little(record, 0, 4);
    little(record, 1000, 4);         // compressed size fits
    little(record, 0xFFFFFFFFu, 4);  // uncompressed size overflowed
    little(record, 5, 2);            // name
    little(record, 8 + 20, 2);       // extra: an unknown field, then the zip64 one
    little(record, 3, 2);            // comment
    little(record, 0, 2 + 2 + 4);
    little(record, 0xFFFFFFFFu, 4);  // offset overflowed
    record += "a.txt";
    little(record, 0x7075, 2);
    little(record, 4, 2);
    little(record, 0, 4);
    little(record, 0x0001, 2);
    little(record, 16, 2);
    little(record, 0x123456789ull, 8);  // uncompressed size
    little(record, 0x234567890ull, 8);  // offset
    record += "abc";
    WriteFileBytes(scratch.File("records.bin"), record);
    File file;
    ASSERT_TRUE(file.Open(scratch.File("records.bin"), ReadExisting));
    CentralRecord read;
    ASSERT_TRUE(ReadCentralRecord(file, 0, 4, read));
    EXPECT_EQ(read.localHeader, 0x234567890ull);
    EXPECT_EQ(read.length, record.size() - 4);
    EXPECT_FALSE(ReadCentralRecord(file, 0, 0, read));  // no record there
}
