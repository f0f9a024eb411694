// The installer's switches on any command line; a quoted folder always comes back unchanged.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "package/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    std::string line(reinterpret_cast<const char*>(data), size);
    InstallerOptions any = ParseInstallerArguments(ArgumentsAfterProgram(line));
    (void)any;

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
