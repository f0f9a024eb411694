#pragma once
// Builder-side paths of a project (product files, output folder, icon, splash, license, readme)
// that are not absolute are taken relative to the project file's folder, so a project kept in
// version control builds wherever it is checked out.
#include <string>

// `path` as it stands when it is empty or absolute, otherwise joined to `projectFolder`.
std::string ResolveProjectPath(const std::string& projectFolder, const std::string& path);
// The setup program a build writes: the output folder resolved against the folder of the project
// file at `projectPath`, joined with the setup file name; empty when either is not given.
std::string BuiltSetupPath(const std::string& projectPath, const std::string& outputFolder,
                           const std::string& setupFileName);
