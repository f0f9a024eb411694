#pragma once
// What else in a project names an installed file, so that the user hears of it before the file
// goes: a shortcut that starts it, a file type that opens with it or takes its icon from it, the
// finish screen that shows it or runs it.
#include <string>
#include <vector>

class ProjectDocument;

struct FileUse {
    enum Kind {
        Shortcut,      // `name`: the shortcut's path, "%AppSCFolder%\Tool"
        FileType,      // `name`: the file type's extension
        FinishScreen,  // `name`: the path the screen names
    };
    Kind kind;
    std::string name;
};

// The uses of the file at `shortPath` ("%AppDir%\bin\tool.exe"), compared without regard to
// letter case; the finish screen counts only where it shows the readme or runs the program.
std::vector<FileUse> UsesOfFile(const ProjectDocument& project, const std::string& shortPath);
