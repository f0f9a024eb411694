#pragma once
// The installer's screens: which ones it shows ([DIALOGS]) and the settings of the splash
// window, the setup window, the license, readme and finish screens, as the project file and
// setup.ini hold them. The builder edits them as a project section; the installer reads them
// from setup.ini.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class ProfileText;

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

struct ScreenSettings {
    // The screens, in the order of their switches.
    enum Screen {
        SplashWindow, SetupWindow, LanguageDialog, WelcomeDialog, LicenseDialog, ReadmeDialog, UserInfoDialog,
        TargetDirectoryDialog, SetupTypeDialog, CustomSetupDialog, ProgramGroupDialog, StartDialog, FinishDialog,
        kScreenCount
    };
    using Lines = std::vector<std::string>;

    ScreenSettings() { SetDefaults(); }
    void SetDefaults();
    // Empties the texts and paths; switches, colours, fonts and the other values stay.
    void ClearTexts();
    // No key of a section is the beginning of another, so each line matches one key at most.
    void Load(const ProfileText& profile);
    // The six sections with their lines, as saved in a project or as exported to setup.ini:
    // files on the builder's computer are exported as %SetupDir%\<name>, where the build puts
    // them; the finish paths are cut to their last variable token.
    std::vector<std::pair<std::string, Lines>> SectionsWithLines(bool exported) const;

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
};

// The text from the second "%" counted from the end (%DestComp%\%AppDir%\a.txt gives
// %AppDir%\a.txt); the whole text when it holds fewer than two.
std::string LastVariableToken(const std::string& path);
