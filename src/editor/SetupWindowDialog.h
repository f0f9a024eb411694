#pragma once
// The setup window settings: background style and colours, title, and the three text lines
// with their fonts, colours, alignment and 3D look. The dialog edits a copy; the caller takes
// it over only when the dialog ends with OK after a change.
#include <windows.h>

#include "screens/ScreenSettings.h"
#include "ui/Dialog.h"

class EditorContext;

struct SetupWindowEdit {
    EditorContext& context;
    ScreenSettings settings;
};

class SetupWindowDialog : public Dialog {
public:
    // `context` is the SetupWindowEdit.
    SetupWindowDialog(HWND dialog, void* context);
    ~SetupWindowDialog() override;
    bool OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, int id, int code, HWND control) override;

private:
    ScreenSettings& Settings() { return edit_.settings; }
    ScreenText& Line(int line);
    void ShowSwatch(HWND dialog, int swatchId, COLORREF colour);
    void PickColour(HWND dialog, std::uint32_t& colour, int swatchId);
    void PickFont(HWND dialog, ScreenText& line);
    void Accept(HWND dialog);

    SetupWindowEdit& edit_;
    // What the dialog opened with: OK without a change ends as Cancel.
    const ScreenSettings original_;
    HBITMAP swatches_[2] = {};
};

// True when the user accepted a change; `edit.settings` then holds it.
bool RunSetupWindowDialog(HWND owner, SetupWindowEdit& edit);
// Whether the setup window's settings (title, background, texts) of the two differ.
bool SetupWindowDiffers(const ScreenSettings& a, const ScreenSettings& b);
