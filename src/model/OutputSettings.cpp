#include "model/OutputSettings.h"

#include "core/Text.h"
#include "profile/ProfileText.h"
#include "profile/LineSink.h"

static const char kSection[] = "CREATE_SETUP";
static const std::string kOutputFolder = "OutputFolder=";
static const std::string kSetupFileName = "SetupFilename=";
static const std::string kSetupIcon = "SetupIconPathname=";
static const std::string kSelfExtracting = "CreateSelfExtractedSetup=";
// Newer than the other keys: a project without it is built as it always was, with deflate, and
// it is written only for the small setup, so that such projects are saved unchanged.
static const std::string kCompression = "Compression=";

bool ParseCompression(const std::string& text, Compression& compression) {
    const std::string lower = LowerCase(text);
    if (lower != "standard" && lower != "small") return false;
    compression = lower == "small" ? Compression::Small : Compression::Standard;
    return true;
}

void OutputSettings::SetDefaults() {
    outputFolder_ = "C:\\BuilderProjects";
    setupFileName_ = "Setup.exe";
    setupIconPath_.clear();
    createSelfExtractingSetup_ = true;
    compression_ = Compression::Standard;
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
        // A value this builder does not know falls back to the compression every reader knows.
        if (ValueAfter(line, kCompression, value) && !ParseCompression(value, compression_))
            compression_ = Compression::Standard;
    });
}

bool OutputSettings::Save(LineSink& out) const {
    bool ok = out.WriteLine("[CREATE_SETUP]");
    ok &= out.WriteLine(kOutputFolder + outputFolder_);
    ok &= out.WriteLine(kSetupFileName + setupFileName_);
    ok &= out.WriteLine(kSetupIcon + setupIconPath_);
    ok &= out.WriteLine(kSelfExtracting + YesNoText(createSelfExtractingSetup_));
    if (compression_ == Compression::Small) ok &= out.WriteLine(kCompression + "Small");
    ok &= out.WriteLine("");
    return ok;
}
