#pragma once
// [GENERAL_INFO]: the six texts that describe the product; the installer shows them and puts
// them in place of %CompanyName%, %ProductName% and the other product variables.
#include <array>
#include <string>

#include "model/DocumentBase.h"
#include "model/SectionLines.h"

class File;
class ProfileText;
class ScriptBuilder;
class UiTextSource;

class GeneralInfo : public Section {
public:
    // The new-project texts of the current interface language.
    void SetDefaults(const UiTextSource& texts);
    void Clear();
    void Load(const ProfileText& project);
    bool Save(File& file) const;
    void Export(ScriptBuilder& script) const;

    // Assigned directly by the editor and the wizard, which then call SetModified(true).
    std::string companyName;
    std::string productName;
    std::string productVersion;
    std::string productDescription;
    std::string productUrl;
    std::string copyrightNotice;

private:
    // The fields in the order of their keys.
    std::array<std::string*, 6> Fields() {
        return {&companyName, &productName, &productVersion, &productDescription, &productUrl, &copyrightNotice};
    }
    Lines KeyLines() const;
};
