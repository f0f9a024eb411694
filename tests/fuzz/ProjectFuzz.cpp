// The project loader on any file: saving what was loaded, loading that and saving again gives
// the same bytes; and a project whose values setup.ini can hold exports a setup.ini that the
// installer reads without finding a line split at the wrong place. The lines of a section read
// from the file itself are those of the section in the profile of the whole file.
#include "FuzzSupport.h"
#include "core/Exception.h"
#include "package/SetupScript.h"
#include "lang/UiTextSource.h"
#include "model/ProjectDocument.h"
#include "pipeline/ScriptLimits.h"
#include "profile/ProfileText.h"
#include "profile/ScriptBuilder.h"

namespace {

struct NoTexts : UiTextSource {
    std::string UiText(TextKey) const override { return ""; }
};

std::string ReadAll(const std::string& path) {
    File file;
    std::uint32_t size = 0, done = 0;
    if (!file.Open(path, ReadExisting) || !file.GetSize(size)) return std::string();
    std::string bytes(size, '\0');
    if (size > 0) file.Read(&bytes[0], size, done);
    return bytes;
}

std::string SavedBytes(ProjectDocument& project, const ScratchFile& target) {
    FUZZ_CHECK(project.SaveAs(target.Path()), "a loaded project saves");
    return ReadAll(target.Path());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const ScratchFile input("project.qsp"), first("first.qsp"), second("second.qsp");
    static const NoTexts texts;
    if (!input.Write(data, size)) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (IsPlainProfileText(bytes)) {
        for (const char* section : {"APPLICATION_FILES", "SHORTCUTS"}) {
            std::vector<std::string> whole, streamed;
            ForEachLine(ProfileText::FromBytes(bytes), section, [&](const std::string& line) { whole.push_back(line); });
            const bool read = ForEachFileSectionLine(input.Path(), section, StampOf(bytes),
                                                     [&](const std::string& line) { streamed.push_back(line); });
            FUZZ_CHECK(read && streamed == whole, "a section read from the file has the lines of the whole profile");
        }
    }

    ProjectDocument project(texts);
    try {
        if (!project.Open(input.Path())) return 0;
    } catch (const ProjectFormatException&) {
        return 0;  // no project: refused before anything is read
    }

    if (UnwritableValues(project).empty()) {
        ScriptBuilder script;
        project.Export(script);
        SetupScript read = ReadSetupScript(ProfileText::FromBytes(script.Bytes()));
        for (const Refusal& problem : read.problems) {
            const bool badLine = problem.problem.rfind(kBadLine, 0) == 0;
            if (badLine) std::fprintf(stderr, "%s\n", problem.problem.c_str());
            FUZZ_CHECK(!badLine, "a project that setup.ini can hold exports lines that the installer reads");
        }
    }

    std::string saved = SavedBytes(project, first);
    ProjectDocument again(texts);
    FUZZ_CHECK(again.Open(first.Path()), "a saved project opens");
    FUZZ_CHECK(SavedBytes(again, second) == saved, "save, load and save again gives the same bytes");
    return 0;
}
