#include "platform/File.h"

#include <vector>

#include "core/Path.h"
#include "core/Text.h"

using namespace platform;

bool File::Open(const std::string& path, int mode) {
    Close();
    switch (mode) {
        case ReadExisting: handle_ = OpenFileHandle(path, Access::Read, Disposition::OpenExisting); break;
        case ReadWriteExisting: handle_ = OpenFileHandle(path, Access::ReadWrite, Disposition::OpenExisting); break;
        case WriteExisting: handle_ = OpenFileHandle(path, Access::Write, Disposition::OpenExisting); break;
        case CreateWrite: handle_ = OpenFileHandle(path, Access::Write, Disposition::CreateAlways); break;
        case CreateNew: handle_ = OpenFileHandle(path, Access::Write, Disposition::CreateNew); break;
        case CreateMovable: handle_ = OpenFileHandle(path, Access::WriteMovable, Disposition::CreateAlways); break;
        default: return false;
    }
    path_ = path;
    return IsOpen();
}

bool File::Open(const std::string& folder, const std::string& name, int mode) {
    return Open(JoinPath(folder, name), mode);
}

int File::Close() {
    if (!IsOpen()) return -1;
    int result = CloseFileHandle(handle_);
    handle_ = kInvalidHandle;
    return result;
}

bool File::GetSize64(std::uint64_t& size) const {
    size = 0;
    if (!IsOpen() || !GetFileHandleSize(handle_, size)) {
        size = 0;
        return false;
    }
    return true;
}

bool File::GetSize(std::uint32_t& size) const {
    std::uint64_t full = 0;
    bool ok = GetSize64(full);
    size = static_cast<std::uint32_t>(full);
    return ok;
}

bool File::Read(void* buffer, std::uint32_t count, std::uint32_t& done) {
    done = 0;
    if (!IsOpen()) return false;
    return ReadFileHandle(handle_, buffer, count, done) && done == count;
}

bool File::Write(const void* buffer, std::uint32_t count, std::uint32_t& done) {
    done = 0;
    if (!IsOpen()) return false;
    return WriteFileHandle(handle_, buffer, count, done) && done == count;
}

bool File::Tell(std::int64_t& position) const {
    position = 0;
    return IsOpen() && SeekFileHandle(handle_, 0, 1, position);
}

bool File::Seek(std::int64_t distance, int origin) {
    if (!IsOpen() || origin < 0 || origin > 2) return false;
    std::int64_t position = 0;
    return SeekFileHandle(handle_, distance, origin, position);
}

bool File::SetLocalWriteTime(const platform::LocalTime& time) {
    return IsOpen() && SetFileHandleLocalWriteTime(handle_, time);
}

bool File::MoveTo(const std::string& path, bool& exists) {
    exists = false;
    if (!IsOpen() || !MoveOpenFile(handle_, path_, path, exists)) return false;
    path_ = path;
    return true;
}

bool File::WriteLine(const std::string& text) {
    std::string line = text + "\r\n";
    std::uint32_t done = 0;
    return Write(line.data(), static_cast<std::uint32_t>(line.size()), done);
}

bool CopyFileContents(const std::string& source, const std::string& destination) {
    File in;
    if (!in.Open(source, ReadExisting)) return false;
    File out;
    if (!out.Open(destination, CreateWrite)) return false;
    std::uint64_t size = 0;
    if (!in.GetSize64(size)) return false;
    std::vector<char> buffer(4096);
    std::uint64_t copied = 0;
    while (copied < size) {
        std::uint32_t got = 0, put = 0;
        in.Read(buffer.data(), static_cast<std::uint32_t>(buffer.size()), got);
        if (got == 0) break;
        if (!out.Write(buffer.data(), got, put)) return false;
        copied += got;
    }
    if (copied != size) return false;
    return out.Close() != 0;
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    File file;
    std::uint64_t size = 0;
    if (!file.Open(path, ReadExisting) || !file.GetSize64(size) || size > 0x7FFFFFFFu) return false;
    bytes.resize(static_cast<std::size_t>(size));
    std::uint32_t done = 0;
    return size == 0 || file.Read(&bytes[0], static_cast<std::uint32_t>(size), done);
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    File file;
    std::uint32_t done = 0;
    if (!file.Open(path, CreateWrite)) return false;
    if (!bytes.empty() && !file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), done)) return false;
    return file.Close() != 0;
}

bool RemoveFile(const std::string& path) { return DeleteFileAt(path); }

std::string ReadProblem(const std::string& path) {
    ClearLastError();
    File file;
    char first[512];
    std::uint32_t got = 0;
    if (!file.Open(path, ReadExisting) || !file.Read(first, sizeof first, got)) {
        // A short read is the end of a small file, not a failure.
        if (!file.IsOpen() || LastError() != 0) return ErrorText(LastError());
    }
    return std::string();
}

bool MakeFolderPath(const std::string& path, int& error) {
    error = 0;
    const std::string folder = TrimTrailingBackslashes(path);
    if (folder.empty() || IsFolder(folder)) return !folder.empty();
    std::string parent = FolderOf(folder);
    // A drive alone ("C:") names its current folder: the root is meant.
    if (parent.size() == 2 && parent[1] == ':') parent += '\\';
    // A file in the parent's place is left for the system to name in its reason.
    const bool parentMissing = !parent.empty() && parent != folder && !IsFolder(parent) && !IsFile(parent);
    if (parentMissing && !MakeFolderPath(parent, error)) return false;
    if (MakeFolder(folder)) return true;
    error = LastError();
    // Another build may have made it meanwhile.
    if (!IsFolder(folder)) return false;
    error = 0;
    return true;
}

bool FileSizeText(const std::string& path, std::string& text) {
    text.clear();
    File file;
    std::uint32_t size = 0;
    if (!file.Open(path, ReadExisting) || !file.GetSize(size)) return false;
    text = FormatFileSize(size);
    return true;
}
