#include "screens/ScreenSettings.h"

#include <algorithm>
#include <cstdio>

#include "core/Path.h"
#include "core/Text.h"
#include "profile/ProfileText.h"

static const std::string kScreenKeys[ScreenSettings::kScreenCount] = {
    "SplashWindow=",     "SetupWindow=",     "LanguageDialog=",        "WelcomeDialog=", "LicenseDialog=",
    "ReadmeDialog=",     "UserInfoDialog=",  "TargetDirectoryDialog=", "SetupTypeDialog=",
    "CustomSetupDialog=", "ProgramGroupDialog=", "StartDialog=",       "FinishDialog="};
static const bool kScreenDefaults[ScreenSettings::kScreenCount] = {false, true,  true,  true, false, false, false,
                                                                     true,  false, false, true, true,  true};
static const std::string kBitmap = "Bitmap_Pathname=";
static const std::string kLicense = "License_Pathname=";
static const std::string kReadme = "Readme_Pathname=";
static const std::string kApplication = "Application_Pathname=";
static const std::string kViewReadmeBox = "Show_ViewReadme_CheckBox=";
static const std::string kViewReadmeChecked = "Show_ViewReadme_Checked=";
static const std::string kRunBox = "Show_RunApplication_CheckBox=";
static const std::string kRunChecked = "Show_RunApplication_Checked=";
static const std::string kTitle = "WindowTitle=";
static const std::string kGradient = "GradientFill=";
static const std::string kColourFrom = "ColorFrom=";
static const std::string kColourTo = "ColorTo=";
// The setup window's three texts share their keys' form: Heading=, HeadingFont= and so on.
static const std::string kTextNames[3] = {"Heading", "Subheading", "Footer"};
static const char kSetupDir[] = "%SetupDir%\\";

std::string ScreenFont::Text() const {
    char numbers[80];
    std::snprintf(numbers, sizeof numbers, ",%d,%d,%d,%d,%d", static_cast<int>(height), static_cast<int>(weight),
                  static_cast<int>(italic), static_cast<int>(underline), static_cast<int>(strikeOut));
    return face + numbers;
}

// Each number is taken only when the "," after it is there, except the strike-out, which
// follows the fifth ","; a short value keeps the default font's numbers for the rest.
ScreenFont ScreenFont::Read(const std::string& text) {
    ScreenFont font;
    size_t commas[5];
    size_t found = 0;
    for (size_t pos = text.find(','); pos != std::string::npos && found < 5; pos = text.find(',', pos + 1))
        commas[found++] = pos;
    if (found == 0) return font;
    font.face = text.substr(0, std::min(commas[0], kMaxFaceLength));
    auto numberAfter = [&](size_t comma) { return ReadLeadingInt(text.substr(commas[comma] + 1)); };
    if (found >= 2) font.height = numberAfter(0);
    if (found >= 3) font.weight = numberAfter(1);
    if (found >= 4) font.italic = numberAfter(2);
    if (found >= 5) {
        font.underline = numberAfter(3);
        font.strikeOut = numberAfter(4);
    }
    return font;
}

std::string LastVariableToken(const std::string& path) {
    size_t last = path.rfind('%');
    if (last == std::string::npos || last == 0) return path;
    size_t second = path.rfind('%', last - 1);
    return second == std::string::npos ? path : path.substr(second);
}

void ScreenSettings::SetDefaults() {
    for (int s = 0; s < kScreenCount; ++s) shows[s] = kScreenDefaults[s];
    splashBitmapPath.clear();
    licensePath.clear();
    readmePath.clear();
    windowTitle = "Setup";
    gradientFill = true;
    colourFrom = 0x00FF0000;
    colourTo = 0x00000000;
    heading = {"%ProductName% %ProductVersion%", {"Times New Roman", -32, 700, 1, 0, 0}, 0x00FFFFFF, 0, true};
    subheading = {"%ProductDescription%", {"Times New Roman", -16, 700, 1, 0, 0}, 0x00FFFFFF, 0, true};
    footer = {"%Copyright% %CompanyName%. All rights reserved. %ProductURL%", {"Arial", -13, 400, 1, 0, 0},
              0x0000FF00, 0, false};
    showViewReadme = false;
    viewReadmeChecked = true;
    showRunApplication = false;
    runApplicationChecked = true;
    finishReadmePath.clear();
    finishApplicationPath.clear();
}

void ScreenSettings::ClearTexts() {
    for (std::string* text : {&splashBitmapPath, &licensePath, &readmePath, &windowTitle, &heading.text,
                              &subheading.text, &footer.text, &finishReadmePath, &finishApplicationPath})
        text->clear();
}

void ScreenSettings::LoadSetupWindow(const std::string& line) {
    std::string value;
    if (ValueAfter(line, kTitle, windowTitle)) return;
    if (ValueAfter(line, kGradient, value)) gradientFill = ReadYesNo(value);
    if (ValueAfter(line, kColourFrom, value)) colourFrom = ReadLeadingHex(value);
    if (ValueAfter(line, kColourTo, value)) colourTo = ReadLeadingHex(value);
    ScreenText* texts[3] = {&heading, &subheading, &footer};
    for (int t = 0; t < 3; ++t) {
        const std::string& name = kTextNames[t];
        ValueAfter(line, name + "=", texts[t]->text);
        if (ValueAfter(line, name + "Font=", value)) texts[t]->font = ScreenFont::Read(value);
        if (ValueAfter(line, name + "Color=", value)) texts[t]->colour = ReadLeadingHex(value);
        if (ValueAfter(line, name + "Alignment=", value)) texts[t]->alignment = ReadLeadingInt(value);
        if (ValueAfter(line, name + "3D=", value)) texts[t]->threeD = ReadYesNo(value);
    }
}

void ScreenSettings::LoadFinish(const std::string& line) {
    std::string value;
    if (ValueAfter(line, kViewReadmeBox, value)) showViewReadme = ReadYesNo(value);
    if (ValueAfter(line, kViewReadmeChecked, value)) viewReadmeChecked = ReadYesNo(value);
    if (ValueAfter(line, kRunBox, value)) showRunApplication = ReadYesNo(value);
    if (ValueAfter(line, kRunChecked, value)) runApplicationChecked = ReadYesNo(value);
    ValueAfter(line, kReadme, finishReadmePath);
    ValueAfter(line, kApplication, finishApplicationPath);
}

void ScreenSettings::Load(const ProfileText& project) {
    ForEachLine(project, "DIALOGS", [this](const std::string& line) {
        std::string value;
        for (int s = 0; s < kScreenCount; ++s)
            if (ValueAfter(line, kScreenKeys[s], value)) shows[s] = ReadYesNo(value);
    });
    ForEachLine(project, "SPLASH_WINDOW", [this](const std::string& line) { ValueAfter(line, kBitmap, splashBitmapPath); });
    ForEachLine(project, "SETUP_WINDOW", [this](const std::string& line) { LoadSetupWindow(line); });
    ForEachLine(project, "LICENSE_DIALOG", [this](const std::string& line) { ValueAfter(line, kLicense, licensePath); });
    ForEachLine(project, "README_DIALOG", [this](const std::string& line) { ValueAfter(line, kReadme, readmePath); });
    ForEachLine(project, "FINISH_DIALOG", [this](const std::string& line) { LoadFinish(line); });
}

std::vector<std::pair<std::string, ScreenSettings::Lines>> ScreenSettings::SectionsWithLines(bool exported) const {
    auto builderFile = [exported](const std::string& path) {
        return exported ? kSetupDir + NameOf(path) : path;
    };
    auto installedFile = [exported](const std::string& path) { return exported ? LastVariableToken(path) : path; };

    Lines switches;
    for (int s = 0; s < kScreenCount; ++s) switches.push_back(kScreenKeys[s] + YesNoText(shows[s]));

    Lines window{kTitle + windowTitle, kGradient + YesNoText(gradientFill), kColourFrom + ColourText(colourFrom),
                 kColourTo + ColourText(colourTo)};
    const ScreenText* texts[3] = {&heading, &subheading, &footer};
    for (int t = 0; t < 3; ++t) {
        const std::string& name = kTextNames[t];
        window.push_back(name + "=" + texts[t]->text);
        window.push_back(name + "Font=" + texts[t]->font.Text());
        window.push_back(name + "Color=" + ColourText(texts[t]->colour));
        window.push_back(name + "Alignment=" + std::to_string(texts[t]->alignment));
        window.push_back(name + "3D=" + YesNoText(texts[t]->threeD));
    }

    Lines finish{kViewReadmeBox + YesNoText(showViewReadme), kViewReadmeChecked + YesNoText(viewReadmeChecked),
                 kRunBox + YesNoText(showRunApplication), kRunChecked + YesNoText(runApplicationChecked),
                 kReadme + installedFile(finishReadmePath), kApplication + installedFile(finishApplicationPath)};

    return {{"[DIALOGS]", switches},
            {"[SPLASH_WINDOW]", {kBitmap + builderFile(splashBitmapPath)}},
            {"[SETUP_WINDOW]", window},
            {"[LICENSE_DIALOG]", {kLicense + builderFile(licensePath)}},
            {"[README_DIALOG]", {kReadme + builderFile(readmePath)}},
            {"[FINISH_DIALOG]", finish}};
}
