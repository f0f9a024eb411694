#pragma once
// One builder language file (LanguageSets\Builder\<Name>.dat), loaded whole.
#include <memory>
#include <string>

#include "lang/UiTextSource.h"
#include "profile/ProfileText.h"

class LanguageFile : public UiTextSource {
public:
    // Loads the language file of `language` below the program's folder; false when it cannot.
    // A failed load keeps the texts loaded before.
    bool Load(const std::string& programFolder, const std::string& language);
    bool IsLoaded() const { return profile_ != nullptr; }

    // The value of `key`, or empty when the file lacks it.
    std::string UiText(TextKey key) const override;

private:
    std::unique_ptr<ProfileText> profile_;
};
