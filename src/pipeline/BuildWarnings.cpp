#include "pipeline/BuildWarnings.h"

#include <map>
#include <set>

#include "core/Path.h"
#include "core/Text.h"
#include "model/ProjectDocument.h"
#include "package/Variables.h"
#include "model/ProjectPaths.h"
#include "platform/FileSystem.h"

namespace {

const char kUninstaller[] = "%AppDir%\\uninstall.exe";

// The variable that begins a path ("%appdir%", in small letters), or empty.
std::string LeadingVariable(const std::string& path) {
    if (path.size() < 3 || path[0] != '%') return std::string();
    const std::size_t end = path.find('%', 1);
    return end == std::string::npos ? std::string() : LowerCase(path.substr(0, end + 1));
}

// How paths are compared: as the installer resolves them, without regard to letter case and
// whichever separator, without a "\" at the end.
std::string PathKey(const std::string& path) {
    std::string key = LowerCase(path);
    for (char& c : key)
        if (c == '/') c = '\\';
    while (!key.empty() && key.back() == '\\') key.pop_back();
    return key;
}

// What the project puts on the target computer: every file and folder of its files, with the
// uninstaller, and the variables below which they lie.
class Installed {
public:
    explicit Installed(const ProjectDocument& project) {
        variables_.insert("%appdir%");
        paths_.insert("%appdir%");
        project.fileTree.Walk([&](const TreeNode& node) {
            const std::string path = FileTree::ShortPath(&node);
            paths_.insert(PathKey(path));
            if (FileTree::FileOf(&node) && !LeadingVariable(path).empty()) variables_.insert(LeadingVariable(path));
        });
        if (project.setupInfo.EnableUninstaller()) paths_.insert(PathKey(kUninstaller));
    }

    // True for a path that the project should install but does not.
    bool Misses(const std::string& path) const {
        return variables_.count(LeadingVariable(path)) > 0 && paths_.count(PathKey(path)) == 0;
    }

private:
    std::set<std::string> variables_;
    std::set<std::string> paths_;
};

void CheckShortcuts(const ProjectDocument& project, const Installed& installed, std::vector<std::string>& found) {
    project.shortcutTree.Walk([&](const TreeNode& node) {
        const ShortcutFields* fields = ShortcutTree::FieldsOf(&node);
        if (fields && !fields->internet && installed.Misses(fields->target))
            found.push_back("The shortcut " + ShortcutTree::ShortPath(&node) + " starts " + fields->target +
                            ", which no file of the project installs");
    });
}

// The installer takes the finish screen's paths from their last variable on.
void CheckFinishScreen(const ProjectDocument& project, const Installed& installed, std::vector<std::string>& found) {
    const InstallerScreens& screens = project.installerScreens;
    if (!screens.shows[ScreenSettings::FinishDialog]) return;
    const std::string readme = LastVariableToken(screens.finishReadmePath);
    if (screens.showViewReadme && installed.Misses(readme))
        found.push_back("The finish screen shows the readme " + readme + ", which no file of the project installs");
    const std::string application = LastVariableToken(screens.finishApplicationPath);
    if (screens.showRunApplication && installed.Misses(application))
        found.push_back("The finish screen runs " + application + ", which no file of the project installs");
}

void CheckFileTypes(const ProjectDocument& project, const Installed& installed, std::vector<std::string>& found) {
    for (std::size_t i = 0; i < project.fileTypes.Count(); ++i) {
        const FileTypeRecord& type = *project.fileTypes.GetAt(i);
        if (installed.Misses(type.programPath))
            found.push_back("The file type " + type.extension + " opens with " + type.programPath +
                            ", which no file of the project installs");
        if (installed.Misses(type.iconPath))
            found.push_back("The file type " + type.extension + " takes its icon from " + type.iconPath +
                            ", which no file of the project installs");
    }
}

// Two nodes of the files tree can name one destination: a variable folder made by hand beside
// the fixed one, or a product file where the uninstaller goes.
void CheckFiles(const ProjectDocument& project, const ProductFileSize& sizeOf, std::vector<std::string>& found) {
    std::map<std::string, std::string> sources;  // destination key -> where its file comes from
    if (project.setupInfo.EnableUninstaller()) sources[PathKey(kUninstaller)] = "the uninstaller";
    project.fileTree.Walk([&](const TreeNode& node) {
        const FileItem* file = FileTree::FileOf(&node);
        if (!file) return;
        const std::string destination = FileTree::ShortPath(&node);
        const std::string source =
            platform::NativePath(ResolveProjectPath(FolderOf(project.Path()), file->SourcePath()));
        const auto [first, added] = sources.emplace(PathKey(destination), source);
        if (!added)
            found.push_back("Two files are installed to " + destination + ": " + first->second + " and " + source +
                            "; the later one replaces the earlier");
        std::uint64_t size = 0;
        const bool sized = sizeOf(node, size);
        // Empty files (placeholders, lock files, package markers) are ordinary: no warning.
        if (sized && size > kLargeProductFile)
            found.push_back("The product file " + source + " is larger than 2 GiB (" + std::to_string(size) +
                            " bytes): the setup is slow to unpack it");
        const std::string installedPath = DefaultInstallPath(project, destination);
        if (installedPath.size() >= kClassicPathLimit)
            found.push_back("The destination " + destination + " is " + std::to_string(installedPath.size()) +
                            " characters long when installed as " + installedPath +
                            ", beyond Windows' classic limit of 259 (260 with the final zero)");
    });
}

// The path's names joined, empty ones left out; with `stored`, each as Windows stores it
// (WindowsStoredName).
std::string JoinedNames(const std::string& path, bool stored) {
    std::string joined;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find('\\', start);
        std::string name = path.substr(start, end == std::string::npos ? end : end - start);
        if (stored) name = WindowsStoredName(name);
        if (!name.empty()) joined += (joined.empty() ? "" : "\\") + name;
        if (end == std::string::npos) return joined;
        start = end + 1;
    }
}

bool InProgramGroup(const std::string& path) {
    static const std::string kGroup = "%appscfolder%\\";
    return LowerCase(path.substr(0, kGroup.size())) == kGroup;
}

bool UsesProgramGroup(const ProjectDocument& project) {
    const SetupInfo& setup = project.setupInfo;
    bool used = setup.EnableUninstaller() && setup.CreateUninstallerIcon();
    project.shortcutTree.Walk([&](const TreeNode& node) { used = used || InProgramGroup(ShortcutTree::ShortPath(&node)); });
    return used;
}

// Names that product texts fill in: a company "Widgets, Inc." gives a folder "Widgets, Inc", and
// a group with no name at all puts its shortcuts straight into the Start menu's programs.
void CheckFolderNames(const ProjectDocument& project, std::vector<std::string>& found) {
    const std::string& folder = project.setupInfo.DefaultInstallationPath();
    const std::string installed = DefaultInstallPath(project, "%AppDir%");
    const std::string storedFolder = JoinedNames(installed, true);
    if (storedFolder != JoinedNames(installed, false))
        found.push_back("The installation folder " + folder + " is created as " + storedFolder +
                        ": Windows drops the dots and blanks at the end of a folder's name");
    const std::string& group = project.setupInfo.DefaultShortcutFolderName();
    const std::string groupNames = DefaultInstallPath(project, group);
    const std::string storedGroup = JoinedNames(groupNames, true);
    // Without a product name the build stops with that error, of which this would be a riddle.
    const bool named = project.generalInfo.ProductName().find_first_not_of(" \t") != std::string::npos;
    if (storedGroup.empty() && named && UsesProgramGroup(project))
        found.push_back("The program group name " + (group.empty() ? std::string() : group + " ") +
                        "is empty: the shortcuts of the program group go straight into the Start menu's Programs folder");
    else if (storedGroup != JoinedNames(groupNames, false))
        found.push_back("The program group " + group + " is created as " + storedGroup +
                        ": Windows drops the dots and blanks at the end of a folder's name");
}

}  // namespace

std::string DefaultInstallPath(const ProjectDocument& project, const std::string& destination) {
    // The current user's folders lie deeper: a project that may install there is measured there.
    const InstallScope scope = Offers(project.setupInfo.Scope(), InstallScope::CurrentUser) ? InstallScope::CurrentUser
                                                                                             : InstallScope::AllUsers;
    const TargetFolders folders = TypicalFolders(scope);
    const GeneralInfo& general = project.generalInfo;
    Variables variables;
    for (const FolderVariable* v = FolderVariablesBegin(); v != FolderVariablesEnd(); ++v)
        variables.Set(v->name, folders.*v->field, true);
    variables.Set("CompanyName", general.CompanyName(), false);
    variables.Set("ProductName", general.ProductName(), false);
    variables.Set("ProductVersion", general.ProductVersion(), false);
    variables.Set("ProductDescription", general.ProductDescription(), false);
    variables.Set("ProductURL", general.ProductUrl(), false);
    variables.Set("Copyright", general.CopyrightNotice(), false);
    std::string appDir, path, problem;
    variables.Expand(project.setupInfo.DefaultInstallationPath(), false, appDir, problem);
    variables.Set("AppDir", appDir, true);
    variables.Expand(destination, false, path, problem);
    return path;
}

std::vector<std::string> ProjectWarnings(const ProjectDocument& project, const ProductFileSize& sizeOf) {
    // What the project file held that was not read comes first: the rest describes the project
    // without it.
    std::vector<std::string> found = project.ReadFindings();
    const Installed installed(project);
    CheckShortcuts(project, installed, found);
    CheckFinishScreen(project, installed, found);
    CheckFileTypes(project, installed, found);
    CheckFiles(project, sizeOf, found);
    CheckFolderNames(project, found);
    return found;
}
