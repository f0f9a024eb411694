#include "pipeline/ScriptLimits.h"

#include "model/ProjectDocument.h"

namespace {

const char kNoComma[] = "Remove the \",\" from it: setup.ini separates its fields with \",\"";

bool HasComma(const std::string& text) { return text.find(',') != std::string::npos; }

// A file's line names it twice, as the archive entry and as the destination.
void CheckFiles(const FileTree& files, std::vector<Refusal>& found) {
    files.Walk([&](const TreeNode& node) {
        if (!FileTree::FileOf(&node)) return;
        const std::string path = FileTree::ShortPath(&node);
        if (HasComma(path))
            found.push_back({"Files", path, "the destination holds a \",\"", kNoComma, kExitDamaged});
    });
}

// Only the working folder, the last field, may hold a ",".
void CheckShortcuts(const ShortcutTree& shortcuts, std::vector<Refusal>& found) {
    shortcuts.Walk([&](const TreeNode& node) {
        const ShortcutFields* fields = ShortcutTree::FieldsOf(&node);
        if (!fields) return;
        const std::string path = ShortcutTree::ShortPath(&node);
        const char* what = HasComma(path)                ? "name"
                           : HasComma(fields->target)     ? (fields->internet ? "URL" : "target")
                           : HasComma(fields->parameters) ? "parameters"
                           : HasComma(fields->iconPath)   ? "icon path"
                           : HasComma(fields->iconIndex)  ? "icon index"
                                                          : nullptr;
        if (what)
            found.push_back({"Shortcuts", path, std::string("the shortcut's ") + what + " holds a \",\"",
                             fields->internet && HasComma(fields->target) ? "Write each \",\" of the URL as %2C"
                                                                          : kNoComma,
                             kExitDamaged});
    });
}

// A value's line holds its key and name before its data.
void CheckRegistry(const RegistryTree& registry, std::vector<Refusal>& found) {
    registry.Walk([&](const TreeNode& node) {
        if (!RegistryTree::ValueOf(&node)) return;
        const std::string path = RegistryTree::ShortPath(&node);
        if (HasComma(path))
            found.push_back({"Registry", path, "the key or value name holds a \",\"", kNoComma, kExitDamaged});
    });
}

// A file type's line begins with its extension: one beginning with "[" would end the section and
// one beginning with ";" would be dropped as a comment, both without a word from the installer.
void CheckFileTypes(const FileTypeList& types, std::vector<Refusal>& found) {
    for (size_t i = 0; i < types.Count(); ++i) {
        const FileTypeRecord& type = *types.GetAt(i);
        if (!type.extension.empty() && (type.extension[0] == '[' || type.extension[0] == ';'))
            found.push_back({"File types", type.extension, "the extension begins with \"" + type.extension.substr(0, 1) + "\"",
                             "Begin the extension with a letter or digit", kExitDamaged});
        else if (HasComma(type.extension) || HasComma(type.identifier) || HasComma(type.fullName) ||
                 HasComma(type.programPath) || HasComma(type.iconPath))
            found.push_back({"File types", type.extension, "the file type holds a \",\"", kNoComma, kExitDamaged});
    }
}

// The uninstaller's shortcut is named by its description.
void CheckUninstallerShortcut(const SetupInfo& setup, std::vector<Refusal>& found) {
    const std::string& name = setup.UninstallerIconDescription();
    if (setup.EnableUninstaller() && setup.CreateUninstallerIcon() && HasComma(name))
        found.push_back({"Setup Info", "UninstallerIconDescription",
                         "the uninstaller shortcut's name \"" + name + "\" holds a \",\"", kNoComma, kExitDamaged});
}

}  // namespace

std::vector<Refusal> UnwritableValues(const ProjectDocument& project) {
    std::vector<Refusal> found;
    CheckFiles(project.fileTree, found);
    CheckShortcuts(project.shortcutTree, found);
    CheckRegistry(project.registryTree, found);
    CheckFileTypes(project.fileTypes, found);
    CheckUninstallerShortcut(project.setupInfo, found);
    return found;
}
