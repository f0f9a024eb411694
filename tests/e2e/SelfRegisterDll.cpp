// A component for the self-registration test: registering writes one value naming the file,
// unregistering removes it.
#include <windows.h>

static HMODULE g_module = nullptr;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(g_module, path, MAX_PATH);
    LONG rc = RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\QsE2E\\SelfRegister", "Registered", REG_SZ, path,
                              static_cast<DWORD>(lstrlenA(path) + 1));
    return rc == ERROR_SUCCESS ? S_OK : E_FAIL;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "Software\\QsE2E\\SelfRegister", "Registered");
    return S_OK;
}
