// Language sets: discovery, loading with the fall-back to English, text lookups, and the
// completeness of the builder language files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "TestSupport.h"
#include "core/Path.h"
#include "lang/LanguageFile.h"
#include "lang/LanguageSets.h"
#include "lang/MessageBoxes.h"
#include "lang/TextKeys.h"
#include "profile/ProfileText.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace {
struct RecordedMessages : MessageBoxes {
    struct Message {
        std::string text, caption;
        MessageIcon icon;
    };
    std::vector<Message> shown;
    void Show(const std::string& text, const std::string& caption, MessageIcon icon) override {
        shown.push_back({text, caption, icon});
    }
};

// A program folder with LanguageSets\Builder and LanguageSets\Setup, removed afterwards.
class ProgramFolder {
public:
    ProgramFolder() {
        platform::MakeFolder(JoinPath(scratch_.Path(), "LanguageSets"));
        for (const char* kind : {"Builder", "Setup"}) {
            folders_.push_back(JoinPath(scratch_.Path(), std::string("LanguageSets\\") + kind));
            platform::MakeFolder(folders_.back());
        }
    }
    ~ProgramFolder() {
        for (const std::string& file : files_) RemoveFile(file);
        for (const std::string& folder : folders_) platform::RemoveFolder(folder);
        platform::RemoveFolder(JoinPath(scratch_.Path(), "LanguageSets"));
    }
    const std::string& Path() const { return scratch_.Path(); }
    void Add(const std::string& kind, const std::string& name, const std::string& bytes) {
        files_.push_back(JoinPath(JoinPath(scratch_.Path(), "LanguageSets\\" + kind), name));
        File file;
        file.Open(files_.back(), CreateWrite);
        std::uint32_t done = 0;
        file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), done);
    }

private:
    ScratchFolder scratch_;
    std::vector<std::string> folders_, files_;
};
}  // namespace

TEST(Languages, DiscoveryKeepsDatFilesInByteOrder) {
    ProgramFolder program;
    for (const char* name : {"English.dat", "german.DAT", "a.dat", ".dat", "x.dat", "notes.txt", "Polish.dat.bak"})
        program.Add("Builder", name, "");
    platform::MakeFolder(JoinPath(program.Path(), "LanguageSets\\Builder\\Sub.dat"));
    RecordedMessages messages;
    LanguageSets sets(program.Path(), messages);
    ASSERT_TRUE(sets.DiscoverBuilderLanguages());
    EXPECT_EQ(sets.BuilderLanguages(), (std::vector<std::string>{"English", "a", "german", "x"}));
    EXPECT_EQ(sets.BuilderLanguageCount(), 4u);
    EXPECT_EQ(sets.BuilderLanguageName(2), "german");
    EXPECT_EQ(sets.BuilderLanguageName(4), "");
    EXPECT_FALSE(sets.DiscoverSetupLanguages());
    EXPECT_TRUE(sets.SetupLanguages().empty());
    platform::RemoveFolder(JoinPath(program.Path(), "LanguageSets\\Builder\\Sub.dat"));

    std::vector<std::string> list{"stale"};
    EXPECT_FALSE(DiscoverLanguages(JoinPath(program.Path(), "absent"), list));
    EXPECT_TRUE(list.empty());
}

TEST(Languages, StartUpNeedsBothKindsOfLanguageFiles) {
    ProgramFolder program;
    program.Add("Builder", "English.dat", "");
    RecordedMessages messages;
    LanguageSets sets(program.Path(), messages);
    EXPECT_FALSE(sets.Discover());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Can't find setup language files. Please reinstall the application.");
    EXPECT_EQ(messages.shown[0].caption, "Application Error");

    program.Add("Setup", "German.dat", "");
    EXPECT_TRUE(sets.Discover());
    EXPECT_EQ(sets.SetupLanguages(), std::vector<std::string>{"German"});
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST(Languages, StartUpWithoutBuilderLanguagesIsReported) {
    ProgramFolder program;
    program.Add("Setup", "English.dat", "");
    RecordedMessages messages;
    LanguageSets sets(program.Path(), messages);
    EXPECT_FALSE(sets.Discover());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Can't find application language files. Please reinstall the application.");
}

TEST(Languages, AMissingFileIsReportedAndEnglishTakesOver) {
    ProgramFolder program;
    program.Add("Builder", "English.dat", "[STRINGS]\r\n2=Project\r\n800=New|Create a project\r\n801=Plain\r\n");
    program.Add("Builder", "German.dat", "[STRINGS]\r\n2=Projekt\r\n");
    RecordedMessages messages;
    LanguageSets sets(program.Path(), messages);

    EXPECT_TRUE(sets.SetLanguage("Polish"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "Language file Polish.dat not found or corrupted. Please reinstall the application.");
    EXPECT_EQ(messages.shown[0].caption, "Application Error");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(sets.CurrentLanguage(), "English");
    EXPECT_EQ(sets.UiText(TextKeys::kNewProjectWord), "Project");

    EXPECT_TRUE(sets.SetLanguage("German"));
    EXPECT_EQ(sets.UiText(TextKeys::kNewProjectWord), "Projekt");
    EXPECT_EQ(messages.shown.size(), 1u);

    // Labels and hints of the numbered texts; absent texts are empty.
    EXPECT_TRUE(sets.SetLanguage("English"));
    const TextKey newProject = TextKeys::kToolbarTips.Key(800), openProject = TextKeys::kToolbarTips.Key(801);
    EXPECT_EQ(sets.UiString(newProject), "New");
    EXPECT_EQ(sets.UiHint(newProject), "Create a project");
    EXPECT_EQ(sets.UiText(newProject), "New|Create a project");
    EXPECT_EQ(sets.UiString(openProject), "Plain");
    EXPECT_EQ(sets.UiHint(openProject), "Plain");
    EXPECT_EQ(sets.UiString(TextKeys::kToolbarTips.Key(802)), "");
    EXPECT_EQ(sets.UiText(TextKeys::kAboutDialog.Key(1)), "");
}

TEST(Languages, WithoutEnglishTheSwitchFailsAndKeepsTheTextsLoadedBefore) {
    ProgramFolder program;
    program.Add("Builder", "German.dat", "[STRINGS]\r\n2=Projekt\r\n");
    RecordedMessages messages;
    LanguageSets sets(program.Path(), messages);
    EXPECT_TRUE(sets.SetLanguage("German"));
    EXPECT_FALSE(sets.SetLanguage("French"));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_NE(messages.shown[1].text.find("English.dat"), std::string::npos);
    EXPECT_EQ(sets.UiText(TextKeys::kNewProjectWord), "Projekt");

    // Asking for English itself reports once.
    EXPECT_FALSE(sets.SetLanguage("English"));
    EXPECT_EQ(messages.shown.size(), 3u);
}

// Every builder language file of the source tree has every text that the program can ask for
// (the lookups take only keys of the table) and every key of the English file.
TEST(Languages, BuilderLanguageFilesAreComplete) {
    std::string folder = JoinPath(SourceFolder(), "LanguageSets\\Builder");
    std::vector<std::string> languages;
    ASSERT_TRUE(DiscoverLanguages(folder, languages));
    ASSERT_GE(languages.size(), 2u);
    const std::vector<TextKey> asked = TextKeys::All();
    ASSERT_GT(asked.size(), 300u);
    for (const std::string& language : languages) {
        LanguageFile file;
        ASSERT_TRUE(file.Load(SourceFolder(), language));
        for (TextKey key : asked)
            EXPECT_FALSE(file.UiText(key).empty())
                << language << ".dat lacks [" << key.Section() << "] " << key.Number();
    }
    ProfileText english(folder, "English.dat");

    // Every key line of English, by section.
    std::vector<std::pair<std::string, std::string>> keys;
    std::string section;
    const std::string& text = english.Text();
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find("\r\n", pos);
        std::string line = text.substr(pos, end - pos);
        if (line[0] == '[') section = line.substr(1, line.size() - 2);
        else keys.emplace_back(section, line.substr(0, line.find('=')));
        pos = end == std::string::npos ? text.size() : end + 2;
    }
    ASSERT_GT(keys.size(), 300u);

    for (const std::string& language : languages) {
        ProfileText other(folder, language + ".dat");
        EXPECT_EQ(other.Text().find('\n'), other.Text().find("\r\n") + 1) << language << ": lines end in CR LF";
        for (const auto& [sectionName, key] : keys) {
            std::string value;
            other.GetValue(value, sectionName, key, "");
            EXPECT_FALSE(value.empty()) << language << ".dat lacks [" << sectionName << "] " << key;
        }
    }
}

TEST(Languages, EnglishDefaultsOfTheSections) {
    const UiTextSource& english = EnglishTexts();
    EXPECT_EQ(english.UiText(TextKeys::kSetupInfoDefaults[0]), "%ProgramFiles%\\%CompanyName%\\%ProductName%");
    EXPECT_EQ(english.UiText(TextKeys::kSetupInfoDefaults[1]), "%ProductName%");
    EXPECT_EQ(english.UiText(TextKeys::kAlignmentNames[1]), "Center");
    EXPECT_EQ(english.UiText(TextKeys::kReplaceModes[0]), "Always replace");
    // Menu labels carry their shortcut after a tab.
    EXPECT_EQ(english.UiString(TextKeys::kMenuItems.Key(1020)), "&New Project\tCtrl+N");
}

TEST(Languages, TextKeySetsGiveOnlyTheKeysTheTableLists) {
    static_assert(TextKeys::kMenuItems.Key(1123).Number() == 1123, "a constant key is checked when compiled");
    EXPECT_STREQ(TextKeys::kAboutDialog.Key(3).Section(), "ABOUT_DIALOG");
    EXPECT_EQ(TextKeys::kAboutDialog.Key(3).Number(), 3);
    EXPECT_EQ(TextKeys::kSetupInfoTab[2].Number(), 5) << "an index counts the listed keys";
    int outside = 1122;  // between two menu items, not one of them
    EXPECT_THROW(TextKeys::kMenuItems.Key(outside), std::out_of_range);
    EXPECT_THROW(TextKeys::kAboutDialog.Key(0), std::out_of_range);
    EXPECT_THROW(TextKeys::kGeneralInfoDefaults[6], std::out_of_range);
}

// Alt+letter access keys in every language: within each page and item dialog no letter stands
// for two controls, the pages (children of the main window) leave the menu bar's letters to
// the menus, and every field label of them has one.
TEST(Languages, AccessKeysAreUniqueInEachWindowAndLeaveTheMenuLettersToTheMenus) {
    std::string folder = JoinPath(SourceFolder(), "LanguageSets\\Builder");
    std::vector<std::string> languages;
    ASSERT_TRUE(DiscoverLanguages(folder, languages));
    const auto letterOf = [](const std::string& text) -> char {
        const size_t amp = text.find('&');
        return amp == std::string::npos || amp + 1 >= text.size() ? '\0'
                                                                   : static_cast<char>(toupper(text[amp + 1]));
    };
    struct Window {
        const TextKeySet* keys;
        std::vector<int> labelled;  // keys that must carry an access key
        std::vector<int> ignored;   // texts of several controls, or no control's (titles, messages)
        bool page;
    };
    const std::vector<Window> windows = {
        {&TextKeys::kGeneralInfoTab, {1, 2, 3, 4, 5, 6}, {}, true},
        {&TextKeys::kSetupInfoTab, {1, 2, 6, 15, 16, 17, 18, 19}, {}, true},
        {&TextKeys::kRequirementsTab, {1, 3}, {}, true},
        {&TextKeys::kDialogsTab, {2, 8, 10, 17, 20}, {21}, true},
        {&TextKeys::kCreateSetupTab, {1, 3, 4}, {2, 5}, true},
        {&TextKeys::kNewFolderDialog, {1}, {0}, false},
        {&TextKeys::kNewKeyDialog, {1}, {0}, false},
        {&TextKeys::kFilePropertiesDialog, {19, 20}, {0, 11, 12, 13, 14, 15, 16, 17, 18, 22}, false},
        {&TextKeys::kShortcutDialog, {2, 3, 4, 5, 6, 7, 8}, {0, 1, 9, 10, 11, 12}, false},
        {&TextKeys::kInternetShortcutDialog, {2, 3}, {0, 1}, false},
        {&TextKeys::kRegistryStringValueDialog, {2, 3, 7}, {0, 1, 6, 8, 9, 10, 11}, false},
        {&TextKeys::kRegistryBinaryValueDialog, {2, 3}, {0, 1}, false},
        {&TextKeys::kRegistryDwordValueDialog, {2, 3, 4}, {0, 1}, false},
        {&TextKeys::kFileTypePropertiesDialog, {2, 3, 4, 5, 6, 7}, {0, 1, 8}, false},
        {&TextKeys::kSetupWindowsSettingsDialog, {6, 7, 8, 9}, {0, 11, 12, 13, 14, 15}, false},
    };
    for (const std::string& language : languages) {
        LanguageFile file;
        ASSERT_TRUE(file.Load(SourceFolder(), language));
        std::set<char> menuLetters;
        for (size_t index = 0; index < TextKeys::kMenuBarTitles.Count(); ++index)
            menuLetters.insert(letterOf(file.UiText(TextKeys::kMenuBarTitles[index])));
        for (const Window& window : windows) {
            std::map<char, int> used;
            for (size_t index = 0; index < window.keys->Count(); ++index) {
                const TextKey key = (*window.keys)[index];
                const std::string where = language + " [" + key.Section() + "] " + std::to_string(key.Number());
                const std::string text = file.UiText(key);
                const char letter = letterOf(text);
                const auto listed = [&](const std::vector<int>& numbers) {
                    return std::find(numbers.begin(), numbers.end(), key.Number()) != numbers.end();
                };
                if (listed(window.labelled)) {
                    EXPECT_NE(letter, '\0') << where << " has no access key: " << text;
                }
                if (letter == '\0' || listed(window.ignored)) continue;
                EXPECT_TRUE(isalnum(static_cast<unsigned char>(letter))) << where << ": " << text;
                const auto [at, fresh] = used.emplace(letter, key.Number());
                EXPECT_TRUE(fresh) << where << " takes " << letter << " of key " << at->second;
                if (window.page) {
                    EXPECT_EQ(menuLetters.count(letter), 0u) << where << " takes the menu's " << letter;
                }
            }
        }
    }
}
