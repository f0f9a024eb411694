#include "pipeline/ProjectPaths.h"

#include "platform/File.h"

bool IsRootedPath(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return true;
    return !path.empty() && (path[0] == '\\' || path[0] == '/');
}

static size_t LastSeparator(const std::string& path) { return path.find_last_of("\\/"); }

std::string FolderOf(const std::string& path) {
    size_t at = LastSeparator(path);
    return at == std::string::npos ? std::string() : path.substr(0, at);
}

std::string NameOf(const std::string& path) {
    size_t at = LastSeparator(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}

std::string ResolveProjectPath(const std::string& projectFolder, const std::string& path) {
    if (path.empty() || IsRootedPath(path)) return path;
    return JoinPath(projectFolder, path);
}
