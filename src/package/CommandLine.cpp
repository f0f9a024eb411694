#include "package/CommandLine.h"

#include <cctype>
#include <utility>

#include "core/Text.h"

namespace {

enum class Switch {
    None, Silent, Suppress, Help, AllowDowngrade, CloseApplications, Folder, Language, Log, Cleanup, Archive, AllUsers, CurrentUser,
    Restarted, Answered, UserName, Company
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
    {"_RESTARTED", Switch::Restarted, false}, {"_ANSWERED", Switch::Answered, false},
    {"_USER", Switch::UserName, true},  {"_COMPANY", Switch::Company, true},
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

// An unquoted value ends before the blanks that precede the next known switch, quoted or not.
size_t ValueEnd(const std::string& text, size_t pos) {
    for (size_t i = pos; i < text.size(); ++i) {
        size_t ignored = 0;
        if (!IsSpaceOrTab(text[i])) continue;
        const size_t next = i + 1 < text.size() && text[i + 1] == '"' ? i + 2 : i + 1;
        if (SwitchAt(text, next, ignored)) return i;
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
        case Switch::Answered: options.screensAnswered = true; break;
        case Switch::UserName: options.userName = value; break;
        case Switch::Company: options.company = value; break;
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
        // "/D=C:\x y" or /D="C:\x y": the value runs to the closing quote; "" is a quote.
        size_t pos = quoted ? valueStart : valueStart + 1;
        std::string value;
        for (; pos < text.size(); ++pos) {
            if (text[pos] != '"') {
                value += text[pos];
            } else if (pos + 1 < text.size() && text[pos + 1] == '"') {
                value += '"';
                ++pos;
            } else {
                break;
            }
        }
        Apply(options, s->kind, value);
        return pos < text.size() ? pos + 1 : pos;
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

std::string QuotedSwitch(const std::string& name, const std::string& value) {
    std::string out = "/" + name + "=\"";
    for (char c : value) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

std::string InstallerArguments(const InstallerOptions& options) {
    std::vector<std::string> words;
    const std::pair<bool, const char*> flags[] = {
        {options.silent, "/S"},
        {options.suppressBoxes, "/SUPPRESSMSGBOXES"},
        {options.allowDowngrade, "/ALLOWDOWNGRADE"},
        {options.closeApplications, "/CLOSEAPPLICATIONS"},
        {options.allUsers, "/ALLUSERS"},
        {options.currentUser, "/CURRENTUSER"},
        {options.restarted, "/_RESTARTED"},
        {options.screensAnswered, "/_ANSWERED"},
    };
    for (const auto& [set, name] : flags)
        if (set) words.push_back(name);
    const std::pair<const std::string*, const char*> values[] = {
        {&options.folder, "D"},         {&options.language, "LANG"}, {&options.logPath, "LOG"},
        {&options.cleanup, "_CLEANUP"}, {&options.archive, "_ARCHIVE"}, {&options.userName, "_USER"},
        {&options.company, "_COMPANY"},
    };
    for (const auto& [value, name] : values)
        if (!value->empty()) words.push_back(QuotedSwitch(name, *value));
    std::string out;
    for (const std::string& word : words) out += (out.empty() ? "" : " ") + word;
    return out;
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
