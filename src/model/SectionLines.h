#pragma once
// Most sections write the same lines into the project file and into setup.ini; they build
// the lines once and hand them to one of these.
#include <string>
#include <vector>

class LineSink;
class ScriptBuilder;

using Lines = std::vector<std::string>;

// The header line, the lines and one empty line; true when every write succeeded.
bool WriteSection(LineSink& out, const std::string& header, const Lines& lines);
// The lines under `header` of the installer script.
void AddLines(ScriptBuilder& script, const std::string& header, const Lines& lines);
