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
    outputFolder = "C:\\BuilderProjects";
    setupFileName = "Setup.exe";
    setupIconPath.clear();
    createSelfExtractingSetup = true;
}

void OutputSettings::Clear() {
    outputFolder.clear();
    setupFileName.clear();
    setupIconPath.clear();
}

void OutputSettings::Load(const ProfileText& project) {
    ForEachLine(project, kSection, [this](const std::string& line) {
        std::string value;
        if (ValueAfter(line, kOutputFolder, outputFolder) || ValueAfter(line, kSetupFileName, setupFileName) ||
            ValueAfter(line, kSetupIcon, setupIconPath))
            return;
        if (ValueAfter(line, kSelfExtracting, value)) createSelfExtractingSetup = ReadYesNo(value);
    });
}

bool OutputSettings::Save(File& file) const {
    bool ok = file.WriteLine("[CREATE_SETUP]");
    ok &= file.WriteLine(kOutputFolder + outputFolder);
    ok &= file.WriteLine(kSetupFileName + setupFileName);
    ok &= file.WriteLine(kSetupIcon + setupIconPath);
    ok &= file.WriteLine(kSelfExtracting + YesNoText(createSelfExtractingSetup));
    ok &= file.WriteLine("");
    return ok;
}
