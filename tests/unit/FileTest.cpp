#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Path.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

TEST(File, OpenModesFollowTheirExistenceRules) {
    ScratchFolder scratch;
    std::string path = scratch.File("f.bin");
    File f;
    EXPECT_FALSE(f.Open(path, ReadExisting));
    EXPECT_FALSE(f.Open(path, ReadWriteExisting));
    EXPECT_FALSE(f.Open(path, WriteExisting));
    EXPECT_FALSE(f.Open(path, 9));  // no such mode
    EXPECT_FALSE(f.IsOpen());

    ASSERT_TRUE(f.Open(path, CreateWrite));
    std::uint32_t done = 0;
    EXPECT_TRUE(f.Write("hello", 5, done));
    EXPECT_EQ(done, 5u);
    f.Close();

    // WriteExisting keeps the contents and writes over them from the start.
    ASSERT_TRUE(f.Open(path, WriteExisting));
    EXPECT_TRUE(f.Write("J", 1, done));
    f.Close();
    EXPECT_EQ(ReadBytes(path), "Jello");

    // CreateNew never touches an existing file; it creates a missing one.
    EXPECT_FALSE(f.Open(path, CreateNew));
    EXPECT_EQ(ReadBytes(path), "Jello");
    ASSERT_TRUE(f.Open(scratch.File("new.bin"), CreateNew));
    EXPECT_TRUE(f.Write("new", 3, done));
    f.Close();
    EXPECT_EQ(ReadBytes(scratch.File("new.bin")), "new");

    // CreateWrite empties an existing file.
    ASSERT_TRUE(f.Open(path, CreateWrite));
    std::uint32_t size = 99;
    EXPECT_TRUE(f.GetSize(size));
    EXPECT_EQ(size, 0u);
    f.Close();

    // A failed open closes what was open before.
    ASSERT_TRUE(f.Open(path, ReadExisting));
    EXPECT_FALSE(f.Open(path, 7));
    EXPECT_FALSE(f.IsOpen());
}

TEST(File, ReadSeekTellAndSize) {
    ScratchFolder scratch;
    std::string path = scratch.Write("f.bin", "0123456789");
    File f(scratch.Path(), "f.bin", ReadWriteExisting);
    std::uint32_t size = 0;
    ASSERT_TRUE(f.GetSize(size));
    EXPECT_EQ(size, 10u);
    char buf[16] = {};
    std::uint32_t done = 0;
    EXPECT_TRUE(f.Read(buf, 4, done));
    EXPECT_EQ(std::string(buf, done), "0123");
    std::int64_t pos = -1;
    EXPECT_TRUE(f.Tell(pos));
    EXPECT_EQ(pos, 4);
    EXPECT_TRUE(f.Seek(-3, 2));
    EXPECT_FALSE(f.Read(buf, 8, done));  // short read: false, with the count read
    EXPECT_EQ(std::string(buf, done), "789");
    EXPECT_TRUE(f.Seek(2, 0));
    EXPECT_TRUE(f.Seek(1, 1));
    EXPECT_TRUE(f.Tell(pos));
    EXPECT_EQ(pos, 3);
    EXPECT_FALSE(f.Seek(0, 3));
    EXPECT_TRUE(f.Tell(pos));
    EXPECT_EQ(pos, 3);
    EXPECT_TRUE(f.WriteLine("ab"));
    EXPECT_NE(f.Close(), -1);
    EXPECT_EQ(ReadBytes(path), "012ab\r\n789");
}

TEST(File, ClosedFileFailsEveryOperation) {
    File f;
    std::uint32_t size = 5, done = 5;
    std::int64_t pos = 5;
    char buf[4];
    EXPECT_FALSE(f.GetSize(size));
    EXPECT_EQ(size, 0u);
    EXPECT_FALSE(f.Read(buf, 4, done));
    EXPECT_EQ(done, 0u);
    EXPECT_FALSE(f.Write(buf, 4, done));
    EXPECT_FALSE(f.Tell(pos));
    EXPECT_FALSE(f.Seek(0, 0));
    EXPECT_FALSE(f.WriteLine("x"));
    EXPECT_EQ(f.Close(), -1);
}

TEST(File, CopyFileContentsCopiesEveryByteAndReportsFailures) {
    ScratchFolder scratch;
    std::string big(10000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    std::string source = scratch.Write("src.bin", big);
    std::string destination = scratch.Write("dst.bin", std::string(20000, 'x'));
    EXPECT_TRUE(CopyFileContents(source, destination));
    EXPECT_EQ(ReadBytes(destination), big);

    std::string empty = scratch.Write("empty.bin", "");
    std::string copy = scratch.File("copy.bin");
    EXPECT_TRUE(CopyFileContents(empty, copy));
    EXPECT_EQ(ReadBytes(copy), "");

    EXPECT_FALSE(CopyFileContents(scratch.File("none.bin"), scratch.File("out.bin")));
    EXPECT_FALSE(CopyFileContents(source, JoinPath(scratch.File("no-folder"), "out.bin")));

    EXPECT_TRUE(RemoveFile(copy));
    EXPECT_FALSE(RemoveFile(copy));
}

TEST(Platform, FileTimesAndFolders) {
    ScratchFolder scratch;
    std::string path = scratch.Write("t.txt", "x");
    platform::LocalTime t;
    ASSERT_TRUE(platform::GetFileLocalWriteTime(path, t));
    EXPECT_GE(t.year, 2020);
    EXPECT_TRUE(t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31);
    EXPECT_TRUE(platform::IsFile(path));
    EXPECT_FALSE(platform::IsFolder(path));
    EXPECT_TRUE(platform::IsFolder(scratch.Path()));
    EXPECT_TRUE(platform::IsFolder(platform::TempFolder()));
    EXPECT_TRUE(platform::IsFolder(platform::ModuleFolder()));
    EXPECT_FALSE(platform::GetFileLocalWriteTime(scratch.File("none"), t));
}

#ifndef _WIN32
TEST(Platform, PosixLayerTakesTheSystemsBackslashPathsAndWinesRootDrive) {
    EXPECT_EQ(platform::NativePath("Z:\\tmp\\a b\\c.txt"), "/tmp/a b/c.txt");
    EXPECT_EQ(platform::NativePath("z:\\x"), "/x");
    EXPECT_EQ(platform::NativePath("rel\\x.txt"), "rel/x.txt");
    EXPECT_EQ(platform::NativePath("C:\\x"), "C:/x");
    EXPECT_EQ(platform::SystemPath("/tmp/a/b.qsp"), "Z:\\tmp\\a\\b.qsp");
    EXPECT_EQ(platform::SystemPath("a/b.qsp"), "a\\b.qsp");
    // The Windows forms of the same path stay what they are.
    for (const char* form : {"/tmp/a", "Z:\\tmp\\a", "\\tmp\\a", "Z:/tmp/a", "z:\\tmp/a"})
        EXPECT_EQ(platform::NativePath(platform::FullSystemPath(form)), "/tmp/a") << form;
    EXPECT_EQ(platform::FullSystemPath("C:\\Program Files\\x"), "C:\\Program Files\\x");
    EXPECT_EQ(platform::FullSystemPath("out\\sub").substr(0, 2), "Z:");
    EXPECT_EQ(platform::NativePath(platform::SystemPath("/tmp/a/b.qsp")), "/tmp/a/b.qsp");

    ScratchFolder scratch;
    std::string path = scratch.Write("w.txt", "wine");
    EXPECT_EQ(ReadBytes("Z:" + platform::NativePath(path)), "wine");
}
#endif

TEST(File, AFileMovedWhileOpenKeepsItsBytesAndNeverReplacesAnother) {
    ScratchFolder scratch;
    File f;
    std::uint32_t done = 0;
    bool exists = true;
    ASSERT_TRUE(f.Open(scratch.File("a.new"), CreateMovable));
    EXPECT_TRUE(f.Write("abc", 3, done));
    EXPECT_TRUE(f.MoveTo(scratch.File("a.txt"), exists));
    EXPECT_FALSE(exists);
    EXPECT_TRUE(f.Write("d", 1, done));
    f.Close();
    EXPECT_EQ(ReadBytes(scratch.File("a.txt")), "abcd");
    EXPECT_FALSE(platform::IsFile(scratch.File("a.new")));

    // A file already at the new name stays as it is, and so does the one that was not moved.
    ASSERT_TRUE(f.Open(scratch.File("b.new"), CreateMovable));
    EXPECT_TRUE(f.Write("new", 3, done));
    EXPECT_FALSE(f.MoveTo(scratch.File("a.txt"), exists));
    EXPECT_TRUE(exists);
    f.Close();
    EXPECT_EQ(ReadBytes(scratch.File("a.txt")), "abcd");
    EXPECT_EQ(ReadBytes(scratch.File("b.new")), "new");
    // A folder that is missing is no name that exists.
    ASSERT_TRUE(f.Open(scratch.File("b.new"), CreateMovable));
    EXPECT_FALSE(f.MoveTo(JoinPath(scratch.File("missing"), "b.txt"), exists));
    EXPECT_FALSE(exists);
}
