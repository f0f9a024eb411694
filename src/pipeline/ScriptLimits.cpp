#include "pipeline/ScriptLimits.h"

#include "model/ProjectDocument.h"

std::vector<Refusal> UnwritableValues(const ProjectDocument& project) {
    std::vector<Refusal> found;
    const FileTypeList& types = project.fileTypes;
    for (size_t i = 0; i < types.Count(); ++i) {
        const std::string& extension = types.GetAt(i)->extension;
        if (!extension.empty() && (extension[0] == '[' || extension[0] == ';'))
            found.push_back({"File types", extension, "the extension begins with \"" + extension.substr(0, 1) + "\"",
                             "Begin the extension with a letter or digit", kExitDamaged});
    }
    const SetupInfo& setup = project.setupInfo;
    const std::string& name = setup.UninstallerIconDescription();
    if (setup.EnableUninstaller() && setup.CreateUninstallerIcon() && name.find(',') != std::string::npos)
        found.push_back({"Setup Info", "UninstallerIconDescription",
                         "the uninstaller shortcut's name \"" + name + "\" holds a \",\"",
                         "Remove the \",\" from it: setup.ini separates its fields with \",\"", kExitDamaged});
    return found;
}
