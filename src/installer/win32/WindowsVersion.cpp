#include "installer/win32/WindowsVersion.h"

#include <windows.h>

RunningWindows QueryRunningWindows() {
    RunningWindows running;
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto getVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (getVersion && getVersion(&version) == 0) {
        running.major = version.dwMajorVersion;
        running.minor = version.dwMinorVersion;
        running.build = version.dwBuildNumber;
    }
    SYSTEM_INFO system = {};
    GetNativeSystemInfo(&system);
    running.is64Bit = system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
                      system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64 ||
                      system.wProcessorArchitecture == 12;  // PROCESSOR_ARCHITECTURE_ARM64
    return running;
}
