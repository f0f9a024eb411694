#include "cli/VerifyCommand.h"

#include <atomic>
#include <chrono>
#include <cstdio>

#include "platform/Console.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "verify/VerifyReport.h"
#include "verify/WineSession.h"

namespace {

int CannotRun(const std::string& message) {
    std::fprintf(stderr, "qsbuild: %s\n", message.c_str());
    return 2;
}

}  // namespace

#ifdef _WIN32

bool VerifyCanRun() {
    CannotRun("--verify runs on Linux with Wine, where each setup is installed and uninstalled in a private "
              "Wine prefix; run qsbuild --verify there (a CI job on Debian with the quillset package and wine)");
    return false;
}

int RunVerify(const std::string&, const ProjectDocument*, const VerifyOptions&, bool) { return 2; }

#else

namespace {

// Set by Ctrl+C (or a termination request): the verification stops after its current step and
// removes its prefix.
std::atomic<bool> interrupted{false};

void OnInterrupt() { interrupted = true; }

}  // namespace

bool VerifyCanRun() {
    if (!WineSession::FindWine().empty()) return true;
    CannotRun("--verify needs Wine, and none was found (install the Debian package wine, or name the wine program "
              "in the environment variable WINE)");
    return false;
}

int RunVerify(const std::string& setup, const ProjectDocument* project, const VerifyOptions& options, bool quiet) {
    for (const std::string& program : {setup, options.upgradeFrom})
        if (!program.empty() && !platform::IsFile(program))
            return CannotRun("the setup " + platform::NativePath(program) + " does not exist");
    VerifyRequest request;
    request.setup = setup;
    request.oldSetup = options.upgradeFrom;
    request.project = project;
    request.wine = WineSession::FindWine();
    if (request.wine.empty() && !VerifyCanRun()) return 2;
    const auto start = std::chrono::steady_clock::now();
    if (!quiet)
        request.progress = [start](const std::string& line) {
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::fprintf(stderr, "[%6.1f s] %s\n", seconds, line.c_str());
            std::fflush(stderr);
        };
    request.stopped = [] { return interrupted.load(); };
    platform::CatchInterrupt(OnInterrupt);
    const VerifyResult result = Verify(request);
    const std::string summary = VerifySummary(result);
    if (!quiet || VerifyExitCode(result) != 0) std::fputs(summary.c_str(), quiet ? stderr : stdout);
    if (!options.jsonPath.empty() && !WriteFileBytes(options.jsonPath, VerifyJson(result)))
        return CannotRun("cannot write the report " + platform::NativePath(options.jsonPath) + ": " +
                         platform::ErrorText(platform::LastError()));
    return VerifyExitCode(result);
}

#endif
