#include "model/GeneralInfo.h"

#include "lang/UiTextSource.h"
#include "profile/ProfileText.h"

static const char kHeader[] = "[GENERAL_INFO]";
static const std::string kKeys[6] = {"CompanyName=",    "ProductName=", "ProductVersion=",
                                     "ProductDescription=", "ProductURL=", "CopyrightNotice="};

void GeneralInfo::SetDefaults(const UiTextSource& texts) {
    auto fields = Fields();
    for (size_t i = 0; i < fields.size(); ++i) *fields[i] = texts.UiText(TextKeys::kGeneralInfoDefaults[i]);
}

void GeneralInfo::Clear() {
    for (std::string* field : Fields()) field->clear();
}

void GeneralInfo::Load(const ProfileText& project) {
    auto fields = Fields();
    ForEachLine(project, "GENERAL_INFO", [&](const std::string& line) {
        for (size_t i = 0; i < fields.size(); ++i)
            if (ValueAfter(line, kKeys[i], *fields[i])) return;
    });
}

Lines GeneralInfo::KeyLines() const {
    return {kKeys[0] + companyName_,        kKeys[1] + productName_, kKeys[2] + productVersion_,
            kKeys[3] + productDescription_, kKeys[4] + productUrl_,  kKeys[5] + copyrightNotice_};
}

bool GeneralInfo::Save(LineSink& out) const { return WriteSection(out, kHeader, KeyLines()); }

void GeneralInfo::Export(ScriptBuilder& script) const { AddLines(script, kHeader, KeyLines()); }
