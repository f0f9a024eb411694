#pragma once
// The Build Options dialog of the Options menu: the builder's own settings that every build from
// the window uses, today the command that signs each program a build produces.
#include "ui/Dialog.h"

class BuildOptionsDialog : public Dialog {
public:
    BuildOptionsDialog(HWND dialog, void* context);
    bool OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, int id, int code, HWND control) override;
};

// Shows the dialog over `owner`; OK stores the settings, Cancel leaves them as they were.
void RunBuildOptionsDialog(HWND owner);
