// What names an installed file, which the Files page names before the file is deleted.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "model/FileUses.h"
#include "model/ProjectDocument.h"

namespace {

std::vector<std::string> Names(const std::vector<FileUse>& uses, FileUse::Kind kind) {
    std::vector<std::string> names;
    for (const FileUse& use : uses)
        if (use.kind == kind) names.push_back(use.name);
    return names;
}

}  // namespace

TEST(FileUses, ShortcutsFileTypesAndTheFinishScreenThatNameTheFile) {
    ScratchFolder scratch;
    const std::string path = scratch.Write(
        "Uses.qsp",
        "[APPLICATION_FILES]\r\nFile=%AppDir%\\Notes.exe,Notes.exe,1,0\r\nFile=%AppDir%\\ReadMe.txt,ReadMe.txt,1,0\r\n\r\n"
        "[SHORTCUTS]\r\nShortcut=%AppSCFolder%\\Notes,%APPDIR%\\notes.exe,,,,1,%AppDir%\r\n"
        "Shortcut=%Desktop%\\Notes,%AppDir%\\Notes.exe,,,,1,%AppDir%\r\n"
        "Shortcut=%Desktop%\\Other,%AppDir%\\Other.exe,,,,1,%AppDir%\r\n"
        "InternetShortcut=%Desktop%\\Web,%AppDir%\\Notes.exe,,,,,,\r\n\r\n"
        "[FILE_TYPES]\r\n.pnote,Pocket.Note,Pocket note,%AppDir%\\Notes.exe,,0\r\n"
        ".ptxt,Pocket.Text,Pocket text,%WinDir%\\notepad.exe,%AppDir%\\Notes.exe,0\r\n"
        ".other,Other.Doc,Other,%WinDir%\\notepad.exe,,0\r\n\r\n"
        "[DIALOGS]\r\nFinishDialog=Yes\r\n\r\n"
        "[FINISH_DIALOG]\r\nShow_ViewReadme_CheckBox=Yes\r\nShow_RunApplication_CheckBox=No\r\n"
        "Readme_Pathname=%DestComp%\\%AppDir%\\ReadMe.txt\r\nApplication_Pathname=%AppDir%\\Notes.exe\r\n\r\n");
    ProjectDocument project(EnglishTexts());
    ASSERT_TRUE(project.Open(path));

    const std::vector<FileUse> uses = UsesOfFile(project, "%AppDir%\\Notes.exe");
    EXPECT_EQ(Names(uses, FileUse::Shortcut), (std::vector<std::string>{"%AppSCFolder%\\Notes", "%Desktop%\\Notes"}));
    EXPECT_EQ(Names(uses, FileUse::FileType), (std::vector<std::string>{".pnote", ".ptxt"}));
    EXPECT_TRUE(Names(uses, FileUse::FinishScreen).empty()) << "the screen does not run the program";

    const std::vector<FileUse> readme = UsesOfFile(project, "%AppDir%\\ReadMe.txt");
    ASSERT_EQ(readme.size(), 1u);
    EXPECT_EQ(readme[0].kind, FileUse::FinishScreen);
    EXPECT_EQ(readme[0].name, "%AppDir%\\ReadMe.txt");
    EXPECT_TRUE(UsesOfFile(project, "%AppDir%\\Unused.dll").empty());
}
