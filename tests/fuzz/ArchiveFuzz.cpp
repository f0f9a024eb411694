// The installer's reader of setup.zip on any file: it either refuses the archive, or each entry
// that the seeds name extracts whole, with its size, or is refused with nothing left of it, read
// on demand and ahead alike.
#include "FuzzSupport.h"
#include "installer/ArchiveReader.h"
#include "platform/FileSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const ScratchFile scratch("setup.zip");
    static const ScratchFile target("entry.out");
    static const std::vector<std::string> names = {"AppDir\\text.txt", "AppDir\\noise.bin", "AppDir\\empty.txt",
                                                   "AppDir\\big.txt", "uninstall.exe"};
    if (!scratch.Write(data, size)) return 0;
    ArchiveReader reader;
    if (!reader.Open(scratch.Path())) return 0;
    for (bool ahead : {false, true}) {
        if (ahead) reader.ReadAhead(names);
        for (const std::string& name : names) {
            ArchiveEntry found, entry;
            const bool known = reader.Find(name, found);
            const ExtractStatus status = reader.Extract(name, target.Path(), nullptr, entry);
            FUZZ_CHECK(known || status == ExtractStatus::Unreadable, "a missing entry is unreadable");
            std::uint64_t written = 0;
            File out;
            const bool there = out.Open(target.Path(), ReadExisting) && out.GetSize64(written);
            out.Close();
            if (status == ExtractStatus::Ok)
                FUZZ_CHECK(there && written == found.size, "an entry extracted whole has its size");
            else
                FUZZ_CHECK(!there, "a refused entry leaves nothing behind");
            RemoveFile(target.Path());
        }
        reader.StopReadAhead();
    }
    return 0;
}
