#pragma once
// Values that setup.ini cannot hold although the project can. The project's trees and file types
// already keep "," out of every field but the last; the uninstaller shortcut's name is free text
// that becomes a field of a shortcut line, and a file type's extension begins its line, where
// "[" would end the section and ";" make the line a comment. The installer cannot tell such a
// line from another; the build checks for them before it writes setup.ini, and then runs the
// installer's own check on what it wrote.
#include <vector>

#include "package/Refusal.h"

class ProjectDocument;

std::vector<Refusal> UnwritableValues(const ProjectDocument& project);
