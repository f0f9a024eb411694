#include "model/SystemRequirements.h"

#include "profile/ScriptBuilder.h"
#include "core/Text.h"
#include "profile/ProfileText.h"
#include "model/SectionLines.h"

static const char kHeader[] = "[SYSTEM_REQUIREMENTS]";
static const std::string kAnyWindows = "AnyWindows=";
static const std::string kVersionKeys[SystemRequirements::kVersionCount] = {
    "Windows95=", "Windows98=", "WindowsME=", "WindowsNT4=", "Windows2000=", "WindowsXP="};
static const std::string kModernKeys[SystemRequirements::kModernCount] = {"Windows10=", "Windows11=",
                                                                          "Only64BitWindows="};
static const std::string kDiskSpace = "RequiredDiskSpace=";
static const std::string kAbort = "AbortInstallation=";

void SystemRequirements::SetDefaults() {
    anyWindows_ = true;
    for (bool& allowed : versions_) allowed = true;
    diskSpace_ = "10240";
    abortInstallation_ = false;
    for (std::optional<bool>& setting : modern_) setting.reset();
}

void SystemRequirements::Load(const ProfileText& project) {
    ForEachLine(project, "SYSTEM_REQUIREMENTS", [this](const std::string& line) {
        std::string value;
        if (ValueAfter(line, kAnyWindows, value)) anyWindows_ = ReadYesNo(value);
        for (int v = 0; v < kVersionCount; ++v)
            if (ValueAfter(line, kVersionKeys[v], value)) versions_[v] = ReadYesNo(value);
        for (int k = 0; k < kModernCount; ++k)
            if (ValueAfter(line, kModernKeys[k], value)) modern_[k] = ReadYesNo(value);
        ValueAfter(line, kDiskSpace, diskSpace_);
        if (ValueAfter(line, kAbort, value)) abortInstallation_ = ReadYesNo(value);
    });
}

// The any-Windows line, the six version lines and the newer keys that the project has, as both
// forms write them.
static Lines VersionLines(bool anyWindows, const bool (&versions)[SystemRequirements::kVersionCount],
                          const std::optional<bool> (&modern)[SystemRequirements::kModernCount]) {
    Lines lines{kAnyWindows + YesNoText(anyWindows)};
    for (int v = 0; v < SystemRequirements::kVersionCount; ++v) lines.push_back(kVersionKeys[v] + YesNoText(versions[v]));
    for (int k = 0; k < SystemRequirements::kModernCount; ++k)
        if (modern[k]) lines.push_back(kModernKeys[k] + YesNoText(*modern[k]));
    return lines;
}

bool SystemRequirements::Save(LineSink& out) const {
    Lines lines = VersionLines(anyWindows_, versions_, modern_);
    lines.push_back(kDiskSpace + diskSpace_);
    lines.push_back(kAbort + YesNoText(abortInstallation_));
    return WriteSection(out, kHeader, lines);
}

void SystemRequirements::Export(ScriptBuilder& script) const {
    Lines lines = VersionLines(anyWindows_, versions_, modern_);
    lines.push_back(kAbort + YesNoText(abortInstallation_));
    AddLines(script, kHeader, lines);
    script.AddLine("[SETUP_INFO]", kDiskSpace + diskSpace_);
}

void SystemRequirements::SetAnyWindows(bool value, bool markModified) {
    anyWindows_ = value;
    SetModified(markModified);
}

void SystemRequirements::SetAllowsVersion(Version version, bool value, bool markModified) {
    if (!IsVersion(version)) return;
    versions_[version] = value;
    SetModified(markModified);
}

void SystemRequirements::SetRequiredDiskSpace(const std::string& value, bool markModified) {
    diskSpace_ = value;
    SetModified(markModified);
}

void SystemRequirements::SetAbortInstallation(bool value, bool markModified) {
    abortInstallation_ = value;
    SetModified(markModified);
}

void SystemRequirements::SetSetting(Modern key, bool value, bool markModified) {
    if (!IsModern(key)) return;
    modern_[key] = value;
    SetModified(markModified);
}
