#pragma once
// The projects the user opened or saved last, most recent first: at most eight, each once
// (Windows paths compare without regard to case), kept in the builder's settings.
#include <string>
#include <vector>

class RecentProjects {
public:
    static constexpr size_t kMost = 8;

    RecentProjects() = default;
    // A stored list: empty and repeated entries are left out, the ninth and on dropped.
    explicit RecentProjects(const std::vector<std::string>& stored);

    // The project at `path` was opened or saved: it goes to the top.
    void Add(const std::string& path);
    // True when the path was on the list.
    bool Remove(const std::string& path);
    const std::vector<std::string>& Paths() const { return paths_; }
    size_t Count() const { return paths_.size(); }

private:
    std::vector<std::string> paths_;
};

// The menu label of the `index`-th recent project (from 0): its access key number and its path,
// shortened in the middle ("C:\Users\...\Product\Product.qsp") when longer than `width`
// characters, and every "&" doubled so that it shows as itself.
std::string RecentProjectLabel(size_t index, const std::string& path, size_t width = 60);
