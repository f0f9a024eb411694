#include "model/ProjectPaths.h"

#include "core/Path.h"

std::string ResolveProjectPath(const std::string& projectFolder, const std::string& path) {
    if (path.empty() || IsRootedPath(path)) return path;
    return JoinPath(projectFolder, path);
}

std::string BuiltSetupPath(const std::string& projectPath, const std::string& outputFolder,
                           const std::string& setupFileName) {
    if (outputFolder.empty() || setupFileName.empty()) return {};
    return JoinPath(ResolveProjectPath(FolderOf(projectPath), outputFolder), setupFileName);
}
