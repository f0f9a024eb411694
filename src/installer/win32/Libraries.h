#pragma once
// Loading code into the installer programs: only the system's own libraries, and the
// components that the installation registers.
#include <windows.h>

#include <string>

// Loads libraries from the system folder only, so that nothing placed beside the program
// (a downloads folder, a temporary folder) is loaded in its place. Call first thing.
void LimitLibrarySearch();
// Loads a library that is not one of the system's known libraries from the system folder.
HMODULE LoadSystemLibrary(const char* name);

// Calls DllRegisterServer (or DllUnregisterServer) of a component; when it fails, `reason`
// (if given) says why.
bool CallRegistration(const std::string& path, bool doRegister, std::string* reason = nullptr);
