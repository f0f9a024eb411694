#include "installer/win32/FileFacts.h"

#include <windows.h>

#include "installer/win32/Libraries.h"

namespace {

// The version resource's file version, or false when the file has none. version.dll is no known
// system library, so it is loaded by hand from the system folder: never a copy beside Setup.exe.
bool FileVersion(const std::string& path, unsigned long long& version) {
    using SizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    static HMODULE library = LoadSystemLibrary("version.dll");
    if (!library) return false;
    auto size = reinterpret_cast<SizeFn>(reinterpret_cast<void*>(GetProcAddress(library, "GetFileVersionInfoSizeA")));
    auto info = reinterpret_cast<InfoFn>(reinterpret_cast<void*>(GetProcAddress(library, "GetFileVersionInfoA")));
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(GetProcAddress(library, "VerQueryValueA")));
    DWORD ignored = 0, length = size && info && query ? size(path.c_str(), &ignored) : 0;
    if (length == 0) return false;
    std::string data(length, '\0');
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedLength = 0;
    if (!info(path.c_str(), 0, length, &data[0]) ||
        !query(data.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedLength) || !fixed)
        return false;
    version = (static_cast<unsigned long long>(fixed->dwFileVersionMS) << 32) | fixed->dwFileVersionLS;
    return true;
}

bool WriteTime(const std::string& path, FILETIME& time) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    time = data.ftLastWriteTime;
    return true;
}

}  // namespace

bool FileFacts::CompareVersions(int& order) {
    unsigned long long a = 0, b = 0;
    if (!FileVersion(existing_, a) || !FileVersion(fresh_, b)) return false;
    order = a < b ? -1 : a > b ? 1 : 0;
    return true;
}

int FileFacts::CompareDates() {
    FILETIME a{}, b{};
    WriteTime(existing_, a);
    WriteTime(fresh_, b);
    return CompareFileTime(&a, &b);
}
