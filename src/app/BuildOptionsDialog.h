#pragma once
// The Build Options dialog of the Options menu: the builder's own settings that every build from
// the window uses, today the command that signs each program a build produces.
#include "ui/Dialog.h"

class UiTextSource;

// The context is the interface texts (a const UiTextSource).
class BuildOptionsDialog : public Dialog {
public:
    BuildOptionsDialog(HWND dialog, void* context);
    bool OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, int id, int code, HWND control) override;

private:
    void SetText(HWND dialog, int id, int number) const;

    const UiTextSource& texts_;
};

// Shows the dialog of `resources` over `owner` in the language of `texts`; OK stores the
// settings, Cancel leaves them as they were.
void RunBuildOptionsDialog(HWND owner, HINSTANCE resources, const UiTextSource& texts);
