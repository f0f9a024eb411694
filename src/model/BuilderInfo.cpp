#include "model/BuilderInfo.h"

#include "profile/ScriptBuilder.h"
#include "profile/ProfileText.h"
#include "profile/LineSink.h"

static const char kSection[] = "BUILDER_INFO";
static const std::string kVersion = "Version=";

void BuilderInfo::Load(const ProfileText& project) {
    ForEachLine(project, kSection, [this](const std::string& line) { ValueAfter(line, kVersion, version_); });
}

bool BuilderInfo::Save(LineSink& out) const {
    bool ok = out.WriteLine("[BUILDER_INFO]");
    ok &= out.WriteLine(kVersion + version_);
    ok &= out.WriteLine("");
    return ok;
}

// The installer reads the script format of version 1.0, whatever builder wrote the project.
void BuilderInfo::Export(ScriptBuilder& script) const { script.AddLine("[SETUP_INFO]", "Version=1.0"); }
