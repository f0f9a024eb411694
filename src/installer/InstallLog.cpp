#include "installer/InstallLog.h"

#include <cstdio>
#include <cstdlib>

#include "core/Sha256.h"
#include "core/Text.h"

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

// A field holds any byte but those that end a field or a line: a control character (TAB, CR,
// LF among them, all legal in registry names) and "%" itself are written as "%" and two hex
// digits. No other byte changes, so the paths of a log read as they stand.
std::string EscapeField(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    char code[4];
    for (unsigned char c : text) {
        if (c < 0x20 || c == '%' || c == 0x7F) {
            std::snprintf(code, sizeof code, "%%%02X", c);
            out += code;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool UnescapeField(const std::string& text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        std::string bytes;
        if (i + 2 >= text.size() || !ReadHexBytes(text.substr(i + 1, 2), bytes)) return false;
        out += bytes;
        i += 2;
    }
    return true;
}

namespace {

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
        return UnescapeField(f[0], a.path);
    }
    if ((key == "File" || key == "Registered") && f.size() == 3) {
        long options = 0;
        a.kind = key == "File" ? ActionKind::File : ActionKind::Registered;
        if (!ReadLong(f[0], options) || !ReadLong(f[1], a.previousCount)) return false;
        a.options = static_cast<int>(options);
        return UnescapeField(f[2], a.path);
    }
    if (key == "Key" && f.size() == 2) {
        a.kind = ActionKind::Key;
        return UnescapeField(f[0], a.hive) && UnescapeField(f[1], a.key);
    }
    if (key == "Value" && f.size() == 5) {
        a.kind = ActionKind::Value;
        return UnescapeField(f[0], a.hive) && UnescapeField(f[1], a.key) && UnescapeField(f[2], a.name) &&
               ReadLong(f[3], a.previousType) && ReadHexBytes(f[4], a.previousData);
    }
    return false;
}

}  // namespace

std::string InstallLog::ActionLines() const {
    std::string text;
    for (const InstallAction& a : actions_) {
        switch (a.kind) {
            case ActionKind::Folder: text += Line("Folder=", {EscapeField(a.path)}); break;
            case ActionKind::Registered:
            case ActionKind::File:
                text += Line(a.kind == ActionKind::File ? "File=" : "Registered=",
                             {std::to_string(a.options), std::to_string(a.previousCount), EscapeField(a.path)});
                break;
            case ActionKind::Key: text += Line("Key=", {EscapeField(a.hive), EscapeField(a.key)}); break;
            case ActionKind::Value:
                text += Line("Value=", {EscapeField(a.hive), EscapeField(a.key), EscapeField(a.name),
                                        std::to_string(a.previousType), HexBytes(a.previousData)});
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

std::string LoggedUninstallKey(const ProfileText& log) {
    std::string key;
    log.GetRawValue("UNINSTALL", "UninstallKey", key);
    const size_t prefix = sizeof kUninstallEntries - 1;
    bool below = key.size() > prefix && EqualNoCase(std::string_view(key).substr(0, prefix), kUninstallEntries) &&
                 key.find('\\', prefix) == std::string::npos;
    return below ? key : std::string();
}

bool LoggedScope(const ProfileText& log, InstallScope& scope) {
    std::string name;
    log.GetRawValue("UNINSTALL", "InstallScope", name);
    return ReadScope(name, scope);
}

std::string ScopeLogLine(InstallScope scope) {
    return scope == InstallScope::AllUsers ? std::string() : std::string(kInstallScopeKey) + ScopeName(scope) + "\r\n";
}

std::string InstallLogFingerprint(const std::string& logBytes) { return Sha256Hex(logBytes); }

LogTrust CheckInstallLog(const std::string& logBytes, const std::string& keptFingerprint, const std::string& folder) {
    if (keptFingerprint.empty()) return LogTrust::NoFingerprint;
    if (!EqualNoCase(InstallLogFingerprint(logBytes), keptFingerprint)) return LogTrust::Changed;
    std::string appDir;
    ProfileText::FromBytes(logBytes).GetRawValue("UNINSTALL", "AppDir", appDir);
    return EqualNoCase(appDir, folder) ? LogTrust::Trusted : LogTrust::OtherFolder;
}
