#include "installer/win32/FileOperations.h"

#include <windows.h>

#include "core/Path.h"
#include "platform/File.h"

// The file is deleted at once; only a refusal asks after its attributes, as a read-only file is
// refused until that attribute goes. Almost every file goes at the first call, which is what an
// uninstallation of many files costs per file.
bool DeleteFileForce(const std::string& path) {
    if (DeleteFileA(path.c_str())) return true;
    const DWORD error = GetLastError();
    const DWORD attributes = error == ERROR_ACCESS_DENIED ? GetFileAttributesA(path.c_str()) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !(attributes & FILE_ATTRIBUTE_READONLY) ||
        !SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
        SetLastError(error);
        return false;
    }
    return DeleteFileA(path.c_str()) != FALSE;
}

bool DeleteAtRestart(const std::string& path) {
    return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

// A junction or a symbolic link is removed as the link it is: the folder it points to may be
// anyone's (C:\Windows), so the clean-up never goes through it.
static bool IsLink(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool RemoveFolderTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = IsLink(GetFileAttributesA(folder.c_str())) ? INVALID_HANDLE_VALUE
                                                             : FindFirstFileA(JoinPath(folder, "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = JoinPath(folder, name);
            bool isFolder = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
            if (isFolder && IsLink(data.dwFileAttributes)) RemoveDirectoryA(path.c_str());
            else if (isFolder) RemoveFolderTree(path);
            else DeleteFileForce(path);
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return RemoveDirectoryA(folder.c_str()) != FALSE;
}

std::string ReadWholeFile(const std::string& path) {
    File file;
    std::uint64_t size = 0;
    std::uint32_t done = 0;
    if (!file.Open(path, ReadExisting) || !file.GetSize64(size) || size > (64u << 20)) return std::string();
    std::string bytes(static_cast<size_t>(size), '\0');
    if (size && !file.Read(&bytes[0], static_cast<std::uint32_t>(size), done)) return std::string();
    return bytes;
}

bool FreeKilobytes(const std::string& path, unsigned long long& kilobytes) {
    std::string folder = path;
    ULARGE_INTEGER available;
    while (!GetDiskFreeSpaceExA(folder.c_str(), &available, nullptr, nullptr)) {
        size_t slash = folder.find_last_of('\\');
        if (slash == std::string::npos || slash < 2 || folder.size() <= 3) return false;
        folder.resize(slash == 2 ? 3 : slash);
    }
    kilobytes = available.QuadPart / 1024;
    return true;
}

