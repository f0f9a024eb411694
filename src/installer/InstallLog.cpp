#include "installer/InstallLog.h"

#include <cstdio>
#include <cstdlib>

#include "core/Text.h"

namespace {

std::vector<std::string> SplitTabs(const std::string& text) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = text.find('\t', start);
        fields.push_back(text.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

bool ReadLong(const std::string& text, long& value) {
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0';
}

std::string Line(const char* key, std::initializer_list<std::string> fields) {
    std::string line = key;
    bool first = true;
    for (const std::string& f : fields) {
        if (!first) line += '\t';
        line += f;
        first = false;
    }
    return line + "\r\n";
}

bool ReadAction(const std::string& line, InstallAction& a) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) return false;
    std::string key = line.substr(0, eq);
    std::vector<std::string> f = SplitTabs(line.substr(eq + 1));
    if (key == "Folder" && f.size() == 1) {
        a.kind = ActionKind::Folder;
        a.path = f[0];
    } else if ((key == "File" || key == "Registered") && f.size() == 3) {
        long options = 0;
        a.kind = key == "File" ? ActionKind::File : ActionKind::Registered;
        a.path = f[2];
        if (!ReadLong(f[0], options) || !ReadLong(f[1], a.previousCount)) return false;
        a.options = static_cast<int>(options);
    } else if (key == "Key" && f.size() == 2) {
        a.kind = ActionKind::Key;
        a.hive = f[0];
        a.key = f[1];
    } else if (key == "Value" && f.size() == 5) {
        a.kind = ActionKind::Value;
        a.hive = f[0];
        a.key = f[1];
        a.name = f[2];
        if (!ReadLong(f[3], a.previousType) || !ReadHexBytes(f[4], a.previousData)) return false;
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::string HexBytes(const std::string& bytes) {
    std::string text;
    char pair[3];
    for (unsigned char b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        text += pair;
    }
    return text;
}

bool ReadHexBytes(const std::string& text, std::string& bytes) {
    bytes.clear();
    if (text.size() % 2) return false;
    for (size_t i = 0; i < text.size(); i += 2) {
        char pair[3] = {text[i], text[i + 1], 0};
        char* end = nullptr;
        long b = std::strtol(pair, &end, 16);
        if (*end != '\0') return false;
        bytes += static_cast<char>(b);
    }
    return true;
}

std::string InstallLog::ActionLines() const {
    std::string text;
    for (const InstallAction& a : actions_) {
        switch (a.kind) {
            case ActionKind::Folder: text += Line("Folder=", {a.path}); break;
            case ActionKind::Registered:
            case ActionKind::File:
                text += Line(a.kind == ActionKind::File ? "File=" : "Registered=",
                             {std::to_string(a.options), std::to_string(a.previousCount), a.path});
                break;
            case ActionKind::Key: text += Line("Key=", {a.hive, a.key}); break;
            case ActionKind::Value:
                text += Line("Value=", {a.hive, a.key, a.name, std::to_string(a.previousType),
                                        HexBytes(a.previousData)});
                break;
        }
    }
    return text;
}

bool InstallLog::Read(const ProfileText& log) {
    actions_.clear();
    bool ok = true;
    ForEachLine(log, "ACTIONS", [&](const std::string& line) {
        InstallAction a;
        if (ReadAction(line, a)) actions_.push_back(a);
        else ok = false;
    });
    return ok;
}

static bool SameThing(const InstallAction& a, const InstallAction& b) {
    if (a.kind != b.kind) return false;
    switch (a.kind) {
        case ActionKind::Key: return EqualNoCase(a.hive, b.hive) && EqualNoCase(a.key, b.key);
        case ActionKind::Value:
            return EqualNoCase(a.hive, b.hive) && EqualNoCase(a.key, b.key) && EqualNoCase(a.name, b.name);
        default: return EqualNoCase(a.path, b.path);
    }
}

bool InstallLog::Covers(const InstallAction& action) const {
    for (const InstallAction& a : actions_)
        if (SameThing(a, action)) return true;
    return false;
}

InstallLog InstallLog::MergedWith(const InstallLog& later) const {
    InstallLog merged = *this;
    for (const InstallAction& a : later.actions_)
        if (!Covers(a)) merged.Add(a);
    return merged;
}
