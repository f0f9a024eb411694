#pragma once
// What the editor needs of the application that hosts it, handed to the editor host when it is
// made: the open project, the interface texts, the resources, help, the status bar and the main
// window's Save command. The editor reaches nothing else of the application.
#include <windows.h>

#include <string>

#include "commands/CommandTable.h"
#include "platform/win32/WindowDpi.h"

class LanguageSets;
class ProjectDocument;
class SetupPresence;

class EditorContext {
public:
    virtual ~EditorContext() = default;

    // The open project, or none.
    virtual ProjectDocument* Project() const = 0;
    // The loaded interface language with the lists of builder and installer languages.
    virtual const LanguageSets& Texts() const = 0;
    // The main window's DPI and its message font at that DPI, which the pages' controls use; both
    // change together when the window moves to a monitor of another scale.
    virtual WindowDpi Dpi() const = 0;
    virtual HFONT Font() const = 0;
    // Where the dialog templates, icons and bitmaps are.
    virtual HINSTANCE ResourceInstance() const = 0;
    // Opens the help page of a context number (HELP_CONTEXT) or the contents (HELP_FINDER).
    virtual void ShowHelp(UINT command, ULONG_PTR data) const = 0;
    virtual void SetStatusText(const std::string& text) const = 0;
    // What the status bar shows while no menu item is highlighted.
    virtual std::string ApplicationTitle() const = 0;
    // The main window's Save Project command; true when the project was written.
    virtual bool SaveProject() const = 0;
    // The split pages' shared splitter position, a whole percentage of the page width.
    virtual int SplitPosition() const = 0;
    virtual void SetSplitPosition(int percent) const = 0;
    // The command that signs every program a build produces ("{file}" standing for its path);
    // empty: nothing is signed.
    virtual std::string SigningCommand() const = 0;
    // Whether a command of the command table can act now, by its state function.
    virtual bool IsCommandEnabled(unsigned command) const = 0;
    // The snapshot that the commands' states are computed from, taken now.
    virtual CommandState CommandStateNow() const = 0;
    // Puts the commands' states on the toolbar and the pages' buttons now, not at the next idle
    // pass (after an edit that changes them).
    virtual void UpdateCommandStates() const = 0;
    // What is known of the built setup program; builds and test runs tell it what they found.
    virtual SetupPresence& Setup() const = 0;
};
