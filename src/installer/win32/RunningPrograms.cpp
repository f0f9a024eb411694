#include "installer/win32/RunningPrograms.h"

#include <restartmanager.h>
#include <tlhelp32.h>

#include "core/Path.h"
#include "core/Text.h"
#include "installer/win32/Com.h"
#include "installer/win32/Libraries.h"

namespace {

// The Restart Manager's calls, loaded from the system folder when they are used.
struct RestartManager {
    decltype(&RmStartSession) start = nullptr;
    decltype(&RmRegisterResources) registerResources = nullptr;
    decltype(&RmGetList) getList = nullptr;
    decltype(&RmEndSession) end = nullptr;

    RestartManager() {
        HMODULE module = LoadSystemLibrary("rstrtmgr.dll");
        if (!module) return;
        Find(module, "RmStartSession", start);
        Find(module, "RmRegisterResources", registerResources);
        Find(module, "RmGetList", getList);
        Find(module, "RmEndSession", end);
    }
    bool Usable() const { return start && registerResources && getList && end; }

    template <class F>
    static void Find(HMODULE module, const char* name, F& function) {
        function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
};

std::vector<ProgramInUse> AskRestartManager(const std::vector<std::string>& files) {
    std::vector<ProgramInUse> programs;
    static const RestartManager rm;
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
    if (!rm.Usable() || rm.start(&session, 0, key) != ERROR_SUCCESS) return programs;
    std::vector<std::wstring> wide;
    for (const std::string& f : files) wide.push_back(Wide(f));
    std::vector<LPCWSTR> names;
    for (const std::wstring& w : wide) names.push_back(w.c_str());
    UINT needed = 0, count = 0;
    DWORD reasons = 0;
    std::vector<RM_PROCESS_INFO> info;
    if (rm.registerResources(session, static_cast<UINT>(names.size()), names.data(), 0, nullptr, 0, nullptr) ==
        ERROR_SUCCESS) {
        DWORD status = rm.getList(session, &needed, &count, nullptr, &reasons);
        if (status == ERROR_MORE_DATA && needed > 0) {
            info.resize(needed);
            count = needed;
            if (rm.getList(session, &needed, &count, info.data(), &reasons) != ERROR_SUCCESS) count = 0;
        }
    }
    rm.end(session);
    for (UINT i = 0; i < count && i < info.size(); ++i)
        programs.push_back({info[i].Process.dwProcessId, Narrow(info[i].strAppName)});
    return programs;
}

// The running programs whose own file is one of `files`.
std::vector<ProgramInUse> ProgramsRunningFrom(const std::vector<std::string>& files) {
    std::vector<ProgramInUse> programs;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return programs;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (!process) continue;
        char path[MAX_PATH * 2] = {};
        DWORD size = sizeof path;
        if (QueryFullProcessImageNameA(process, 0, path, &size))
            for (const std::string& f : files)
                if (EqualNoCase(f, std::string(path, size))) programs.push_back({entry.th32ProcessID, NameOf(f)});
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return programs;
}

BOOL CALLBACK CloseWindowsOf(HWND window, LPARAM processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(processId) && IsWindowVisible(window)) PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

bool IsInUseError(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

std::vector<std::string> FilesInUse(const std::vector<std::string>& paths) {
    std::vector<std::string> inUse;
    for (const std::string& path : paths) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        } else if (IsInUseError(GetLastError())) {
            inUse.push_back(path);
        }
    }
    return inUse;
}

std::vector<ProgramInUse> ProgramsHolding(const std::vector<std::string>& files) {
    std::vector<ProgramInUse> programs = AskRestartManager(files);
    return programs.empty() ? ProgramsRunningFrom(files) : programs;
}

bool ClosePrograms(const std::vector<ProgramInUse>& programs, DWORD milliseconds) {
    std::vector<HANDLE> processes;
    for (const ProgramInUse& p : programs) {
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, p.processId);
        if (!process) continue;
        processes.push_back(process);
        EnumWindows(CloseWindowsOf, static_cast<LPARAM>(p.processId));
    }
    bool allEnded = true;
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (HANDLE process : processes) {
        ULONGLONG now = GetTickCount64();
        DWORD wait = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        if (WaitForSingleObject(process, wait) != WAIT_OBJECT_0) {
            TerminateProcess(process, 1);
            allEnded = WaitForSingleObject(process, 5000) == WAIT_OBJECT_0 && allEnded;
        }
        CloseHandle(process);
    }
    return allEnded;
}
