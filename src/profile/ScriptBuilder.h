#pragma once
// The installer script (setup.ini) in memory while a build writes it: sections in the order of
// their first line, each with its lines in the order they were added.
#include <string>
#include <vector>

class File;

class ScriptBuilder {
public:
    // Appends `line` to the section with exactly this header, creating the section at the end.
    void AddLine(const std::string& sectionHeader, const std::string& line);
    // Each section's header, its lines and one empty line, all ending in CR LF.
    bool WriteTo(File& file) const;
    std::string Text() const;

private:
    struct Section {
        std::string header;
        std::vector<std::string> lines;
    };
    std::vector<Section> sections_;
};
