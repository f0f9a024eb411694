// The installer and the stub carry the application icon's image that icon replacement patches.
#include "E2ESupport.h"

namespace {

TEST(Programs, CarryTheApplicationIconImageThatIconReplacementPatches) {
    // The 32x32 16-colour image of the application icon: directory entry 0 of Quillset.ico.
    std::string icon = ReadBytes(DataPath("..\\..\\resources\\Quillset.ico"));
    ASSERT_GT(icon.size(), 22u);
    ASSERT_EQ(icon.substr(6, 3), std::string("\x20\x20\x10", 3));
    std::uint32_t offset = 0;
    memcpy(&offset, icon.data() + 18, 4);
    const std::string image = icon.substr(offset, 744);
    ASSERT_EQ(image.size(), 744u);
    for (const char* program : {QS_SETUP_EXE, QS_SFX_EXE}) {
        EXPECT_NE(ReadBytes(program).find(image), std::string::npos) << program;
        // It is icon image 1, the one the builder takes as its reference.
        HMODULE module = LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << program;
        HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(3));
        ASSERT_NE(resource, nullptr) << program;
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, resource)));
        EXPECT_EQ(std::string(bytes, 744), image) << program;
        FreeLibrary(module);
    }
}

}  // namespace
