#pragma once
// The New Project Wizard: four modal pages (welcome, general information, locate files, finish)
// over the answers that the main window keeps while the program runs, so that a second run
// starts with the answers of the first. Each page ends with the main window command that comes
// next: another page, the new project from the answers, or nothing when the user cancels.
#include <windows.h>

class LanguageSets;
class ProjectWizardData;
struct WizardFiles;

// Runs page `step` (CMD_WIZARD_STEP1 to CMD_WIZARD_STEP4) centred on the screen, owned by
// `owner`; the result is the command to carry out next. The page copies what the user entered
// into `answers` when it goes back or on, never when it is cancelled.
int RunWizardPage(UINT step, HWND owner, HINSTANCE instance, const LanguageSets& texts,
                  ProjectWizardData& answers);

// Tells the user why a project the wizard made has no files; says nothing when it has some.
void ReportWizardFiles(HWND owner, const LanguageSets& texts, const ProjectWizardData& answers,
                       const WizardFiles& added);
