#pragma once
// What the end-to-end tests of the installer programs share: running programs, reading the
// registry and shortcuts back, and installer packages laid out as a build leaves them.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <gtest/gtest.h>
#include <zip.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "core/Path.h"
#include "core/Text.h"
#include "installer/win32/FileOperations.h"
#include "installer/win32/Registry.h"
#include "installer/win32/ShellLink.h"
#include "installer/win32/SystemFolders.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

inline std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Runs `program` (in `folder`, when one is given) and returns its exit code.
inline int RunProgram(const std::string& program, const std::string& arguments, const std::string& folder = std::string()) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, 120000);
    DWORD code = 0xFFFF;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

// Whether `path` is gone soon (the uninstaller removes itself just after it ends).
inline bool Disappears(const std::string& path) {
    // Up to a minute: the uninstaller's self-removal starts a process of its own, which a loaded
    // machine can hold back for seconds.
    for (int i = 0; i < 600; ++i) {
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

// What a folder holds, one level deep ("a.txt, sub\\"), for the message of a failed check.
inline std::string FolderListing(const std::string& folder) {
    std::string listing;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return "(cannot be listed)";
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        listing += (listing.empty() ? "" : ", ") + name + ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "\\" : "");
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return listing.empty() ? "(empty)" : listing;
}

// Reads a .lnk file back through IShellLinkA. The show command comes from the file's header
// (bytes 0x3C to 0x3F of the link format), which Wine's IShellLinkA does not hand back.
inline bool LoadShellLink(const std::string& path, ShellLinkFields& fields) {
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    std::wstring wide(path.begin(), path.end());
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                         reinterpret_cast<void**>(&link))) &&
              SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
              SUCCEEDED(file->Load(wide.c_str(), STGM_READ));
    if (ok) {
        char text[1024] = {};
        link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
        fields.target = text;
        link->GetArguments(text, sizeof text);
        fields.arguments = text;
        link->GetWorkingDirectory(text, sizeof text);
        fields.workingFolder = text;
        link->GetIconLocation(text, sizeof text, &fields.iconIndex);
        fields.iconPath = text;
        std::string bytes = ReadBytes(path);
        ok = bytes.size() >= 0x40;
        if (ok) memcpy(&fields.showCommand, bytes.data() + 0x3C, 4);
    }
    if (file) file->Release();
    if (link) link->Release();
    return ok;
}

// The Start menu's programs folder of all users, where program groups go.
inline std::string ProgramsFolder() { return ShellFolder(CSIDL_COMMON_PROGRAMS); }

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline bool ReadValue(const std::string& hive, const std::string& key, const std::string& name, DWORD& type, std::string& data) {
    RegistryKey k;
    return k.Open(HiveFromName(hive), key, kReadAccess) && k.QueryValue(name, type, data);
}

inline std::string StringValue(const std::string& hive, const std::string& key, const std::string& name) {
    DWORD type = 0;
    std::string data;
    if (!ReadValue(hive, key, name, type, data)) return "<none>";
    if (type != REG_SZ) return "<type " + std::to_string(type) + ">";
    return data.substr(0, data.find('\0'));
}

inline bool KeyExists(const std::string& hive, const std::string& key) {
    RegistryKey k;
    return k.Open(HiveFromName(hive), key, kReadAccess);
}

inline void SetString(const std::string& hive, const std::string& key, const std::string& name, const std::string& text) {
    RegistryKey k;
    ASSERT_TRUE(k.Create(HiveFromName(hive), key, kWriteAccess));
    ASSERT_TRUE(k.SetValue(name, REG_SZ, StringData(text)));
}

inline void WriteTestFile(const std::string& path, const std::string& bytes) {
    File f;
    std::uint32_t done = 0;
    ASSERT_TRUE(f.Open(path, CreateWrite));
    ASSERT_TRUE(bytes.empty() || f.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), done));
}

inline constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Whatever a test left under Software\QsE2E, so that a failed run does not spoil the next one.
inline void RemoveTestKeys() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\QsE2E");
    for (const char* product : {"QsE2E Side", "QsE2E Sfx", "QsE2E Again"})
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + product).c_str());
}

// One installer package in a folder of its own, laid out as a copy-mode build leaves it.
class Package {
public:
    Package() {
        folder_ = JoinPath(platform::TempFolder(), "qs-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                                                      std::to_string(serial_++));
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    ~Package() { RemoveFolderTree(folder_); }

    // `entries`: name and contents; an entry dated 2001 when `old` is set.
    void Write(const std::string& script, const std::vector<TestEntry>& entries, bool old = false) {
        WriteTestFile(Path("setup.ini"), CrLfLineEnds(script));
        zipFile zip = zipOpen(Path("setup.zip").c_str(), APPEND_STATUS_CREATE);
        ASSERT_NE(zip, nullptr);
        for (const TestEntry& e : entries) {
            zip_fileinfo info = {};
            info.tmz_date.tm_year = old ? 2001 : 2025;
            info.tmz_date.tm_mday = 1;
            ASSERT_EQ(zipOpenNewFileInZip(zip, e.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6), ZIP_OK);
            ASSERT_EQ(zipWriteInFileInZip(zip, e.bytes.data(), static_cast<unsigned>(e.bytes.size())), ZIP_OK);
            ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
        }
        ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
        for (const char* language : {"English.dat", "German.dat"})
            ASSERT_TRUE(CopyFileA(JoinPath(QS_SETUP_LANGUAGES, language).c_str(), Path(language).c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(QS_SETUP_EXE, Path("Setup.exe").c_str(), FALSE));
    }

    // The same files wrapped into one self-extracting executable behind the stub.
    std::string WrapSelfExtracting() {
        std::vector<TestEntry> entries;
        for (const char* name : {"setup.ini", "setup.zip", "English.dat", "German.dat"})
            entries.push_back({name, ReadBytes(Path(name))});
        entries.push_back({"setup.exe", ReadBytes(QS_SETUP_EXE)});
        std::string path = Path("QsSetup.exe");
        WriteTestFile(path, MakeTestContainer(ReadBytes(QS_SFX_EXE), entries, "setup.exe"));
        return path;
    }

    std::string Path(const std::string& name) const { return JoinPath(folder_, name); }

private:
    inline static int serial_ = 0;
    std::string folder_;
};

// The first message box of process `pid` whose text holds `part`, within a few seconds.
inline HWND WaitForMessageBox(DWORD pid, const std::string& part) {
    struct Search {
        DWORD pid;
        std::string part;
        HWND found;
    } search{pid, part, nullptr};
    for (int i = 0; i < 400 && !search.found; ++i) {
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                char cls[32] = {}, text[1024] = {};
                GetWindowThreadProcessId(window, &owner);
                GetClassNameA(window, cls, sizeof cls);
                GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
                if (owner == s->pid && std::string(cls) == "#32770" && std::string(text).find(s->part) != std::string::npos)
                    s->found = window;
                return s->found == nullptr;
            },
            reinterpret_cast<LPARAM>(&search));
        if (!search.found) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return search.found;
}
