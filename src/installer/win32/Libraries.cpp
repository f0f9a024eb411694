#include "installer/win32/Libraries.h"

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

bool CallRegistration(const std::string& path, bool doRegister) {
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) return false;
    using Entry = HRESULT(STDAPICALLTYPE*)();
    auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(
        GetProcAddress(module, doRegister ? "DllRegisterServer" : "DllUnregisterServer")));
    bool ok = entry && SUCCEEDED(entry());
    FreeLibrary(module);
    return ok;
}
