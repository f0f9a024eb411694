#include "installer/Container.h"

#include <algorithm>

#include "core/Text.h"
#include "executable/SetupChecksum.h"

namespace {

constexpr char kMagic[] = "<KV_SEA>";
constexpr std::uint32_t kMagicSize = 8;
constexpr std::uint32_t kMaxEntries = 1024;
constexpr std::uint32_t kMaxCommands = 256;
constexpr std::uint32_t kMaxNameLength = 260;
constexpr std::uint32_t kChecksumSize = 4;
// The largest tables a builder can write: trailer, checksum, the full command table and the
// full directory. Reading this much of the tail gives the whole table area in one read.
constexpr std::uint64_t kMaxTableBytes = kMagicSize + 4 + kChecksumSize + 4 +
                                         kMaxCommands * (8 + kMaxNameLength) + 4 +
                                         kMaxEntries * (12 + kMaxNameLength);

// Reads the table area backwards from its end; every read is checked against the start.
class BackwardReader {
public:
    BackwardReader(const std::string& bytes) : bytes_(bytes), pos_(bytes.size()) {}
    bool U32(std::uint32_t& value) {
        if (pos_ < 4) return false;
        pos_ -= 4;
        const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data() + pos_);
        value = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
        return true;
    }
    bool Bytes(std::uint32_t count, std::string& out) {
        if (pos_ < count) return false;
        pos_ -= count;
        out.assign(bytes_, pos_, count);
        return true;
    }
    size_t Position() const { return pos_; }

private:
    const std::string& bytes_;
    size_t pos_;
};

}  // namespace

bool IsSafeEntryName(const std::string& name) { return IsStoredAsSpelt(name); }

ContainerStatus ContainerReader::Fail(ContainerStatus status, const std::string& problem) {
    problem_ = problem;
    entries_.clear();
    commands_.clear();
    return status;
}

ContainerStatus ContainerReader::Open(const std::string& path) {
    entries_.clear();
    commands_.clear();
    problem_.clear();
    if (!file_.Open(path, ReadExisting) || !file_.GetSize64(size_))
        return Fail(ContainerStatus::Unreadable, "The file cannot be read.");
    // A signed setup carries its certificate table behind the container.
    if (!LocateSetup(file_, size_, layout_))
        return Fail(ContainerStatus::Damaged, "The package is damaged: its signature is not at its end.");
    const std::uint64_t end = layout_.containerEnd;
    if (end < kMagicSize) return Fail(ContainerStatus::NoContainer, "The file holds no package.");
    std::uint64_t tailSize = std::min(end, kMaxTableBytes);
    std::string tail(static_cast<size_t>(tailSize), '\0');
    std::uint32_t done = 0;
    if (!file_.Seek(static_cast<std::int64_t>(end - tailSize), 0) ||
        !file_.Read(&tail[0], static_cast<std::uint32_t>(tailSize), done))
        return Fail(ContainerStatus::Unreadable, "The file cannot be read.");
    if (tail.compare(tail.size() - kMagicSize, kMagicSize, kMagic) != 0)
        return Fail(ContainerStatus::NoContainer, "The file holds no package.");
    tail.resize(tail.size() - kMagicSize);
    return ReadTables(tail, end - tailSize);
}

ContainerStatus ContainerReader::ReadTables(const std::string& tail, std::uint64_t tailStart) {
    const std::string cut = "The package is damaged or incomplete: ";
    BackwardReader in(tail);
    std::uint32_t reservedSize = 0, checksum = 0, commandCount = 0, entryCount = 0;
    if (!in.U32(reservedSize) || reservedSize != kChecksumSize || !in.U32(checksum))
        return Fail(ContainerStatus::Damaged, cut + "no checksum.");
    std::uint64_t checksumPosition = tailStart + in.Position();
    if (!in.U32(commandCount) || commandCount > kMaxCommands)
        return Fail(ContainerStatus::Damaged, cut + "bad command table.");
    for (std::uint32_t i = 0; i < commandCount; ++i) {
        ContainerCommand command;
        std::uint32_t length = 0;
        if (!in.U32(command.id) || !in.U32(length) || length > kMaxNameLength ||
            !in.Bytes(length, command.name))
            return Fail(ContainerStatus::Damaged, cut + "bad command table.");
        commands_.push_back(command);
    }
    if (!in.U32(entryCount) || entryCount == 0 || entryCount > kMaxEntries)
        return Fail(ContainerStatus::Damaged, cut + "bad directory.");
    for (std::uint32_t i = 0; i < entryCount; ++i) {
        ContainerEntry entry;
        std::uint32_t length = 0;
        if (!in.U32(length) || length > kMaxNameLength || !in.Bytes(length, entry.name) ||
            !in.U32(entry.size) || !in.U32(entry.offset))
            return Fail(ContainerStatus::Damaged, cut + "bad directory.");
        if (!IsSafeEntryName(entry.name))
            return Fail(ContainerStatus::Damaged, "The package holds an unsafe file name: " + entry.name);
        entries_.push_back(entry);
    }
    // Both tables were read from their last element; give them back in the order written.
    std::reverse(entries_.begin(), entries_.end());
    std::reverse(commands_.begin(), commands_.end());
    std::uint64_t dataEnd = tailStart + in.Position();
    for (const ContainerEntry& e : entries_)
        if (std::uint64_t(e.offset) + e.size > dataEnd)
            return Fail(ContainerStatus::Damaged, cut + e.name + " lies outside the file.");
    // Unsigned, the header fields that signing changes are zeros like every other checked byte.
    if ((!layout_.isSigned && !HeaderFieldsAreZero(file_, layout_)) || !VerifyChecksum(checksumPosition, checksum))
        return Fail(ContainerStatus::Damaged, cut + "the checksum does not match.");
    return ContainerStatus::Ok;
}

bool ContainerReader::VerifyChecksum(std::uint64_t checksumPosition, std::uint32_t stored) {
    std::uint32_t crc = 0;
    return SetupChecksum(file_, layout_, checksumPosition, crc) && crc == stored;
}

std::string ContainerReader::Command(std::uint32_t id) const {
    for (const ContainerCommand& c : commands_)
        if (c.id == id) return c.name;
    return std::string();
}

bool ContainerReader::Extract(const ContainerEntry& entry, const std::string& targetPath) {
    File target;
    if (!target.Open(targetPath, CreateWrite) || !file_.Seek(entry.offset, 0)) return false;
    std::vector<unsigned char> block(1 << 16);
    for (std::uint32_t left = entry.size; left > 0;) {
        std::uint32_t count = std::min<std::uint32_t>(static_cast<std::uint32_t>(block.size()), left);
        std::uint32_t done = 0;
        if (!file_.Read(block.data(), count, done) || !target.Write(block.data(), count, done))
            return false;
        left -= count;
    }
    return target.Close() > 0;
}

bool ContainerReader::Matches(const ContainerEntry& entry, const std::string& path) {
    File extracted;
    std::uint64_t size = 0;
    if (!extracted.Open(path, ReadExisting) || !extracted.GetSize64(size) || size != entry.size ||
        !file_.Seek(entry.offset, 0))
        return false;
    std::vector<unsigned char> expected(1 << 16), found(1 << 16);
    for (std::uint32_t left = entry.size; left > 0;) {
        std::uint32_t count = std::min<std::uint32_t>(static_cast<std::uint32_t>(expected.size()), left);
        std::uint32_t done = 0;
        if (!file_.Read(expected.data(), count, done) || !extracted.Read(found.data(), count, done) ||
            !std::equal(expected.begin(), expected.begin() + count, found.begin()))
            return false;
        left -= count;
    }
    return true;
}
