#pragma once
// The installer's screens as a project section: six sections, the same in the project file and
// in setup.ini, except for the exported file paths.
#include "model/DocumentBase.h"
#include "screens/ScreenSettings.h"

class LineSink;
class ScriptBuilder;

class InstallerScreens : public Section, public ScreenSettings {
public:
    void Clear() { ClearTexts(); }
    bool Save(LineSink& out) const;
    void Export(ScriptBuilder& script) const;

    // The editor's changes; each marks the document modified.
    void SetShows(Screen screen, bool on) {
        shows[screen] = on;
        SetModified(true);
    }
    template <class T>
    void Set(T ScreenSettings::*field, const T& value) {
        this->*field = value;
        SetModified(true);
    }
    // Takes the setup window's settings (title, background, the three text lines) of `from`.
    void SetSetupWindow(const ScreenSettings& from);
};
