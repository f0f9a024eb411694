#include "lang/LanguageFile.h"

#include "core/Exception.h"
#include "core/Path.h"

bool LanguageFile::Load(const std::string& programFolder, const std::string& language) {
    try {
        profile_ = std::make_unique<ProfileText>(
            programFolder, JoinPath("LanguageSets\\Builder", language + ".dat"));
        return true;
    } catch (const FileException&) {
        return false;
    }
}

std::string LanguageFile::UiText(TextKey key) const {
    std::string value;
    if (profile_) profile_->GetValue(value, key.Section(), std::to_string(key.Number()), "");
    return value;
}
