#include "profile/ProfileText.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/Exception.h"
#include "core/Text.h"
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

ProfileText ProfileText::FromBytes(std::string bytes, const std::string& heldOut) {
    ProfileText profile;
    profile.Keep(std::move(bytes));
    std::string& text = profile.text_;
    const size_t header = profile.FindSection(heldOut);
    const size_t first = header == npos ? npos : profile.FirstLine(header);
    if (first != npos && !profile.IsSectionLine(first)) {
        size_t end = first;
        while (end != npos && !profile.IsSectionLine(end)) end = profile.NextLine(end);
        text.erase(first, end == npos ? npos : end - first);
    }
    // The file's bytes became the text where they lay; what is left of them moves to a string of its size.
    if (text.capacity() > 2 * text.size() + 4096) text.shrink_to_fit();
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

namespace {

// A hash over the bytes eight at a time; every block but the last is a multiple of eight bytes.
class StampHasher {
public:
    void Add(const char* bytes, size_t count) {
        size_t i = 0;
        for (; i + 8 <= count; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i, 8);
            Mix(word);
        }
        if (i < count) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes + i, count - i);
            Mix(word);
        }
        stamp_.size += count;
    }
    TextStamp Stamp() const {
        TextStamp stamp = stamp_;
        stamp.hash = hash_ ^ stamp_.size;
        return stamp;
    }

private:
    void Mix(std::uint64_t word) {
        hash_ = (hash_ ^ word) * 0x100000001b3ull;
        hash_ ^= hash_ >> 29;
    }
    std::uint64_t hash_ = 14695981039346656037ull;
    TextStamp stamp_;
};

constexpr std::uint32_t kReadBlock = 1u << 20;

}  // namespace

TextStamp StampOf(const std::string& bytes) {
    StampHasher hasher;
    hasher.Add(bytes.data(), bytes.size());
    return hasher.Stamp();
}

bool IsPlainProfileText(const std::string& bytes) {
    return bytes.compare(0, sizeof kUtf8Mark - 1, kUtf8Mark) == 0 || IsAscii(bytes);
}

// The raw lines are found as ForEachRawLine finds them in the whole text, and kept and sorted into
// sections as Keep and the section lookups do: a line is kept when it has a line end and three
// bytes or more and does not begin with ";", or when it is the unterminated last line; the section
// begins after the first kept line that begins with its header and ends before the next kept line
// that begins with "[".
bool ForEachFileSectionLine(const std::string& path, const std::string& section, const TextStamp& stamp,
                            const std::function<void(const std::string&)>& fn) {
    File file;
    std::uint64_t size = 0;
    if (!file.Open(path, ReadExisting) || !file.GetSize64(size) || size != stamp.size) return false;
    const std::string header = "[" + section + "]";
    enum class Place { Before, Inside, After } place = Place::Before;
    std::string line;
    auto take = [&](const char* start, size_t length, bool terminated) {
        if (place == Place::After || (terminated && (length < 3 || start[0] == ';'))) return;
        if (place == Place::Before) {
            if (length >= header.size() && std::memcmp(start, header.data(), header.size()) == 0)
                place = Place::Inside;
        } else if (length > 0 && start[0] == '[') {
            place = Place::After;
        } else {
            line.assign(start, length);
            fn(line);
        }
    };

    StampHasher hasher;
    std::vector<char> block(kReadBlock);
    std::uint64_t left = size;
    std::string pending;  // the bytes after the last line end found so far
    bool known = false, atStart = true, atEnd = false;
    const char* end = "\r\n";
    size_t endSize = 2;
    bool lf = false;
    while (!atEnd) {
        // The file is read as far as it reached when the profile was made of it.
        const std::uint32_t want = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, kReadBlock));
        std::uint32_t got = 0;
        if (want > 0 && !file.Read(block.data(), want, got)) return false;
        left -= got;
        atEnd = left == 0;
        hasher.Add(block.data(), got);
        pending.append(block.data(), got);
        if (atStart) {
            if (pending.size() < 3 && !atEnd) continue;
            if (pending.compare(0, 3, kUtf8Mark) == 0) pending.erase(0, 3);
            atStart = false;
        }
        if (!known) {
            // The form of the first line end; a CR at the end of what is read so far waits for the next byte.
            const size_t first = pending.find_first_of("\r\n");
            if (first != npos && pending[first] == '\r' && first + 1 == pending.size() && !atEnd) continue;
            const LineEnds form = DetectLineEnds(pending);
            if (first != npos || atEnd) {
                known = true;
                end = form == LineEnds::CrLf ? "\r\n" : form == LineEnds::Lf ? "\n" : "\r";
                endSize = form == LineEnds::CrLf ? 2 : 1;
                lf = form == LineEnds::Lf;
            }
            if (!known) continue;
        }
        size_t pos = 0;
        for (size_t found; (found = pending.find(end, pos, endSize)) != npos; pos = found + endSize) {
            const bool crBefore = lf && found > pos && pending[found - 1] == '\r';
            take(pending.data() + pos, found - pos - (crBefore ? 1 : 0), true);
        }
        pending.erase(0, pos);
    }
    if (!pending.empty()) take(pending.data(), pending.size(), false);
    return hasher.Stamp() == stamp;
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
