#pragma once
// The variables that a setup script names instead of the target computer's real folders and
// product texts ("%AppDir%", "%ProductName%"), resolved once on the target computer.
#include <string>
#include <vector>

class Variables {
public:
    // `folder` marks the variables that may begin a destination path.
    void Set(const std::string& name, const std::string& value, bool folder);
    bool Get(const std::string& name, std::string& value) const;

    // Replaces every "%Name%" of a known variable (names compare without regard to case).
    // With `strict`, an unknown "%Name%" makes the call fail and names it in `problem`;
    // otherwise it stays as it stands, so that data such as "%1" or "50%" keeps its percent signs.
    bool Expand(const std::string& text, bool strict, std::string& out, std::string& problem) const;

    // A folder path below some folder, "%CompanyName%\%ProductName%": each name between
    // backslashes as written, with its variables replaced and, as Windows stores it, without
    // trailing dots and blanks. A name that only an empty variable made empty (no company name) is
    // left out; a name written empty, or one of dots and blanks only, is a fault. On failure
    // `problem` says what is wrong (to follow the path's own name in a sentence) and `escapes`
    // whether the path would lead out of its folder rather than only hold a bad name.
    bool ExpandRelativePath(const std::string& text, std::string& out, std::string& problem, bool& escapes) const;

    // A destination on the target computer: it must begin with a folder variable, and what
    // follows is a relative path as above. `problem` is a whole sentence.
    bool ExpandDestination(const std::string& text, std::string& out, std::string& problem, bool& escapes) const;

private:
    struct Entry {
        std::string name, value;
        bool folder;
    };
    const Entry* Find(const std::string& name) const;
    std::vector<Entry> entries_;
};

// A relative path that stays below its folder and lands where it says: every component, between
// "\" or "/", is a name that Windows keeps as spelt (IsStoredAsSpelt), so no empty, "." or
// ".." component, no drive colon, no leading separator, no device name or trailing dot.
bool IsSafeRelativePath(const std::string& path);
// What makes the first unsafe component unsafe (SpellingFault); empty for a safe path.
std::string PathSpellingFault(const std::string& path);
// A full folder path of the target computer: "X:\..." or "\\server\share...", each component
// as above; the "\\?\" and "\\.\" prefixes, which bypass the name rules, are refused.
bool IsAbsolutePath(const std::string& path);
