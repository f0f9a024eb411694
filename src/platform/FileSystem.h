#pragma once
// The operating system's file services, one thin wrapper per system call.
// (The names differ from the system's own where those are macros in the Windows headers.)
// Paths are byte strings in the system's own form ("C:\Folder\Name.ext"); the POSIX
// implementation turns "\" into "/" and maps a leading "Z:\" to "/" (Wine's drive for the root).
#include <cstdint>
#include <string>

namespace platform {

// An open file; kInvalidHandle when nothing is open.
using FileHandle = std::intptr_t;
constexpr FileHandle kInvalidHandle = -1;

// WriteMovable writes too, and lets MoveOpenFile rename the file while it is open.
enum class Access { Read, ReadWrite, Write, WriteMovable };
// CreateNew fails when the file is already there.
enum class Disposition { OpenExisting, CreateAlways, CreateNew };

// Opens with read sharing (others may read, nobody else may write) and normal attributes.
FileHandle OpenFileHandle(const std::string& path, Access access, Disposition disposition);
int CloseFileHandle(FileHandle handle);
bool GetFileHandleSize(FileHandle handle, std::uint64_t& size);
bool ReadFileHandle(FileHandle handle, void* buffer, std::uint32_t count, std::uint32_t& done);
bool WriteFileHandle(FileHandle handle, const void* buffer, std::uint32_t count, std::uint32_t& done);
// origin: 0 from the start, 1 from the current position, 2 from the end.
bool SeekFileHandle(FileHandle handle, std::int64_t distance, int origin, std::int64_t& position);
// Renames the file open as `handle` (opened WriteMovable from `from`) to `to`, never replacing
// what is there: false, with `exists` telling whether that was why, when it could not be moved.
// Renaming through the open file spares the system opening it once more.
bool MoveOpenFile(FileHandle handle, const std::string& from, const std::string& to, bool& exists);

bool DeleteFileAt(const std::string& path);
// Copies a file, replacing the destination when it exists.
bool CopyFileTo(const std::string& source, const std::string& destination);
// Gives the file only the archive attribute, which clears a read-only mark copied from a source.
bool SetArchiveAttribute(const std::string& path);
// Replaces `destination` by `source` in one step (the source name disappears).
bool MoveFileReplacing(const std::string& source, const std::string& destination);
bool IsFile(const std::string& path);
bool IsFolder(const std::string& path);
bool MakeFolder(const std::string& path);
// Removes an empty folder.
bool RemoveFolder(const std::string& path);
// Creates a new folder, private to this process, inside `parent` (a folder without a trailing
// separator), its name beginning with `prefix`; its path, or empty when none could be made.
std::string MakeUniqueFolder(const std::string& parent, const std::string& prefix);

// Last-write time of a file in local time.
struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
bool GetFileLocalWriteTime(const std::string& path, LocalTime& time);
// Sets an open file's last-write time, given in local time; it stays when the file is closed.
bool SetFileHandleLocalWriteTime(FileHandle handle, const LocalTime& time);

// The temporary folder and the running program's folder, without a trailing separator.
std::string TempFolder();
std::string ModuleFolder();

// The system's code for the last failed call of this thread.
int LastError();
// Sets that code to 0, so that a failure which the system did not explain is not given the
// reason of an older one.
void ClearLastError();
// The system's own words for an error code of LastError ("No such file or directory", "Access
// is denied"), without a closing full stop or line end.
std::string ErrorText(int code);

// The path in the form the system's own calls take (identity on Windows).
std::string NativePath(const std::string& path);
// A path given by the host (a command-line argument) in the system's own form: on POSIX every
// "/" becomes "\" and a path from the root goes below "Z:\"; one that is in the system's form
// already ("Z:\tmp", "\tmp") stays so (identity on Windows).
std::string SystemPath(const std::string& hostPath);
// The same, made absolute against the process's current folder when it is relative (neither
// from the root nor with a drive).
std::string FullSystemPath(const std::string& hostPath);

}  // namespace platform
