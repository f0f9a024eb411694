#pragma once
// The builder's language sets: the builder and installer languages found beside the program,
// the current builder language and its loaded texts.
#include <string>
#include <vector>

#include "lang/LanguageFile.h"
#include "lang/UiTextSource.h"

class MessageBoxes;

// Fills `list` with the names of the *.dat files directly in `folder` (the extension in any
// letter case), sorted by byte value; true when at least one was found.
bool DiscoverLanguages(const std::string& folder, std::vector<std::string>& list);

class LanguageSets : public UiTextSource {
public:
    // The Language menu's items carry the commands from 50000 (the first language) upward.
    static constexpr int kFirstLanguageCommand = 50000;
    static constexpr int kLastLanguageCommand = 50256;

    // `messages` must outlive the object.
    LanguageSets(std::string programFolder, MessageBoxes& messages);

    // The folders below the program's folder that hold the two kinds of language files.
    std::string BuilderFolder() const;
    std::string SetupFolder() const;
    bool DiscoverBuilderLanguages() { return DiscoverLanguages(BuilderFolder(), builderLanguages_); }
    bool DiscoverSetupLanguages() { return DiscoverLanguages(SetupFolder(), setupLanguages_); }
    // Both discoveries of start-up, installer languages first; when either kind is missing,
    // tells the user that the program must be reinstalled and returns false.
    bool Discover();
    const std::vector<std::string>& BuilderLanguages() const { return builderLanguages_; }
    const std::vector<std::string>& SetupLanguages() const { return setupLanguages_; }
    // For the Language menu: the number of builder languages and the name at an index
    // (empty past the end).
    size_t BuilderLanguageCount() const { return builderLanguages_.size(); }
    std::string BuilderLanguageName(size_t index) const;

    const std::string& CurrentLanguage() const { return current_; }
    // Makes `name` current without loading it (the setting read at start-up).
    void SetCurrentLanguage(const std::string& name) { current_ = name; }
    // Loads the current language's file; on failure tells the user and keeps the texts
    // loaded before.
    bool LoadLanguage();
    // Makes `name` current and loads it; when that fails, English. The result of the last load.
    bool SetLanguage(const std::string& name);

    std::string UiText(TextKey key) const override;

private:
    std::string programFolder_;
    MessageBoxes& messages_;
    std::vector<std::string> builderLanguages_;
    std::vector<std::string> setupLanguages_;
    std::string current_ = "English";
    LanguageFile file_;
};
