#include <gtest/gtest.h>

#include <random>

#include "BuildTestSupport.h"
#include "TestSupport.h"
#include "pipeline/ContainerWriter.h"
#include "platform/File.h"

static std::string RandomBytes(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string bytes(n, '\0');
    for (char& c : bytes) c = static_cast<char>(rng());
    return bytes;
}

TEST(FileChecksum, FollowsTheRegisterFromZeroWithoutInversion) {
    ScratchFolder scratch;
    EXPECT_EQ(FileChecksum(scratch.Write("empty", "")), 0u);
    EXPECT_EQ(FileChecksum(scratch.Write("abc", "abc")), 0xCA6598D0u);
    EXPECT_EQ(FileChecksum(scratch.File("missing")), 0u);
    // Across the reading blocks.
    std::string big = RandomBytes(700001, 7);
    EXPECT_EQ(FileChecksum(scratch.Write("big", big)), ReferenceChecksum(big));
}

TEST(ContainerWriter, WritesTheLayoutThatReadsBackFromTheEnd) {
    ScratchFolder scratch;
    const std::string stub = "MZ-stub-bytes";
    const std::string a = "[SETUP_INFO]\r\nVersion=1.0\r\n", b = RandomBytes(5000, 1), c = "";
    ContainerWriter writer;
    ASSERT_TRUE(writer.AddFile(scratch.Write("setup.ini", a)));
    ASSERT_TRUE(writer.AddFile(scratch.Write("setup.zip", b)));
    ASSERT_TRUE(writer.AddFile(scratch.Write("English.dat", c)));
    EXPECT_FALSE(writer.AddFile(scratch.File("absent.dat")));
    ASSERT_TRUE(writer.AddCommand(1000, "setup.exe"));
    const std::string target = scratch.File("Setup.exe");
    ASSERT_EQ(writer.WriteContainer(scratch.Write("_sfx.exe", stub), target, nullptr, 4), kContainerWritten);

    const std::string bytes = ReadBytes(target);
    EXPECT_EQ(bytes.substr(0, stub.size()), stub);
    Container container = ReadContainer(bytes);
    ASSERT_TRUE(container.valid);
    ASSERT_EQ(container.files.size(), 3u);
    const std::string names[] = {"setup.ini", "setup.zip", "English.dat"};
    const std::string data[] = {a, b, c};
    std::uint32_t offset = static_cast<std::uint32_t>(stub.size());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(container.files[i].name, names[i]);
        EXPECT_EQ(container.files[i].offset, offset);
        EXPECT_EQ(container.files[i].size, data[i].size());
        EXPECT_EQ(bytes.substr(container.files[i].offset, container.files[i].size), data[i]);
        offset += container.files[i].size;
    }
    ASSERT_EQ(container.commands.size(), 1u);
    EXPECT_EQ(container.commands[0].first, 1000u);
    EXPECT_EQ(container.commands[0].second, "setup.exe");
    EXPECT_EQ(container.reserved, std::string(4, '\0'));

    // A name of 9 bytes is its bytes followed by 9, with no zero byte: the directory starts right
    // after the data.
    EXPECT_EQ(bytes.substr(offset + 8, 9), "setup.ini");
    EXPECT_EQ(ReadInt(bytes, offset + 17), 9u);
}

TEST(ContainerWriter, ChecksumStampedIntoTheReservedDataVerifies) {
    ScratchFolder scratch;
    ContainerWriter writer;
    writer.AddFile(scratch.Write("setup.ini", RandomBytes(3000, 2)));
    writer.AddCommand(1000, "setup.exe");
    const std::string target = scratch.File("Setup.exe");
    ASSERT_EQ(writer.WriteContainer(scratch.Write("_sfx.exe", "stub"), target, nullptr, 4), kContainerWritten);
    const std::uint32_t sum = FileChecksum(target);
    const unsigned char stamp[4] = {static_cast<unsigned char>(sum), static_cast<unsigned char>(sum >> 8),
                                    static_cast<unsigned char>(sum >> 16), static_cast<unsigned char>(sum >> 24)};
    ASSERT_TRUE(WriteReserved(target, stamp, 4));

    std::string bytes = ReadBytes(target);
    EXPECT_EQ(bytes.size(), 4 + 3000 + (4 + 4 + 9 + 4) + 4 + (9 + 4 + 4) + 4 + 4 + 4 + 8u);
    EXPECT_EQ(ReadInt(bytes, bytes.size() - 16), sum);
    EXPECT_EQ(ReadInt(bytes, bytes.size() - 12), 4u);
    bytes.replace(bytes.size() - 16, 4, std::string(4, '\0'));
    EXPECT_EQ(ReferenceChecksum(bytes), sum);

    EXPECT_FALSE(WriteReserved(target, nullptr, 4));
    EXPECT_FALSE(WriteReserved(target, stamp, 0));
    EXPECT_FALSE(WriteReserved(scratch.File("absent.exe"), stamp, 4));
}

TEST(ContainerWriter, ReportsEachFailureByItsCode) {
    ScratchFolder scratch;
    ContainerWriter writer;
    const std::string stub = scratch.Write("_sfx.exe", "stub");
    EXPECT_EQ(writer.WriteContainer(stub, scratch.File("a.exe"), nullptr, 4), kNoFileEntries);

    const std::string source = scratch.Write("setup.ini", "x");
    writer.AddFile(source);
    EXPECT_EQ(writer.WriteContainer(scratch.File("no-stub.exe"), scratch.File("b.exe"), nullptr, 4), kStubNotCopied);
    EXPECT_EQ(writer.WriteContainer(stub, scratch.File("no\\such\\folder\\c.exe"), nullptr, 4), kStubNotCopied);

    RemoveFile(source);  // gone between AddFile and writing
    EXPECT_EQ(writer.WriteContainer(stub, scratch.File("d.exe"), nullptr, 4), kTargetNotWritten);

    writer.Reset();
    EXPECT_TRUE(writer.Files().empty());
    EXPECT_EQ(writer.WriteContainer(stub, scratch.File("e.exe"), nullptr, 4), kNoFileEntries);
}

TEST(ContainerWriter, TablesAreLimitedTo1024FilesAnd256Commands) {
    ScratchFolder scratch;
    const std::string file = scratch.Write("f", "1");
    ContainerWriter writer;
    for (int i = 0; i < ContainerWriter::kMaxFiles; ++i) ASSERT_TRUE(writer.AddFile(file));
    EXPECT_FALSE(writer.AddFile(file));
    for (int i = 0; i < ContainerWriter::kMaxCommands; ++i) ASSERT_TRUE(writer.AddCommand(1000 + i, "x"));
    EXPECT_FALSE(writer.AddCommand(2000, "x"));
}

TEST(ContainerWriter, ASourceThatChangedSizeKeepsTheDirectoryTrue) {
    ScratchFolder scratch;
    ContainerWriter writer;
    const std::string shrinking = scratch.Write("shrinks.txt", "0123456789");
    const std::string growing = scratch.Write("grows.txt", "abc");
    writer.AddFile(shrinking);
    writer.AddFile(growing);
    scratch.Write("shrinks.txt", "0123");
    scratch.Write("grows.txt", "abcdefgh");
    const std::string target = scratch.File("Setup.exe");
    ASSERT_EQ(writer.WriteContainer(scratch.Write("_sfx.exe", "S"), target, nullptr, 4), kContainerWritten);
    const std::string bytes = ReadBytes(target);
    Container container = ReadContainer(bytes);
    ASSERT_EQ(container.files.size(), 2u);
    EXPECT_EQ(bytes.substr(container.files[0].offset, container.files[0].size), "0123");
    EXPECT_EQ(container.files[1].offset, 5u);
    EXPECT_EQ(bytes.substr(container.files[1].offset, container.files[1].size), "abc");
}
