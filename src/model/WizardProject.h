#pragma once
// The project that the new-project wizard makes from its answers: every section's defaults, the
// six general texts, the product folder's files below %AppDir%, an output folder beside the
// project file and a setup window titled after the product. The wizard in the window and `qsbuild --new` both make it here, so the same
// answers give the same project file.
#include <cstddef>

class ProjectDocument;
class ProjectWizardData;

struct WizardFiles {
    // Why the product folder gave no files, when it gave none.
    enum Problem {
        None,          // the folder was read (it may still have been empty)
        NoFolder,      // no folder was named
        Missing,       // nothing exists at that path, or it is not a folder
        Unreadable,    // the folder exists but could not be read
    };
    Problem problem = None;
    size_t files = 0;
    size_t folders = 0;
};

// The output folder of a wizard's project, relative to the project file's folder.
constexpr char kWizardOutputFolder[] = "output";
// The setup window's title and footer of a wizard's project.
constexpr char kWizardWindowTitle[] = "%ProductName% Setup";
constexpr char kWizardFooter[] = "%Copyright% %ProductURL%";

// Makes `project` a new project from `answers`; the project must hold no unsaved changes (the
// caller asks the user first). The project ends up modified and without a path.
WizardFiles CreateWizardProject(ProjectDocument& project, const ProjectWizardData& answers);
