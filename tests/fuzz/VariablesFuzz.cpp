// Variable expansion on any text with any variable values: a destination that is accepted
// always lies inside its folder variable, in components that land as spelt.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "package/Variables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    Variables variables;
    const std::string appDir = "C:\\Apps\\Demo";
    variables.Set("AppDir", appDir, true);
    variables.Set("WinDir", "C:\\Windows", true);
    variables.Set("ProductName", input.ConsumeRandomLengthString(64), false);
    variables.Set(input.ConsumeRandomLengthString(16), input.ConsumeRandomLengthString(64), false);
    std::string text = input.ConsumeRemainingBytesAsString();

    std::string out, problem;
    FUZZ_CHECK(variables.Expand(text, false, out, problem), "expansion without strictness never fails");
    variables.Expand(text, true, out, problem);
    bool escapes = false;
    if (!variables.ExpandDestination(text, out, problem, escapes)) return 0;
    for (const std::string root : {appDir, std::string("C:\\Windows")}) {
        if (out == root) return 0;
        if (out.compare(0, root.size() + 1, root + "\\") == 0) {
            FUZZ_CHECK(IsSafeRelativePath(out.substr(root.size() + 1)), "an accepted destination stays inside");
            return 0;
        }
    }
    FUZZ_CHECK(false, "an accepted destination begins with its folder");
    return 0;
}
