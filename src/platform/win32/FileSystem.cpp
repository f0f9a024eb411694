#include "platform/FileSystem.h"

#include <windows.h>

#include "core/Path.h"

namespace platform {

std::string NativePath(const std::string& path) { return path; }
std::string SystemPath(const std::string& hostPath) { return hostPath; }

std::string FullSystemPath(const std::string& hostPath) {
    char buffer[MAX_PATH + 1];
    DWORD n = GetFullPathNameA(hostPath.c_str(), sizeof buffer, buffer, nullptr);
    return n == 0 || n > MAX_PATH ? hostPath : std::string(buffer, n);
}

static HANDLE ToHandle(FileHandle handle) { return reinterpret_cast<HANDLE>(handle); }

FileHandle OpenFileHandle(const std::string& path, Access access, Disposition disposition) {
    DWORD desired = 0;
    switch (access) {
        case Access::Read: desired = GENERIC_READ; break;
        case Access::ReadWrite: desired = GENERIC_READ | GENERIC_WRITE; break;
        case Access::Write: desired = GENERIC_WRITE; break;
        case Access::WriteMovable: desired = GENERIC_WRITE | DELETE; break;
    }
    DWORD create = disposition == Disposition::CreateAlways ? CREATE_ALWAYS
                   : disposition == Disposition::CreateNew  ? CREATE_NEW
                                                            : OPEN_EXISTING;
    HANDLE h = CreateFileA(path.c_str(), desired, FILE_SHARE_READ, nullptr, create,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return kInvalidHandle;
    return reinterpret_cast<FileHandle>(h);
}

bool MoveOpenFile(FileHandle handle, const std::string&, const std::string& to, bool& exists) {
    exists = false;
    const int length = MultiByteToWideChar(CP_ACP, 0, to.c_str(), -1, nullptr, 0);
    if (length <= 1) return false;
    // The structure ends in the name, without its terminating zero counted.
    std::string buffer(sizeof(FILE_RENAME_INFO) + static_cast<size_t>(length) * sizeof(WCHAR), '\0');
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(&buffer[0]);
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>((length - 1) * sizeof(WCHAR));
    MultiByteToWideChar(CP_ACP, 0, to.c_str(), -1, info->FileName, length);
    if (SetFileInformationByHandle(ToHandle(handle), FileRenameInfo, info, static_cast<DWORD>(buffer.size())))
        return true;
    const DWORD error = GetLastError();
    exists = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
    SetLastError(error);
    return false;
}

int CloseFileHandle(FileHandle handle) { return CloseHandle(ToHandle(handle)) ? 1 : 0; }

bool GetFileHandleSize(FileHandle handle, std::uint64_t& size) {
    LARGE_INTEGER li;
    if (!GetFileSizeEx(ToHandle(handle), &li)) return false;
    size = static_cast<std::uint64_t>(li.QuadPart);
    return true;
}

bool ReadFileHandle(FileHandle handle, void* buffer, std::uint32_t count, std::uint32_t& done) {
    DWORD n = 0;
    BOOL ok = ::ReadFile(ToHandle(handle), buffer, count, &n, nullptr);
    done = n;
    return ok != FALSE;
}

bool WriteFileHandle(FileHandle handle, const void* buffer, std::uint32_t count, std::uint32_t& done) {
    DWORD n = 0;
    BOOL ok = ::WriteFile(ToHandle(handle), buffer, count, &n, nullptr);
    done = n;
    return ok != FALSE;
}

bool SeekFileHandle(FileHandle handle, std::int64_t distance, int origin, std::int64_t& position) {
    static const DWORD method[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    LARGE_INTEGER move, result;
    move.QuadPart = distance;
    if (!SetFilePointerEx(ToHandle(handle), move, &result, method[origin])) return false;
    position = result.QuadPart;
    return true;
}

bool DeleteFileAt(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool CopyFileTo(const std::string& source, const std::string& destination) {
    return CopyFileA(source.c_str(), destination.c_str(), FALSE) != FALSE;
}

bool SetArchiveAttribute(const std::string& path) {
    return SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_ARCHIVE) != FALSE;
}

bool MoveFileReplacing(const std::string& source, const std::string& destination) {
    return MoveFileExA(source.c_str(), destination.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool IsFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolder(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != FALSE; }

bool RemoveFolder(const std::string& path) { return RemoveDirectoryA(path.c_str()) != FALSE; }

std::string MakeUniqueFolder(const std::string& parent, const std::string& prefix) {
    const std::string stem = parent + "\\" + prefix + std::to_string(GetCurrentProcessId()) + "-";
    for (DWORD attempt = 0, tick = GetTickCount(); attempt < 1000; ++attempt) {
        std::string path = stem + std::to_string(tick + attempt);
        if (CreateDirectoryA(path.c_str(), nullptr)) return path;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return std::string();
}

bool GetFileLocalWriteTime(const std::string& path, LocalTime& time) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &st))
        return false;
    time.year = st.wYear;
    time.month = st.wMonth;
    time.day = st.wDay;
    time.hour = st.wHour;
    time.minute = st.wMinute;
    time.second = st.wSecond;
    return true;
}

bool SetFileHandleLocalWriteTime(FileHandle handle, const LocalTime& time) {
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(time.year);
    st.wMonth = static_cast<WORD>(time.month);
    st.wDay = static_cast<WORD>(time.day);
    st.wHour = static_cast<WORD>(time.hour);
    st.wMinute = static_cast<WORD>(time.minute);
    st.wSecond = static_cast<WORD>(time.second);
    FILETIME local, utc;
    return SystemTimeToFileTime(&st, &local) && LocalFileTimeToFileTime(&local, &utc) &&
           SetFileTime(reinterpret_cast<HANDLE>(handle), nullptr, nullptr, &utc);
}

std::string TempFolder() {
    char buffer[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof buffer, buffer);
    if (n == 0 || n > MAX_PATH) return ".";
    return TrimTrailingBackslashes(std::string(buffer, n));
}

std::string ModuleFolder() {
    char buffer[MAX_PATH + 1];
    DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    if (n == 0) return ".";
    std::string folder = FolderOf(std::string(buffer, n));
    return folder.empty() ? "." : folder;
}

int LastError() { return static_cast<int>(GetLastError()); }

void ClearLastError() { SetLastError(0); }

std::string ErrorText(int code) {
    if (code == 0) return "the system gave no reason";
    char buffer[512];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             static_cast<DWORD>(code), 0, buffer, sizeof buffer, nullptr);
    while (n > 0 && (buffer[n - 1] == '\r' || buffer[n - 1] == '\n' || buffer[n - 1] == ' ' || buffer[n - 1] == '.')) --n;
    return n > 0 ? std::string(buffer, n) : "system error " + std::to_string(code);
}

}  // namespace platform
