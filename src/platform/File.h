#pragma once
// One operating-system file handle with the builder's open modes.
// Every open shares the file for reading only; every failure is reported by the result.
#include <cstdint>
#include <string>

#include "platform/FileSystem.h"

enum OpenMode {
    ReadExisting = 0,       // read; the file must exist
    ReadWriteExisting = 1,  // read and write; the file must exist
    WriteExisting = 2,      // write; the file must exist and keeps its contents
    CreateWrite = 3,        // write; created, or emptied when it exists
    CreateNew = 4,          // write; created, failing when it exists
    CreateMovable = 5,      // write; created, or emptied when it exists; MoveTo may rename it open
};

class File {
public:
    File() = default;
    File(const std::string& folder, const std::string& name, int mode) { Open(folder, name, mode); }
    ~File() { Close(); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Closes what was open, then opens; an unknown mode opens nothing.
    bool Open(const std::string& path, int mode);
    // `folder`, a "\" where needed, then `name`; either may be empty.
    bool Open(const std::string& folder, const std::string& name, int mode);
    // The system's result, or -1 when nothing was open.
    int Close();
    bool IsOpen() const { return handle_ != platform::kInvalidHandle; }

    // The size's low 32 bits; false with 0 when closed or unreadable.
    bool GetSize(std::uint32_t& size) const;
    bool GetSize64(std::uint64_t& size) const;
    // True only when exactly `count` bytes moved.
    bool Read(void* buffer, std::uint32_t count, std::uint32_t& done);
    bool Write(const void* buffer, std::uint32_t count, std::uint32_t& done);
    bool Tell(std::int64_t& position) const;
    // origin: 0 start, 1 current, 2 end; anything else fails without moving.
    bool Seek(std::int64_t distance, int origin);
    // `text` followed by CR LF in one write, exactly as given.
    bool WriteLine(const std::string& text);
    // The last-write time, in local time, that the file keeps when it is closed.
    bool SetLocalWriteTime(const platform::LocalTime& time);
    // Renames the file, still open (CreateMovable), to `path`, never over a file that is there:
    // false when not moved, with `exists` telling whether that was why.
    bool MoveTo(const std::string& path, bool& exists);

private:
    platform::FileHandle handle_ = platform::kInvalidHandle;
    std::string path_;
};

// Copies a file's bytes into a destination created or emptied for it.
// True only when both files opened and every byte of the source was written.
bool CopyFileContents(const std::string& source, const std::string& destination);

// A whole file in memory (up to 2 GiB), and a file created or emptied to hold `bytes`.
bool ReadFileBytes(const std::string& path, std::string& bytes);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

bool RemoveFile(const std::string& path);

// Why a file cannot be read, in the system's words: the reason its opening or the reading of its
// first bytes failed; empty when it can be read.
std::string ReadProblem(const std::string& path);

// Creates a folder together with every missing folder above it. True when the path is a folder
// afterwards; otherwise `error` holds the system's code for the level that could not be made.
bool MakeFolderPath(const std::string& path, int& error);

// The size of a file as the builder shows it (FormatFileSize); false with an empty text when
// the file cannot be opened or measured.
bool FileSizeText(const std::string& path, std::string& text);
