// _sfx.exe: the self-extracting stub. Checks the package appended to its own file, extracts it
// (all but the product archive, which the installer reads in place) into a fresh private folder,
// runs the installer with the same arguments and returns its code.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "core/Path.h"
#include "package/CommandLine.h"
#include "installer/Container.h"
#include "package/ExitCodes.h"
#include "installer/win32/Libraries.h"
#include "installer/win32/PrivateFolder.h"
#include "installer/win32/Program.h"
#include "platform/FileSystem.h"

namespace {

const char kCaption[] = "Setup";
const char kArchiveName[] = "setup.zip";

int Refuse(bool quiet, const std::string& text, int code) {
    if (!quiet) ShowMessage(text, kCaption, MB_ICONSTOP);
    return code;
}

// ShellExecuteEx rather than CreateProcess: the installer asks for administrator rights. It
// starts in this program's current folder, where a relative /LOG= file is meant to go.
int RunAndWait(const std::string& program, const std::string& arguments) {
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpFile = program.c_str();
    info.lpParameters = arguments.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info) || !info.hProcess) return -1;
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = kExitFailed;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

int Extract(bool quiet, const std::string& arguments) {
    ContainerReader reader;
    ContainerStatus status = reader.Open(ProgramPath());
    if (status == ContainerStatus::NoContainer)
        return Refuse(quiet, "This program holds no setup package.", kExitDamaged);
    if (status != ContainerStatus::Ok) return Refuse(quiet, reader.Problem(), kExitDamaged);
    std::string run = reader.Command(kRunCommandId);
    bool known = false;
    for (const ContainerEntry& e : reader.Entries()) known = known || e.name == run;
    if (!known) return Refuse(quiet, "The setup package names no installer to run.", kExitDamaged);

    PrivateFolder folder;
    if (!folder.Create(platform::TempFolder(), "qs-setup-"))
        return Refuse(quiet, "No folder can be made in the temporary folder.", kExitFailed);
    // The product archive, nearly all of the package, stays where it is: the installer reads it
    // inside this program's file, which cannot change while the program runs. The switch goes
    // last, so that it wins over any given by hand. Each other file is held against changes once
    // written, then checked again: what the installer runs and reads is what the package holds,
    // whatever else runs meanwhile.
    std::string installerArguments = arguments;
    for (const ContainerEntry& e : reader.Entries()) {
        if (e.name == kArchiveName) {
            installerArguments += ArchiveSwitch({ProgramPath(), e.offset, e.size});
            continue;
        }
        std::string path = JoinPath(folder.Path(), e.name);
        if (!reader.Extract(e, path))
            return Refuse(quiet, "The setup files cannot be written to the temporary folder.", kExitFailed);
        if (!folder.Hold(e.name) || !reader.Matches(e, path))
            return Refuse(quiet, "The setup files were changed in the temporary folder while they were written.",
                          kExitDamaged);
    }
    int code = RunAndWait(JoinPath(folder.Path(), run), installerArguments);
    if (code < 0) return Refuse(quiet, "The installer cannot be started.", kExitFailed);
    return code;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    LimitLibrarySearch();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    std::string arguments = ProgramArguments();
    int code = Extract(ParseInstallerArguments(arguments).silent, arguments);
    CoUninitialize();
    return code;
}
