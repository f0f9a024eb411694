#include "installer/win32/Installer.h"

#include <shlobj.h>
#include <unzip.h>

#include <algorithm>
#include <cstdlib>

#include "core/Exception.h"
#include "core/Path.h"
#include "core/Text.h"
#include "installer/Container.h"
#include "installer/ExitCodes.h"
#include "installer/win32/Registry.h"
#include "installer/win32/Undo.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace {

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kNewSuffix[] = ".qs-new";
const char kOldSuffix[] = ".qs-old";
// The progress that one folder, shortcut or registry entry counts for, against a file's bytes.
constexpr unsigned long long kStepWeight = 4096;

int ShowCommand(int stored) {
    switch (stored) {
        case 3: return SW_SHOWMAXIMIZED;
        case 7: return SW_SHOWMINNOACTIVE;
        default: return SW_SHOWNORMAL;
    }
}

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

// The two files' versions compared (-1 when the existing one is lower, 0 the same, 1 higher);
// false when either file has no version.
bool CompareVersions(const std::string& existing, const std::string& fresh, int& order) {
    unsigned long long a = 0, b = 0;
    if (!FileVersion(existing, a) || !FileVersion(fresh, b)) return false;
    order = a < b ? -1 : a > b ? 1 : 0;
    return true;
}

// -1 when the existing file was last written before the new one, 0 at the same time, 1 after.
int CompareDates(const std::string& existing, const std::string& fresh) {
    FILETIME a{}, b{};
    WriteTime(existing, a);
    WriteTime(fresh, b);
    return CompareFileTime(&a, &b);
}

bool SameContents(const std::string& a, const std::string& b) {
    File fa, fb;
    std::uint64_t sa = 0, sb = 0;
    if (!fa.Open(a, ReadExisting) || !fb.Open(b, ReadExisting) || !fa.GetSize64(sa) || !fb.GetSize64(sb) || sa != sb)
        return false;
    std::vector<char> ba(1 << 16), bb(1 << 16);
    for (std::uint64_t left = sa; left > 0;) {
        auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(ba.size(), left));
        std::uint32_t done = 0;
        if (!fa.Read(ba.data(), n, done) || !fb.Read(bb.data(), n, done) || memcmp(ba.data(), bb.data(), n) != 0)
            return false;
        left -= n;
    }
    return true;
}

// A key below a hive: names joined by single backslashes. Any other character may stand in a
// key name, and nothing in a key path leads outside its hive.
bool IsKeyPath(const std::string& path) {
    return !path.empty() && path.front() != '\\' && path.back() != '\\' && path.find("\\\\") == std::string::npos;
}

bool ReadBinaryData(const std::string& text, std::string& bytes) {
    bytes.clear();
    const char* p = text.c_str();
    while (*p) {
        while (*p == ' ' || *p == '\t') ++p;
        if (!*p) break;
        char* end = nullptr;
        unsigned long b = std::strtoul(p, &end, 16);
        if (end == p) return false;
        bytes += static_cast<char>(b & 0xFF);
        p = end;
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    return true;
}

}  // namespace

Installer::Installer(const SetupScript& script, const SetupTexts& texts, const InstallerOptions& options,
                     ActivityLog& log, const std::string& setupDir)
    : script_(script), texts_(texts), options_(options), log_(log), setupDir_(setupDir) {}

Installer::~Installer() {
    if (archive_) unzClose(archive_);
}

bool Installer::Fail(const std::string& problem) {
    problem_ = problem;
    return false;
}

std::string Installer::Text(const std::string& text) const {
    std::string out, problem;
    variables_.Expand(text, false, out, problem);
    return out;
}

unsigned long long Installer::RequiredBytes() const {
    unsigned long long bytes = 0;
    for (const PlannedFile& f : files_) bytes += f.size;
    return bytes;
}

std::string Installer::Product() const {
    std::string name;
    variables_.Get("ProductName", name);
    return name;
}

bool Installer::Prepare() {
    if (!script_.problems.empty()) return Fail("setup.ini holds a " + script_.problems.front());
    if (!ResolveVariables()) return false;
    std::string zipPath = JoinPath(setupDir_, "setup.zip");
    archive_ = unzOpen64(zipPath.c_str());
    if (!archive_) return Fail("setup.zip is missing or unreadable");
    if (!PlanFiles() || !PlanShortcuts() || !PlanRegistry() || !PlanFileTypes()) return false;
    PlanUninstallEntry();
    ReadEarlierInstallLog();
    workTotal_ = kStepWeight * (folders_.size() + files_.size() + shortcuts_.size() + values_.size() + 1);
    for (const PlannedFile& f : files_) workTotal_ += f.size;
    log_.Line("Package checked: " + std::to_string(files_.size()) + " files, " +
              std::to_string(shortcuts_.size()) + " shortcuts, " + std::to_string(values_.size()) +
              " registry entries");
    return true;
}

bool Installer::ResolveVariables() {
    static const std::pair<const char*, const char*> kProductTexts[] = {
        {"CompanyName", "CompanyName"},     {"ProductName", "ProductName"},
        {"ProductVersion", "ProductVersion"}, {"ProductDescription", "ProductDescription"},
        {"ProductURL", "ProductURL"},       {"CopyrightNotice", "Copyright"},
    };
    for (const auto& [key, name] : kProductTexts) variables_.Set(name, std::string(), false);
    for (const auto& kv : script_.generalInfo)
        for (const auto& [key, name] : kProductTexts)
            if (kv.first == key) variables_.Set(name, kv.second, false);
    struct Folder {
        const char* name;
        std::string path;
    };
    const Folder folders[] = {
        {"SetupDir", setupDir_},
        {"ProgramFiles", ShellFolder(CSIDL_PROGRAM_FILES)},
        {"CommonFiles", ShellFolder(CSIDL_PROGRAM_FILES_COMMON)},
        {"WinDir", WindowsFolder()},
        {"WinSysDir", SystemFolder()},
        {"FontsDir", ShellFolder(CSIDL_FONTS)},
        {"Desktop", ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY)},
        {"StartMenu", ShellFolder(CSIDL_COMMON_STARTMENU)},
        {"StartMenuPrograms", ShellFolder(CSIDL_COMMON_PROGRAMS)},
        {"StartUp", ShellFolder(CSIDL_COMMON_STARTUP)},
    };
    for (const Folder& f : folders) {
        if (f.path.empty()) return Fail(std::string("the system folder of %") + f.name + "% is unknown");
        variables_.Set(f.name, f.path, true);
        log_.Line(std::string("%") + f.name + "% = " + f.path);
    }
    std::string groupName, installPath, programs;
    variables_.Get("StartMenuPrograms", programs);
    if (!options_.group.empty()) groupName = options_.group;
    else if (!variables_.Expand(script_.shortcutFolderName, true, groupName, problem_)) return Fail(problem_);
    if (!IsSafeRelativePath(groupName)) return Fail("the program group name " + groupName + " is not a folder name");
    variables_.Set("AppSCFolder", JoinPath(programs, groupName), true);
    group_ = groupName;
    if (!options_.folder.empty()) {
        installPath = options_.folder;
    } else if (!variables_.Expand(script_.installationPath, true, installPath, problem_)) {
        return Fail(problem_);
    }
    appDir_ = TrimTrailingBackslashes(installPath);
    if (!IsAbsolutePath(appDir_) || appDir_.size() <= 3) {
        if (!options_.folder.empty()) prepareFailure_ = kExitFailed;
        return Fail("the installation folder " + installPath + " is not a full folder path");
    }
    variables_.Set("AppDir", appDir_, true);
    log_.Line("%AppDir% = " + appDir_);
    log_.Line("%AppSCFolder% = " + JoinPath(programs, groupName));
    return true;
}

bool Installer::PlanFolders(const std::vector<std::string>& lines, std::vector<std::string>& folders) {
    for (const std::string& line : lines) {
        std::string path;
        if (!variables_.ExpandDestination(line, path, problem_)) return Fail(problem_);
        folders.push_back(path);
    }
    return true;
}

bool Installer::PlanFiles() {
    folders_.push_back(appDir_);
    if (!PlanFolders(script_.folders, folders_)) return false;
    for (const ScriptFile& f : script_.files) {
        PlannedFile file;
        file.entry = f.entry;
        file.options = f.options;
        file.replaceMode = f.replaceMode;
        if (!IsSafeRelativePath(f.entry)) return Fail("the archive entry " + f.entry + " is not a safe name");
        if (!variables_.ExpandDestination(f.destination, file.path, problem_)) return Fail(problem_);
        unz_file_info64 info;
        if (unzLocateFile(archive_, f.entry.c_str(), 2) != UNZ_OK ||
            unzGetCurrentFileInfo64(archive_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return Fail("setup.zip lacks the entry " + f.entry);
        file.size = info.uncompressed_size;
        files_.push_back(file);
    }
    return true;
}

bool Installer::PlanShortcuts() {
    if (!PlanFolders(script_.shortcutFolders, shortcutFolders_)) return false;
    for (const ScriptShortcut& s : script_.shortcuts) {
        PlannedShortcut sc;
        sc.internet = s.internet;
        if (!variables_.ExpandDestination(s.path, sc.path, problem_)) return Fail(problem_);
        sc.path += s.internet ? ".url" : ".lnk";
        if (s.internet) {
            variables_.Expand(s.target, false, sc.url, problem_);
        } else {
            ShellLinkFields& f = sc.fields;
            if (!variables_.Expand(s.target, true, f.target, problem_) ||
                !variables_.Expand(s.iconPath, true, f.iconPath, problem_) ||
                !variables_.Expand(s.workingFolder, true, f.workingFolder, problem_))
                return Fail(problem_);
            variables_.Expand(s.parameters, false, f.arguments, problem_);
            f.iconIndex = std::atoi(s.iconIndex.c_str());
            f.showCommand = ShowCommand(s.showCommand);
        }
        shortcuts_.push_back(sc);
    }
    return true;
}

bool Installer::AddValue(const std::string& hive, const std::string& key, const std::string& name, DWORD type,
                         const std::string& data, bool keyOnly) {
    if (!HiveFromName(hive)) return Fail("unknown registry hive " + hive);
    // A value may stand directly under its hive (an empty key path); a key may not.
    if ((keyOnly || !key.empty()) && !IsKeyPath(key))
        return Fail("the registry key " + hive + "\\" + key + " is not a key path");
    PlannedValue v;
    v.keyOnly = keyOnly;
    v.hive = hive;
    v.key = key;
    v.name = name;
    v.type = type;
    v.data = data;
    values_.push_back(v);
    return true;
}

bool Installer::PlanRegistry() {
    for (const ScriptRegistryLine& r : script_.registry) {
        std::string key, name, data, bytes;
        if (!variables_.Expand(r.keyPath, true, key, problem_) || !variables_.Expand(r.name, true, name, problem_))
            return Fail(problem_);
        // A key path may hold a "%" of its own only through a variable; data keeps unknown ones.
        if (r.key) {
            if (!AddValue(r.hive, key, std::string(), REG_NONE, std::string(), true)) return false;
        } else if (r.type == 's') {
            variables_.Expand(r.data, false, data, problem_);
            if (!AddValue(r.hive, key, name, REG_SZ, StringData(data), false)) return false;
        } else if (r.type == 'b') {
            if (!ReadBinaryData(r.data, bytes)) return Fail("bad binary data: " + r.data);
            if (!AddValue(r.hive, key, name, REG_BINARY, bytes, false)) return false;
        } else {
            char* end = nullptr;
            unsigned long long number = std::strtoull(r.data.c_str(), &end, 16);
            if (end == r.data.c_str() || number > 0xFFFFFFFFull) return Fail("bad number data: " + r.data);
            if (!AddValue(r.hive, key, name, REG_DWORD, DwordData(static_cast<DWORD>(number)), false))
                return false;
        }
    }
    return true;
}

bool Installer::PlanFileTypes() {
    for (const ScriptFileType& t : script_.fileTypes) {
        std::string extension = t.extension[0] == '.' ? t.extension : "." + t.extension;
        std::string identifier, fullName, program, icon;
        if (!variables_.Expand(t.identifier, true, identifier, problem_) ||
            !variables_.Expand(t.program, true, program, problem_) ||
            !variables_.Expand(t.iconPath.empty() ? t.program : t.iconPath, true, icon, problem_))
            return Fail(problem_);
        variables_.Expand(t.fullName, false, fullName, problem_);
        if (!IsKeyPath(extension) || !IsKeyPath(identifier) || extension.find('\\') != std::string::npos)
            return Fail("the file type " + t.extension + "," + t.identifier + " is not a registry name");
        if (!AddValue("HKCR", extension, "", REG_SZ, StringData(identifier), false) ||
            !AddValue("HKCR", identifier, "", REG_SZ, StringData(fullName), false) ||
            !AddValue("HKCR", identifier + "\\DefaultIcon", "", REG_SZ,
                      StringData(icon + "," + std::to_string(t.iconNumber)), false) ||
            !AddValue("HKCR", identifier + "\\shell\\open\\command", "", REG_SZ,
                      StringData("\"" + program + "\" \"%1\""), false))
            return false;
    }
    return true;
}

void Installer::PlanUninstallEntry() {
    std::string key;
    for (const PlannedValue& v : values_)
        if (v.keyOnly && EqualNoCase(v.hive, "HKLM") && v.key.size() > sizeof kUninstallKey - 1 &&
            EqualNoCase(v.key.substr(0, sizeof kUninstallKey - 1), kUninstallKey))
            key = v.key;
    if (key.empty()) return;
    unsigned long long bytes = RequiredBytes();
    std::string uninstaller = JoinPath(appDir_, "uninstall.exe");
    auto text = [&](const char* name) {
        std::string value;
        variables_.Get(name, value);
        return StringData(value);
    };
    AddValue("HKLM", key, "DisplayVersion", REG_SZ, text("ProductVersion"), false);
    AddValue("HKLM", key, "Publisher", REG_SZ, text("CompanyName"), false);
    AddValue("HKLM", key, "URLInfoAbout", REG_SZ, text("ProductURL"), false);
    AddValue("HKLM", key, "InstallLocation", REG_SZ, StringData(appDir_), false);
    AddValue("HKLM", key, "DisplayIcon", REG_SZ, StringData(uninstaller + ",0"), false);
    AddValue("HKLM", key, "EstimatedSize", REG_DWORD, DwordData(static_cast<DWORD>((bytes + 1023) / 1024)), false);
    if (!options_.userName.empty()) AddValue("HKLM", key, "RegOwner", REG_SZ, StringData(options_.userName), false);
    if (!options_.company.empty()) AddValue("HKLM", key, "RegCompany", REG_SZ, StringData(options_.company), false);
    AddValue("HKLM", key, "QuietUninstallString", REG_SZ, StringData("\"" + uninstaller + "\" /S"), false);
    // The uninstaller only removes: no Modify or Repair buttons beside it.
    AddValue("HKLM", key, "NoModify", REG_DWORD, DwordData(1), false);
    AddValue("HKLM", key, "NoRepair", REG_DWORD, DwordData(1), false);
}

int Installer::CheckRequirements(bool diskSpace) {
    bool anyFlag = false;
    for (bool flag : script_.windowsFlags) anyFlag = anyFlag || flag;
    // Every listed version is older than the running Windows, which therefore meets the newest
    // version that is allowed.
    std::string problem;
    if (!script_.anyWindows && !anyFlag) problem = texts_.Get(kTextWrongWindows, {Product()});
    unsigned long long needed = std::strtoull(script_.requiredDiskSpace.c_str(), nullptr, 10), free = 0;
    if (diskSpace && problem.empty() && needed > 0 && FreeKilobytes(appDir_, free) && free < needed)
        problem = texts_.Get(kTextDiskSpace, {appDir_.substr(0, 2), std::to_string(needed), std::to_string(free)});
    if (problem.empty()) return 0;
    log_.Line("Requirement not met: " + problem);
    bool goOn = !script_.abortInstallation &&
                (!ask || ask(problem + "\r\n\r\n" + texts_.Get(kTextContinueAnyway), true));
    if (!goOn) problem_ = problem;
    return goOn ? kExitDone : kExitRequirements;
}

bool Installer::Step(const std::string& text) {
    if (!text.empty()) stepText_ = text;
    return Advance(kStepWeight);
}

bool Installer::Advance(unsigned long long work) {
    workDone_ += work;
    if (onProgress) onProgress(static_cast<int>(std::min(workDone_, workTotal_) * 1000 / workTotal_), stepText_);
    return !cancel;
}

int Installer::Install() {
    log_.Line("Installing into " + appDir_);
    bool ok = true;
    for (size_t i = 0; ok && i < folders_.size(); ++i) ok = Step(folders_[i]) && MakeFolders(folders_[i]);
    for (size_t i = 0; ok && i < files_.size(); ++i) ok = Step(files_[i].path) && PlaceFile(files_[i]);
    ok = ok && RegisterFiles();
    for (size_t i = 0; ok && i < shortcutFolders_.size(); ++i) ok = MakeFolders(shortcutFolders_[i]);
    for (size_t i = 0; ok && i < shortcuts_.size(); ++i) ok = Step(shortcuts_[i].path) && CreateShortcut(shortcuts_[i]);
    for (size_t i = 0; ok && i < values_.size(); ++i) ok = Step(values_[i].hive + "\\" + values_[i].key) && WriteValue(values_[i]);
    ok = ok && Step(std::string()) && (!HasUninstaller() || WriteInstallLog());
    if (!ok) {
        bool cancelled = cancel && problem_.empty();
        log_.Line(cancelled ? "Cancelled: rolling back" : "Failed: " + problem_ + "; rolling back");
        Rollback();
        return cancelled ? kExitCancelled : damaged_ ? kExitDamaged : kExitFailed;
    }
    DropBackups();
    if (!script_.fileTypes.empty()) SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    log_.Line("Installation complete");
    return kExitDone;
}

bool Installer::MakeFolders(const std::string& path) {
    if (platform::IsFolder(path)) return true;
    std::string parent = FolderOf(path);
    if (parent.size() > 2 && !MakeFolders(parent)) return false;
    if (!platform::MakeFolder(path)) return Fail(texts_.Get(kTextCannotWrite, {path}));
    InstallAction a;
    a.kind = ActionKind::Folder;
    a.path = path;
    journal_.Add(a);
    log_.Line("Folder created: " + path);
    return true;
}

bool Installer::ExtractEntry(const PlannedFile& file, const std::string& target) {
    unz_file_info64 info;
    if (unzLocateFile(archive_, file.entry.c_str(), 2) != UNZ_OK ||
        unzGetCurrentFileInfo64(archive_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        unzOpenCurrentFile(archive_) != UNZ_OK) {
        damaged_ = true;
        return Fail("setup.zip: cannot read " + file.entry);
    }
    File out;
    if (!out.Open(target, CreateWrite)) {
        unzCloseCurrentFile(archive_);
        return Fail(texts_.Get(kTextCannotWrite, {target}));
    }
    std::vector<char> block(1 << 16);
    int n = 0;
    bool written = true, cancelled = false;
    while (written && !cancelled &&
           (n = unzReadCurrentFile(archive_, block.data(), static_cast<unsigned>(block.size()))) > 0) {
        std::uint32_t done = 0;
        written = out.Write(block.data(), static_cast<std::uint32_t>(n), done);
        cancelled = !Advance(static_cast<unsigned>(n));
    }
    if (cancelled) {
        unzCloseCurrentFile(archive_);
        return false;
    }
    // Closing the entry checks its CRC.
    bool intact = n == 0 && unzCloseCurrentFile(archive_) == UNZ_OK;
    out.Close();
    if (!written) return Fail(texts_.Get(kTextCannotWrite, {target}));
    if (!intact) {
        damaged_ = true;
        return Fail("setup.zip: the entry " + file.entry + " is damaged");
    }
    // The file keeps the time it had on the builder's computer, which replace modes compare.
    FILETIME local, utc;
    HANDLE h = CreateFileA(target.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        if (DosDateTimeToFileTime(HIWORD(info.dosDate), LOWORD(info.dosDate), &local) &&
            LocalFileTimeToFileTime(&local, &utc))
            SetFileTime(h, nullptr, nullptr, &utc);
        CloseHandle(h);
    }
    return true;
}

bool Installer::ShouldReplace(const PlannedFile& file, const std::string& fresh) {
    if (!platform::IsFile(file.path)) return true;
    int order = 0;
    switch (file.replaceMode) {
        case kReplaceNever: return false;
        case kReplaceOlderDate: return CompareDates(file.path, fresh) < 0;
        case kReplaceLowerVersion: return CompareVersions(file.path, fresh, order) && order < 0;
        case kReplaceLowerOrOlder:
            if (!CompareVersions(file.path, fresh, order)) order = 0;
            return order < 0 || (order == 0 && CompareDates(file.path, fresh) < 0);
        case kReplaceAsk: return !ask || ask(texts_.Get(kTextReplaceFile, {file.path}), true);
        case kReplaceDifferent: return !SameContents(file.path, fresh);
        default: return true;
    }
}

bool Installer::PlaceFile(const PlannedFile& file) {
    if (!MakeFolders(FolderOf(file.path))) return false;
    std::string fresh = file.path + kNewSuffix;
    bool existed = platform::IsFile(file.path);
    if (!ExtractEntry(file, fresh)) {
        DeleteFileA(fresh.c_str());
        return false;
    }
    if (ShouldReplace(file, fresh))
        return MoveIntoPlace(fresh, file.path, file.options, existed, file.replaceMode == kReplaceAtRestart);
    DeleteFileA(fresh.c_str());
    log_.Line("Kept existing file: " + file.path);
    if ((file.options & kSharedFile) && existed) {
        InstallAction a;
        a.kind = ActionKind::File;
        a.path = file.path;
        a.options = file.options | kKeptExisting;
        a.previousCount = SharedCount(file.path);
        SetSharedCount(file.path, RaisedSharedCount(file.path, true, a.previousCount));
        journal_.Add(a);
    }
    return true;
}

bool Installer::MoveIntoPlace(const std::string& fresh, const std::string& path, int options, bool existed,
                              bool laterIfInUse) {
    InstallAction a;
    a.kind = ActionKind::File;
    a.path = path;
    a.options = options;
    if (existed) {
        a.backup = path + kOldSuffix;
        if (!MoveFileExA(path.c_str(), a.backup.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            a.backup.clear();
            if (laterIfInUse) return ReplaceAtRestart(fresh, a);
            DeleteFileA(fresh.c_str());
            return Fail(texts_.Get(kTextCannotWrite, {path}));
        }
    }
    if (!MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(fresh.c_str());
        if (existed) MoveFileExA(a.backup.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
        return Fail(texts_.Get(kTextCannotWrite, {path}));
    }
    if (options & kSharedFile) {
        a.previousCount = SharedCount(path);
        SetSharedCount(path, RaisedSharedCount(path, existed, a.previousCount));
    }
    journal_.Add(a);
    log_.Line("File installed: " + path);
    return true;
}

bool Installer::ReplaceAtRestart(const std::string& fresh, InstallAction& action) {
    if (!MoveFileExA(fresh.c_str(), action.path.c_str(), MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(fresh.c_str());
        return Fail(texts_.Get(kTextCannotWrite, {action.path}));
    }
    action.pending = fresh;
    if (action.options & kSharedFile) {
        action.previousCount = SharedCount(action.path);
        SetSharedCount(action.path, RaisedSharedCount(action.path, true, action.previousCount));
    }
    journal_.Add(action);
    log_.Line("File in use, replaced at the next restart: " + action.path);
    return true;
}

bool Installer::RegisterFiles() {
    std::vector<InstallAction> files;
    for (const InstallAction& a : journal_.Actions())
        if (a.kind == ActionKind::File && (a.options & kSelfRegister) && !(a.options & kKeptExisting)) files.push_back(a);
    for (InstallAction a : files) {
        if (!CallRegistration(a.path, true)) return Fail(texts_.Get(kTextCannotRegister, {a.path}));
        a.kind = ActionKind::Registered;
        a.backup.clear();
        journal_.Add(a);
        log_.Line("Registered: " + a.path);
    }
    return true;
}

bool Installer::CreateShortcut(const PlannedShortcut& shortcut) {
    if (!MakeFolders(FolderOf(shortcut.path))) return false;
    std::string fresh = shortcut.path + kNewSuffix;
    bool written = false;
    if (shortcut.internet) {
        File out;
        written = out.Open(fresh, CreateWrite) && out.WriteLine("[InternetShortcut]") &&
                  out.WriteLine("URL=" + shortcut.url) && out.Close() > 0;
    } else {
        written = SaveShellLink(shortcut.fields, fresh);
    }
    if (!written) {
        DeleteFileA(fresh.c_str());
        return Fail(texts_.Get(kTextCannotWrite, {shortcut.path}));
    }
    return MoveIntoPlace(fresh, shortcut.path, 0, platform::IsFile(shortcut.path), false);
}

bool Installer::CreateKeyPath(HKEY hive, const std::string& hiveName, const std::string& path) {
    size_t end = 0;
    while (end != std::string::npos) {
        end = path.find('\\', end + 1);
        std::string partial = path.substr(0, end);
        RegistryKey key;
        bool created = false;
        if (!key.Create(hive, partial, created)) return Fail(texts_.Get(kTextCannotWrite, {hiveName + "\\" + partial}));
        if (created) {
            InstallAction a;
            a.kind = ActionKind::Key;
            a.hive = hiveName;
            a.key = partial;
            journal_.Add(a);
            log_.Line("Registry key created: " + hiveName + "\\" + partial);
        }
    }
    return true;
}

bool Installer::WriteValue(const PlannedValue& value) {
    HKEY hive = HiveFromName(value.hive);
    if (!value.key.empty() && !CreateKeyPath(hive, value.hive, value.key)) return false;
    if (value.keyOnly) return true;
    RegistryKey key;
    bool created = false;
    std::string where = value.hive + "\\" + value.key + "\\" + value.name;
    if (!key.Create(hive, value.key, created)) return Fail(texts_.Get(kTextCannotWrite, {where}));
    InstallAction a;
    a.kind = ActionKind::Value;
    a.hive = value.hive;
    a.key = value.key;
    a.name = value.name;
    DWORD type = 0;
    if (key.Query(value.name, type, a.previousData)) a.previousType = static_cast<long>(type);
    if (!key.Set(value.name, value.type, value.data)) return Fail(texts_.Get(kTextCannotWrite, {where}));
    journal_.Add(a);
    log_.Line("Registry value written: " + where);
    return true;
}

// The install log serves the uninstaller only; without one it would be a file that nothing removes.
bool Installer::HasUninstaller() const {
    std::string uninstaller = JoinPath(appDir_, "uninstall.exe");
    for (const PlannedFile& f : files_)
        if (EqualNoCase(f.path, uninstaller)) return true;
    return false;
}

long Installer::RaisedSharedCount(const std::string& path, bool existed, long previous) const {
    InstallAction file;
    file.kind = ActionKind::File;
    file.path = path;
    if (earlier_.Covers(file) && previous > 0) return previous;
    // A file that was there without a count may be used by a program that never counted it.
    return previous >= 0 ? previous + 1 : existed ? 2 : 1;
}

void Installer::ReadEarlierInstallLog() {
    try {
        ProfileText text(appDir_, "install.log");
        if (earlier_.Read(text)) log_.Line("Earlier installation found: its install log is kept");
        else earlier_ = InstallLog();
    } catch (const Exception&) {
    }
}

bool Installer::WriteInstallLog() {
    std::string path = JoinPath(appDir_, "install.log");
    File out;
    auto [top, bottom] = PanelColours(script_.screens);
    std::string text = "[UNINSTALL]\r\nProductName=" + Product() + "\r\nAppDir=" + appDir_ + "\r\nPanelColours=" +
                       ColourText(top) + "," + ColourText(bottom) + "\r\n\r\n[STRINGS]\r\n" +
                       texts_.Lines() + "\r\n[ACTIONS]\r\n" + earlier_.MergedWith(journal_).ActionLines() + "\r\n";
    std::uint32_t done = 0;
    if (!out.Open(path, CreateWrite) || !out.Write(text.data(), static_cast<std::uint32_t>(text.size()), done) ||
        out.Close() <= 0) {
        out.Close();
        DeleteFileA(path.c_str());
        return Fail(texts_.Get(kTextCannotWrite, {path}));
    }
    log_.Line("Install log written: " + path);
    return true;
}

void Installer::Rollback() {
    const auto& actions = journal_.Actions();
    for (auto it = actions.rbegin(); it != actions.rend(); ++it) {
        std::string problem;
        if (!UndoAction(*it, UndoMode::Rollback, problem)) log_.Line("Rollback could not restore " + problem);
    }
    log_.Line("Rollback complete");
}

void Installer::DropBackups() {
    for (const InstallAction& a : journal_.Actions())
        if (!a.backup.empty()) DeleteFileForce(a.backup);
}
