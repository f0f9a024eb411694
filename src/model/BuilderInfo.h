#pragma once
// [BUILDER_INFO]: the version of the builder that wrote the project.
#include <string>

#include "model/DocumentBase.h"

class LineSink;
class ProfileText;
class ScriptBuilder;

class BuilderInfo : public Section {
public:
    void SetDefaults() { version_ = "1.0"; }
    void Load(const ProfileText& project);
    bool Save(LineSink& out) const;
    void Export(ScriptBuilder& script) const;

    const std::string& Version() const { return version_; }

private:
    std::string version_ = "1.0";
};
