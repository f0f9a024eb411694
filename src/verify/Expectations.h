#pragma once
// What a project says its setup installs, planned as the installer plans it on the verifying
// computer: the installer's own plan of the setup.ini that the build writes, with the folder
// variables taken from that computer's registry.
#include <string>
#include <vector>

#include "package/InstallPlan.h"

class ProjectDocument;
struct RegistryExport;

struct ExpectedFile {
    std::string path;        // Windows form
    std::string sourcePath;  // the product file; empty for the uninstaller, which the build makes
    bool neverUninstall = false;
};

struct ProjectExpectations {
    std::string appDir;
    std::vector<std::string> folders;
    std::vector<ExpectedFile> files;
    std::vector<PlannedShortcut> shortcuts;
    std::vector<PlannedValue> values;  // file types and the uninstall entry among them
    std::string uninstallKey;          // below HKLM; empty without an uninstaller
};

// The computer's folders that the folder variables stand for, from its machine hive (its shell
// folders and program folders); a folder the hive lacks stays empty.
TargetFolders TargetFoldersOf(const RegistryExport& machine);

// False with the installer's first refusal in `problem` when the project cannot be planned.
bool PlanProject(const ProjectDocument& project, const TargetFolders& folders, const std::string& setupFolder,
                 ProjectExpectations& out, std::string& problem);

// The key, in the form the exports name it, that a planned value of hive `hive` (HKCR, HKCU,
// HKLM, HKU) is written to: HKCR is looked up below the machine's classes and the user's.
std::vector<std::string> ExportedKeyPaths(const std::string& hive, const std::string& key);
