#include "profile/ScriptBuilder.h"

#include "platform/File.h"

void ScriptBuilder::AddLine(const std::string& sectionHeader, const std::string& line) {
    // Scripts hold a dozen sections at most; the last one used is the usual target.
    for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) {
        if (it->header == sectionHeader) {
            it->lines.push_back(line);
            return;
        }
    }
    sections_.push_back({sectionHeader, {line}});
}

std::string ScriptBuilder::Text() const {
    std::string text;
    for (const Section& section : sections_) {
        text += section.header + "\r\n";
        for (const std::string& line : section.lines) text += line + "\r\n";
        text += "\r\n";
    }
    return text;
}

bool ScriptBuilder::WriteTo(File& file) const {
    const std::string text = Bytes();
    std::uint32_t done = 0;
    return file.Write(text.data(), static_cast<std::uint32_t>(text.size()), done);
}
