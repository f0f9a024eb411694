// The installer's reading of setup.ini, screens included, on any text, packed or not.
#include "FuzzSupport.h"
#include "installer/EntryDecoder.h"
#include "package/SetupScript.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!UnpackScript(bytes)) return 0;
    ProfileText text = ProfileText::FromBytes(std::move(bytes));
    SetupScript script = ReadSetupScript(text);
    FUZZ_CHECK(!script.languages.empty() && !script.defaultLanguage.empty(), "a language is always chosen");
    for (const ScriptFile& file : script.files)
        FUZZ_CHECK(file.replaceMode >= 0 && file.replaceMode <= kReplaceAtRestart, "replace modes are in range");
    for (const ScriptFileType& type : script.fileTypes)
        FUZZ_CHECK(!type.extension.empty(), "file types have an extension");
    PanelColours(script.screens);
    return 0;
}
