#pragma once
// Reading the self-extracting container that follows the stub in one executable: the trailer
// "<KV_SEA>" at the container's end (the file's end, or the start of the certificate table of a
// signed setup), the tables read backwards from there, the checksum (executable/SetupChecksum.h),
// and the extraction of single entries by offset and size.
#include <cstdint>
#include <string>
#include <vector>

#include "executable/SetupChecksum.h"
#include "platform/File.h"

struct ContainerEntry {
    std::string name;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};

struct ContainerCommand {
    std::uint32_t id = 0;
    std::string name;
};

enum class ContainerStatus {
    Ok,
    Unreadable,   // the file cannot be opened or read
    NoContainer,  // no trailer: nothing was appended to this file
    Damaged,      // a table, a name or the checksum is wrong, or the file is cut short
};

// The command whose file the stub runs after extraction.
constexpr std::uint32_t kRunCommandId = 1000;

class ContainerReader {
public:
    // Reads and checks the whole container: every length and offset against the file's bounds,
    // every entry name (see IsSafeEntryName) and the checksum. Nothing is extracted.
    ContainerStatus Open(const std::string& path);

    const std::vector<ContainerEntry>& Entries() const { return entries_; }
    // The name of the command `id`, empty when there is none.
    std::string Command(std::uint32_t id) const;
    // What is wrong with the file after a failed Open, for the message to the user.
    const std::string& Problem() const { return problem_; }

    // Copies the bytes of `entry` into `targetPath` (created or emptied).
    bool Extract(const ContainerEntry& entry, const std::string& targetPath);
    // Whether the file at `path` holds exactly the bytes of `entry`: an extracted file checked
    // again once nobody else can change it any more.
    bool Matches(const ContainerEntry& entry, const std::string& path);

private:
    ContainerStatus Fail(ContainerStatus status, const std::string& problem);
    ContainerStatus ReadTables(const std::string& tail, std::uint64_t tailStart);
    bool VerifyChecksum(std::uint64_t checksumPosition, std::uint32_t stored);

    File file_;
    std::uint64_t size_ = 0;
    SetupLayout layout_;
    std::vector<ContainerEntry> entries_;
    std::vector<ContainerCommand> commands_;
    std::string problem_;
};

// A name that can only land inside the extraction folder, as the file it names: a plain name
// that Windows keeps as spelt (IsStoredAsSpelt), so no separator, colon, device name or
// trailing dot ("setup.exe." would replace setup.exe).
bool IsSafeEntryName(const std::string& name);
