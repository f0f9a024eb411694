#include "installer/win32/Program.h"

#include <windows.h>

#include <vector>

#include "package/CommandLine.h"

std::string ProgramArguments() { return ArgumentsAfterProgram(GetCommandLineA()); }

std::string ProgramPath() {
    std::vector<char> buffer(MAX_PATH);
    DWORD n = 0;
    while ((n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()))) >= buffer.size())
        buffer.resize(buffer.size() * 2);
    std::string path(buffer.data(), n);
    // A program started by its short name has that name here; the install log holds the long one.
    DWORD longLength = GetLongPathNameA(path.c_str(), nullptr, 0);
    if (longLength == 0) return path;
    std::string longPath(longLength, '\0');
    longLength = GetLongPathNameA(path.c_str(), &longPath[0], longLength);
    longPath.resize(longLength);
    return longLength ? longPath : path;
}

void ShowMessage(const std::string& text, const std::string& caption, unsigned type) {
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), type | MB_SETFOREGROUND);
}
