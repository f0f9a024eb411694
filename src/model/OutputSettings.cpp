#include "model/OutputSettings.h"

#include "core/Text.h"
#include "profile/ProfileText.h"
#include "platform/File.h"

static const char kSection[] = "CREATE_SETUP";
static const std::string kOutputFolder = "OutputFolder=";
static const std::string kSetupFileName = "SetupFilename=";
static const std::string kSetupIcon = "SetupIconPathname=";
static const std::string kSelfExtracting = "CreateSelfExtractedSetup=";

void OutputSettings::SetDefaults() {
    outputFolder_ = "C:\\BuilderProjects";
    setupFileName_ = "Setup.exe";
    setupIconPath_.clear();
    createSelfExtractingSetup_ = true;
}

void OutputSettings::Clear() {
    outputFolder_.clear();
    setupFileName_.clear();
    setupIconPath_.clear();
}

void OutputSettings::Load(const ProfileText& project) {
    ForEachLine(project, kSection, [this](const std::string& line) {
        std::string value;
        if (ValueAfter(line, kOutputFolder, outputFolder_) || ValueAfter(line, kSetupFileName, setupFileName_) ||
            ValueAfter(line, kSetupIcon, setupIconPath_))
            return;
        if (ValueAfter(line, kSelfExtracting, value)) createSelfExtractingSetup_ = ReadYesNo(value);
    });
}

bool OutputSettings::Save(File& file) const {
    bool ok = file.WriteLine("[CREATE_SETUP]");
    ok &= file.WriteLine(kOutputFolder + outputFolder_);
    ok &= file.WriteLine(kSetupFileName + setupFileName_);
    ok &= file.WriteLine(kSetupIcon + setupIconPath_);
    ok &= file.WriteLine(kSelfExtracting + YesNoText(createSelfExtractingSetup_));
    ok &= file.WriteLine("");
    return ok;
}
