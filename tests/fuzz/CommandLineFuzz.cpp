// The installer's switches on any command line; a quoted folder always comes back unchanged, and
// the arguments written for a run started again read back as the options they were written from.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "package/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    std::string line(reinterpret_cast<const char*>(data), size);
    InstallerOptions any = ParseInstallerArguments(ArgumentsAfterProgram(line));
    const InstallerOptions again = ParseInstallerArguments(InstallerArguments(any));
    FUZZ_CHECK(again.folder == any.folder && again.language == any.language && again.logPath == any.logPath &&
                   again.cleanup == any.cleanup && again.archive == any.archive && again.userName == any.userName &&
                   again.company == any.company,
               "every value written again reads back as it was");
    FUZZ_CHECK(again.silent == any.silent && again.suppressBoxes == any.suppressBoxes &&
                   again.allowDowngrade == any.allowDowngrade && again.closeApplications == any.closeApplications &&
                   again.allUsers == any.allUsers && again.currentUser == any.currentUser &&
                   again.restarted == any.restarted && again.screensAnswered == any.screensAnswered && again.unknown.empty(),
               "every switch written again reads back as it was");

    FuzzedDataProvider input(data, size);
    std::string folder = input.ConsumeRandomLengthString(300);
    if (folder.find('"') != std::string::npos) return 0;
    std::string rest = input.ConsumeRemainingBytesAsString();
    InstallerOptions options = ParseInstallerArguments("/S /D=\"" + folder + "\" /LANG=German");
    FUZZ_CHECK(options.folder == folder, "a quoted folder is taken as it stands");
    FUZZ_CHECK(options.silent && options.language == "German", "switches around a quoted folder are kept");
    ParseInstallerArguments(rest + " /D=" + folder);
    return 0;
}
