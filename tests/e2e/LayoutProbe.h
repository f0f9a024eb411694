#pragma once
// The test side of the layout probe (LayoutProbe.cpp, a hook library): loaded into the program
// that owns a window, it measures that window's controls and reports what is wrong.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// What the probe library `probeDll` finds wrong in `window` and all its children: texts cut by
// their controls, controls outside their parent, controls that overlap. `dpi` receives the
// window's DPI as its program sees it.
inline std::vector<std::string> ProbeLayout(HWND window, unsigned& dpi, const char* probeDll) {
    static HMODULE probe = LoadLibraryA(probeDll);
    static const UINT message = RegisterWindowMessageA("QsLayoutProbe");
    auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "LayoutHook")));
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string report = std::string(temp) + "qs-layout-probe.txt";
    DeleteFileA(report.c_str());
    HHOOK handle = hook ? SetWindowsHookExA(WH_CALLWNDPROC, hook, probe, GetWindowThreadProcessId(window, nullptr))
                        : nullptr;
    if (!handle) return {"the layout probe could not be set"};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, message, 0, 0, SMTO_NORMAL, 20000, &ignored);
    UnhookWindowsHookEx(handle);
    std::ifstream file(report, std::ios::binary);
    std::ostringstream whole;
    whole << file.rdbuf();
    std::vector<std::string> lines;
    std::istringstream text(whole.str());
    for (std::string line; std::getline(text, line);)
        if (!line.empty()) lines.push_back(line);
    if (lines.empty() || std::sscanf(lines[0].c_str(), "DPI %u", &dpi) != 1) return {"the layout probe did not report"};
    lines.erase(lines.begin());
    return lines;
}
