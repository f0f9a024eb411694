#pragma once
// The installer script (setup.ini) in memory while a build writes it: sections in the order of
// their first line, each with its lines in the order they were added.
#include <string>
#include <vector>

#include "profile/TextForm.h"

class File;

class ScriptBuilder {
public:
    // Appends `line` to the section with exactly this header, creating the section at the end.
    void AddLine(const std::string& sectionHeader, const std::string& line);
    // Each section's header, its lines and one empty line, all ending in CR LF.
    std::string Text() const;
    // The text as setup.ini holds it: in the Utf8 form, so the installer reads the same
    // characters whatever the target's code page.
    std::string Bytes() const { return EncodeUtf8(Text()); }
    bool WriteTo(File& file) const;

private:
    struct Section {
        std::string header;
        std::vector<std::string> lines;
    };
    std::vector<Section> sections_;
};
