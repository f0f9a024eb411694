#include "package/Variables.h"

#include <cctype>

#include "core/Text.h"

void Variables::Set(const std::string& name, const std::string& value, bool folder) {
    for (Entry& e : entries_)
        if (EqualNoCase(e.name, name)) {
            e.value = value;
            e.folder = folder;
            return;
        }
    entries_.push_back({name, value, folder});
}

const Variables::Entry* Variables::Find(const std::string& name) const {
    for (const Entry& e : entries_)
        if (EqualNoCase(e.name, name)) return &e;
    return nullptr;
}

bool Variables::Get(const std::string& name, std::string& value) const {
    const Entry* e = Find(name);
    if (e) value = e->value;
    return e != nullptr;
}

bool Variables::Expand(const std::string& text, bool strict, std::string& out, std::string& problem) const {
    out.clear();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t open = text.find('%', pos);
        size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) {
            out.append(text, pos, std::string::npos);
            break;
        }
        out.append(text, pos, open - pos);
        const Entry* e = Find(text.substr(open + 1, close - open - 1));
        if (e) {
            out += e->value;
            pos = close + 1;
        } else if (strict) {
            problem = "unknown variable " + text.substr(open, close - open + 1) + " in " + text;
            return false;
        } else {
            // Keep the percent sign and look for a variable from the next one on.
            out += '%';
            pos = open + 1;
        }
    }
    return true;
}

bool Variables::ExpandRelativePath(const std::string& text, std::string& out, std::string& problem,
                                   bool& escapes) const {
    out.clear();
    escapes = false;
    if (text.empty()) return true;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\\', start);
        const std::string written = text.substr(start, end == std::string::npos ? end : end - start);
        if (written.empty()) {
            problem = "holds an empty name";
            return false;
        }
        std::string expanded;
        if (!Expand(written, true, expanded, problem)) {
            problem = "names an " + problem;
            return false;
        }
        // A variable's value may itself be a path ("Company\Product").
        size_t from = 0;
        for (;;) {
            const size_t cut = expanded.find('\\', from);
            const std::string name = expanded.substr(from, cut == std::string::npos ? cut : cut - from);
            if (name == "." || name == ".." || name.find_first_of(":/") != std::string::npos) {
                escapes = true;
                problem = "leaves its folder";
                return false;
            }
            // Windows drops a name's trailing dots and blanks: the folder of a company
            // "Widgets, Inc." is "Widgets, Inc", here as in the installed files' log.
            const std::string stored = WindowsStoredName(name);
            if (!name.empty() && !IsStoredAsSpelt(stored)) {
                problem = "holds the name \"" + name + "\", which Windows reserves or changes: " + SpellingFault(stored);
                return false;
            }
            if (!name.empty()) out += (out.empty() ? "" : "\\") + stored;
            if (cut == std::string::npos) break;
            from = cut + 1;
        }
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

bool Variables::ExpandDestination(const std::string& text, std::string& out, std::string& problem,
                                  bool& escapes) const {
    escapes = true;
    size_t close = text.size() > 1 && text[0] == '%' ? text.find('%', 1) : std::string::npos;
    const Entry* root = close == std::string::npos ? nullptr : Find(text.substr(1, close - 1));
    if (!root || !root->folder) {
        problem = "the destination " + text + " does not begin with a folder variable";
        return false;
    }
    const std::string rest = text.substr(close + 1);
    out = root->value;
    if (rest.empty()) return true;
    if (rest[0] != '\\') {
        problem = "the destination " + text + " leaves its folder";
        return false;
    }
    std::string below;
    if (!ExpandRelativePath(rest.substr(1), below, problem, escapes)) {
        problem = "the destination " + text + " " + problem;
        return false;
    }
    if (rest.size() == 1) {
        escapes = false;
        problem = "the destination " + text + " holds an empty name";
        return false;
    }
    if (!below.empty()) out += "\\" + below;
    return true;
}

std::string PathSpellingFault(const std::string& path) {
    size_t start = 0;
    for (;;) {
        size_t end = path.find_first_of("\\/", start);
        std::string fault = SpellingFault(std::string_view(path).substr(start, end == std::string::npos ? end : end - start));
        if (!fault.empty()) return fault;
        if (end == std::string::npos) return fault;
        start = end + 1;
    }
}

bool IsSafeRelativePath(const std::string& path) { return PathSpellingFault(path).empty(); }

bool IsAbsolutePath(const std::string& path) {
    bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                 path[1] == ':' && path[2] == '\\';
    bool share = path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
    if (!drive && !share) return false;
    std::string rest = path.substr(drive ? 3 : 2);
    while (!rest.empty() && rest.back() == '\\') rest.pop_back();
    return rest.empty() ? drive : IsSafeRelativePath(rest);
}
