#include "model/SectionLines.h"

#include "profile/ScriptBuilder.h"
#include "platform/File.h"

bool WriteSection(File& file, const std::string& header, const Lines& lines) {
    bool ok = file.WriteLine(header);
    for (const std::string& line : lines) ok &= file.WriteLine(line);
    ok &= file.WriteLine("");
    return ok;
}

void AddLines(ScriptBuilder& script, const std::string& header, const Lines& lines) {
    for (const std::string& line : lines) script.AddLine(header, line);
}
