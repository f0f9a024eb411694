#include "platform/Process.h"

#include <windows.h>

namespace platform {

int RunCommandLine(const std::string& commandLine, const std::string& outputPath) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE || input == INVALID_HANDLE_VALUE) {
        if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
        if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
        return -1;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = output;
    // "/s" keeps the command line as given between the outer quotes. Without a console of its
    // own no console host starts beside it, which would hold the inherited handles after the
    // command has ended.
    std::string line = "cmd.exe /d /s /c \"" + commandLine + "\"";
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(output);
    CloseHandle(input);
    if (!started) return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

std::string QuotedArgument(const std::string& path) { return "\"" + path + "\""; }

}  // namespace platform
