#pragma once
// Values that setup.ini cannot hold. Its lines split their fields at ",", so a "," in any field
// but the last would move the later fields, and the installer would read another item than
// the project's, or a line it refuses. The installer cannot tell; the build checks the project
// for them before it writes setup.ini, and then runs the installer's own check on what it wrote.
#include <vector>

#include "package/Refusal.h"

class ProjectDocument;

std::vector<Refusal> UnwritableValues(const ProjectDocument& project);
