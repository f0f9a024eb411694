#pragma once
// The rights of the running program: whether it holds administrator rights, whether its manifest
// asks for them at once, and starting it again with them when the user's choice needs them.
#include <string>

// Whether the process's token is elevated (or is an administrator's without UAC).
bool IsElevated();
// Whether this program's manifest asks for administrator rights when it starts: the installer
// programs of an all-users project do, those of other projects start without.
bool RequestsAdministrator();

// The outcome of starting this program again with administrator rights.
enum class ElevatedRun {
    Finished,   // it ran; `exitCode` is its code
    Declined,   // the user said no to the elevation prompt
    Failed,     // it could not be started
};
// Starts `program` with `arguments` through the "runas" verb, which asks the user for rights, in
// front of `owner`, and waits for it to end.
ElevatedRun RunElevatedAndWait(const std::string& program, const std::string& arguments, void* owner, int& exitCode);
