#include "core/Path.h"

#include <cctype>

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (name.empty()) return folder;
    if (folder.empty()) return name;
    return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

bool IsRootedPath(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return true;
    return !path.empty() && (path[0] == '\\' || path[0] == '/');
}

static bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string PathBelow(const std::string& folder, const std::string& path) {
    std::string base = folder;
    while (!base.empty() && IsSeparator(base.back())) base.pop_back();
    if (base.empty() || path.size() <= base.size() + 1 || !IsSeparator(path[base.size()])) return std::string();
    for (size_t i = 0; i < base.size(); ++i) {
        const char a = path[i], b = base[i];
        const bool same = IsSeparator(a) ? IsSeparator(b) : std::tolower(static_cast<unsigned char>(a)) ==
                                                                 std::tolower(static_cast<unsigned char>(b));
        if (!same) return std::string();
    }
    return path.substr(base.size() + 1);
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

std::string TrimTrailingBackslashes(std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

void SplitPath(const std::string& path, std::string& parent, std::string& name) {
    size_t slash = path.rfind('\\');
    parent = slash == std::string::npos ? std::string() : path.substr(0, slash);
    name = slash == std::string::npos ? path : path.substr(slash + 1);
}
