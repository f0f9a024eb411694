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

    std::string outputFolder;
    std::string setupFileName;
    std::string setupIconPath;
    bool createSelfExtractingSetup = true;
};
