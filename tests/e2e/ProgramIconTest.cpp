// The installer programs carry the application icon as their first icon group: the one the
// system shows for the file, and the one a build replaces by the project's icon.
#include "E2ESupport.h"
#include "resource.h"

namespace {

TEST(Programs, CarryTheApplicationIconAsTheirFirstIconGroup) {
    const std::string icon = ReadBytes(DataPath("..\\..\\resources\\Quillset.ico"));
    ASSERT_GT(icon.size(), 6u);
    for (const char* program : {QS_SETUP_EXE, QS_SFX_EXE, QS_UNINSTALL_EXE}) {
        HMODULE module = LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << program;
        ULONG_PTR first = 0;
        EnumResourceNamesA(
            module, RT_GROUP_ICON,
            [](HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
                *reinterpret_cast<ULONG_PTR*>(found) = reinterpret_cast<ULONG_PTR>(name);
                return FALSE;
            },
            reinterpret_cast<LONG_PTR>(&first));
        EXPECT_EQ(first, static_cast<ULONG_PTR>(IDI_APPLICATION_ICON)) << program;
        HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(IDI_APPLICATION_ICON), RT_GROUP_ICON);
        ASSERT_NE(group, nullptr) << program;
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, group)));
        EXPECT_EQ(std::string(bytes + 4, 2), icon.substr(4, 2)) << program << ": one image per image of Quillset.ico";
        FreeLibrary(module);
    }
}

}  // namespace
