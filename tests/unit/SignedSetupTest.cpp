// A signature appends a certificate table behind the container and changes two header fields;
// the stub must still find and accept the container, and refuse every other change.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "executable/PeImage.h"
#include "installer/Container.h"
#include "pipeline/ContainerWriter.h"

namespace {

// A stub as a build leaves it: the header fields that signing changes are zero.
std::string UnsignedStub() {
    std::string stub = TestProgram("stub");
    PeImage image;
    image.Parse(stub);
    SetLe(stub, image.ChecksumField(), 0, 4);
    return stub;
}

// What a signing tool does: zeros up to an 8-byte boundary, the certificate table, and the two
// header fields pointing at it.
std::string Signed(std::string setup, const std::string& certificates = "certificate table bytes!") {
    PeImage image;
    image.Parse(setup);
    setup.resize((setup.size() + 7) / 8 * 8, '\0');
    SetLe(setup, image.DirectoryEntry(PeImage::kCertificateDirectory), static_cast<std::uint32_t>(setup.size()), 4);
    SetLe(setup, image.DirectoryEntry(PeImage::kCertificateDirectory) + 4, static_cast<std::uint32_t>(certificates.size()), 4);
    SetLe(setup, image.ChecksumField(), 0x5A5A1234, 4);
    return setup + certificates;
}

// Opens `bytes` as a setup with a reader of its own (a reader keeps its file open).
ContainerStatus Open(ScratchFolder& scratch, const std::string& bytes) {
    ContainerReader reader;
    return reader.Open(scratch.Write("setup" + std::to_string(bytes.size()) + ".exe", bytes));
}

const std::vector<TestEntry> kEntries = {{"setup.ini", "[SETUP_INFO]\r\n"}, {"setup.exe", "installer bytes!"}};

}  // namespace

TEST(SignedSetup, TheStubFindsTheContainerBeforeTheCertificatesAndExtractsIt) {
    ScratchFolder scratch;
    const std::string setup = MakeTestContainer(UnsignedStub(), kEntries, "setup.exe");
    ASSERT_NE(setup.size() % 8, 0u) << "the signature must need padding for this test";
    ContainerReader reader;
    ASSERT_EQ(reader.Open(scratch.Write("unsigned.exe", setup)), ContainerStatus::Ok) << reader.Problem();
    ASSERT_EQ(reader.Open(scratch.Write("signed.exe", Signed(setup))), ContainerStatus::Ok) << reader.Problem();
    ASSERT_EQ(reader.Entries().size(), 2u);
    ASSERT_TRUE(reader.Extract(reader.Entries()[1], scratch.File("setup.exe")));
    EXPECT_EQ(ReadBytes(scratch.File("setup.exe")), "installer bytes!");
    EXPECT_EQ(reader.Command(kRunCommandId), "setup.exe");

    // The checksum leaves out exactly what signing changed.
    std::string zeroed = setup;
    zeroed.replace(setup.size() - 16, 4, std::string(4, '\0'));
    EXPECT_EQ(FileChecksum(scratch.Write("a.exe", zeroed)), FileChecksum(scratch.Write("b.exe", Signed(zeroed))));
    EXPECT_EQ(FileChecksum(scratch.Write("a.exe", zeroed)), GetLe(setup, setup.size() - 16, 4));
}

TEST(SignedSetup, EveryOtherChangedByteIsRefused) {
    ScratchFolder scratch;
    const std::string setup = MakeTestContainer(UnsignedStub(), kEntries, "setup.exe");
    const std::string signedSetup = Signed(setup);
    // Every byte of the stub and the container, changed in the signed setup.
    for (std::size_t i = 0; i < setup.size(); i += (i < 0x800 ? 37 : 1)) {
        PeImage image;
        image.Parse(setup);
        const std::size_t entry = image.DirectoryEntry(PeImage::kCertificateDirectory);
        if ((i >= image.ChecksumField() && i < image.ChecksumField() + 4) || (i >= entry && i < entry + 8)) continue;
        std::string bad = signedSetup;
        bad[i] = static_cast<char>(bad[i] ^ 0x01);
        EXPECT_NE(Open(scratch, bad), ContainerStatus::Ok) << "byte " << i;
    }
    // Data behind the certificate table, or a certificate table that does not end the file.
    EXPECT_EQ(Open(scratch, signedSetup + "x"), ContainerStatus::Damaged);
    // An unsigned setup is checked over every byte, the header fields included.
    std::string unsignedChecksum = setup;
    PeImage image;
    image.Parse(setup);
    SetLe(unsignedChecksum, image.ChecksumField(), 0x1234, 4);
    EXPECT_EQ(Open(scratch, unsignedChecksum), ContainerStatus::Damaged);
    EXPECT_EQ(Open(scratch, setup), ContainerStatus::Ok);
}
