#pragma once
// The fixture that the window tests share: a scratch program folder, the builder's settings
// cleared for a first start, a copy of the example project in a folder whose name has a blank,
// and the builder, which each case starts in the state it needs and which is closed at the end
// without saving what the case left unsaved.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "BuilderProcess.h"

class BuilderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts `builder` on the copy of the example and waits until its title names it.
    void OpenExample(BuilderProcess& builder);
    void OpenExample() { OpenExample(builder_); }
    // Starts `builder` without a project and leaves its Welcome dialog with `button`.
    void StartPastWelcome(BuilderProcess& builder, int button = IDCANCEL);
    void StartPastWelcome(int button = IDCANCEL) { StartPastWelcome(builder_, button); }

    // Shows a page through its command and answers its form, found by one of its controls.
    static HWND ShowForm(BuilderProcess& builder, UINT command, int controlId);
    HWND ShowForm(UINT command, int controlId) { return ShowForm(builder_, command, controlId); }
    // Shows a list page through its command: its window once it is visible, else none.
    HWND ShowPage(UINT command, int page);

    // Whether the toolbar button of `command` is enabled. The toolbar takes the commands' states
    // at the builder's next idle pass, which a posted message brings about.
    static bool ToolbarEnabled(const BuilderProcess& builder, UINT command);
    bool ToolbarEnabled(UINT command) const { return ToolbarEnabled(builder_, command); }

    ProgramFolder folder_;
    BuilderProcess builder_;
    std::string projectFolder_;  // the copy of the example: "<program folder>\Demo Project"
    std::string project_;        // its Demo.qsp
};

// Closes the builder as the close box does and answers a save question with No. The builder asks
// only when the project has unsaved edits, and otherwise ends at once: the wait is for whichever
// comes first. The exit code, or a value that no run gives when the builder did not end.
DWORD CloseDiscarding(BuilderProcess& builder);
