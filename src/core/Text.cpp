#include "core/Text.h"

#include <cstdio>

static unsigned char LowerAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(static_cast<unsigned char>(a[i])) != LowerAscii(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string ReplaceFirstPlaceholder(const std::string& text, const std::string& value) {
    size_t at = text.find("%1");
    if (at == std::string::npos) return text;
    return text.substr(0, at) + value + text.substr(at + 2);
}

bool GetField(const std::string& text, char separator, int n, std::string& field) {
    if (n < 0) return false;
    size_t start = 0;
    for (int i = 0; i < n; ++i) {
        size_t next = text.find(separator, start);
        if (next == std::string::npos) return false;
        start = next + 1;
    }
    size_t end = text.find(separator, start);
    field = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    return true;
}

void SplitPath(const std::string& path, std::string& folder, std::string& name) {
    size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos) {
        folder.clear();
        name = path;
        return;
    }
    folder = path.substr(0, slash);
    name = path.substr(slash + 1);
}

bool IsValidFileName(const std::string& name) {
    return name.find_first_of("\\/:*?\"<>|") == std::string::npos;
}

static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> arguments;
    size_t at = 0;
    while (true) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at == line.size()) return arguments;
        size_t end;
        if (line[at] == '"') {
            size_t start = ++at;
            end = start;
            while (end < line.size() && !(line[end] == '"' && (end + 1 == line.size() || IsBlank(line[end + 1]))))
                ++end;
            arguments.push_back(line.substr(start, end - start));
            at = end < line.size() ? end + 1 : end;
            continue;
        }
        end = at;
        while (end < line.size() && !IsBlank(line[end])) ++end;
        arguments.push_back(line.substr(at, end - at));
        at = end;
    }
}

std::string FormatFileSize(std::uint32_t size) {
    char text[48];
    if (size < 1024)
        snprintf(text, sizeof text, "%u bytes", size);
    else if (size < 1024000)
        snprintf(text, sizeof text, "%u KB", size / 1024);
    else
        snprintf(text, sizeof text, "%u,%03u KB", size / 1024000, (size % 1024000) / 1024);
    return text;
}
