#include "commands/RecentProjects.h"

#include <algorithm>

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SamePath(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace

RecentProjects::RecentProjects(const std::vector<std::string>& stored) {
    for (auto path = stored.rbegin(); path != stored.rend(); ++path)
        if (!path->empty()) Add(*path);
}

void RecentProjects::Add(const std::string& path) {
    if (path.empty()) return;
    Remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMost) paths_.resize(kMost);
}

bool RecentProjects::Remove(const std::string& path) {
    const auto end = std::remove_if(paths_.begin(), paths_.end(), [&](const std::string& p) { return SamePath(p, path); });
    const bool found = end != paths_.end();
    paths_.erase(end, paths_.end());
    return found;
}

std::string RecentProjectLabel(size_t index, const std::string& path, size_t width) {
    std::string shown = path;
    if (shown.size() > width) {
        // The drive or share and the file name stay; the folders between give way to "...".
        const size_t name = shown.rfind('\\');
        const size_t head = shown.find('\\', shown.find('\\') + 1);
        if (name != std::string::npos && head != std::string::npos && head < name)
            shown = shown.substr(0, head + 1) + "..." + shown.substr(name);
    }
    std::string escaped;
    for (char c : shown) {
        escaped += c;
        if (c == '&') escaped += '&';
    }
    return "&" + std::to_string(index + 1) + " " + escaped;
}
