#include <gtest/gtest.h>

#include <algorithm>

#include "BuildTestSupport.h"
#include "TestSupport.h"
#include "core/Path.h"
#include "pipeline/IconReplacement.h"
#include "platform/File.h"
#include "platform/Resources.h"

namespace {

std::string Image(char fill, std::size_t size = 744) { return std::string(size, fill); }

std::string Reference() { return platform::OwnIconImage().substr(0, kIconImageSize); }

}  // namespace

TEST(IconReplacement, TheProgramCarriesTheApplicationIconImageAsImage1) {
    // The first image of the application icon file is the 32x32 16-colour one, 744 bytes long,
    // and it is what this program finds as its own icon image 1.
    const std::string ico = ReadBytes(JoinPath(QS_RESOURCES, "Quillset.ico"));
    ASSERT_GT(ico.size(), 22u);
    EXPECT_EQ(static_cast<unsigned char>(ico[6]), 32);
    EXPECT_EQ(static_cast<unsigned char>(ico[7]), 32);
    EXPECT_EQ(static_cast<unsigned char>(ico[8]), 16);
    EXPECT_EQ(ReadInt(ico, 14), 744u);
    EXPECT_EQ(platform::OwnIconImage(), ico.substr(ReadInt(ico, 18), 744));
}

TEST(IconReplacement, UsesTheFirst32x32SixteenColourImage) {
    ScratchFolder scratch;
    const std::string program = ProgramWithIcon("setup");
    const std::string target = scratch.Write("setup.exe", program);
    const std::string icon = scratch.Write("user.ico", IconFile({{16, 16, 16, Image('a', 296)},
                                                                 {32, 32, 0, Image('b', 2216)},
                                                                 {32, 32, 16, Image('c')},
                                                                 {32, 32, 16, Image('d')}}));
    ASSERT_TRUE(ReplaceIcon(target, icon));
    std::string expected = program;
    expected.replace(program.find(Reference()), kIconImageSize, Image('c'));
    EXPECT_EQ(ReadBytes(target), expected);  // same length, only the image changed

    // The reference image is gone now, so a second replacement finds nothing to replace.
    EXPECT_FALSE(ReplaceIcon(target, icon));
    EXPECT_EQ(ReadBytes(target), expected);
}

TEST(IconReplacement, RefusesUnusableIconsAndTargetsWithoutTouchingThem) {
    ScratchFolder scratch;
    const std::string program = ProgramWithIcon("setup");
    const std::string target = scratch.Write("setup.exe", program);
    const std::string good = scratch.Write("good.ico", IconFile({{32, 32, 16, Image('c')}}));
    const std::string cases[] = {
        IconFile({{32, 32, 0, Image('e', 3000)}}),        // 256 colours only
        IconFile({{16, 16, 16, Image('e')}}),             // no 32x32 image
        IconFile({{32, 32, 16, Image('e', 600)}}),        // too short to give 744 bytes
        IconFile({{32, 32, 16, Image('e')}}).substr(0, 300),  // image cut off
        "not an icon at all",
        "",
    };
    for (const std::string& bytes : cases) {
        EXPECT_FALSE(ReplaceIcon(target, scratch.Write("bad.ico", bytes)));
        EXPECT_EQ(ReadBytes(target), program);
    }
    EXPECT_FALSE(ReplaceIcon(target, scratch.File("absent.ico")));
    EXPECT_FALSE(ReplaceIcon(scratch.File("absent.exe"), good));

    const std::string plain = scratch.Write("plain.exe", "MZ" + std::string(5000, 'z'));
    EXPECT_FALSE(ReplaceIcon(plain, good));
    const std::string tiny = scratch.Write("tiny.exe", "MZ");
    EXPECT_FALSE(ReplaceIcon(tiny, good));
    EXPECT_EQ(ReadBytes(tiny), "MZ");
}

TEST(IconReplacement, FindsTheImageAcrossSearchBlocksAndAtTheVeryEnd) {
    ScratchFolder scratch;
    const std::string icon = scratch.Write("user.ico", IconFile({{32, 32, 16, Image('c')}}));
    // Straddling the first 1 MiB block of the search, then only the first of two copies.
    std::string large = std::string((1 << 20) - 300, 'q') + Reference() + std::string(5000, 'r') + Reference();
    const std::string target = scratch.Write("large.exe", large);
    ASSERT_TRUE(ReplaceIcon(target, icon));
    const std::string after = ReadBytes(target);
    EXPECT_EQ(after.size(), large.size());
    EXPECT_EQ(after.substr((1 << 20) - 300, kIconImageSize), Image('c'));
    EXPECT_EQ(after.substr(after.size() - kIconImageSize), Reference());

    const std::string atEnd = scratch.Write("end.exe", "MZ" + Reference());
    ASSERT_TRUE(ReplaceIcon(atEnd, icon));
    EXPECT_EQ(ReadBytes(atEnd), "MZ" + Image('c'));
}

// Every program built with the application icon carries the same 744 bytes, and a copy of it
// takes a user's icon.
TEST(IconReplacement, PatchesCopiesOfTheRealPrograms) {
    std::string programs = QS_ICON_PROGRAMS;
    for (size_t start = 0, end; start < programs.size(); start = end + 1) {
        end = std::min(programs.find('|', start), programs.size());
        const std::string program = programs.substr(start, end - start);
        SCOPED_TRACE(program);
        ScratchFolder scratch;
        const std::string original = ReadBytes(program);
        const std::size_t first = original.find(Reference());
        ASSERT_NE(first, std::string::npos);
        const std::string copy = scratch.Write("program-copy", original);
        ASSERT_TRUE(ReplaceIcon(copy, scratch.Write("user.ico", IconFile({{32, 32, 16, Image('c')}}))));
        const std::string patched = ReadBytes(copy);
        EXPECT_EQ(patched.size(), original.size());
        EXPECT_EQ(patched.substr(first, kIconImageSize), Image('c'));
        // Only the first copy is changed; a build with debugging aids may hold the image twice.
        EXPECT_EQ(patched.substr(0, first), original.substr(0, first));
        EXPECT_EQ(patched.substr(first + kIconImageSize), original.substr(first + kIconImageSize));
    }
}
