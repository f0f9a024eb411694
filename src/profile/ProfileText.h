#pragma once
// A whole profile file (project file, language file, setup.ini) held in memory as one byte
// string: the kept lines with their CR LF, in file order. Lookups search that string.
// The text is UTF-8 whatever form the file had (DecodeText).
//
// Files are written with CR LF line ends, but a file that went through a tool that changed them
// (a checkout with LF, an old editor with CR) reads the same: the first line end of a file tells
// its form, and every line end of that form counts. In a file of CR LF lines a lone CR or LF is an
// ordinary byte of its line, as it always was.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "profile/TextForm.h"

enum class LineEnds { CrLf, Lf, Cr };

// The form of the file's first line end; CrLf for a file without any.
LineEnds DetectLineEnds(const std::string& bytes);

// The raw lines of a file, in file order, each without its line end; `terminated` is false only
// for a last line that has no line end. A file that ends in a line end has no empty line after it.
// In a file of LF lines a CR LF ends a line too (lines added by a tool of the other kind).
template <class Fn>
void ForEachRawLine(const std::string& bytes, Fn fn) {
    const LineEnds form = DetectLineEnds(bytes);
    const char* end = form == LineEnds::CrLf ? "\r\n" : form == LineEnds::Lf ? "\n" : "\r";
    const size_t endSize = form == LineEnds::CrLf ? 2 : 1;
    size_t number = 1;
    size_t pos = 0;
    for (size_t found; (found = bytes.find(end, pos, endSize)) != std::string::npos; pos = found + endSize) {
        const bool crBefore = form == LineEnds::Lf && found > pos && bytes[found - 1] == '\r';
        fn(number++, pos, found - pos - (crBefore ? 1 : 0), true);
    }
    if (pos < bytes.size()) fn(number, pos, bytes.size() - pos, false);
}

class ProfileText {
public:
    // Loads `name` (inside `folder` when one is given); throws FileException(name) when the
    // file cannot be opened.
    ProfileText(const std::string& folder, const std::string& name);
    // A profile made from bytes already in memory, kept and dropped by the same rules. The bytes
    // are taken over and cut down where they lie, so a large file is never held twice.
    static ProfileText FromBytes(std::string bytes);
    // The same without the lines of the first section `heldOut` (its header stays, so every other
    // section is what it was), for a caller that reads that section from the file itself with
    // ForEachFileSectionLine. The text keeps no more memory than it needs.
    static ProfileText FromBytes(std::string bytes, const std::string& heldOut);

    const std::string& Text() const { return text_; }
    // The form the file had; a file of ASCII bytes only counts as Utf8.
    TextForm Form() const { return form_; }

    size_t CountLines(const std::string& section) const;
    // The raw line `index` of the section without its CR LF; false and empty when absent.
    bool GetLine(const std::string& section, size_t index, std::string& line) const;
    // The first value of `key` in the section, unescaped, or `defaultValue`; its length.
    size_t GetValue(std::string& value, const std::string& section, const std::string& key,
                    const std::string& defaultValue) const;
    // The first value of `key` in the section as the file holds it, without Unescape: for paths
    // and names, where a backslash before "t" or "r" is an ordinary character. False and empty
    // when there is none.
    bool GetRawValue(const std::string& section, const std::string& key, std::string& value) const;

private:
    ProfileText() = default;
    void Keep(std::string bytes);
    size_t FindSection(const std::string& section) const;
    bool FindValue(const std::string& section, const std::string& key, std::string& raw) const;
    size_t FirstLine(size_t headerPos) const;
    size_t NextLine(size_t lineStart) const;
    bool IsSectionLine(size_t lineStart) const;

    std::string text_;
    TextForm form_ = TextForm::Utf8;

    // Where the last GetLine ended, so that reading a section line by line costs linear time.
    // The text never changes after loading, so the remembered place stays valid.
    mutable std::string cachedSection_;
    mutable size_t cachedIndex_ = 0;
    mutable size_t cachedPos_ = std::string::npos;
};

// Calls `fn(line)` for each raw line of the section, in file order.
template <class Fn>
void ForEachLine(const ProfileText& profile, const std::string& section, Fn fn) {
    std::string line;
    for (size_t i = 0, n = profile.CountLines(section); i < n; ++i) {
        profile.GetLine(section, i, line);
        fn(line);
    }
}

// The size and a hash of a file's bytes: whether a file read twice held the same bytes both times.
struct TextStamp {
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const TextStamp& other) const { return size == other.size && hash == other.hash; }
};
TextStamp StampOf(const std::string& bytes);

// Whether a profile holds these bytes as they are, without decoding: ASCII, or UTF-8 after its mark.
bool IsPlainProfileText(const std::string& bytes);

// Calls `fn(line)` for each line of the first section `section` of the profile file at `path`, the
// same lines in the same order as ForEachLine gives from the profile of the whole file, while
// holding no more than a block of the file (and the line being read) at a time: a large section
// is never held in memory beside what is made of it. For files whose bytes IsPlainProfileText.
// False when the file cannot be read or its bytes are no longer those that `stamp` describes
// (it changed since): `fn` may have been called for some lines by then.
bool ForEachFileSectionLine(const std::string& path, const std::string& section, const TextStamp& stamp,
                            const std::function<void(const std::string&)>& fn);

// When `line` begins with `key` (case-sensitive), stores the rest of it in `value`.
inline bool ValueAfter(const std::string& line, const std::string& key, std::string& value) {
    if (line.compare(0, key.size(), key) != 0) return false;
    value = line.substr(key.size());
    return true;
}

// "\r" becomes LF CR, then "\t" becomes TAB; nothing else is an escape.
std::string Unescape(const std::string& value);
