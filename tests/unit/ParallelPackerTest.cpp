#include <gtest/gtest.h>

#include <random>

#include "BuildTestSupport.h"
#include "TestSupport.h"
#include "installer/ArchiveReader.h"
#include "pipeline/DeflateCompressor.h"
#include "pipeline/ParallelPacker.h"
#include "pipeline/ProductArchive.h"
#include "pipeline/ZstdCompressor.h"
#include "package/ZipRecords.h"

namespace {

std::string Text(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string bytes;
    while (bytes.size() < n) bytes += "entry " + std::to_string(rng() % 500) + " = value\r\n";
    bytes.resize(n);
    return bytes;
}

std::string Noise(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string bytes(n, '\0');
    for (char& c : bytes) c = static_cast<char>(rng());
    return bytes;
}

// A mix of product files: text, incompressible, empty, one missing, one bigger than `big`.
struct Product {
    std::vector<std::string> sources;
    std::vector<std::string> contents;  // empty for the missing file
};

Product MakeProduct(ScratchFolder& scratch, std::size_t big) {
    Product p;
    for (int i = 0; i < 24; ++i) {
        std::string bytes = i % 3 == 0 ? Noise(3000 + 997 * i, i) : Text(5000 + 1500 * i, i);
        if (i == 5) bytes.clear();
        if (i == 11) bytes = Text(big, 99);
        const std::string name = "f" + std::to_string(i) + ".bin";
        p.sources.push_back(i == 17 ? scratch.File("missing.bin") : scratch.Write(name, bytes));
        p.contents.push_back(i == 17 ? std::string() : bytes);
    }
    return p;
}

// Packs `product` into an archive the way the build does; returns the archive's bytes.
std::string PackIntoArchive(ScratchFolder& scratch, const Product& product, unsigned threads, PackingLimits limits,
                            std::vector<PackedFile::State>* states = nullptr,
                            EntryMethod method = EntryMethod::Deflated) {
    const std::string path = scratch.File("packed.zip");
    ProductArchive archive;
    EXPECT_TRUE(archive.Open(path));
    ParallelPacker packer(product.sources, method, threads, limits);
    PackedFile file;
    for (std::size_t i = 0; packer.Next(file); ++i) {
        if (states) states->push_back(file.state);
        const std::string name = "AppDir\\f" + std::to_string(i);
        if (file.state == PackedFile::State::Streamed)
            archive.AddFile(product.sources[i], name, method);
        else
            archive.AddPacked(product.sources[i], name, file);
    }
    EXPECT_LE(packer.PeakHeld(), limits.budget);
    EXPECT_TRUE(archive.Close());
    return ReadBytes(path);
}

}  // namespace

TEST(ParallelPacker, HandsBackEveryFileInOrderAndTheArchiveReadsBackIntact) {
    ScratchFolder scratch;
    const Product product = MakeProduct(scratch, 300000);
    PackingLimits limits;
    limits.budget = 200000;  // a few files at a time
    limits.holdLimit = 100000;
    std::vector<PackedFile::State> states;
    PackIntoArchive(scratch, product, 3, limits, &states);

    ASSERT_EQ(states.size(), product.sources.size());
    EXPECT_EQ(states[11], PackedFile::State::Streamed);
    EXPECT_EQ(states[17], PackedFile::State::Failed);
    const std::vector<ZipEntry> entries = ReadZip(scratch.File("packed.zip"));
    ASSERT_EQ(entries.size(), product.sources.size() - 1);  // the missing file left no entry
    for (std::size_t e = 0, i = 0; i < product.sources.size(); ++i) {
        if (i == 17) continue;
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[e].name, "AppDir\\f" + std::to_string(i));
        EXPECT_EQ(entries[e].method, 8);
        EXPECT_TRUE(entries[e].intact);
        EXPECT_EQ(entries[e].data, product.contents[i]);
        ++e;
    }
}

TEST(ParallelPacker, TheArchiveIsTheSameWhateverTheThreadsAndTheBudget) {
    ScratchFolder scratch;
    const Product product = MakeProduct(scratch, 60000);
    const std::string one = PackIntoArchive(scratch, product, 1, PackingLimits());
    PackingLimits tight;
    tight.budget = 30000;  // less than one file's buffers: one file at a time, granted when nothing is held
    tight.holdLimit = 80000;
    for (unsigned threads : {2u, 4u}) {
        EXPECT_EQ(PackIntoArchive(scratch, product, threads, PackingLimits()), one) << threads;
        const std::string path = scratch.File("tight.zip");
        ProductArchive archive;
        archive.Open(path);
        ParallelPacker packer(product.sources, EntryMethod::Deflated, threads, tight);
        PackedFile file;
        for (std::size_t i = 0; packer.Next(file); ++i)
            archive.AddPacked(product.sources[i], "AppDir\\f" + std::to_string(i), file);
        archive.Close();
        EXPECT_EQ(ReadBytes(path), one) << threads;
    }
}

TEST(ParallelPacker, StoresWhenAskedAndStopsEarlyWhenDroppedMidway) {
    ScratchFolder scratch;
    const std::string text = Text(40000, 1);
    const std::string source = scratch.Write("a.txt", text);
    {
        ParallelPacker packer({source, source}, EntryMethod::Stored, 2);
        PackedFile file;
        ASSERT_TRUE(packer.Next(file));
        EXPECT_EQ(file.state, PackedFile::State::Packed);
        EXPECT_EQ(file.method, EntryMethod::Stored);
        EXPECT_EQ(std::string(file.data.begin(), file.data.end()), text);
        EXPECT_EQ(file.size, text.size());
    }
    // A cancelled build drops the packer with most files still ahead: the workers, some waiting
    // for their turn, must end rather than wait for ever.
    std::vector<std::string> many(200, source);
    PackingLimits tight;
    tight.budget = 1;
    ParallelPacker packer(many, EntryMethod::Deflated, 4, tight);
    PackedFile file;
    ASSERT_TRUE(packer.Next(file));
    EXPECT_EQ(file.method, EntryMethod::Deflated);
    EXPECT_LT(file.data.size(), text.size());
}

// A small setup: text is packed with zstd, whole or streamed, what does not compress (noise, an
// empty file) is stored; the installer's reader gets every file back, and the archive's bytes
// do not depend on the threads.
TEST(ParallelPacker, SmallSetupsPackWithZstdTheSameWhateverTheThreadsAndReadBackIntact) {
    ScratchFolder scratch;
    const Product product = MakeProduct(scratch, 300000);
    PackingLimits limits;
    limits.budget = 200000;
    limits.holdLimit = 100000;
    std::vector<PackedFile::State> states;
    const std::string one = PackIntoArchive(scratch, product, 1, limits, &states, EntryMethod::Zstd);
    EXPECT_EQ(states[11], PackedFile::State::Streamed);
    for (unsigned threads : {2u, 4u})
        EXPECT_EQ(PackIntoArchive(scratch, product, threads, limits, nullptr, EntryMethod::Zstd), one) << threads;
    const std::string deflated = PackIntoArchive(scratch, product, 2, limits);
    EXPECT_LT(one.size(), deflated.size());

    scratch.Write("small.zip", one);
    ArchiveReader reader;
    ASSERT_TRUE(reader.Open(scratch.File("small.zip")));
    for (std::size_t i = 0; i < product.sources.size(); ++i) {
        SCOPED_TRACE(i);
        const std::string name = "AppDir\\f" + std::to_string(i);
        ArchiveEntry entry;
        ASSERT_EQ(reader.Find(name, entry), i != 17);
        if (i == 17) continue;
        const bool stored = i % 3 == 0 || i == 5;  // noise, and the empty file
        EXPECT_EQ(entry.method, stored ? 0 : 93);
        ASSERT_EQ(reader.Extract(name, scratch.File("out"), nullptr, entry), ExtractStatus::Ok);
        EXPECT_EQ(ReadBytes(scratch.File("out")), product.contents[i]);
    }
}

// Small files that share their words are packed with a dictionary learnt from them, stored as an
// entry of its own: the archive shrinks, the same files give the same dictionary, and the reader
// decodes every file with it; without that entry it refuses them as damaged rather than guess.
TEST(ParallelPacker, SmallFilesShareADictionaryThatTheReaderFindsInTheArchive) {
    ScratchFolder scratch;
    std::mt19937 rng(7);
    std::vector<std::string> words(300);
    for (std::string& word : words)
        for (std::size_t n = 5 + rng() % 5; word.size() < n;) word += static_cast<char>('a' + rng() % 26);
    std::vector<std::string> sources, contents;
    for (int i = 0; i < 400; ++i) {
        std::string text;
        while (text.size() < 1000 + 3u * i) text += words[rng() % words.size()] + (rng() % 9 ? " " : ".\r\n");
        contents.push_back(text);
        sources.push_back(scratch.Write("s" + std::to_string(i) + ".txt", text));
    }
    EXPECT_TRUE(ZstdDictionary(std::vector<std::string>(sources.begin(), sources.begin() + 3)).Empty());  // too little
    const ZstdDictionary dictionary(sources);
    ASSERT_FALSE(dictionary.Empty());
    EXPECT_EQ(ZstdDictionary(sources).Bytes(), dictionary.Bytes());

    auto pack = [&](const std::string& name, const ZstdDictionary* shared) {
        ProductArchive archive;
        EXPECT_TRUE(archive.Open(scratch.File(name)));
        if (shared) {
            PackedFile stored;
            stored.state = PackedFile::State::Packed;
            stored.data.assign(shared->Bytes().begin(), shared->Bytes().end());
            stored.size = stored.data.size();
            stored.crc = Crc32(0, stored.data.data(), stored.data.size());
            EXPECT_TRUE(archive.AddPacked(std::string(), kZstdDictionaryEntry, stored));
        }
        ParallelPacker packer(sources, EntryCompression(EntryMethod::Zstd, shared), 2);
        PackedFile file;
        for (std::size_t i = 0; packer.Next(file); ++i)
            EXPECT_TRUE(archive.AddPacked(sources[i], "AppDir\\s" + std::to_string(i), file));
        EXPECT_TRUE(archive.Close());
        return ReadBytes(scratch.File(name));
    };
    const std::string with = pack("with.zip", &dictionary);
    EXPECT_LT(with.size(), pack("without.zip", nullptr).size());

    ArchiveReader reader;
    ASSERT_TRUE(reader.Open(scratch.File("with.zip")));
    ArchiveEntry entry;
    for (std::size_t i = 0; i < sources.size(); i += 37) {
        const std::string name = "AppDir\\s" + std::to_string(i);
        ASSERT_EQ(reader.Extract(name, scratch.File("out"), nullptr, entry), ExtractStatus::Ok) << name;
        EXPECT_EQ(ReadBytes(scratch.File("out")), contents[i]) << name;
    }
    // The same archive with the dictionary's entry renamed: its frames name a dictionary that
    // is not there.
    std::string renamed = with;
    for (std::size_t at = renamed.find(kZstdDictionaryEntry); at != std::string::npos; at = renamed.find(kZstdDictionaryEntry))
        renamed[at] = 'q';
    scratch.Write("renamed.zip", renamed);
    ASSERT_TRUE(reader.Open(scratch.File("renamed.zip")));
    EXPECT_EQ(reader.Extract("AppDir\\s1", scratch.File("out"), nullptr, entry), ExtractStatus::Damaged);
}
