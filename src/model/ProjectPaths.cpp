#include "model/ProjectPaths.h"

#include "core/Path.h"

std::string ResolveProjectPath(const std::string& projectFolder, const std::string& path) {
    if (path.empty() || IsRootedPath(path)) return path;
    return JoinPath(projectFolder, path);
}
