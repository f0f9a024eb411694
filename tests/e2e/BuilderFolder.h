#pragma once
// The builder's own folder, for the tests that build their setup with qsbuild.
#include <string>

#include "E2ESupport.h"

// A builder folder laid out like dist/Quillset in `folder`, with the programs of this build;
// returns its path with a trailing backslash.
inline std::string LayOutBuilder(const Package& folder) {
    const std::string builder = folder.Path("") + "\\";
    for (const char* sub : {"LanguageSets", "LanguageSets\\Builder", "LanguageSets\\Setup", "setup"})
        CreateDirectoryA((builder + sub).c_str(), nullptr);
    const std::pair<std::string, std::string> copies[] = {
        {QS_QSBUILD_EXE, "qsbuild.exe"},
        {JoinPath(QS_BUILDER_LANGUAGES, "English.dat"), "LanguageSets\\Builder\\English.dat"},
        {JoinPath(QS_SETUP_LANGUAGES, "English.dat"), "LanguageSets\\Setup\\English.dat"},
        {JoinPath(QS_SETUP_LANGUAGES, "German.dat"), "LanguageSets\\Setup\\German.dat"},
        {QS_SETUP_EXE, "setup\\_setup.exe"}, {QS_SFX_EXE, "setup\\_sfx.exe"}, {QS_UNINSTALL_EXE, "setup\\_uninstall.exe"}};
    for (const auto& [from, to] : copies) EXPECT_TRUE(CopyFileA(from.c_str(), (builder + to).c_str(), FALSE)) << to;
    return builder;
}
