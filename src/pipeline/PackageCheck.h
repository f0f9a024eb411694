#pragma once
// What the installer would refuse in a project, found before a build writes a setup: a package
// that the installer rejects as a whole must never leave the builder. Each finding is the text
// of one "Error!" line of the build log (without the "Error! ").
#include <string>
#include <vector>

class ProjectDocument;

std::vector<std::string> InstallerRefusals(const ProjectDocument& project);
