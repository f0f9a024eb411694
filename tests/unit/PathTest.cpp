// Paths: joining, taking file paths apart at either separator, tree item paths at "\" only.
#include <gtest/gtest.h>

#include "core/Path.h"

TEST(Path, JoinAddsOneBackslashOnlyWhereNeeded) {
    EXPECT_EQ(JoinPath("C:\\A", "b.txt"), "C:\\A\\b.txt");
    EXPECT_EQ(JoinPath("C:\\A\\", "b.txt"), "C:\\A\\b.txt");
    EXPECT_EQ(JoinPath("", "b.txt"), "b.txt");
    EXPECT_EQ(JoinPath("C:\\A", ""), "C:\\A");
}

TEST(Path, FilePathsSplitAtTheLastBackslashOrSlash) {
    EXPECT_EQ(FolderOf("C:\\Work\\Demo\\Demo.qsp"), "C:\\Work\\Demo");
    EXPECT_EQ(NameOf("C:\\Work\\Demo\\Demo.qsp"), "Demo.qsp");
    EXPECT_EQ(FolderOf("/home/demo/docs\\License.txt"), "/home/demo/docs");
    EXPECT_EQ(FolderOf("C:\\Work\\docs/License.txt"), "C:\\Work\\docs");
    EXPECT_EQ(NameOf("docs/License.txt"), "License.txt");
    EXPECT_EQ(FolderOf("Demo.qsp"), "");
    EXPECT_EQ(NameOf("Demo.qsp"), "Demo.qsp");
    EXPECT_EQ(FolderOf("C:\\App"), "C:");
    EXPECT_EQ(NameOf("C:\\App\\"), "");
}

TEST(Path, RootedPathsNameADriveOrStartAtASeparator) {
    for (const char* rooted : {"C:\\x", "c:", "\\\\server\\share", "\\Root", "/home/demo"})
        EXPECT_TRUE(IsRootedPath(rooted)) << rooted;
    for (const char* relative : {"", "x.txt", "files\\x", "..\\x", "%AppDir%\\x"})
        EXPECT_FALSE(IsRootedPath(relative)) << relative;
}

TEST(Path, TrailingBackslashesGoButADrivesRootStays) {
    EXPECT_EQ(TrimTrailingBackslashes("C:\\Program Files\\Demo\\\\"), "C:\\Program Files\\Demo");
    EXPECT_EQ(TrimTrailingBackslashes("C:\\"), "C:\\");
    EXPECT_EQ(TrimTrailingBackslashes("C:\\\\"), "C:\\");
    EXPECT_EQ(TrimTrailingBackslashes("Demo"), "Demo");
    EXPECT_EQ(TrimTrailingBackslashes(""), "");
}

TEST(Path, TreeItemPathsSplitAtTheLastBackslashOnly) {
    std::string parent, name;
    SplitPath("HKEY_CLASSES_ROOT\\MIME\\Database\\Content Type\\text/plain", parent, name);
    EXPECT_EQ(parent, "HKEY_CLASSES_ROOT\\MIME\\Database\\Content Type");
    EXPECT_EQ(name, "text/plain");
    SplitPath("%AppDir%", parent, name);
    EXPECT_EQ(parent, "");
    EXPECT_EQ(name, "%AppDir%");
}

TEST(Path, PathBelowAFolderIgnoresCaseAndSeparators) {
    EXPECT_EQ(PathBelow("C:\\Work\\Notes", "c:\\work\\notes\\bin\\a.exe"), "bin\\a.exe");
    EXPECT_EQ(PathBelow("C:\\Work\\Notes\\", "C:/Work/Notes/a.exe"), "a.exe");
    EXPECT_EQ(PathBelow("/tmp/p", "/tmp/p/files/a.exe"), "files/a.exe");
    EXPECT_EQ(PathBelow("C:\\Work\\Notes", "C:\\Work\\NotesOld\\a.exe"), "") << "a sibling whose name begins alike";
    EXPECT_EQ(PathBelow("C:\\Work\\Notes", "C:\\Work\\Notes"), "") << "the folder itself";
    EXPECT_EQ(PathBelow("C:\\Work\\Notes", "C:\\Work\\a.exe"), "");
    EXPECT_EQ(PathBelow("", "C:\\a.exe"), "");
}
