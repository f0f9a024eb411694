#include "profile/ProfileText.h"

#include <cstring>

#include "core/Exception.h"
#include "platform/File.h"

static const std::string kCrLf = "\r\n";
static const size_t npos = std::string::npos;

ProfileText::ProfileText(const std::string& folder, const std::string& name) {
    File file;
    if (!file.Open(folder, name, ReadExisting)) throw FileException(name);
    std::uint32_t size = 0;
    file.GetSize(size);
    // A short read leaves zero bytes behind, which the line walk keeps as ordinary content.
    std::string bytes(size, '\0');
    std::uint32_t done = 0;
    if (size > 0) file.Read(&bytes[0], size, done);
    file.Close();
    Keep(std::move(bytes));
}

ProfileText ProfileText::FromBytes(std::string bytes) {
    ProfileText profile;
    profile.Keep(std::move(bytes));
    return profile;
}

LineEnds DetectLineEnds(const std::string& bytes) {
    const size_t first = bytes.find_first_of("\r\n");
    if (first == npos || bytes[first] == '\n') return first == npos ? LineEnds::CrLf : LineEnds::Lf;
    return first + 1 < bytes.size() && bytes[first + 1] == '\n' ? LineEnds::CrLf : LineEnds::Cr;
}

static bool IsKept(const std::string& bytes, size_t start, size_t length) {
    return length >= 3 && bytes[start] != ';';
}

// Drops lines of fewer than three bytes and comment lines; the unterminated last line is kept.
// Lines of CR LF are moved down in place (a kept line never lands after where it was read);
// other line ends grow by a byte each and are written into a new string.
void ProfileText::Keep(std::string fileBytes) {
    DecodedText decoded = DecodeText(std::move(fileBytes));
    form_ = decoded.form;
    std::string& bytes = decoded.text;
    if (DetectLineEnds(bytes) == LineEnds::CrLf) {
        size_t out = 0;
        ForEachRawLine(bytes, [&](size_t, size_t start, size_t length, bool terminated) {
            if (terminated && !IsKept(bytes, start, length)) return;
            const size_t kept = terminated ? length + 2 : length;
            if (out != start) std::memmove(&bytes[out], &bytes[start], kept);
            out += kept;
        });
        bytes.resize(out);
        text_ = std::move(bytes);
        return;
    }
    size_t size = 0;
    ForEachRawLine(bytes, [&](size_t, size_t start, size_t length, bool terminated) {
        if (!terminated || IsKept(bytes, start, length)) size += terminated ? length + 2 : length;
    });
    text_.clear();
    text_.reserve(size);
    ForEachRawLine(bytes, [&](size_t, size_t start, size_t length, bool terminated) {
        if (!terminated) {
            text_.append(bytes, start, length);
        } else if (IsKept(bytes, start, length)) {
            text_.append(bytes, start, length);
            text_ += kCrLf;
        }
    });
}

// A header counts only at the start of a line: the same text inside a value ("x[ACTIONS]", a
// folder named "C:\Apps[ACTIONS]") is part of that value and neither starts nor hides a section.
size_t ProfileText::FindSection(const std::string& section) const {
    const std::string header = "[" + section + "]";
    for (size_t pos = text_.find(header); pos != npos; pos = text_.find(header, pos + 1))
        if (pos == 0 || (pos >= 2 && text_.compare(pos - 2, 2, kCrLf) == 0)) return pos;
    return npos;
}

// The line after the header line, or npos when the header is the last line.
size_t ProfileText::FirstLine(size_t headerPos) const {
    size_t end = text_.find(kCrLf, headerPos);
    if (end == npos || end + 2 >= text_.size()) return npos;
    return end + 2;
}

size_t ProfileText::NextLine(size_t lineStart) const {
    size_t end = text_.find(kCrLf, lineStart);
    if (end == npos || end + 2 >= text_.size()) return npos;
    return end + 2;
}

bool ProfileText::IsSectionLine(size_t lineStart) const { return text_[lineStart] == '['; }

size_t ProfileText::CountLines(const std::string& section) const {
    size_t header = FindSection(section);
    if (header == npos) return 0;
    size_t line = FirstLine(header);
    size_t count = 0;
    while (line != npos && !IsSectionLine(line)) {
        ++count;
        line = NextLine(line);
    }
    return count;
}

bool ProfileText::GetLine(const std::string& section, size_t index, std::string& line) const {
    line.clear();
    size_t pos;
    size_t at;
    if (cachedPos_ != npos && index >= cachedIndex_ && section == cachedSection_) {
        pos = cachedPos_;
        at = cachedIndex_;
    } else {
        size_t header = FindSection(section);
        if (header == npos) return false;
        pos = FirstLine(header);
        at = 0;
        if (pos == npos || IsSectionLine(pos)) return false;
        cachedSection_ = section;
        cachedIndex_ = 0;
        cachedPos_ = pos;
    }
    while (at < index) {
        pos = NextLine(pos);
        if (pos == npos || IsSectionLine(pos)) return false;
        ++at;
    }
    cachedIndex_ = at;
    cachedPos_ = pos;
    size_t end = text_.find(kCrLf, pos);
    line.assign(text_, pos, end == npos ? npos : end - pos);
    return true;
}

// The key is looked for at the start of each line of the section, so a "[" inside a value
// ("ProductName=Demo [Beta]") ends nothing: only a line that begins with "[" ends the section.
// The value runs to the next CR byte or the end of the text.
bool ProfileText::FindValue(const std::string& section, const std::string& key, std::string& raw) const {
    size_t header = FindSection(section);
    if (header == npos) return false;
    const std::string pattern = key + "=";
    for (size_t line = FirstLine(header); line != npos && !IsSectionLine(line); line = NextLine(line)) {
        if (text_.compare(line, pattern.size(), pattern) != 0) continue;
        size_t start = line + pattern.size();
        size_t end = text_.find('\r', start);
        raw = text_.substr(start, end == npos ? npos : end - start);
        return true;
    }
    return false;
}

size_t ProfileText::GetValue(std::string& value, const std::string& section, const std::string& key,
                             const std::string& defaultValue) const {
    std::string raw;
    value = FindValue(section, key, raw) ? Unescape(raw) : defaultValue;
    return value.size();
}

bool ProfileText::GetRawValue(const std::string& section, const std::string& key, std::string& value) const {
    value.clear();
    return FindValue(section, key, value);
}

std::string Unescape(const std::string& value) {
    std::string pass;
    pass.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == 'r') {
            pass += "\n\r";
            ++i;
        } else {
            pass += value[i];
        }
    }
    std::string result;
    result.reserve(pass.size());
    for (size_t i = 0; i < pass.size(); ++i) {
        if (pass[i] == '\\' && i + 1 < pass.size() && pass[i + 1] == 't') {
            result += '\t';
            ++i;
        } else {
            result += pass[i];
        }
    }
    return result;
}
