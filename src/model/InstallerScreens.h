#pragma once
// The installer's screens: which ones it shows ([DIALOGS]) and the settings of the splash
// window, the setup window, the license, readme and finish screens. Six sections, the same in
// the project file and in setup.ini, except for the exported file paths.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/DocumentBase.h"
#include "model/SectionLines.h"

class File;
class ProfileText;
class ScriptBuilder;

// The parts of a Windows logical font that a project keeps. The rest of the description is
// fixed: character set 1 (default), output quality 2, every other field 0.
struct ScreenFont {
    static constexpr int kCharSet = 1;
    static constexpr int kQuality = 2;
    static constexpr size_t kMaxFaceLength = 31;

    std::string face = "Arial";
    std::int32_t height = -10;  // logical units; negative gives the character height
    std::int32_t weight = 400;  // 400 normal, 700 bold
    std::int32_t italic = 0;
    std::int32_t underline = 0;
    std::int32_t strikeOut = 0;

    // "face,height,weight,italic,underline,strike-out".
    std::string Text() const;
    // Reads that form; the fields that a short value lacks keep those of the default font.
    static ScreenFont Read(const std::string& text);
};

// One line of text of the setup window.
struct ScreenText {
    std::string text;
    ScreenFont font;
    std::uint32_t colour = 0;  // 0x00BBGGRR
    std::int32_t alignment = 0;  // 0, 1 or 2: the setup window dialog's alignment list
    bool threeD = false;
};

class InstallerScreens : public Section {
public:
    // The screens, in the order of their switches.
    enum Screen {
        SplashWindow, SetupWindow, LanguageDialog, WelcomeDialog, LicenseDialog, ReadmeDialog, UserInfoDialog,
        TargetDirectoryDialog, SetupTypeDialog, CustomSetupDialog, ProgramGroupDialog, StartDialog, FinishDialog,
        kScreenCount
    };

    InstallerScreens() { SetDefaults(); }
    void SetDefaults();
    // Empties the texts and paths; switches, colours, fonts and the other values stay.
    void Clear();
    void Load(const ProfileText& project);
    bool Save(File& file) const;
    // Files on the builder's computer are exported as %SetupDir%\<name>, where the build puts
    // them; the finish paths are cut to their last variable token.
    void Export(ScriptBuilder& script) const;

    // Assigned directly by the editor, which then calls SetModified(true).
    bool shows[kScreenCount] = {};
    std::string splashBitmapPath;
    std::string licensePath;
    std::string readmePath;

    std::string windowTitle;
    bool gradientFill = true;
    std::uint32_t colourFrom = 0;
    std::uint32_t colourTo = 0;
    ScreenText heading;
    ScreenText subheading;
    ScreenText footer;

    bool showViewReadme = false;
    bool viewReadmeChecked = true;
    bool showRunApplication = false;
    bool runApplicationChecked = true;
    std::string finishReadmePath;
    std::string finishApplicationPath;

private:
    void LoadSetupWindow(const std::string& line);
    void LoadFinish(const std::string& line);
    // The six sections with their lines, as saved or as exported.
    std::vector<std::pair<std::string, Lines>> SectionsWithLines(bool exported) const;
};

// The text from the second "%" counted from the end (%DestComp%\%AppDir%\a.txt gives
// %AppDir%\a.txt); the whole text when it holds fewer than two.
std::string LastVariableToken(const std::string& path);
