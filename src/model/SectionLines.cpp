#include "model/SectionLines.h"

#include "profile/ScriptBuilder.h"
#include "profile/LineSink.h"

bool WriteSection(LineSink& out, const std::string& header, const Lines& lines) {
    bool ok = out.WriteLine(header);
    for (const std::string& line : lines) ok &= out.WriteLine(line);
    ok &= out.WriteLine("");
    return ok;
}

void AddLines(ScriptBuilder& script, const std::string& header, const Lines& lines) {
    for (const std::string& line : lines) script.AddLine(header, line);
}
