#include <gtest/gtest.h>

#include <sstream>

#include "BuildTestSupport.h"
#include "TestSupport.h"
#include "core/Path.h"
#include "executable/PeImage.h"
#include "pipeline/ExecutableResources.h"
#include "pipeline/IconReplacement.h"
#include "pipeline/VersionResource.h"
#include "platform/File.h"

namespace {

std::vector<std::pair<std::string, std::string>> ImagesOf(const std::string& iconFile) {
    std::vector<std::pair<std::string, std::string>> images;
    for (std::uint32_t i = 0; i < GetLe(iconFile, 4, 2); ++i) {
        const std::size_t entry = 6 + 16 * i;
        images.push_back({iconFile.substr(entry, 12),
                          iconFile.substr(GetLe(iconFile, entry + 12, 4), GetLe(iconFile, entry + 8, 4))});
    }
    return images;
}

// The bytes of the section holding the directory entry `index`.
std::string DirectoryBytes(const std::string& file, int index) {
    PeImage image;
    std::size_t at = 0;
    const PeDirectory entry = image.Parse(file) ? image.Directory(index) : PeDirectory();
    if (!image.FileOffset(entry.address, entry.size, at)) return "<none>";
    return file.substr(at, entry.size);
}

// Every section lies in the file after the headers, in address order, aligned, and the image
// size covers the last one.
void ExpectSoundLayout(const std::string& file) {
    PeImage image;
    ASSERT_TRUE(image.Parse(file));
    std::uint64_t lastAddress = 0, lastRaw = image.SizeOfHeaders();
    for (const PeSection& s : image.Sections()) {
        EXPECT_GE(s.virtualAddress, lastAddress) << s.name;
        EXPECT_EQ(s.virtualAddress % image.SectionAlignment(), 0u) << s.name;
        if (s.rawSize) {
            EXPECT_GE(s.rawPointer, lastRaw) << s.name;
            EXPECT_EQ(s.rawPointer % image.FileAlignment(), 0u) << s.name;
            lastRaw = s.rawPointer + s.rawSize;
        }
        lastAddress = s.virtualAddress + std::max(s.virtualSize, s.rawSize);
    }
    EXPECT_EQ(lastRaw, file.size());
    EXPECT_GE(GetLe(file, image.SizeOfImageField(), 4), lastAddress);
    EXPECT_EQ(GetLe(file, image.ChecksumField(), 4), 0u);
}

}  // namespace

TEST(ExecutableResources, TheIconGroupTakesEveryImageOfTheIconFile) {
    ScratchFolder scratch;
    const std::string builder = MakeBuilderFolder(scratch, true);
    const std::string target = builder + "\\setup\\_setup.exe";
    const std::string original = ReadBytes(target);
    // The test programs carry the application icon like the real ones.
    const std::string appIcon = ReadBytes(JoinPath(QS_RESOURCES, "Quillset.ico"));
    EXPECT_EQ(ReadProgramResources(original).icon, ImagesOf(appIcon));

    const std::string five = FiveImageIcon();
    ASSERT_TRUE(ReplaceIcon(target, scratch.Write("five.ico", five)));
    const std::string patched = ReadBytes(target);
    const ProgramResources read = ReadProgramResources(patched);
    ASSERT_TRUE(read.valid);
    EXPECT_EQ(read.icon, ImagesOf(five));
    EXPECT_EQ(read.iconImages, 5u) << "the replaced images are gone";
    EXPECT_EQ(patched.substr(0x200, 9), "installer");
    EXPECT_EQ(DirectoryBytes(patched, 5), DirectoryBytes(original, 5)) << "relocations moved intact";
    ExpectSoundLayout(patched);

    // Once more with a one-image icon: the section is rewritten where it lies.
    const std::string one = IconFile({{32, 32, 16, std::string(744, 'z')}});
    ASSERT_TRUE(ReplaceIcon(target, scratch.Write("one.ico", one)));
    EXPECT_EQ(ReadProgramResources(ReadBytes(target)).icon, ImagesOf(one));
    EXPECT_EQ(ReadProgramResources(ReadBytes(target)).iconImages, 1u);
    ExpectSoundLayout(ReadBytes(target));
}

TEST(ExecutableResources, AnotherIconGroupKeepsItsImagesAndOtherResourcesStay) {
    ScratchFolder scratch;
    const std::string target = scratch.Write("p.exe", TestProgram("p"));
    ASSERT_TRUE(EditResources(target, [](ResourceTree& tree) {
        auto& groups = tree.types[ResourceId::Number(ResourceTree::kGroupIcon)];
        auto& icons = tree.types[ResourceId::Number(ResourceTree::kIcon)];
        std::string group = std::string("\0\0\1\0\1\0", 6) + std::string(12, 'g');
        PutLe(group, 7, 2);
        groups[ResourceId::Number(200)][0x409].bytes = group;
        icons[ResourceId::Number(7)][0x409].bytes = "second group's image";
        ResourceId named{true, 0, u"MANIFEST"};
        tree.types[named][ResourceId::Number(1)][0].bytes = "<assembly/>";
        return true;
    }));
    ASSERT_TRUE(ReplaceIcon(target, scratch.Write("five.ico", FiveImageIcon())));
    ResourceTree tree;
    ASSERT_TRUE(ReadResources(ReadBytes(target), tree));
    // The new group comes first (id 200 was the only one), so 200 now holds the five images...
    EXPECT_EQ(ReadProgramResources(ReadBytes(target)).icon, ImagesOf(FiveImageIcon()));
    // ...and image 7 went with the group it belonged to; the named resource stays.
    EXPECT_EQ(tree.Type(ResourceTree::kIcon)->count(ResourceId::Number(7)), 0u);
    EXPECT_EQ(tree.types.begin()->first.name, u"MANIFEST");
    EXPECT_EQ(tree.types.begin()->second.begin()->second.at(0).bytes, "<assembly/>");

    // A second group's images stay when the first is replaced.
    ASSERT_TRUE(EditResources(target, [](ResourceTree& tree) {
        std::string group = std::string("\0\0\1\0\1\0", 6) + std::string(12, 'g');
        PutLe(group, 40, 2);
        tree.types[ResourceId::Number(ResourceTree::kGroupIcon)][ResourceId::Number(300)][0x409].bytes = group;
        tree.types[ResourceId::Number(ResourceTree::kIcon)][ResourceId::Number(40)][0x409].bytes = "kept";
        return true;
    }));
    ASSERT_TRUE(ReplaceIcon(target, scratch.Write("one.ico", IconFile({{16, 16, 16, "x"}}))));
    ASSERT_TRUE(ReadResources(ReadBytes(target), tree));
    EXPECT_EQ(tree.Type(ResourceTree::kIcon)->at(ResourceId::Number(40)).at(0x409).bytes, "kept");
    EXPECT_EQ(tree.Type(ResourceTree::kIcon)->size(), 2u);
}

TEST(ExecutableResources, UnreadableIconsAndUnsuitableTargetsChangeNothing) {
    ScratchFolder scratch;
    const std::string program = TestProgram("p");
    const std::string target = scratch.Write("p.exe", program);
    const std::string good = scratch.Write("good.ico", IconFile({{32, 32, 16, std::string(744, 'c')}}));
    std::string outside = IconFile({{32, 32, 16, std::string(744, 'c')}});
    SetLe(outside, 6 + 12, 5000, 4);
    const std::string cases[] = {
        IconFile({}),                                          // no image
        IconFile({{32, 32, 16, std::string(744, 'c')}}).substr(0, 300),  // image cut off
        outside,                                               // image offset past the end
        std::string("\0\0\2\0\1\0", 6) + std::string(16, '\0'),  // a cursor file
        "not an icon at all",
        "",
    };
    for (const std::string& bytes : cases) {
        EXPECT_FALSE(ReplaceIcon(target, scratch.Write("bad.ico", bytes)));
        EXPECT_EQ(ReadBytes(target), program);
    }
    EXPECT_FALSE(ReplaceIcon(target, scratch.File("absent.ico")));
    EXPECT_FALSE(ReplaceIcon(scratch.File("absent.exe"), good));

    // Data behind the sections (a container, symbols, a signature) would be lost: refused.
    const std::string appended = scratch.Write("appended.exe", program + "<KV_SEA>");
    EXPECT_FALSE(ReplaceIcon(appended, good));
    EXPECT_EQ(ReadBytes(appended), program + "<KV_SEA>");
    for (const std::string& bytes : {std::string("MZ") + std::string(5000, 'z'), std::string("MZ")}) {
        const std::string plain = scratch.Write("plain.exe", bytes);
        EXPECT_FALSE(ReplaceIcon(plain, good));
        EXPECT_FALSE(SetVersionInfo(plain, VersionTexts()));
        EXPECT_EQ(ReadBytes(plain), bytes);
    }
}

TEST(VersionResource, NumbersComeFromUpToFourNumbersOfTheVersionText) {
    using V = std::array<std::uint16_t, 4>;
    EXPECT_EQ(VersionNumbers("1.2.3"), (V{1, 2, 3, 0}));
    EXPECT_EQ(VersionNumbers(" 10.0.19041.1 "), (V{10, 0, 19041, 1}));
    EXPECT_EQ(VersionNumbers("7"), (V{7, 0, 0, 0}));
    EXPECT_EQ(VersionNumbers("65535.0"), (V{65535, 0, 0, 0}));
    for (const char* text : {"", "1.2.3.4.5", "1.2 beta", "v1.2", "1..2", "1.", ".1", "65536", "1.-2", "1,2"})
        EXPECT_EQ(VersionNumbers(text), (V{0, 0, 0, 0})) << text;
}

TEST(VersionResource, ReadsBackWithEveryTextAndTheNumbers) {
    ScratchFolder scratch;
    const std::string target = scratch.Write("p.exe", TestProgram("p"));
    VersionTexts texts;
    texts.productName = "Demo \xE2\x82\xAC Pro \xF0\x9F\x98\x80";  // the euro sign and an emoji
    texts.productVersion = "2.5.1";
    texts.companyName = "Example Ltd";
    texts.fileDescription = "Demo Setup";
    texts.copyright = "\xC2\xA9 2026 Example";
    ASSERT_TRUE(SetVersionInfo(target, texts));
    ASSERT_TRUE(SetVersionInfo(target, texts)) << "a second time replaces the first";
    ResourceTree tree;
    ASSERT_TRUE(ReadResources(ReadBytes(target), tree));
    ASSERT_EQ(tree.Type(ResourceTree::kVersion)->size(), 1u);
    const VersionInfoRead read = ReadProgramResources(ReadBytes(target)).version;
    ASSERT_TRUE(read.valid);
    EXPECT_EQ(read.fixed, (std::array<std::uint32_t, 4>{0x00020005, 0x00010000, 0x00020005, 0x00010000}));
    EXPECT_EQ(read.strings.at(u"ProductName"), u"Demo \u20AC Pro \U0001F600");
    EXPECT_EQ(read.strings.at(u"ProductVersion"), u"2.5.1");
    EXPECT_EQ(read.strings.at(u"FileVersion"), u"2.5.1.0");
    EXPECT_EQ(read.strings.at(u"CompanyName"), u"Example Ltd");
    EXPECT_EQ(read.strings.at(u"FileDescription"), u"Demo Setup");
    EXPECT_EQ(read.strings.at(u"LegalCopyright"), u"\u00A9 2026 Example");
    ExpectSoundLayout(ReadBytes(target));
}

// Where the installer programs are built (for Windows), the editing is tried on them as they are.
TEST(ExecutableResources, TheInstallerProgramsTakeIconAndVersion) {
    std::istringstream programs(QS_INSTALLER_PROGRAMS);
    ScratchFolder scratch;
    const std::string five = scratch.Write("five.ico", FiveImageIcon());
    for (std::string program; std::getline(programs, program, '|');) {
        SCOPED_TRACE(program);
        const std::string original = ReadBytes(program);
        ASSERT_FALSE(original.empty());
        EXPECT_EQ(ReadProgramResources(original).icon, ImagesOf(ReadBytes(JoinPath(QS_RESOURCES, "Quillset.ico"))));
        const std::string copy = scratch.Write("copy.exe", original);
        VersionTexts texts;
        texts.productName = "Demo";
        texts.productVersion = "1.2.3";
        ASSERT_TRUE(ReplaceIcon(copy, five));
        ASSERT_TRUE(SetVersionInfo(copy, texts));
        const std::string patched = ReadBytes(copy);
        const ProgramResources read = ReadProgramResources(patched);
        EXPECT_EQ(read.icon, ImagesOf(ReadBytes(five)));
        EXPECT_EQ(read.version.strings.at(u"ProductVersion"), u"1.2.3");
        EXPECT_EQ(DirectoryBytes(patched, 5), DirectoryBytes(original, 5));
        ExpectSoundLayout(patched);
    }
}

TEST(PeImageExports, TheExportTableListsTheLibrarysNamesAndNothingOutsideTheFile) {
    const std::string library = TestLibrary({"DllRegisterServer", "DllUnregisterServer"});
    PeImage pe;
    ASSERT_TRUE(pe.Parse(library));
    EXPECT_EQ(pe.ExportedNames(library), (std::vector<std::string>{"DllRegisterServer", "DllUnregisterServer"}));
    const std::string program = TestProgram("no exports");
    ASSERT_TRUE(pe.Parse(program));
    EXPECT_TRUE(pe.ExportedNames(program).empty());
    // A name list whose addresses point past the sections gives no names.
    std::string broken = library;
    SetLe(broken, 0x200 + 0x80 + 32, 0x7FFF0000, 4);
    ASSERT_TRUE(pe.Parse(broken));
    EXPECT_TRUE(pe.ExportedNames(broken).empty());
}
