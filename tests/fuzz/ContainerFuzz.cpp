// The stub's container reader on any file: it either refuses the file or every entry it accepts
// has a name that lands as spelt and lies, whole, before the tables.
#include "FuzzSupport.h"
#include "core/Text.h"
#include "installer/Container.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const ScratchFile scratch("container.exe");
    if (!scratch.Write(data, size)) return 0;
    ContainerReader reader;
    if (reader.Open(scratch.Path()) != ContainerStatus::Ok) {
        FUZZ_CHECK(reader.Entries().empty(), "a refused container keeps no entries");
        return 0;
    }
    FUZZ_CHECK(!reader.Entries().empty(), "an accepted container has entries");
    for (const ContainerEntry& entry : reader.Entries()) {
        FUZZ_CHECK(IsStoredAsSpelt(entry.name), "entry names land as spelt");
        FUZZ_CHECK(std::uint64_t(entry.offset) + entry.size <= size, "entries lie inside the file");
    }
    return 0;
}
