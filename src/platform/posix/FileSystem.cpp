#include "platform/FileSystem.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string NativePath(const std::string& path) {
    std::string result = path;
    if (result.size() >= 3 && (result[0] == 'Z' || result[0] == 'z') && result[1] == ':' &&
        (result[2] == '\\' || result[2] == '/'))
        result.erase(0, 2);
    for (char& c : result)
        if (c == '\\') c = '/';
    return result;
}

// Paths are taken in either form: "/tmp/out", "Z:\\tmp\\out", "\\tmp\\out" and "Z:/tmp/out" all
// name the same folder, as they do in a project file.
static bool HasDrive(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

std::string SystemPath(const std::string& hostPath) {
    std::string result = hostPath;
    for (char& c : result)
        if (c == '/') c = '\\';
    if (!result.empty() && result[0] == '\\') result = "Z:" + result;
    return result;
}

std::string FullSystemPath(const std::string& hostPath) {
    if (HasDrive(hostPath) || (!hostPath.empty() && (hostPath[0] == '/' || hostPath[0] == '\\')))
        return SystemPath(hostPath);
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer)) return SystemPath(hostPath);
    return SystemPath(std::string(buffer) + "/" + hostPath);
}

FileHandle OpenFileHandle(const std::string& path, Access access, Disposition disposition) {
    int flags = O_CLOEXEC;
    switch (access) {
        case Access::Read: flags |= O_RDONLY; break;
        case Access::ReadWrite: flags |= O_RDWR; break;
        case Access::Write:
        case Access::WriteMovable: flags |= O_WRONLY; break;
    }
    if (disposition == Disposition::CreateAlways) flags |= O_CREAT | O_TRUNC;
    if (disposition == Disposition::CreateNew) flags |= O_CREAT | O_EXCL;
    int fd = ::open(NativePath(path).c_str(), flags, 0644);
    if (fd < 0) return kInvalidHandle;
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return kInvalidHandle;
    }
    return fd;
}

bool MoveOpenFile(FileHandle, const std::string& from, const std::string& to, bool& exists) {
    // A link that fails on an existing name, then the old name's removal: no replacing rename.
    exists = false;
    if (::link(NativePath(from).c_str(), NativePath(to).c_str()) != 0) {
        exists = errno == EEXIST;
        return false;
    }
    ::unlink(NativePath(from).c_str());
    return true;
}

int CloseFileHandle(FileHandle handle) { return ::close(static_cast<int>(handle)) == 0 ? 1 : 0; }

bool GetFileHandleSize(FileHandle handle, std::uint64_t& size) {
    struct stat st;
    if (::fstat(static_cast<int>(handle), &st) != 0) return false;
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

bool ReadFileHandle(FileHandle handle, void* buffer, std::uint32_t count, std::uint32_t& done) {
    done = 0;
    auto* p = static_cast<char*>(buffer);
    while (done < count) {
        ssize_t n = ::read(static_cast<int>(handle), p + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        done += static_cast<std::uint32_t>(n);
    }
    return true;
}

bool WriteFileHandle(FileHandle handle, const void* buffer, std::uint32_t count, std::uint32_t& done) {
    done = 0;
    auto* p = static_cast<const char*>(buffer);
    while (done < count) {
        ssize_t n = ::write(static_cast<int>(handle), p + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        done += static_cast<std::uint32_t>(n);
    }
    return true;
}

bool SeekFileHandle(FileHandle handle, std::int64_t distance, int origin, std::int64_t& position) {
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    off_t result = ::lseek(static_cast<int>(handle), static_cast<off_t>(distance), whence[origin]);
    if (result < 0) return false;
    position = result;
    return true;
}

bool DeleteFileAt(const std::string& path) { return ::unlink(NativePath(path).c_str()) == 0; }

bool CopyFileTo(const std::string& source, const std::string& destination) {
    FileHandle in = OpenFileHandle(source, Access::Read, Disposition::OpenExisting);
    if (in == kInvalidHandle) return false;
    FileHandle out = OpenFileHandle(destination, Access::Write, Disposition::CreateAlways);
    if (out == kInvalidHandle) {
        CloseFileHandle(in);
        return false;
    }
    bool ok = true;
    char buffer[65536];
    for (;;) {
        std::uint32_t got = 0, put = 0;
        if (!ReadFileHandle(in, buffer, sizeof buffer, got)) { ok = false; break; }
        if (got == 0) break;
        if (!WriteFileHandle(out, buffer, got, put) || put != got) { ok = false; break; }
    }
    CloseFileHandle(in);
    if (CloseFileHandle(out) == 0) ok = false;
    return ok;
}

bool SetArchiveAttribute(const std::string& path) {
    struct stat st;
    const std::string native = NativePath(path);
    return ::stat(native.c_str(), &st) == 0 && ::chmod(native.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

bool MoveFileReplacing(const std::string& source, const std::string& destination) {
    return ::rename(NativePath(source).c_str(), NativePath(destination).c_str()) == 0;
}

bool IsFile(const std::string& path) {
    struct stat st;
    return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeFolder(const std::string& path) { return ::mkdir(NativePath(path).c_str(), 0755) == 0; }

bool RemoveFolder(const std::string& path) { return ::rmdir(NativePath(path).c_str()) == 0; }

std::string MakeUniqueFolder(const std::string& parent, const std::string& prefix) {
    std::string pattern = NativePath(parent + "\\" + prefix + "XXXXXX");
    if (!::mkdtemp(&pattern[0])) return std::string();
    return parent + "\\" + pattern.substr(pattern.find_last_of('/') + 1);
}

bool GetFileLocalWriteTime(const std::string& path, LocalTime& time) {
    struct stat st;
    if (::stat(NativePath(path).c_str(), &st) != 0) return false;
    struct tm local;
    if (!::localtime_r(&st.st_mtime, &local)) return false;
    time.year = local.tm_year + 1900;
    time.month = local.tm_mon + 1;
    time.day = local.tm_mday;
    time.hour = local.tm_hour;
    time.minute = local.tm_min;
    time.second = local.tm_sec;
    return true;
}

bool SetFileHandleLocalWriteTime(FileHandle handle, const LocalTime& time) {
    struct tm local = {};
    local.tm_year = time.year - 1900;
    local.tm_mon = time.month - 1;
    local.tm_mday = time.day;
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_sec = time.second;
    local.tm_isdst = -1;  // as the date falls
    const time_t seconds = ::mktime(&local);
    if (seconds == static_cast<time_t>(-1)) return false;
    struct timespec times[2] = {{0, UTIME_OMIT}, {seconds, 0}};
    return ::futimens(static_cast<int>(handle), times) == 0;
}

std::string TempFolder() {
    const char* dir = std::getenv("TMPDIR");
    std::string result = (dir && *dir) ? dir : "/tmp";
    while (result.size() > 1 && result.back() == '/') result.pop_back();
    return result;
}

std::string ModuleFolder() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return ".";
    std::string path(buffer, static_cast<size_t>(n));
    size_t slash = path.find_last_of('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

int LastError() { return errno; }

void ClearLastError() { errno = 0; }

std::string ErrorText(int code) {
    if (code == 0) return "the system gave no reason";
    char buffer[256];
    return ::strerror_r(code, buffer, sizeof buffer);  // the GNU form: it returns the text
}

}  // namespace platform
