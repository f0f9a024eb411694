#include "installer/win32/PrivateFolder.h"

#include <ntsecapi.h>
#include <sddl.h>

#include "core/Path.h"
#include "core/Text.h"
#include "installer/win32/FileOperations.h"

namespace {

// The string form of the SID of this process's user.
std::string UserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::string();
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size ? size : 1);
    std::string sid;
    char* text = nullptr;
    if (GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
        ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
        sid = text;
        LocalFree(text);
    }
    CloseHandle(token);
    return sid;
}

std::string RandomHex(size_t bytes) {
    std::string random(bytes, '\0');
    if (!RtlGenRandom(&random[0], static_cast<ULONG>(bytes))) return std::string();
    return HexBytes(random);
}

}  // namespace

PrivateFolder::~PrivateFolder() {
    std::string path = path_;
    Release();
    if (!path.empty()) RemoveFolderTree(path);
}

void PrivateFolder::Release() {
    for (HANDLE file : files_) CloseHandle(file);
    files_.clear();
    if (folder_ != INVALID_HANDLE_VALUE) CloseHandle(folder_);
    folder_ = INVALID_HANDLE_VALUE;
    path_.clear();
}

bool PrivateFolder::Create(const std::string& parent, const std::string& prefix) {
    const std::string user = UserSid();
    if (user.empty()) return false;
    // Protected ("P"): the temporary folder's own entries are not inherited; files and folders
    // made inside take these three.
    const std::string sddl = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" + user + ")";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    for (int attempt = 0; attempt < 10 && path_.empty(); ++attempt) {
        std::string name = RandomHex(16);
        if (name.empty()) break;
        std::string path = JoinPath(parent, prefix + name);
        if (CreateDirectoryA(path.c_str(), &attributes)) path_ = path;
    }
    LocalFree(descriptor);
    if (path_.empty()) return false;
    folder_ = CreateFileA(path_.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return folder_ != INVALID_HANDLE_VALUE;
}

bool PrivateFolder::Hold(const std::string& name) {
    HANDLE file = CreateFileA(JoinPath(path_, name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    files_.push_back(file);
    return true;
}
