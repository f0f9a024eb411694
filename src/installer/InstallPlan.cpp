#include "installer/InstallPlan.h"

#include <algorithm>
#include <cstdlib>

#include "core/Path.h"
#include "core/Sha256.h"
#include "core/Text.h"
#include "installer/WorkProgress.h"

namespace {


int ShowCommand(int stored) {
    switch (stored) {
        case kShowMaximized: return kShowMaximized;
        case kShowMinimizedInactive: return kShowMinimizedInactive;
        default: return kShowNormal;
    }
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

bool InstallPlan::Fail(const std::string& problem) {
    problem_ = problem;
    return false;
}

std::string InstallPlan::Text(const std::string& text) const {
    std::string out, problem;
    variables_.Expand(text, false, out, problem);
    return out;
}

std::uint64_t InstallPlan::RequiredBytes() const {
    std::uint64_t bytes = 0;
    for (const PlannedFile& f : files_) bytes = SaturatingAdd(bytes, f.size);
    return bytes;
}

std::string InstallPlan::Product() const {
    std::string name;
    variables_.Get("ProductName", name);
    return name;
}

bool InstallPlan::CheckScript() {
    return script_.problems.empty() || Fail("setup.ini holds a " + script_.problems.front());
}

bool InstallPlan::ResolveVariables(const std::string& setupDir, const TargetFolders& target) {
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
        const std::string& path;
    };
    const Folder folders[] = {
        {"SetupDir", setupDir},
        {"ProgramFiles", target.programFiles},
        {"CommonFiles", target.commonFiles},
        {"WinDir", target.windows},
        {"WinSysDir", target.system},
        {"FontsDir", target.fonts},
        {"Desktop", target.desktop},
        {"StartMenu", target.startMenu},
        {"StartMenuPrograms", target.startMenuPrograms},
        {"StartUp", target.startUp},
    };
    for (const Folder& f : folders) {
        if (f.path.empty()) return Fail(std::string("the system folder of %") + f.name + "% is unknown");
        variables_.Set(f.name, f.path, true);
        log_.Line(std::string("%") + f.name + "% = " + f.path);
    }
    std::string groupName, installPath;
    if (!options_.group.empty()) groupName = options_.group;
    else if (!variables_.Expand(script_.shortcutFolderName, true, groupName, problem_)) return Fail(problem_);
    if (!IsSafeRelativePath(groupName)) return Fail("the program group name " + groupName + " is not a folder name");
    variables_.Set("AppSCFolder", JoinPath(target.startMenuPrograms, groupName), true);
    group_ = groupName;
    if (!options_.folder.empty()) {
        installPath = options_.folder;
    } else if (!variables_.Expand(script_.installationPath, true, installPath, problem_)) {
        return Fail(problem_);
    }
    appDir_ = TrimTrailingBackslashes(installPath);
    if (!IsAbsolutePath(appDir_) || appDir_.size() <= 3) {
        if (!options_.folder.empty()) failure_ = kExitFailed;
        return Fail("the installation folder " + installPath + " is not a full folder path");
    }
    variables_.Set("AppDir", appDir_, true);
    log_.Line("%AppDir% = " + appDir_);
    log_.Line("%AppSCFolder% = " + JoinPath(target.startMenuPrograms, groupName));
    return true;
}

bool InstallPlan::PlanActions(const EntrySize& entrySize) {
    if (!PlanFiles(entrySize) || !PlanShortcuts() || !PlanRegistry() || !PlanFileTypes()) return false;
    PlanUninstallEntry();
    return true;
}

bool InstallPlan::PlanFolders(const std::vector<std::string>& lines, std::vector<std::string>& folders) {
    for (const std::string& line : lines) {
        std::string path;
        if (!variables_.ExpandDestination(line, path, problem_)) return Fail(problem_);
        folders.push_back(path);
    }
    return true;
}

bool InstallPlan::PlanFiles(const EntrySize& entrySize) {
    folders_.push_back(appDir_);
    if (!PlanFolders(script_.folders, folders_)) return false;
    for (const ScriptFile& f : script_.files) {
        PlannedFile file;
        file.entry = f.entry;
        file.options = f.options;
        file.replaceMode = f.replaceMode;
        if (!IsSafeRelativePath(f.entry)) return Fail("the archive entry " + f.entry + " is not a safe name");
        if (!variables_.ExpandDestination(f.destination, file.path, problem_)) return Fail(problem_);
        if (!entrySize(f.entry, file.size)) return Fail("setup.zip lacks the entry " + f.entry);
        files_.push_back(file);
    }
    return true;
}

bool InstallPlan::PlanShortcuts() {
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

bool InstallPlan::AddValue(const std::string& hive, const std::string& key, const std::string& name,
                           std::uint32_t type, const std::string& data, bool keyOnly) {
    if (HiveNamed(hive) == Hive::None) return Fail("unknown registry hive " + hive);
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

bool InstallPlan::PlanRegistry() {
    for (const ScriptRegistryLine& r : script_.registry) {
        std::string key, name, data, bytes;
        if (!variables_.Expand(r.keyPath, true, key, problem_) || !variables_.Expand(r.name, true, name, problem_))
            return Fail(problem_);
        // A key path may hold a "%" of its own only through a variable; data keeps unknown ones.
        if (r.key) {
            if (!AddValue(r.hive, key, std::string(), kRegNone, std::string(), true)) return false;
        } else if (r.type == 's') {
            variables_.Expand(r.data, false, data, problem_);
            if (!AddValue(r.hive, key, name, kRegString, StringData(data), false)) return false;
        } else if (r.type == 'b') {
            if (!ReadBinaryData(r.data, bytes)) return Fail("bad binary data: " + r.data);
            if (!AddValue(r.hive, key, name, kRegBinary, bytes, false)) return false;
        } else {
            char* end = nullptr;
            unsigned long long number = std::strtoull(r.data.c_str(), &end, 16);
            if (end == r.data.c_str() || number > 0xFFFFFFFFull) return Fail("bad number data: " + r.data);
            if (!AddValue(r.hive, key, name, kRegDword, DwordData(static_cast<std::uint32_t>(number)), false))
                return false;
        }
    }
    return true;
}

bool InstallPlan::PlanFileTypes() {
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
        if (!AddValue("HKCR", extension, "", kRegString, StringData(identifier), false) ||
            !AddValue("HKCR", identifier, "", kRegString, StringData(fullName), false) ||
            !AddValue("HKCR", identifier + "\\DefaultIcon", "", kRegString,
                      StringData(icon + "," + std::to_string(t.iconNumber)), false) ||
            !AddValue("HKCR", identifier + "\\shell\\open\\command", "", kRegString,
                      StringData("\"" + program + "\" \"%1\""), false))
            return false;
    }
    return true;
}

// The install log serves the uninstaller only; without one it would be a file that nothing removes.
bool InstallPlan::HasUninstaller() const {
    std::string uninstaller = JoinPath(appDir_, "uninstall.exe");
    for (const PlannedFile& f : files_)
        if (EqualNoCase(f.path, uninstaller)) return true;
    return false;
}

// The entry that keeps the install log's fingerprint: the script's own key below the uninstall
// entries, or, for a script that has an uninstaller but names no entry, a bare key of the product's
// (or of the installation folder's) name, which the uninstallation removes again.
void InstallPlan::PlanUninstallEntry() {
    const size_t prefix = sizeof kUninstallEntries - 1;
    std::string key;
    for (const PlannedValue& v : values_)
        if (v.keyOnly && EqualNoCase(v.hive, "HKLM") && v.key.size() > prefix &&
            EqualNoCase(v.key.substr(0, prefix), kUninstallEntries) && v.key.find('\\', prefix) == std::string::npos)
            key = v.key;
    if (key.empty()) {
        if (!HasUninstaller()) return;
        std::string product = Product();
        uninstallKey_ = kUninstallEntries + (IsStoredAsSpelt(product) && IsKeyPath(product)
                                                 ? product
                                                 : "Quillset " + Sha256Hex(LowerCase(appDir_)).substr(0, 16));
        AddValue("HKLM", uninstallKey_, std::string(), kRegNone, std::string(), true);
        return;
    }
    uninstallKey_ = key;
    std::uint64_t bytes = RequiredBytes();
    std::string uninstaller = JoinPath(appDir_, "uninstall.exe");
    auto text = [&](const char* name) {
        std::string value;
        variables_.Get(name, value);
        return StringData(value);
    };
    AddValue("HKLM", key, "DisplayVersion", kRegString, text("ProductVersion"), false);
    AddValue("HKLM", key, "Publisher", kRegString, text("CompanyName"), false);
    AddValue("HKLM", key, "URLInfoAbout", kRegString, text("ProductURL"), false);
    AddValue("HKLM", key, "InstallLocation", kRegString, StringData(appDir_), false);
    AddValue("HKLM", key, "DisplayIcon", kRegString, StringData(uninstaller + ",0"), false);
    const std::uint64_t kilobytes = std::min<std::uint64_t>(bytes / 1024 + (bytes % 1024 != 0), UINT32_MAX);
    AddValue("HKLM", key, "EstimatedSize", kRegDword, DwordData(static_cast<std::uint32_t>(kilobytes)), false);
    if (!options_.userName.empty())
        AddValue("HKLM", key, "RegOwner", kRegString, StringData(options_.userName), false);
    if (!options_.company.empty()) AddValue("HKLM", key, "RegCompany", kRegString, StringData(options_.company), false);
    AddValue("HKLM", key, "QuietUninstallString", kRegString, StringData("\"" + uninstaller + "\" /S"), false);
    // The uninstaller only removes: no Modify or Repair buttons beside it.
    AddValue("HKLM", key, "NoModify", kRegDword, DwordData(1), false);
    AddValue("HKLM", key, "NoRepair", kRegDword, DwordData(1), false);
}
