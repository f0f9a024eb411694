#include "package/CommandLine.h"

#include <cctype>

#include "core/Text.h"

namespace {

enum class Switch {
    None, Silent, Suppress, Help, AllowDowngrade, CloseApplications, Folder, Language, Log, Cleanup, Archive, AllUsers, CurrentUser,
    Restarted
};

struct SwitchName {
    const char* name;
    Switch kind;
    bool takesValue;
};

const SwitchName kSwitches[] = {
    {"S", Switch::Silent, false},       {"SILENT", Switch::Silent, false},
    {"VERYSILENT", Switch::Silent, false}, {"SUPPRESSMSGBOXES", Switch::Suppress, false},
    {"?", Switch::Help, false},         {"HELP", Switch::Help, false},
    {"ALLOWDOWNGRADE", Switch::AllowDowngrade, false}, {"CLOSEAPPLICATIONS", Switch::CloseApplications, false},
    {"D", Switch::Folder, true},        {"DIR", Switch::Folder, true},
    {"LANG", Switch::Language, true},   {"LOG", Switch::Log, true},
    {"_CLEANUP", Switch::Cleanup, true}, {"_ARCHIVE", Switch::Archive, true},
    {"ALLUSERS", Switch::AllUsers, false}, {"CURRENTUSER", Switch::CurrentUser, false},
    {"_RESTARTED", Switch::Restarted, false},
};

bool IsSpaceOrTab(char c) { return c == ' ' || c == '\t'; }

// The switch that starts at `pos` ("/" or "-", its name, then "=", a blank or the end).
const SwitchName* SwitchAt(const std::string& text, size_t pos, size_t& nameEnd) {
    if (pos >= text.size() || (text[pos] != '/' && text[pos] != '-')) return nullptr;
    size_t end = pos + 1;
    while (end < text.size() && !IsSpaceOrTab(text[end]) && text[end] != '=' && text[end] != '"') ++end;
    std::string_view name(text.data() + pos + 1, end - pos - 1);
    for (const SwitchName& s : kSwitches) {
        bool valueFollows = end < text.size() && text[end] == '=';
        if (EqualNoCase(name, s.name) && valueFollows == s.takesValue) {
            nameEnd = end;
            return &s;
        }
    }
    return nullptr;
}

// An unquoted value ends before the blanks that precede the next known switch.
size_t ValueEnd(const std::string& text, size_t pos) {
    for (size_t i = pos; i < text.size(); ++i) {
        size_t ignored = 0;
        if (IsSpaceOrTab(text[i]) && SwitchAt(text, i + 1, ignored)) return i;
    }
    return text.size();
}

std::string TrimRight(std::string text) {
    while (!text.empty() && IsSpaceOrTab(text.back())) text.pop_back();
    return text;
}

void Apply(InstallerOptions& options, Switch kind, const std::string& value) {
    switch (kind) {
        case Switch::Silent: options.silent = true; break;
        case Switch::Suppress: options.suppressBoxes = true; break;
        case Switch::Help: options.help = true; break;
        case Switch::AllowDowngrade: options.allowDowngrade = true; break;
        case Switch::CloseApplications: options.closeApplications = true; break;
        case Switch::Folder: options.folder = value; break;
        case Switch::Language: options.language = value; break;
        case Switch::Log: options.logPath = value; break;
        case Switch::Cleanup: options.cleanup = value; break;
        case Switch::Archive: options.archive = value; break;
        case Switch::AllUsers: options.allUsers = true; break;
        case Switch::CurrentUser: options.currentUser = true; break;
        case Switch::Restarted: options.restarted = true; break;
        case Switch::None: break;
    }
}

// Reads one token at `pos`: a switch with its value, or an unknown word. Returns the end.
size_t ReadToken(const std::string& text, size_t pos, InstallerOptions& options) {
    bool quoted = text[pos] == '"';
    size_t start = quoted ? pos + 1 : pos;
    size_t nameEnd = 0;
    const SwitchName* s = SwitchAt(text, start, nameEnd);
    if (!s) {
        size_t end = quoted ? text.find('"', start) : start;
        if (!quoted)
            while (end < text.size() && !IsSpaceOrTab(text[end])) ++end;
        if (end == std::string::npos) end = text.size();
        options.unknown.push_back(text.substr(start, end - start));
        return end < text.size() && quoted ? end + 1 : end;
    }
    if (!s->takesValue) {
        Apply(options, s->kind, std::string());
        return quoted && nameEnd < text.size() && text[nameEnd] == '"' ? nameEnd + 1 : nameEnd;
    }
    size_t valueStart = nameEnd + 1;
    if (quoted || (valueStart < text.size() && text[valueStart] == '"')) {
        // "/D=C:\x y" or /D="C:\x y": the value runs to the closing quote.
        size_t from = quoted ? valueStart : valueStart + 1;
        size_t close = text.find('"', from);
        if (close == std::string::npos) close = text.size();
        Apply(options, s->kind, text.substr(from, close - from));
        return close < text.size() ? close + 1 : close;
    }
    size_t end = ValueEnd(text, valueStart);
    Apply(options, s->kind, TrimRight(text.substr(valueStart, end - valueStart)));
    return end;
}

}  // namespace

std::string ArgumentsAfterProgram(const std::string& commandLine) {
    size_t pos = 0;
    while (pos < commandLine.size() && IsSpaceOrTab(commandLine[pos])) ++pos;
    if (pos < commandLine.size() && commandLine[pos] == '"') {
        size_t close = commandLine.find('"', pos + 1);
        pos = close == std::string::npos ? commandLine.size() : close + 1;
    } else {
        while (pos < commandLine.size() && !IsSpaceOrTab(commandLine[pos])) ++pos;
    }
    while (pos < commandLine.size() && IsSpaceOrTab(commandLine[pos])) ++pos;
    return commandLine.substr(pos);
}

InstallerOptions ParseInstallerArguments(const std::string& arguments) {
    InstallerOptions options;
    size_t pos = 0;
    while (pos < arguments.size()) {
        if (IsSpaceOrTab(arguments[pos])) {
            ++pos;
            continue;
        }
        pos = ReadToken(arguments, pos, options);
    }
    return options;
}

std::string ArchiveSwitch(const ArchiveLocation& location) {
    return " /_ARCHIVE=\"" + std::to_string(location.offset) + "," + std::to_string(location.size) + "," +
           location.path + "\"";
}

namespace {

// Reads the decimal number that starts at `pos` and ends at a comma; moves `pos` past the comma.
bool ReadNumberField(const std::string& text, size_t& pos, std::uint64_t& number) {
    size_t comma = text.find(',', pos);
    if (comma == std::string::npos || comma == pos || comma - pos > 19) return false;
    number = 0;
    for (size_t i = pos; i < comma; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        number = number * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
    pos = comma + 1;
    return true;
}

}  // namespace

bool ParseArchiveLocation(const std::string& value, ArchiveLocation& location) {
    size_t pos = 0;
    ArchiveLocation read;
    if (!ReadNumberField(value, pos, read.offset) || !ReadNumberField(value, pos, read.size) || pos >= value.size())
        return false;
    read.path = value.substr(pos);
    location = read;
    return true;
}
