#include "package/InstallPlan.h"

#include <algorithm>
#include <cstdlib>

#include "core/Path.h"
#include "core/Sha256.h"
#include "core/Text.h"
#include "package/WorkProgress.h"

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

bool InstallPlan::Fail(const char* section, const std::string& item, const std::string& problem,
                       const std::string& fix, int exitCode) {
    // Lines made from one value (the values of one uninstall entry) are refused once.
    for (const Refusal& r : refusals_)
        if (r.section == section && r.item == item && r.problem == problem) return false;
    refusals_.push_back({section, item, problem, fix, exitCode});
    return false;
}

// What the project must change for a destination that `problem` refuses.
static std::string DestinationFix(const std::string& problem, bool escapes) {
    if (escapes) return "Remove \".\", \"..\", \":\" and \"/\" from its names";
    if (problem.find("empty name") != std::string::npos) return "Give the item a name";
    if (problem.find("unknown variable") != std::string::npos) return "Write \"%\" only around a variable the installer knows";
    return "Rename the item, or change the text of the variable that its name uses";
}

bool InstallPlan::Destination(const char* section, const std::string& text, std::string& path) {
    bool escapes = false;
    if (variables_.ExpandDestination(text, path, problem_, escapes)) return ForCurrentUser(section, text);
    return Fail(section, text, problem_, DestinationFix(problem_, escapes), escapes ? kExitDamaged : kExitFailed);
}

bool InstallPlan::ForCurrentUser(const char* section, const std::string& destination) {
    if (options_.scope != InstallScope::CurrentUser) return true;
    const size_t close = destination.find('%', 1);
    const FolderVariable* root =
        close == std::string::npos ? nullptr : FindFolderVariable(destination.substr(1, close - 1));
    if (!root || root->perUser) return true;
    return Fail(section, destination,
                "an installation for the current user cannot write into %" + std::string(root->name) +
                    "%, which belongs to the whole computer",
                "Install the item below %AppDir% or %CommonFiles% instead, or install the project for all users",
                kExitScope);
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
    for (const Refusal& r : script_.problems) refusals_.push_back(r);
    return script_.problems.empty();
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
    auto setFolder = [&](const char* name, const std::string& path) {
        if (path.empty())
            return Fail("Setup Info", std::string("%") + name + "%",
                        std::string("the system folder of %") + name + "% is unknown", std::string(), kExitFailed);
        variables_.Set(name, path, true);
        log_.Line(std::string("%") + name + "% = " + path);
        return true;
    };
    if (!setFolder("SetupDir", setupDir)) return false;
    for (const FolderVariable* v = FolderVariablesBegin(); v != FolderVariablesEnd(); ++v)
        if (!setFolder(v->name, target.*v->field)) return false;
    // Both are tried, so that a build hears of both faults at once.
    const bool group = ResolveGroup(target.startMenuPrograms);
    return ResolveInstallationFolder() && group;
}

// The program group is a folder path below the Start menu's programs. Names that empty product
// texts leave empty drop out ("%CompanyName%\%ProductName%" without a company is the product's
// folder); with no name at all, what goes into the group goes straight into the programs folder,
// which the installer never made and so never removes.
bool InstallPlan::ResolveGroup(const std::string& startMenuPrograms) {
    std::string groupName;
    bool escapes = false;
    // A stand-in until the group is known, so that a refused group does not refuse every shortcut.
    variables_.Set("AppSCFolder", JoinPath(startMenuPrograms, "Program Group"), true);
    if (!options_.group.empty()) {
        groupName = options_.group;
        if (!IsSafeRelativePath(groupName))
            return Fail("Setup Info", "DefaultShortcutFolderName", "the program group name " + groupName + " is not a folder name",
                        "Choose a program group name without \":\" or \"..\" and without empty names", kExitFailed);
    } else if (!variables_.ExpandRelativePath(script_.shortcutFolderName, groupName, problem_, escapes)) {
        return Fail("Setup Info", "DefaultShortcutFolderName", "the program group name " + script_.shortcutFolderName + " " + problem_,
                    escapes ? "Remove \".\", \"..\", \":\" and \"/\" from the default shortcut folder name"
                            : "Change the default shortcut folder name, or the product text that it uses",
                    escapes ? kExitDamaged : kExitFailed);
    }
    const std::string folder = groupName.empty() ? startMenuPrograms : JoinPath(startMenuPrograms, groupName);
    variables_.Set("AppSCFolder", folder, true);
    group_ = groupName;
    log_.Line("%AppSCFolder% = " + folder);
    return true;
}

bool InstallPlan::ResolveInstallationFolder() {
    const std::string& written = script_.installationPath;
    // A refused folder leaves a stand-in, so that the lines below are checked all the same.
    auto refuse = [&](const std::string& problem, const std::string& fix, int exitCode) {
        appDir_ = "C:\\Program Files\\Product";
        variables_.Set("AppDir", appDir_, true);
        return Fail("Setup Info", "DefaultInstallationPath", problem, fix, exitCode);
    };
    static const char kBeginWithVariable[] =
        "Begin the default installation folder with a folder variable such as %ProgramFiles%, followed by names";
    // Below a folder variable, names that empty product texts leave empty drop out, as in a
    // destination; a path written out in full is taken as it stands.
    const bool belowVariable = !written.empty() && written[0] == '%' && written.find('%', 1) != std::string::npos;
    std::string installPath;
    bool escapes = false;
    if (!options_.folder.empty()) {
        installPath = options_.folder;
    } else if (belowVariable ? !variables_.ExpandDestination(TrimTrailingBackslashes(written), installPath, problem_, escapes)
                             : !variables_.Expand(written, true, installPath, problem_)) {
        if (!belowVariable)
            return refuse("the installation folder " + written + " names an " + problem_, kBeginWithVariable, kExitFailed);
        const std::string problem = "the installation folder" + problem_.substr(std::string("the destination").size());
        if (escapes)
            return refuse(problem, "Remove \".\", \"..\", \":\" and \"/\" from the default installation folder", kExitDamaged);
        return refuse(problem,
                      problem_.find("folder variable") != std::string::npos
                          ? kBeginWithVariable
                          : "Change the default installation folder, or the product texts that it uses",
                      kExitFailed);
    }
    appDir_ = TrimTrailingBackslashes(installPath);
    // Product texts that are all empty would leave the folder variable alone: the product would
    // go straight into Program Files, and its uninstallation would work there.
    std::string root;
    if (options_.folder.empty() && belowVariable &&
        variables_.Expand(written.substr(0, written.find('%', 1) + 1), false, root, problem_) &&
        EqualNoCase(TrimTrailingBackslashes(root), appDir_))
        return refuse("the installation folder " + written + " names no folder below " + root,
                      "Give the product a name, or add a folder name to the default installation folder", kExitFailed);
    if (!IsAbsolutePath(appDir_) || appDir_.size() <= 3)
        return refuse("the installation folder " + installPath + " is not a full folder path", kBeginWithVariable,
                      kExitFailed);
    variables_.Set("AppDir", appDir_, true);
    log_.Line("%AppDir% = " + appDir_);
    return !belowVariable || !options_.folder.empty() || ForCurrentUser("Setup Info", written);
}

bool InstallPlan::PlanActions(const EntrySize& entrySize, const EntryRegisters& registers) {
    // Every step runs, so that the refusals list every line at fault.
    bool ok = PlanFiles(entrySize, registers);
    ok = PlanShortcuts() && ok;
    ok = PlanRegistry() && ok;
    ok = PlanFileTypes() && ok;
    if (ok) PlanUninstallEntry();
    return ok;
}

bool InstallPlan::PlanFolders(const char* section, const std::vector<std::string>& lines,
                              std::vector<std::string>& folders) {
    bool ok = true;
    for (const std::string& line : lines) {
        std::string path;
        if (Destination(section, line, path))
            folders.push_back(path);
        else
            ok = false;
    }
    return ok;
}

bool InstallPlan::PlanFiles(const EntrySize& entrySize, const EntryRegisters& registers) {
    folders_.push_back(appDir_);
    bool ok = PlanFolders("Files", script_.folders, folders_);
    for (const ScriptFile& f : script_.files) {
        PlannedFile file;
        file.entry = f.entry;
        file.options = f.options;
        file.replaceMode = f.replaceMode;
        if (!IsSafeRelativePath(f.entry)) {
            ok = Fail("Files", f.destination, "the archive entry " + f.entry + " is not a safe name: it holds " + PathSpellingFault(f.entry),
                      "Rename the file so that Windows can keep its name", kExitDamaged);
            continue;
        }
        if (!Destination("Files", f.destination, file.path)) {
            ok = false;
            continue;
        }
        if (!entrySize(f.entry, file.size)) {
            ok = Fail("Files", f.destination, "setup.zip lacks the entry " + f.entry, "Build the setup again", kExitDamaged);
            continue;
        }
        if (options_.scope == InstallScope::CurrentUser && (f.options & (kSharedFile | kSelfRegister))) {
            ok = Fail("Files", f.destination,
                      std::string("an installation for the current user cannot ") +
                          ((f.options & kSharedFile) ? "count a shared file, which the whole computer shares"
                                                     : "register a file, which registers it for the whole computer"),
                      std::string((f.options & kSharedFile) ? "Clear Shared file" : "Clear Self-register") +
                          " in the file's properties, or install the project for all users",
                      kExitScope);
            continue;
        }
        if ((f.options & kSelfRegister) && registers && !registers(f.entry)) {
            ok = Fail("Files", f.destination,
                      "the file is marked for self-registration, but it is no program library that exports "
                      "DllRegisterServer",
                      "Clear Self-register in the file's properties", kExitFailed);
            continue;
        }
        files_.push_back(file);
    }
    return ok;
}

bool InstallPlan::PlanShortcuts() {
    bool ok = PlanFolders("Shortcuts", script_.shortcutFolders, shortcutFolders_);
    for (const ScriptShortcut& s : script_.shortcuts) {
        PlannedShortcut sc;
        sc.internet = s.internet;
        // The uninstaller's shortcut is named in the setup info, not among the shortcuts.
        const char* section = EqualNoCase(s.target, "%AppDir%\\uninstall.exe") ? "Setup Info" : "Shortcuts";
        if (!Destination(section, s.path, sc.path)) {
            ok = false;
            continue;
        }
        sc.path += s.internet ? ".url" : ".lnk";
        if (s.internet) {
            variables_.Expand(s.target, false, sc.url, problem_);
        } else {
            ShellLinkFields& f = sc.fields;
            if (!variables_.Expand(s.target, true, f.target, problem_) ||
                !variables_.Expand(s.iconPath, true, f.iconPath, problem_) ||
                !variables_.Expand(s.workingFolder, true, f.workingFolder, problem_)) {
                ok = Fail(section, s.path, "the shortcut names an " + problem_,
                          "Write \"%\" only around a variable the installer knows", kExitFailed);
                continue;
            }
            variables_.Expand(s.parameters, false, f.arguments, problem_);
            f.iconIndex = std::atoi(s.iconIndex.c_str());
            f.showCommand = ShowCommand(s.showCommand);
        }
        shortcuts_.push_back(sc);
    }
    return ok;
}

bool InstallPlan::AddValue(const char* section, const std::string& hive, const std::string& key,
                           const std::string& name, std::uint32_t type, const std::string& data, bool keyOnly,
                           const std::string& written) {
    const std::string item = hive + "\\" + (written.empty() ? key : written);
    if (HiveNamed(hive) == Hive::None)
        return Fail(section, item, "unknown registry hive " + hive, "Build the setup again", kExitDamaged);
    if (options_.scope == InstallScope::CurrentUser && !WritableForCurrentUser(hive, key))
        return Fail(section, item,
                    "an installation for the current user cannot write below " + hive +
                        ", which belongs to the whole computer or to other users",
                    "Write the entry below HKEY_CURRENT_USER instead, or install the project for all users",
                    kExitScope);
    const RegistryPlace place = ScopeRegistryPlace(options_.scope, hive, key);
    // A value may stand directly under its hive (an empty key path); a key may not.
    if ((keyOnly || !key.empty()) && !IsKeyPath(key))
        return Fail(section, item, "the registry key " + hive + "\\" + key + " is not a key path",
                    "Give every key name a text: no empty name, and no product text in it that is empty", kExitFailed);
    PlannedValue v;
    v.keyOnly = keyOnly;
    v.hive = place.hive;
    v.key = place.key;
    v.name = name;
    v.type = type;
    v.data = data;
    values_.push_back(v);
    return true;
}

bool InstallPlan::PlanRegistry() {
    bool ok = true;
    for (const ScriptRegistryLine& r : script_.registry) {
        std::string key, name, data, bytes;
        const std::string item = r.hive + "\\" + r.keyPath + (r.key ? "" : "\\" + r.name);
        if (!variables_.Expand(r.keyPath, true, key, problem_) || !variables_.Expand(r.name, true, name, problem_)) {
            ok = Fail("Registry", item, "the registry entry names an " + problem_,
                      "Write \"%\" only around a variable the installer knows", kExitFailed);
            continue;
        }
        // A key path may hold a "%" of its own only through a variable; data keeps unknown ones.
        if (r.key) {
            ok = AddValue("Registry", r.hive, key, std::string(), kRegNone, std::string(), true, r.keyPath) && ok;
        } else if (r.type == 's' || r.type == 'e') {
            // Folder variables are the installer's to expand; an expandable string keeps the
            // ones it does not know (%SystemRoot%) for Windows to expand when it is read.
            variables_.Expand(r.data, false, data, problem_);
            ok = AddValue("Registry", r.hive, key, name, r.type == 's' ? kRegString : kRegExpandString,
                          StringData(data), false, r.keyPath) && ok;
        } else if (r.type == 'm') {
            std::vector<std::string> strings;
            if (!ReadQuotedList(r.data, strings)) {
                ok = Fail("Registry", item, "bad multi-string data: " + r.data,
                          "Write each string in double quotes, separated by commas", kExitFailed);
                continue;
            }
            for (std::string& text : strings) {
                variables_.Expand(text, false, data, problem_);
                text = data;
            }
            ok = AddValue("Registry", r.hive, key, name, kRegMultiString, MultiStringData(strings), false, r.keyPath) && ok;
        } else if (r.type == 'b') {
            if (!ReadBinaryData(r.data, bytes))
                ok = Fail("Registry", item, "bad binary data: " + r.data, "Write the data as hexadecimal bytes", kExitFailed);
            else
                ok = AddValue("Registry", r.hive, key, name, kRegBinary, bytes, false, r.keyPath) && ok;
        } else {
            char* end = nullptr;
            unsigned long long number = std::strtoull(r.data.c_str(), &end, 16);
            if (end == r.data.c_str() || number > 0xFFFFFFFFull)
                ok = Fail("Registry", item, "bad number data: " + r.data, "Write a number from 0 to 0xFFFFFFFF",
                          kExitFailed);
            else
                ok = AddValue("Registry", r.hive, key, name, kRegDword, DwordData(static_cast<std::uint32_t>(number)),
                              false, r.keyPath) && ok;
        }
    }
    return ok;
}

bool InstallPlan::PlanFileTypes() {
    bool ok = true;
    for (const ScriptFileType& t : script_.fileTypes) {
        std::string extension = t.extension[0] == '.' ? t.extension : "." + t.extension;
        std::string identifier, fullName, program, icon;
        if (t.identifier.empty()) {
            ok = Fail("File types", t.extension, "the file type " + t.extension + " has no identifier",
                      "Give the file type an identifier, such as Company.Document", kExitFailed);
            continue;
        }
        if (!variables_.Expand(t.identifier, true, identifier, problem_) ||
            !variables_.Expand(t.program, true, program, problem_) ||
            !variables_.Expand(t.iconPath.empty() ? t.program : t.iconPath, true, icon, problem_)) {
            ok = Fail("File types", t.extension, "the file type names an " + problem_,
                      "Write \"%\" only around a variable the installer knows", kExitFailed);
            continue;
        }
        variables_.Expand(t.fullName, false, fullName, problem_);
        if (!IsKeyPath(extension) || !IsKeyPath(identifier) || extension.find('\\') != std::string::npos) {
            ok = Fail("File types", t.extension, "the file type " + t.extension + "," + t.identifier + " is not a registry name",
                      "Remove \"\\\" from the extension and empty names from the identifier", kExitFailed);
            continue;
        }
        ok = AddValue("File types", "HKCR", extension, "", kRegString, StringData(identifier), false) &&
             AddValue("File types", "HKCR", identifier, "", kRegString, StringData(fullName), false) &&
             AddValue("File types", "HKCR", identifier + "\\DefaultIcon", "", kRegString,
                      StringData(icon + "," + std::to_string(t.iconNumber)), false) &&
             AddValue("File types", "HKCR", identifier + "\\shell\\open\\command", "", kRegString,
                      StringData("\"" + program + "\" \"%1\""), false) && ok;
    }
    return ok;
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
    // Written as setup.ini writes the entry; AddValue puts it below the scope's hive.
    const char* hive = UninstallEntryHive();
    const size_t prefix = sizeof kUninstallEntries - 1;
    std::string key;
    for (const PlannedValue& v : values_)
        if (v.keyOnly && EqualNoCase(v.hive, UninstallHive(options_.scope)) && v.key.size() > prefix &&
            EqualNoCase(v.key.substr(0, prefix), kUninstallEntries) && v.key.find('\\', prefix) == std::string::npos)
            key = v.key;
    if (key.empty()) {
        if (!HasUninstaller()) return;
        std::string product = Product();
        uninstallKey_ = kUninstallEntries + (IsStoredAsSpelt(product) && IsKeyPath(product)
                                                 ? product
                                                 : "Quillset " + Sha256Hex(LowerCase(appDir_)).substr(0, 16));
        AddValue("Setup Info", hive, uninstallKey_, std::string(), kRegNone, std::string(), true);
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
    AddValue("Setup Info", hive, key, "DisplayVersion", kRegString, text("ProductVersion"), false);
    AddValue("Setup Info", hive, key, "Publisher", kRegString, text("CompanyName"), false);
    AddValue("Setup Info", hive, key, "URLInfoAbout", kRegString, text("ProductURL"), false);
    AddValue("Setup Info", hive, key, "InstallLocation", kRegString, StringData(appDir_), false);
    AddValue("Setup Info", hive, key, "DisplayIcon", kRegString, StringData(uninstaller + ",0"), false);
    const std::uint64_t kilobytes = std::min<std::uint64_t>(bytes / 1024 + (bytes % 1024 != 0), UINT32_MAX);
    AddValue("Setup Info", hive, key, "EstimatedSize", kRegDword, DwordData(static_cast<std::uint32_t>(kilobytes)), false);
    if (!options_.userName.empty())
        AddValue("Setup Info", hive, key, "RegOwner", kRegString, StringData(options_.userName), false);
    if (!options_.company.empty()) AddValue("Setup Info", hive, key, "RegCompany", kRegString, StringData(options_.company), false);
    AddValue("Setup Info", hive, key, "QuietUninstallString", kRegString, StringData("\"" + uninstaller + "\" /S"), false);
    // The group the user chose, which an update of the product takes again.
    if (!group_.empty()) AddValue("Setup Info", hive, key, kProgramGroupValue, kRegString, StringData(group_), false);
    // The uninstaller only removes: no Modify or Repair buttons beside it.
    AddValue("Setup Info", hive, key, "NoModify", kRegDword, DwordData(1), false);
    AddValue("Setup Info", hive, key, "NoRepair", kRegDword, DwordData(1), false);
}
