#pragma once
// A walk through every window of the builder, in one language: the welcome dialog, the main
// window without a project and with a new one, the New Project Wizard's four pages, the build
// options and the about box; then the example project on each of the nine pages, the list pages'
// item dialogs, the registry tree's context menu, the setup window settings and a finished build.
// At each state the walk calls back with the state's name and the window that shows it, so that
// screenshots can be taken or the layout measured there.
#include <windows.h>

#include <functional>
#include <string>

struct BuilderTour {
    // Quillset.exe, the project to open (a copy: the walk builds it) and the builder language.
    std::string program;
    std::string project;
    std::string language;
    // Called at each state with "<state>-<language>" and the main window or the dialog.
    std::function<void(const std::string& name, HWND window)> atState;
    // Called once the main window is there, to place it; none leaves it where the builder put it.
    std::function<void(HWND main)> placeMain;
    // How long each state is left to paint itself before `atState`: a photograph needs the
    // paint, a measurement through the window's own thread does not (0).
    DWORD settleMilliseconds = 300;
};

// Walks the tour; false (after the state that went wrong) when a window did not come or go.
bool WalkBuilderTour(const BuilderTour& tour);
