#include "model/InstallerScreens.h"

#include "model/SectionLines.h"

bool InstallerScreens::Save(LineSink& out) const {
    bool ok = true;
    for (const auto& [header, lines] : SectionsWithLines(false)) ok &= WriteSection(out, header, lines);
    return ok;
}

void InstallerScreens::Export(ScriptBuilder& script) const {
    for (const auto& [header, lines] : SectionsWithLines(true)) AddLines(script, header, lines);
}

void InstallerScreens::SetSetupWindow(const ScreenSettings& from) {
    windowTitle = from.windowTitle;
    gradientFill = from.gradientFill;
    colourFrom = from.colourFrom;
    colourTo = from.colourTo;
    heading = from.heading;
    subheading = from.subheading;
    footer = from.footer;
    SetModified(true);
}
