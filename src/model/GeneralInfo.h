#pragma once
// [GENERAL_INFO]: the six texts that describe the product; the installer shows them and puts
// them in place of %CompanyName%, %ProductName% and the other product variables.
#include <array>
#include <string>

#include "model/DocumentBase.h"
#include "model/SectionLines.h"

class LineSink;
class ProfileText;
class ScriptBuilder;
class UiTextSource;

class GeneralInfo : public Section {
public:
    // The new-project texts of the current interface language.
    void SetDefaults(const UiTextSource& texts);
    void Clear();
    void Load(const ProfileText& project);
    bool Save(LineSink& out) const;
    void Export(ScriptBuilder& script) const;

    const std::string& CompanyName() const { return companyName_; }
    const std::string& ProductName() const { return productName_; }
    const std::string& ProductVersion() const { return productVersion_; }
    const std::string& ProductDescription() const { return productDescription_; }
    const std::string& ProductUrl() const { return productUrl_; }
    const std::string& CopyrightNotice() const { return copyrightNotice_; }

    // Each setter marks the document modified.
    void SetCompanyName(const std::string& text) { Set(companyName_, text); }
    void SetProductName(const std::string& text) { Set(productName_, text); }
    void SetProductVersion(const std::string& text) { Set(productVersion_, text); }
    void SetProductDescription(const std::string& text) { Set(productDescription_, text); }
    void SetProductUrl(const std::string& text) { Set(productUrl_, text); }
    void SetCopyrightNotice(const std::string& text) { Set(copyrightNotice_, text); }

private:
    void Set(std::string& field, const std::string& text) {
        field = text;
        SetModified(true);
    }
    // The fields in the order of their keys.
    std::array<std::string*, 6> Fields() {
        return {&companyName_, &productName_, &productVersion_, &productDescription_, &productUrl_, &copyrightNotice_};
    }
    Lines KeyLines() const;

    std::string companyName_;
    std::string productName_;
    std::string productVersion_;
    std::string productDescription_;
    std::string productUrl_;
    std::string copyrightNotice_;
};
