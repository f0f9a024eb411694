#include "lang/LanguageSets.h"

#include <algorithm>

#include "core/Path.h"
#include "core/Text.h"
#include "lang/MessageBoxes.h"
#include "platform/FolderScanner.h"

bool DiscoverLanguages(const std::string& folder, std::vector<std::string>& list) {
    list.clear();
    FolderScanner scanner;
    if (scanner.Start(folder, false)) {
        for (auto name = scanner.First(); name; name = scanner.Next())
            if (name->size() >= 5 && EqualNoCase(name->substr(name->size() - 4), ".dat"))
                list.push_back(name->substr(0, name->size() - 4));
        scanner.Finish();
    }
    std::sort(list.begin(), list.end());
    return !list.empty();
}

LanguageSets::LanguageSets(std::string programFolder, MessageBoxes& messages)
    : programFolder_(std::move(programFolder)), messages_(messages) {}

std::string LanguageSets::BuilderFolder() const { return JoinPath(programFolder_, "LanguageSets\\Builder"); }
std::string LanguageSets::SetupFolder() const { return JoinPath(programFolder_, "LanguageSets\\Setup"); }

bool LanguageSets::Discover() {
    const char* missing = nullptr;
    if (!DiscoverSetupLanguages())
        missing = "Can't find setup language files. Please reinstall the application.";
    else if (!DiscoverBuilderLanguages())
        missing = "Can't find application language files. Please reinstall the application.";
    if (missing) messages_.Show(missing, "Application Error", MessageIcon::Warning);
    return missing == nullptr;
}

std::string LanguageSets::BuilderLanguageName(size_t index) const {
    return index < builderLanguages_.size() ? builderLanguages_[index] : std::string();
}

bool LanguageSets::LoadLanguage() {
    if (file_.Load(programFolder_, current_)) return true;
    std::string text = "Language file %1 not found or corrupted. Please reinstall the application.";
    text.replace(text.find("%1"), 2, current_ + ".dat");
    messages_.Show(text, "Application Error", MessageIcon::Warning);
    return false;
}

bool LanguageSets::SetLanguage(const std::string& name) {
    current_ = name;
    bool loaded = LoadLanguage();
    if (loaded || name == "English") return loaded;
    current_ = "English";
    return LoadLanguage();
}

std::string LanguageSets::UiText(TextKey key) const { return file_.UiText(key); }
