#include "verify/Verification.h"

#include <algorithm>
#include <map>
#include <set>

#include "core/Path.h"
#include "core/Text.h"
#include "model/ProjectDocument.h"
#include "package/RegistryData.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "verify/DiskSnapshot.h"
#include "verify/RegistryExport.h"
#include "verify/Utf.h"
#include "verify/WineAllowList.h"
#include "verify/WineSession.h"

namespace {

// How long the programs of a setup may run on after it returns (an uninstaller ends by a copy
// of itself that removes the original).
constexpr int kSettleSeconds = 180;

const char* const kUninstallRoots[] = {
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
    "HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
};

struct State {
    RegistryExport registry;
    DiskSnapshot disk;
};

std::string TypeName(std::uint32_t type) {
    switch (type) {
        case 1: return "string";
        case 2: return "expandable string";
        case 3: return "binary";
        case 4: return "number";
        case 7: return "strings";
        default: return "type " + std::to_string(type);
    }
}

// A value the installer planned, as an export shows it. The plan keeps expandable and multi-strings
// in the code page's bytes, which the installer hands to the registry's ANSI call; the registry
// stores them as UTF-16, as the export reads them.
std::string PlannedValueText(std::uint32_t type, const std::string& data) {
    if (type != kRegExpandString && type != kRegMultiString) return RegistryValueText(type, data);
    std::string text = data;
    while (!text.empty() && text.back() == '\0') text.pop_back();
    if (type == kRegMultiString) std::replace(text.begin(), text.end(), '\0', '\n');
    return AsUtf8(text);
}

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && EqualNoCase(text.substr(text.size() - tail.size()), tail);
}

// The program of a command line: the quoted first part, or all up to the first blank.
std::string ProgramOf(const std::string& commandLine) {
    if (!commandLine.empty() && commandLine[0] == '"') {
        const size_t end = commandLine.find('"', 1);
        return commandLine.substr(1, end == std::string::npos ? std::string::npos : end - 1);
    }
    return commandLine.substr(0, commandLine.find(' '));
}

class Verifier {
public:
    Verifier(const VerifyRequest& request, VerifyResult& result)
        : request_(request), result_(result), session_(request.wine, request.progress) {}

    void Run();

private:
    void Say(const std::string& line) {
        if (request_.progress) request_.progress(line);
    }
    void Find(const std::string& kind, const std::string& subject, const std::string& detail) {
        result_.findings.push_back({kind, subject, detail});
    }
    bool Fail(const std::string& problem) {
        result_.problem = problem;
        return false;
    }
    bool Capture(State& state);
    bool Step(const std::string& name, const std::string& program, bool settle);
    void RecordInstalled(const State& before, const State& old, const State& installed);
    void RecordShortcut(const std::string& path);
    void RecordRegistry(const State& before, const State& installed);
    void RecordUninstallEntries(const State& before, const State& installed);
    void CheckOldFiles(const State& before, const State& old, const State& installed);
    void CheckProject(const State& before, const State& installed);
    void CheckProjectRegistry(const ProjectExpectations& expected, const State& installed);
    std::string Uninstaller(const State& installed) const;
    void RecordLeftovers(const State& before, const State& after);
    void KeepTemplateSound(const std::vector<DiskChange>& changes);
    std::string HostPath(const std::string& windowsPath) const { return HostPathOf(session_.DriveRoot(), windowsPath); }

    const VerifyRequest& request_;
    VerifyResult& result_;
    WineSession session_;
    std::set<std::string> oldFilesLeft_;  // lower-case paths of the old version's files still there
    bool spoiledTemplate_ = false;
};

bool Verifier::Capture(State& state) {
    if (request_.stopped && request_.stopped()) return Fail("interrupted; the Wine prefix was removed");
    std::string problem;
    for (const char* hive : {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER"}) {
        std::string bytes;
        RegistryExport part;
        if (!session_.Export(hive, bytes, problem) || !ReadRegistryExport(bytes, part, problem))
            return Fail(std::string("the registry of the prefix could not be read (") + hive + "): " + problem);
        state.registry.Merge(part);
    }
    state.disk = DiskSnapshot::Take(session_.DriveRoot());
    return true;
}

bool Verifier::Step(const std::string& name, const std::string& program, bool settle) {
    if (request_.stopped && request_.stopped()) return Fail("interrupted; the Wine prefix was removed");
    Say(name + ": " + program + " /S");
    const WineSession::Run run = session_.Start(program, {"/S"});
    VerifyStep step;
    step.name = name;
    step.command = "\"" + program + "\" /S";
    step.started = run.started;
    step.exitCode = run.exitCode;
    step.seconds = run.seconds;
    bool settled = true;
    if (settle) settled = session_.WaitForPrograms(kSettleSeconds);
    result_.steps.push_back(step);
    if (!run.started) return Fail(program + " could not be started under Wine" + (run.output.empty() ? "" : ": " + run.output));
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", run.seconds);
    Say("  exit code " + std::to_string(run.exitCode) + " after " + seconds + " s");
    // 3010: done, and the computer must restart to finish (a file in use replaced at restart).
    if (run.exitCode != 0 && run.exitCode != 3010)
        Find("exit-code", name, "the " + name + " ended with exit code " + std::to_string(run.exitCode));
    if (!settled)
        Find("still-running", name, "a program of the " + name + " still ran " + std::to_string(kSettleSeconds) +
                                        " seconds after it ended, and was stopped");
    return true;
}

void Verifier::Run() {
    std::string problem;
    if (!session_.Open(problem)) {
        Fail(problem);
        return;
    }
    Say("Private Wine prefix ready");
    State before, old, installed, after;
    Say("Recording the prefix before the installation");
    if (!Capture(before)) return;
    const bool upgrade = !request_.oldSetup.empty();
    if (upgrade) {
        if (!Step("install old", request_.oldSetup, false) || !Capture(old)) return;
    }
    if (!Step(upgrade ? "install over old" : "install", request_.setup, false) || !Capture(installed)) return;
    Say("Recording what the installation changed");
    RecordInstalled(before, upgrade ? old : before, installed);
    if (upgrade) CheckOldFiles(before, old, installed);
    if (request_.project) CheckProject(before, installed);
    const std::string uninstaller = Uninstaller(installed);
    if (uninstaller.empty()) {
        Find("no-uninstaller", result_.uninstallKey.empty() ? result_.setup : result_.uninstallKey,
             "the setup made no uninstall entry with an uninstaller, so nothing could remove what it installed");
    } else {
        if (!Step("uninstall", uninstaller, true)) return;
        Say("Recording what the uninstallation left");
        if (!Capture(after)) return;
        RecordLeftovers(before, after);
    }
    result_.ran = true;
    if (spoiledTemplate_) session_.DiscardTemplate();
}

void Verifier::KeepTemplateSound(const std::vector<DiskChange>& changes) {
    for (const DiskChange& c : changes)
        if (c.kind == DiskChange::Changed && StartsWith(LowerCase(c.entry.path), LowerCase(WineSession::kSharedFolder)))
            spoiledTemplate_ = true;
}

void Verifier::RecordInstalled(const State& before, const State& old, const State& installed) {
    const std::vector<DiskChange> changes = CompareDisk(before.disk, installed.disk);
    KeepTemplateSound(changes);
    (void)old;
    for (const DiskChange& c : changes) {
        if (c.kind == DiskChange::Removed || IsWinesOwnWrite(c.entry.path)) {
            result_.allowed += c.kind != DiskChange::Removed;
            continue;
        }
        if (c.entry.folder) {
            result_.folders.push_back(c.entry.path);
            continue;
        }
        InstalledFile file;
        file.path = c.entry.path;
        file.size = c.entry.size;
        FileSha256(HostPath(file.path), file.sha256);
        result_.files.push_back(file);
        if (EndsWithNoCase(file.path, ".lnk") || EndsWithNoCase(file.path, ".url")) RecordShortcut(file.path);
    }
    RecordRegistry(before, installed);
    RecordUninstallEntries(before, installed);
}

void Verifier::RecordShortcut(const std::string& path) {
    InstalledShortcut shortcut;
    shortcut.path = path;
    std::string bytes, problem;
    ReadFileBytes(HostPath(path), bytes);
    if (EndsWithNoCase(path, ".url")) {
        shortcut.internet = true;
        for (const std::string& line : {std::string("\nURL="), std::string("\r\nURL=")}) {
            const size_t at = bytes.find(line);
            if (at == std::string::npos) continue;
            const size_t start = at + line.size();
            shortcut.url = bytes.substr(start, bytes.find_first_of("\r\n", start) - start);
            break;
        }
        if (shortcut.url.empty()) Find("bad-shortcut", path, "the internet shortcut names no URL");
        result_.shortcuts.push_back(shortcut);
        return;
    }
    if (!ReadShellLink(bytes, shortcut.link, problem)) {
        Find("bad-shortcut", path, "the shortcut cannot be read: " + problem);
        result_.shortcuts.push_back(shortcut);
        return;
    }
    const std::string target = HostPath(shortcut.link.target);
    shortcut.targetExists = target.empty() || platform::IsFile(target) || platform::IsFolder(target);
    if (shortcut.link.target.empty())
        Find("shortcut-target-missing", path, "the shortcut has no target");
    else if (!shortcut.targetExists)
        Find("shortcut-target-missing", path, "the shortcut's target " + shortcut.link.target + " does not exist");
    const std::string folder = HostPath(shortcut.link.workingFolder);
    if (!shortcut.link.workingFolder.empty() && !folder.empty() && !platform::IsFolder(folder))
        Find("shortcut-folder-missing", path, "the shortcut's working folder " + shortcut.link.workingFolder + " does not exist");
    result_.shortcuts.push_back(shortcut);
}

void Verifier::RecordRegistry(const State& before, const State& installed) {
    for (const RegistryChange& c : CompareRegistry(before.registry, installed.registry)) {
        const std::string what = c.isKey ? c.key : c.key + "|" + c.value.name;
        if (c.kind == RegistryChange::Removed || IsWinesOwnWrite(c.key) || IsWinesOwnWrite(what) ||
            (!c.isKey && IsWinesOwnWrite(what + "=" + c.value.text))) {
            result_.allowed += c.kind != RegistryChange::Removed;
            continue;
        }
        if (c.isKey)
            result_.keys.push_back(c.key);
        else
            result_.values.push_back({c.key, c.value.name, TypeName(c.value.type), c.value.text});
    }
    // The file types: an extension's class below the classes, with the class's open command.
    for (const InstalledValue& v : result_.values) {
        for (const char* classes : {"HKEY_LOCAL_MACHINE\\Software\\Classes\\.", "HKEY_CURRENT_USER\\Software\\Classes\\."}) {
            const std::string root(classes);
            if (!v.name.empty() || !StartsWith(LowerCase(v.key), LowerCase(root)) ||
                v.key.find('\\', root.size()) != std::string::npos)
                continue;
            InstalledFileType type;
            type.extension = v.key.substr(root.size() - 1);
            type.identifier = v.data;
            const std::string classKey = root.substr(0, root.size() - 1) + type.identifier;
            if (const RegistryValue* name = installed.registry.FindValue(classKey, "")) type.description = name->text;
            if (const RegistryValue* open = installed.registry.FindValue(classKey + "\\shell\\open\\command", ""))
                type.openCommand = open->text;
            else
                Find("file-type-without-command", type.extension, "the file type " + type.identifier + " has no open command");
            result_.fileTypes.push_back(type);
        }
    }
}

void Verifier::RecordUninstallEntries(const State& before, const State& installed) {
    std::vector<const RegistryKey*> entries;
    for (const auto& [lower, key] : installed.registry.keys)
        for (const char* root : kUninstallRoots) {
            const std::string prefix = LowerCase(root);
            if (StartsWith(lower, prefix) && lower.find('\\', prefix.size()) == std::string::npos &&
                !before.registry.keys.count(lower))
                entries.push_back(&key);
        }
    if (entries.empty()) return;
    if (entries.size() > 1) {
        std::string names;
        for (const RegistryKey* key : entries) names += (names.empty() ? "" : ", ") + key->path;
        Find("uninstall-entries", names, std::to_string(entries.size()) + " uninstall entries were made where one was expected");
    }
    const RegistryKey* entry = entries.back();
    result_.uninstallKey = entry->path;
    for (const auto& [name, value] : entry->values)
        result_.uninstallEntry.push_back({entry->path, value.name, TypeName(value.type), value.text});
    if (!entry->values.count("displayname"))
        Find("uninstall-entry", entry->path, "the uninstall entry has no DisplayName: the list of programs shows no name");
}

std::string Verifier::Uninstaller(const State& installed) const {
    for (const char* name : {"UninstallString", "QuietUninstallString"})
        if (const RegistryValue* value = installed.registry.FindValue(result_.uninstallKey, name))
            if (!value->text.empty()) return ProgramOf(value->text);
    return {};
}

// Files of the old version that the new one does not install stay behind, installed by nobody.
void Verifier::CheckOldFiles(const State& before, const State& old, const State& installed) {
    std::set<std::string> named;
    ProjectExpectations expected;
    std::string problem;
    const bool planned = request_.project &&
                         PlanProject(*request_.project, TargetFoldersOf(before.registry), FolderOf(request_.setup), expected, problem);
    for (const ExpectedFile& f : expected.files) named.insert(LowerCase(f.path));
    for (const PlannedShortcut& s : expected.shortcuts) named.insert(LowerCase(s.path));
    for (const DiskChange& c : CompareDisk(before.disk, old.disk)) {
        if (c.kind == DiskChange::Removed || c.entry.folder || IsWinesOwnWrite(c.entry.path)) continue;
        const DiskEntry* now = installed.disk.Find(c.entry.path);
        if (!now || EndsWithNoCase(c.entry.path, "\\install.log")) continue;
        // Without the project: a file that the new setup left exactly as the old one wrote it.
        const bool left = planned ? named.count(LowerCase(c.entry.path)) == 0
                                  : now->size == c.entry.size && now->stamp == c.entry.stamp &&
                                        !EndsWithNoCase(c.entry.path, ".lnk") && !EndsWithNoCase(c.entry.path, ".url");
        if (!left) continue;
        oldFilesLeft_.insert(LowerCase(c.entry.path));
        Find("old-file-left", c.entry.path,
                 planned ? "the old version installed this file, the new one does not name it, and it is still there"
                         : "the old version installed this file and the new one left it as it was");
    }
}

void Verifier::CheckProject(const State& before, const State& installed) {
    ProjectExpectations expected;
    std::string problem;
    if (!PlanProject(*request_.project, TargetFoldersOf(before.registry), FolderOf(request_.setup), expected, problem)) {
        Find("project", result_.project, "the project cannot be planned on this computer: " + problem);
        return;
    }
    std::set<std::string> named;
    for (const std::string& folder : expected.folders) {
        named.insert(LowerCase(folder));
        const std::string host = HostPath(folder);
        if (!host.empty() && !platform::IsFolder(host)) Find("missing-folder", folder, "the project's folder was not made");
    }
    for (const ExpectedFile& f : expected.files) {
        named.insert(LowerCase(f.path));
        const DiskEntry* entry = installed.disk.Find(f.path);
        if (!entry || entry->folder) {
            Find("missing-file", f.path, "the project's file was not installed");
            continue;
        }
        std::string want, have;
        if (!f.sourcePath.empty() && FileSha256(f.sourcePath, want) && FileSha256(HostPath(f.path), have) && want != have)
            Find("file-differs", f.path, "the installed file differs from " + platform::NativePath(f.sourcePath));
    }
    for (const PlannedShortcut& s : expected.shortcuts) {
        named.insert(LowerCase(s.path));
        auto found = std::find_if(result_.shortcuts.begin(), result_.shortcuts.end(),
                                  [&](const InstalledShortcut& i) { return EqualNoCase(i.path, s.path); });
        if (found == result_.shortcuts.end()) {
            if (!installed.disk.Find(s.path)) Find("missing-shortcut", s.path, "the project's shortcut was not made");
            continue;
        }
        if (s.internet) {
            if (found->url != AsUtf8(s.url)) Find("shortcut-differs", s.path, "the URL is " + found->url + ", not " + AsUtf8(s.url));
            continue;
        }
        const ShellLinkFields& want = s.fields;
        if (!EqualNoCase(found->link.target, AsUtf8(want.target)))
            Find("shortcut-differs", s.path, "the target is " + found->link.target + ", not " + AsUtf8(want.target));
        if (found->link.arguments != AsUtf8(want.arguments))
            Find("shortcut-differs", s.path, "the arguments are \"" + found->link.arguments + "\", not \"" + AsUtf8(want.arguments) + "\"");
        if (!EqualNoCase(found->link.workingFolder, AsUtf8(want.workingFolder)))
            Find("shortcut-differs", s.path,
                 "the working folder is " + found->link.workingFolder + ", not " + AsUtf8(want.workingFolder));
    }
    // What the installer keeps for its uninstaller: the install log beside it.
    if (!expected.uninstallKey.empty()) named.insert(LowerCase(JoinPath(expected.appDir, "install.log")));
    for (const InstalledFile& f : result_.files)
        if (!named.count(LowerCase(f.path)) && !oldFilesLeft_.count(LowerCase(f.path)))
            Find("unnamed-file", f.path, "installed, but the project does not name it");
    CheckProjectRegistry(expected, installed);
}

void Verifier::CheckProjectRegistry(const ProjectExpectations& expected, const State& installed) {
    std::set<std::string> named;  // "key|name", lower case, as exported
    for (const PlannedValue& v : expected.values) {
        const std::vector<std::string> keys = ExportedKeyPaths(v.hive, AsUtf8(v.key));
        const std::string shown = (keys.empty() ? v.hive + "\\" + v.key : keys.front()) + (v.keyOnly ? "" : "|" + v.name);
        const RegistryValue* found = nullptr;
        bool keyFound = false;
        for (const std::string& key : keys) {
            named.insert(LowerCase(key + "|" + AsUtf8(v.name)));
            keyFound = keyFound || installed.registry.Find(key);
            if (!found && !v.keyOnly) found = installed.registry.FindValue(key, AsUtf8(v.name));
        }
        if (v.keyOnly) {
            if (!keyFound) Find("missing-key", shown, "the project's registry key was not made");
            continue;
        }
        if (!found) {
            Find("missing-value", shown, "the project's registry value was not written");
            continue;
        }
        // The size is the installer's own sum of what it unpacked; only its presence is the project's.
        if (EqualNoCase(v.name, "EstimatedSize")) continue;
        const std::string want = PlannedValueText(v.type, v.data);
        if (found->type != v.type || found->text != want)
            Find("value-differs", shown,
                 "the value is " + TypeName(found->type) + " \"" + found->text + "\", not " + TypeName(v.type) + " \"" + want + "\"");
    }
    const std::string entry = expected.uninstallKey.empty() ? std::string()
                                                             : LowerCase(ExportedKeyPaths("HKLM", expected.uninstallKey).front());
    for (const InstalledValue& v : result_.values) {
        if (!entry.empty() && LowerCase(v.key) == entry) continue;  // the installer's own fields of the entry
        if (!named.count(LowerCase(v.key + "|" + v.name)))
            Find("unnamed-value", v.key + "|" + v.name, "written, but the project does not name it");
    }
}

void Verifier::RecordLeftovers(const State& before, const State& after) {
    const std::vector<DiskChange> changes = CompareDisk(before.disk, after.disk);
    KeepTemplateSound(changes);
    for (const DiskChange& c : changes) {
        if (IsWinesOwnWrite(c.entry.path)) {
            ++result_.allowed;
            continue;
        }
        if (c.kind == DiskChange::Removed) {
            Find("removed-file", c.entry.path, "was there before the installation and is gone after the uninstallation");
            continue;
        }
        (c.entry.folder ? result_.leftFolders : result_.leftFiles).push_back(c.entry.path);
        Find(c.entry.folder ? "left-folder" : "left-file", c.entry.path, "left behind by the uninstallation");
    }
    for (const RegistryChange& c : CompareRegistry(before.registry, after.registry)) {
        const std::string what = c.isKey ? c.key : c.key + "|" + c.value.name;
        if (IsWinesOwnWrite(c.key) || IsWinesOwnWrite(what) || (!c.isKey && IsWinesOwnWrite(what + "=" + c.value.text))) {
            ++result_.allowed;
            continue;
        }
        if (c.kind == RegistryChange::Removed) {
            Find(c.isKey ? "removed-key" : "removed-value", what, "was there before the installation and is gone after the uninstallation");
            continue;
        }
        if (c.isKey) {
            result_.leftKeys.push_back(c.key);
            Find("left-key", c.key, "left behind by the uninstallation");
        } else {
            result_.leftValues.push_back({c.key, c.value.name, TypeName(c.value.type), c.value.text});
            Find("left-value", what, c.kind == RegistryChange::Changed ? "changed, and not restored by the uninstallation"
                                                                        : "left behind by the uninstallation");
        }
    }
}

}  // namespace

VerifyResult Verify(const VerifyRequest& request) {
    VerifyResult result;
    result.setup = request.setup;
    result.oldSetup = request.oldSetup;
    result.wine = request.wine;
    if (request.project) result.project = request.project->Path();
    Verifier(request, result).Run();
    return result;
}
