#pragma once
// [CREATE_SETUP]: where and how the installer is produced. Read by the build, never exported.
#include <string>

#include "model/DocumentBase.h"

class File;
class ProfileText;

class OutputSettings : public Section {
public:
    void SetDefaults();
    // Empties the texts; the self-extracting choice keeps its value.
    void Clear();
    void Load(const ProfileText& project);
    bool Save(File& file) const;

    const std::string& OutputFolder() const { return outputFolder_; }
    const std::string& SetupFileName() const { return setupFileName_; }
    const std::string& SetupIconPath() const { return setupIconPath_; }
    bool CreateSelfExtractingSetup() const { return createSelfExtractingSetup_; }

    // Each setter marks the document modified.
    void SetOutputFolder(const std::string& path) { Set(outputFolder_, path); }
    void SetSetupFileName(const std::string& name) { Set(setupFileName_, name); }
    void SetSetupIconPath(const std::string& path) { Set(setupIconPath_, path); }
    void SetCreateSelfExtractingSetup(bool on) { Set(createSelfExtractingSetup_, on); }

private:
    template <class T>
    void Set(T& field, const T& value) {
        field = value;
        SetModified(true);
    }

    std::string outputFolder_;
    std::string setupFileName_;
    std::string setupIconPath_;
    bool createSelfExtractingSetup_ = true;
};
