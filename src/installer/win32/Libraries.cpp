#include "installer/win32/Libraries.h"

#include <cstdio>

#include "core/Path.h"
#include "installer/win32/SystemFolders.h"

void LimitLibrarySearch() {
    SetDllDirectoryA("");
    using SetDefault = BOOL(WINAPI*)(DWORD);
    // Present from Windows 8 on (and on 7 with its update); the first call covers the rest.
    auto setDefault = reinterpret_cast<SetDefault>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE LoadSystemLibrary(const char* name) {
    return LoadLibraryExA(JoinPath(SystemFolder(), name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

bool CallRegistration(const std::string& path, bool doRegister, std::string* reason) {
    const char* name = doRegister ? "DllRegisterServer" : "DllUnregisterServer";
    auto fail = [reason](const std::string& why) {
        if (reason) *reason = why;
        return false;
    };
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) return fail("it cannot be loaded as a library (error " + std::to_string(GetLastError()) + ")");
    using Entry = HRESULT(STDAPICALLTYPE*)();
    auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    const HRESULT result = entry ? entry() : S_OK;
    FreeLibrary(module);
    if (!entry) return fail(std::string("it exports no ") + name);
    if (FAILED(result)) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
        return fail(std::string(name) + " returned " + code);
    }
    return true;
}
