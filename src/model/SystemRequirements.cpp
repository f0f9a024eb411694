#include "model/SystemRequirements.h"

#include "profile/ScriptBuilder.h"
#include "core/Text.h"
#include "profile/ProfileText.h"
#include "model/SectionLines.h"

static const char kHeader[] = "[SYSTEM_REQUIREMENTS]";
static const std::string kAnyWindows = "AnyWindows=";
static const std::string kVersionKeys[SystemRequirements::kVersionCount] = {
    "Windows95=", "Windows98=", "WindowsME=", "WindowsNT4=", "Windows2000=", "WindowsXP="};
static const std::string kDiskSpace = "RequiredDiskSpace=";
static const std::string kAbort = "AbortInstallation=";

void SystemRequirements::SetDefaults() {
    anyWindows_ = true;
    for (bool& allowed : versions_) allowed = true;
    diskSpace_ = "10240";
    abortInstallation_ = false;
}

void SystemRequirements::Load(const ProfileText& project) {
    ForEachLine(project, "SYSTEM_REQUIREMENTS", [this](const std::string& line) {
        std::string value;
        if (ValueAfter(line, kAnyWindows, value)) anyWindows_ = ReadYesNo(value);
        for (int v = 0; v < kVersionCount; ++v)
            if (ValueAfter(line, kVersionKeys[v], value)) versions_[v] = ReadYesNo(value);
        ValueAfter(line, kDiskSpace, diskSpace_);
        if (ValueAfter(line, kAbort, value)) abortInstallation_ = ReadYesNo(value);
    });
}

// The any-Windows line and the six version lines, as both forms write them.
static Lines VersionLines(bool anyWindows, const bool (&versions)[SystemRequirements::kVersionCount]) {
    Lines lines{kAnyWindows + YesNoText(anyWindows)};
    for (int v = 0; v < SystemRequirements::kVersionCount; ++v) lines.push_back(kVersionKeys[v] + YesNoText(versions[v]));
    return lines;
}

bool SystemRequirements::Save(LineSink& out) const {
    Lines lines = VersionLines(anyWindows_, versions_);
    lines.push_back(kDiskSpace + diskSpace_);
    lines.push_back(kAbort + YesNoText(abortInstallation_));
    return WriteSection(out, kHeader, lines);
}

void SystemRequirements::Export(ScriptBuilder& script) const {
    Lines lines = VersionLines(anyWindows_, versions_);
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
