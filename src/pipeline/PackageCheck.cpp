#include "pipeline/PackageCheck.h"

#include "core/Text.h"
#include "model/ProjectDocument.h"

namespace {

// The installer resolves a name holding a variable on the target computer and checks it there;
// every other user folder, file or shortcut name is checked as the installer checks it.
bool NameLandsAsSpelt(const std::string& name) {
    return name.find('%') != std::string::npos || IsStoredAsSpelt(name);
}

constexpr int kReplaceModes = 8;  // the File Properties dialog's list, 0 to 7

void CheckFiles(const FileTree& files, std::vector<std::string>& found) {
    files.Walk([&](const TreeNode& node) {
        if (FileTree::IsVariableFolder(&node)) return;
        std::string path = FileTree::ShortPath(&node);
        if (!NameLandsAsSpelt(node.Name()))
            found.push_back("The destination " + path + " is a name that Windows reserves or changes");
        const FileItem* file = FileTree::FileOf(&node);
        if (file && (file->ReplaceMode() < 0 || file->ReplaceMode() >= kReplaceModes))
            found.push_back("The file " + path + " has the unknown replace mode " +
                            std::to_string(file->ReplaceMode()));
    });
}

void CheckShortcuts(const ShortcutTree& shortcuts, std::vector<std::string>& found) {
    shortcuts.Walk([&](const TreeNode& node) {
        if (!ShortcutTree::IsVariableFolder(&node) && !NameLandsAsSpelt(node.Name()))
            found.push_back("The shortcut " + ShortcutTree::ShortPath(&node) +
                            " is a name that Windows reserves or changes");
    });
}

// A file type's line begins with its extension: one beginning with "[" would end the section and
// one beginning with ";" would be dropped as a comment, both without a word from the installer.
void CheckFileTypes(const FileTypeList& types, std::vector<std::string>& found) {
    for (size_t i = 0; i < types.Count(); ++i) {
        const FileTypeRecord& type = *types.GetAt(i);
        if (type.extension.empty())
            found.push_back("The file type " + type.identifier + " has no extension");
        else if (type.extension[0] == '[' || type.extension[0] == ';')
            found.push_back("The file type " + type.extension + " has an extension that setup.ini cannot hold");
        else if (type.identifier.empty())
            found.push_back("The file type " + type.extension + " has no identifier");
    }
}

// The uninstaller's shortcut is named by its description: a field of a script line (no ",")
// and a plain name in the program group.
void CheckUninstallerShortcut(const SetupInfo& setup, std::vector<std::string>& found) {
    const std::string& name = setup.UninstallerIconDescription();
    if (setup.EnableUninstaller() && setup.CreateUninstallerIcon() &&
        (!IsStoredAsSpelt(name) || name.find(',') != std::string::npos))
        found.push_back("The uninstaller shortcut \"" + name + "\" is not a plain name without \",\"");
}

// Each names its file "<name>.dat", which the installer loads only under a plain name.
void CheckLanguages(const SetupInfo& setup, std::vector<std::string>& found) {
    std::string name;
    for (size_t i = 0; setup.GetLanguage(i, name); ++i)
        if (!IsStoredAsSpelt(name)) found.push_back("The installer language " + name + " is not a plain name");
    if (!setup.DefaultSetupLanguage().empty() && !IsStoredAsSpelt(setup.DefaultSetupLanguage()))
        found.push_back("The installer language " + setup.DefaultSetupLanguage() + " is not a plain name");
}

}  // namespace

std::vector<std::string> InstallerRefusals(const ProjectDocument& project) {
    std::vector<std::string> found;
    CheckFiles(project.fileTree, found);
    CheckShortcuts(project.shortcutTree, found);
    CheckFileTypes(project.fileTypes, found);
    CheckUninstallerShortcut(project.setupInfo, found);
    CheckLanguages(project.setupInfo, found);
    return found;
}
