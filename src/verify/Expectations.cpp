#include "verify/Expectations.h"

#include <map>

#include "core/Path.h"
#include "core/Text.h"
#include "model/ProjectDocument.h"
#include "package/ActivityLog.h"
#include "package/SetupScript.h"
#include "model/ProjectPaths.h"
#include "platform/File.h"
#include "profile/ProfileText.h"
#include "profile/ScriptBuilder.h"
#include "verify/RegistryExport.h"

namespace {

std::string ValueOf(const RegistryExport& machine, const std::string& key, const std::string& name) {
    const RegistryValue* value = machine.FindValue(key, name);
    return value ? value->text : std::string();
}

}  // namespace

TargetFolders TargetFoldersOf(const RegistryExport& machine) {
    const std::string current = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion";
    const std::string shell = current + "\\Explorer\\Shell Folders";
    TargetFolders folders;
    folders.programFiles = ValueOf(machine, current, "ProgramFilesDir");
    folders.commonFiles = ValueOf(machine, current, "CommonFilesDir");
    folders.windows = ValueOf(machine, "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot");
    if (!folders.windows.empty()) {
        folders.system = JoinPath(folders.windows, "system32");
        folders.fonts = JoinPath(folders.windows, "Fonts");
    }
    folders.desktop = ValueOf(machine, shell, "Common Desktop");
    folders.startMenu = ValueOf(machine, shell, "Common Start Menu");
    folders.startMenuPrograms = ValueOf(machine, shell, "Common Programs");
    folders.startUp = ValueOf(machine, shell, "Common StartUp");
    return folders;
}

bool PlanProject(const ProjectDocument& project, const TargetFolders& folders, const std::string& setupFolder,
                 ProjectExpectations& out, std::string& problem) {
    ScriptBuilder builder;
    project.Export(builder);
    const SetupScript script = ReadSetupScript(ProfileText::FromBytes(builder.Text()));
    const std::string projectFolder = FolderOf(project.Path());
    std::map<std::string, std::string> sources;  // archive entry -> product file
    std::map<std::string, bool> keep;            // archive entry -> never uninstalled
    project.fileTree.Walk([&](const TreeNode& node) {
        if (const FileItem* file = FileTree::FileOf(&node))
            sources[FileTree::EntryName(&node)] = ResolveProjectPath(projectFolder, file->SourcePath());
    });
    for (const ScriptFile& f : script.files) keep[f.entry] = (f.options & kNeverUninstall) != 0;
    auto entrySize = [&](const std::string& entry, std::uint64_t& size) {
        size = 0;
        if (entry == "uninstall.exe") return true;
        auto it = sources.find(entry);
        if (it == sources.end()) return false;
        File file;
        if (file.Open(it->second, ReadExisting)) file.GetSize64(size);
        return true;
    };
    const InstallerOptions silent;
    ActivityLog noLog;
    InstallPlan plan(script, silent, noLog);
    if (!plan.CheckScript() || !plan.ResolveVariables(setupFolder, folders) || !plan.PlanActions(entrySize)) {
        problem = plan.Problem();
        return false;
    }
    out = ProjectExpectations();
    out.appDir = plan.AppDir();
    out.folders = plan.Folders();
    for (const PlannedFile& f : plan.Files()) {
        auto it = sources.find(f.entry);
        out.files.push_back({f.path, it == sources.end() ? std::string() : it->second, keep[f.entry]});
    }
    out.shortcuts = plan.Shortcuts();
    out.values = plan.Values();
    out.uninstallKey = plan.UninstallKey();
    return true;
}

std::vector<std::string> ExportedKeyPaths(const std::string& hive, const std::string& key) {
    auto below = [&](const std::string& root) { return key.empty() ? root : root + "\\" + key; };
    switch (HiveNamed(hive)) {
        case Hive::ClassesRoot:
            return {below("HKEY_LOCAL_MACHINE\\Software\\Classes"), below("HKEY_CURRENT_USER\\Software\\Classes")};
        case Hive::CurrentUser: return {below("HKEY_CURRENT_USER")};
        case Hive::LocalMachine: return {below("HKEY_LOCAL_MACHINE")};
        case Hive::Users: return {below("HKEY_USERS")};
        case Hive::None: break;
    }
    return {};
}
