#pragma once
// The installer's check of a package, whole: every line of setup.ini planned as the installer
// plans it before it changes anything, on a computer with the usual folders. The build runs it
// on the setup.ini that it has written, so that a setup the installer would refuse is never
// made; it lists every refusal, where the installer stops at the first.
#include <vector>

#include "package/InstallPlan.h"
#include "package/Refusal.h"
#include "package/SetupScript.h"

std::vector<Refusal> CheckPackage(const SetupScript& script, const InstallPlan::EntrySize& entrySize,
                                  const InstallPlan::EntryRegisters& registers);
