#include "platform/Process.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FileSystem.h"

namespace platform {

int RunCommandLine(const std::string& commandLine, const std::string& outputPath) {
    // Everything the child needs is made before the fork: between fork and exec it may only
    // make calls that are safe in a copy of a threaded process.
    const std::string output = NativePath(outputPath);
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0) ::_exit(127);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(out, 2);
        ::execl("/bin/sh", "sh", "-c", commandLine.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

std::string QuotedArgument(const std::string& path) {
    std::string quoted = "'";
    for (char c : NativePath(path)) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

}  // namespace platform
