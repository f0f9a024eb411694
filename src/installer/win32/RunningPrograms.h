#pragma once
// The programs that hold files an installation is to replace or remove, and closing them. The
// Restart Manager names the programs wherever the system keeps that record; where it names none
// (Wine keeps none), a file that cannot be opened exclusively is in use, and a running program
// whose own file it is holds it.
#include <windows.h>

#include <string>
#include <vector>

struct ProgramInUse {
    DWORD processId = 0;
    std::string name;  // as the Restart Manager names it, else the program's file name
};

// The files of `paths` that exist and that some program holds open.
std::vector<std::string> FilesInUse(const std::vector<std::string>& paths);

// The programs that hold `files`.
std::vector<ProgramInUse> ProgramsHolding(const std::vector<std::string>& files);

// Asks the programs to close (their windows receive WM_CLOSE) and ends those still running after
// `milliseconds`. False when one of them does not end.
bool ClosePrograms(const std::vector<ProgramInUse>& programs, DWORD milliseconds);

// Whether a system error code says that another program holds the file.
bool IsInUseError(DWORD error);
