#include "installer/win32/DesktopStart.h"

#include <windows.h>
#include <exdisp.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlobj.h>
#include <winsafer.h>

#include <vector>

#include "installer/win32/Com.h"

namespace {

bool IsElevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return true;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    bool ok = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
    CloseHandle(token);
    // When it cannot be told, the safe answer is that the rights are raised.
    return !ok || elevation.TokenIsElevated != 0;
}

// A VARIANT holding a BSTR, freed with it.
class BstrVariant {
public:
    explicit BstrVariant(const std::string& text) {
        VariantInit(&v_);
        v_.vt = VT_BSTR;
        v_.bstrVal = SysAllocString(Wide(text).c_str());
    }
    ~BstrVariant() { VariantClear(&v_); }
    const VARIANT& Get() const { return v_; }

private:
    VARIANT v_;
};

// For what has no program of its own to start (a web address): the desktop's shell (explorer)
// runs with the user's ordinary rights, and its ShellExecute, reached through the desktop
// window's folder view, opens it there.
bool ShellExecuteThroughDesktop(const std::string& path, const std::string& folder) {
    ComPtr<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows, windows.OutVoid())))
        return false;
    VARIANT empty;
    VariantInit(&empty);
    long hwnd = 0;
    ComPtr<IDispatch> desktop;
    if (windows->FindWindowSW(&empty, &empty, SWC_DESKTOP, &hwnd, SWFO_NEEDDISPATCH, desktop.Out()) != S_OK ||
        !desktop)
        return false;
    ComPtr<IServiceProvider> services;
    ComPtr<IShellBrowser> browser;
    ComPtr<IShellView> view;
    ComPtr<IDispatch> background;
    ComPtr<IShellFolderViewDual> folderView;
    ComPtr<IDispatch> application;
    ComPtr<IShellDispatch2> shell;
    if (FAILED(desktop->QueryInterface(IID_IServiceProvider, services.OutVoid())) ||
        FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.OutVoid())) ||
        FAILED(browser->QueryActiveShellView(view.Out())) ||
        FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.OutVoid())) ||
        FAILED(background->QueryInterface(IID_IShellFolderViewDual, folderView.OutVoid())) ||
        FAILED(folderView->get_Application(application.Out())) ||
        FAILED(application->QueryInterface(IID_IShellDispatch2, shell.OutVoid())))
        return false;
    BSTR file = SysAllocString(Wide(path).c_str());
    BstrVariant arguments(""), directory(folder), operation("open");
    VARIANT show;
    VariantInit(&show);
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    HRESULT result = shell->ShellExecute(file, arguments.Get(), directory.Get(), operation.Get(), show);
    SysFreeString(file);
    return SUCCEEDED(result);
}

enum class StartResult { Started, Failed, NoOrdinaryToken };

// Whether `token` is an access token at all: a system layer that only imitates the token
// functions reports success and hands back a value that is none, and a process started with
// such a value, or the value closed as a handle, fails in ways nobody can foresee.
bool IsToken(HANDLE token) {
    TOKEN_TYPE type;
    DWORD size = 0;
    return token && GetTokenInformation(token, TokenType, &type, sizeof type, &size);
}

// The program that opens `path`, started with the ordinary user's token that the system derives
// from this one: no raised rights, and no wait on another process to answer.
StartResult StartWithOrdinaryToken(const std::string& path, const std::string& folder) {
    char program[MAX_PATH] = "";
    if (reinterpret_cast<INT_PTR>(FindExecutableA(path.c_str(), folder.c_str(), program)) <= 32)
        return StartResult::Failed;
    std::string commandLine = "\"" + std::string(program) + "\"";
    if (lstrcmpiA(program, path.c_str()) != 0) commandLine += " \"" + path + "\"";
    SAFER_LEVEL_HANDLE level = nullptr;
    HANDLE token = nullptr;
    if (!SaferCreateLevel(SAFER_SCOPEID_USER, SAFER_LEVELID_NORMALUSER, SAFER_LEVEL_OPEN, &level, nullptr))
        return StartResult::Failed;
    bool ok = SaferComputeTokenFromLevel(level, nullptr, &token, 0, nullptr);
    SaferCloseLevel(level);
    if (!ok) return StartResult::Failed;
    if (!IsToken(token)) return StartResult::NoOrdinaryToken;
    // The ordinary user's integrity level too, or the program could still write where only
    // raised programs may.
    SID_IDENTIFIER_AUTHORITY mandatory = SECURITY_MANDATORY_LABEL_AUTHORITY;
    PSID medium = nullptr;
    if (AllocateAndInitializeSid(&mandatory, 1, SECURITY_MANDATORY_MEDIUM_RID, 0, 0, 0, 0, 0, 0, 0, &medium)) {
        TOKEN_MANDATORY_LABEL label = {};
        label.Label.Attributes = SE_GROUP_INTEGRITY;
        label.Label.Sid = medium;
        SetTokenInformation(token, TokenIntegrityLevel, &label, sizeof label + GetLengthSid(medium));
        FreeSid(medium);
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ok = CreateProcessAsUserA(token, program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                              &startup, &process);
    CloseHandle(token);
    if (!ok) return StartResult::Failed;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return StartResult::Started;
}

bool ShellOpen(const std::string& path, const std::string& folder) {
    return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", path.c_str(), nullptr, folder.c_str(),
                                                   SW_SHOWNORMAL)) > 32;
}

}  // namespace

bool OpenAsDesktopUser(const std::string& path, const std::string& folder) {
    if (!IsElevated()) return ShellOpen(path, folder);
    switch (StartWithOrdinaryToken(path, folder)) {
        case StartResult::Started: return true;
        case StartResult::Failed: return ShellExecuteThroughDesktop(path, folder);
        // A system without ordinary tokens keeps no rights apart that the program could inherit.
        case StartResult::NoOrdinaryToken: return ShellExecuteThroughDesktop(path, folder) || ShellOpen(path, folder);
    }
    return false;
}
