#include "model/FileUses.h"

#include "core/Text.h"
#include "model/ProjectDocument.h"

std::vector<FileUse> UsesOfFile(const ProjectDocument& project, const std::string& shortPath) {
    std::vector<FileUse> uses;
    const auto names = [&](const std::string& path) { return !path.empty() && EqualNoCase(path, shortPath); };
    project.shortcutTree.Walk([&](const TreeNode& node) {
        const ShortcutFields* fields = ShortcutTree::FieldsOf(&node);
        if (fields && !fields->internet && names(fields->target))
            uses.push_back({FileUse::Shortcut, ShortcutTree::ShortPath(&node)});
    });
    for (size_t i = 0; i < project.fileTypes.Count(); ++i) {
        const FileTypeRecord& type = *project.fileTypes.GetAt(i);
        if (names(type.programPath) || names(type.iconPath)) uses.push_back({FileUse::FileType, type.extension});
    }
    const InstallerScreens& screens = project.installerScreens;
    if (screens.shows[ScreenSettings::FinishDialog]) {
        const std::string readme = LastVariableToken(screens.finishReadmePath);
        const std::string program = LastVariableToken(screens.finishApplicationPath);
        if (screens.showViewReadme && names(readme)) uses.push_back({FileUse::FinishScreen, readme});
        if (screens.showRunApplication && names(program)) uses.push_back({FileUse::FinishScreen, program});
    }
    return uses;
}
