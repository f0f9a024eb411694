#pragma once
// The installer's check of a package, whole: every line of setup.ini planned as the installer
// plans it before it changes anything, on a computer with the usual folders. The build runs it
// on the setup.ini that it has written, so that a setup the installer would refuse is never
// made; it lists every refusal, where the installer stops at the first. A project that lets the
// user choose its scope is checked for all users; its current-user choice separately.
#include <vector>

#include "package/InstallPlan.h"
#include "package/Refusal.h"
#include "package/SetupScript.h"

std::vector<Refusal> CheckPackage(const SetupScript& script, const InstallPlan::EntrySize& entrySize,
                                  const InstallPlan::EntryRegisters& registers);

// For a project that lets the user choose: what the current user's installation alone refuses
// (the installer then offers only all users); empty for any other project.
std::vector<Refusal> CheckCurrentUserChoice(const SetupScript& script, const InstallPlan::EntrySize& entrySize,
                                            const InstallPlan::EntryRegisters& registers);
