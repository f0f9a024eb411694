#pragma once
// Every interface text that the program asks for by section and key, in one place, so that
// the check of the language files sees each of them.
#include <string>
#include <utility>
#include <vector>

struct TextKey {
    const char* section;
    const char* key;
};

namespace textkeys {

// The word in the titles of new projects ("Project-1").
inline constexpr TextKey kNewProjectWord{"STRINGS", "2"};
// Company, product, version, description, web address and copyright of a new project.
inline constexpr TextKey kGeneralInfoDefaults[6] = {
    {"GENERAL_INFO_TAB", "11"}, {"GENERAL_INFO_TAB", "12"}, {"GENERAL_INFO_TAB", "13"},
    {"GENERAL_INFO_TAB", "14"}, {"GENERAL_INFO_TAB", "15"}, {"GENERAL_INFO_TAB", "16"}};
// Installation path, shortcut folder, Add/Remove Programs description, uninstaller icon.
inline constexpr TextKey kSetupInfoDefaults[4] = {
    {"SETUP_INFO_TAB", "11"}, {"SETUP_INFO_TAB", "12"}, {"SETUP_INFO_TAB", "13"}, {"SETUP_INFO_TAB", "14"}};
// The names of the setup window's text alignments 0, 1 and 2.
inline constexpr TextKey kAlignmentNames[3] = {
    {"SETUP_WINDOWS_SETTINGS_DIALOG", "13"}, {"SETUP_WINDOWS_SETTINGS_DIALOG", "14"},
    {"SETUP_WINDOWS_SETTINGS_DIALOG", "15"}};
// The eight replace modes of a file, in index order.
inline constexpr TextKey kReplaceModes[8] = {
    {"FILE_PROPERTIES_DIALOG", "11"}, {"FILE_PROPERTIES_DIALOG", "12"}, {"FILE_PROPERTIES_DIALOG", "13"},
    {"FILE_PROPERTIES_DIALOG", "14"}, {"FILE_PROPERTIES_DIALOG", "15"}, {"FILE_PROPERTIES_DIALOG", "16"},
    {"FILE_PROPERTIES_DIALOG", "17"}, {"FILE_PROPERTIES_DIALOG", "18"}};

// Keys from `first` to `last` of one section, all asked for by the windows.
struct TextKeyRange {
    const char* section;
    int first;
    int last;
};

// The texts of the windows: the message caption and messages (58 tells that FileTypeList refused
// a text with a comma; 59 that the built setup program cannot be started for a test run; 830
// that a project file cannot be opened; 850 to 853 why the wizard's product folder gave no
// files), the banner's notice (831), menu, toolbar and context menu labels with their hints, list
// column headers, folder-picker titles, the page tabs and the keys of each dialog and page.
inline constexpr TextKeyRange kWindowTexts[] = {
    {"STRINGS", 0, 0},          {"STRINGS", 11, 17},        {"STRINGS", 20, 25},
    {"STRINGS", 30, 33},        {"STRINGS", 50, 59},        {"STRINGS", 100, 101},
    {"STRINGS", 800, 816},      {"STRINGS", 818, 821},      {"STRINGS", 1000, 1005},
    {"STRINGS", 1020, 1026},    {"STRINGS", 1060, 1068},    {"STRINGS", 1080, 1081},
    {"STRINGS", 1100, 1100},    {"STRINGS", 1120, 1121},    {"STRINGS", 1123, 1123},
    {"STRINGS", 1140, 1144},    {"STRINGS", 1160, 1165},    {"STRINGS", 1180, 1187},
    {"STRINGS", 1200, 1202},    {"STRINGS", 830, 831},      {"STRINGS", 850, 853},      {"TABS", 0, 8},
    {"ABOUT_DIALOG", 1, 5},     {"WELCOME_DIALOG", 0, 4},   {"WIZARD_WELCOME_DIALOG", 0, 6},
    {"WIZARD_GENERAL_INFO_DIALOG", 0, 9},                   {"WIZARD_LOCATE_FILES_DIALOG", 0, 7},
    {"WIZARD_FINISH_DIALOG", 0, 9},                         {"WANT_TO_SAVE_DIALOG", 1, 4},
    {"NEW_FOLDER_DIALOG", 0, 3},                            {"CHOOSE_FILE_DIALOG", 0, 3},
    {"GENERAL_INFO_TAB", 1, 6}, {"CREATE_SETUP_TAB", 1, 8}, {"SETUP_INFO_TAB", 1, 2},
    {"SETUP_INFO_TAB", 5, 7},   {"SETUP_INFO_TAB", 15, 18}, {"SETUP_INFO_TAB", 51, 52},
    {"REQUIREMENTS_TAB", 1, 4}, {"DIALOGS_TAB", 1, 21},     {"FILE_PROPERTIES_DIALOG", 0, 10},
    {"FILE_PROPERTIES_DIALOG", 19, 20},                     {"SHORTCUT_DIALOG", 0, 14},
    {"INTERNET_SHORTCUT_DIALOG", 0, 5},                     {"NEW_KEY_DIALOG", 0, 3},
    {"REGISTRY_STRING_VALUE_DIALOG", 0, 5},                 {"REGISTRY_BINARY_VALUE_DIALOG", 0, 5},
    {"REGISTRY_DWORD_VALUE_DIALOG", 0, 8},                  {"FILE_TYPE_PROPERTIES_DIALOG", 0, 10},
    {"SETUP_WINDOWS_SETTINGS_DIALOG", 0, 12},               {"SETUP_WINDOWS_SETTINGS_DIALOG", 16, 18},
};

// Every key above, as (section, key); windows that ask for further texts add theirs here.
inline std::vector<std::pair<std::string, std::string>> KeysInUse() {
    std::vector<std::pair<std::string, std::string>> keys;
    auto add = [&keys](const TextKey& key) { keys.emplace_back(key.section, key.key); };
    add(kNewProjectWord);
    for (const TextKey& key : kGeneralInfoDefaults) add(key);
    for (const TextKey& key : kSetupInfoDefaults) add(key);
    for (const TextKey& key : kAlignmentNames) add(key);
    for (const TextKey& key : kReplaceModes) add(key);
    for (const TextKeyRange& range : kWindowTexts)
        for (int k = range.first; k <= range.last; ++k) keys.emplace_back(range.section, std::to_string(k));
    return keys;
}

}  // namespace textkeys
