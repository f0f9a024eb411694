#pragma once
// Every interface text that the builder asks for, named once in the table below. The lookups
// (UiTextSource) take nothing but keys of this table, and the check of the language files goes
// through the same table, so a text that the program asks for and a language lacks fails a test
// instead of showing an empty label.
//
// To ask for a further text, add a line to QS_BUILDER_TEXTS:
//   TEXT(kName, "SECTION", number)            one key, used as TextKeys::kName
//   TEXTS(kName, "SECTION", number, ...)      keys of one section, used as TextKeys::kName.Key(number)
//                                             or, for lists in their given order, TextKeys::kName[index]
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#define QS_BUILDER_TEXTS(TEXT, TEXTS)                                                                        \
    /* The caption of the builder's message boxes; the word in the titles of new projects. */                \
    TEXT(kMessageCaption, "STRINGS", 0)                                                                      \
    TEXT(kNewProjectWord, "STRINGS", 2)                                                                      \
    /* List column headers, the file types' column headers, the names of the item kinds. */                  \
    TEXTS(kListColumns, "STRINGS", 11, 12, 13, 14, 15, 16, 17)                                               \
    TEXTS(kFileTypeColumns, "STRINGS", 20, 21, 22, 23, 24, 25)                                               \
    TEXTS(kItemKinds, "STRINGS", 30, 31, 32, 33)                                                             \
    /* The names the trees show for the folder and key variables, in the order of their table, */           \
    /* and the Files page's texts: a size in bytes, one in KB, the digit group separator, a file  */       \
    /* of a type the shell does not know or not found, a file missing from the disk, the order of */       \
    /* a date ("MM.DD.YY": DD the day, MM the month, YY the year's last two digits).              */       \
    TEXTS(kVariableNames, "STRINGS", 700, 701, 702, 703, 704, 705, 706, 707, 708, 709, 710, 711, 712, 713,   \
          714, 715, 716)                                                                                     \
    TEXTS(kFileSizeTexts, "STRINGS", 720, 721, 722, 723, 724, 725)                                           \
    /* The forms' messages (58: a file type's text with a comma; 59: the built setup program cannot be  */ \
    /* started for a test run) and the folder pickers' titles. */                                              \
    TEXTS(kFormMessages, "STRINGS", 50, 51, 52, 53, 54, 55, 56, 57, 58, 59)                                  \
    TEXTS(kFolderPickerTitles, "STRINGS", 100, 101)                                                          \
    /* The list pages' messages: a name that is taken, holds a character the project file cannot   */      \
    /* keep or makes the path too long; a binary token that is no byte; files not added; a file  */        \
    /* selection too large; a shortcut text with a comma; a file type that is there already.     */        \
    /* 912: a source file whose path the project cannot keep.                                    */        \
    TEXTS(kPageMessages, "STRINGS", 900, 901, 902, 903, 904, 905, 906, 907, 912)                             \
    /* Deleting files that other items name: the question's opening and closing, the words for a  */       \
    /* file type and the finish screen.                                                           */       \
    TEXTS(kDeleteUsedFile, "STRINGS", 908, 909, 910, 911)                                                    \
    /* Toolbar tooltips, each a label, "|" and the hint for the status bar. */                               \
    TEXTS(kToolbarTips, "STRINGS", 800, 801, 802, 803, 804, 805, 806, 807, 808, 809, 810, 811, 812, 813, 814, \
          815, 816, 818, 819, 820, 821, 822, 823)                                                                      \
    /* "The project file %1 cannot be opened." with the path for %1; the banner's notice. */                 \
    TEXT(kCannotOpenProject, "STRINGS", 830)                                                                 \
    TEXT(kBannerNotice, "STRINGS", 831)                                                                      \
    /* "The project file %1 holds lines that Quillset does not read: ..." above the list of them. */      \
    TEXT(kProjectReadFindings, "STRINGS", 832)                                                               \
    /* A project of the code-page form that a save had to write as UTF-8, with its path for %1. */            \
    TEXT(kSavedAsUtf8, "STRINGS", 833)                                                                       \
    /* Why the wizard's product folder gave no files: missing, unreadable, empty, none of its own. */        \
    TEXTS(kWizardNoFiles, "STRINGS", 850, 851, 852, 853)                                                     \
    /* The menu bar's titles (File, Edit, Project, Build, Options, Help, View), the menu items, the   */  \
    /* Language submenu, the names of the modifier keys in accelerators (Ctrl, Shift, Alt).          */  \
    TEXTS(kMenuBarTitles, "STRINGS", 1000, 1001, 1002, 1003, 1004, 1005, 1006)                               \
    TEXTS(kMenuItems, "STRINGS", 1020, 1021, 1022, 1023, 1024, 1025, 1026, 1060, 1061, 1062, 1063, 1064,     \
          1065, 1066, 1067, 1068, 1070, 1071, 1072, 1080, 1081, 1101, 1120, 1121, 1123)                      \
    TEXTS(kKeyNames, "STRINGS", 1050, 1051, 1052)                                                            \
    /* The recent projects: a project file that is gone (%1 its path), the hint of the items. */          \
    TEXTS(kRecentProjects, "STRINGS", 834, 835)                                                              \
    TEXT(kLanguageMenu, "STRINGS", 1100)                                                                     \
    /* Edit > Undo and Redo without an edit to take, then with the edit's name for %1. */                   \
    TEXTS(kUndoRedoMenu, "STRINGS", 1040, 1041, 1042, 1043)                                                  \
    /* The name of an edit made in a form's field or box, the field's label for %1. */                       \
    TEXT(kChangeEditName, "STRINGS", 860)                                                                    \
    /* The name of an edit that deletes %1 rows: of several kinds, then files, shortcuts, registry  */ \
    /* values, file types.                                                                           */ \
    TEXTS(kCountedDelete, "STRINGS", 861, 862, 863, 864, 865)                                                \
    /* The context menus of the files, shortcuts, registry and file types pages. */                          \
    TEXTS(kFilesMenu, "STRINGS", 1140, 1141, 1142, 1143, 1144)                                               \
    TEXTS(kShortcutsMenu, "STRINGS", 1160, 1161, 1162, 1163, 1164, 1165)                                     \
    TEXTS(kRegistryMenu, "STRINGS", 1180, 1181, 1182, 1183, 1184, 1185, 1186, 1187)                          \
    TEXTS(kFileTypesMenu, "STRINGS", 1200, 1201, 1202)                                                       \
    /* The page tabs in page order. */                                                                       \
    TEXTS(kPageTabs, "TABS", 0, 1, 2, 3, 4, 5, 6, 7, 8)                                                      \
    /* The dialogs and pages: title (0) where they have one, then their labels. */                           \
    TEXTS(kAboutDialog, "ABOUT_DIALOG", 1, 2, 3, 4, 5)                                                       \
    TEXTS(kWelcomeDialog, "WELCOME_DIALOG", 0, 1, 2, 3, 4, 5)                                                \
    TEXTS(kWizardWelcomeDialog, "WIZARD_WELCOME_DIALOG", 0, 1, 2, 3, 4, 5, 6)                               \
    TEXTS(kWizardGeneralInfoDialog, "WIZARD_GENERAL_INFO_DIALOG", 0, 1, 2, 3, 4, 5, 6, 7, 8, 9)              \
    TEXTS(kWizardLocateFilesDialog, "WIZARD_LOCATE_FILES_DIALOG", 0, 1, 2, 3, 4, 5, 6, 7)                    \
    TEXTS(kWizardFinishDialog, "WIZARD_FINISH_DIALOG", 0, 1, 2, 3, 4, 5, 6, 7, 8, 9)                         \
    TEXTS(kWantToSaveDialog, "WANT_TO_SAVE_DIALOG", 1, 2, 3, 4)                                              \
    /* The Build Options dialog: title, the signing command's label and hint, OK, Cancel. */                  \
    TEXTS(kBuildOptionsDialog, "BUILD_OPTIONS_DIALOG", 0, 1, 2, 3, 4)                                         \
    /* The build dialog: title, the button that shows the built setup in its folder, Cancel while */      \
    /* the build runs and Close after it.                                                         */      \
    TEXTS(kBuildDialog, "BUILD_DIALOG", 0, 1, 2, 3)                                                          \
    TEXTS(kNewFolderDialog, "NEW_FOLDER_DIALOG", 0, 1, 2, 3)                                                 \
    TEXTS(kChooseFileDialog, "CHOOSE_FILE_DIALOG", 0, 1, 2, 3)                                               \
    TEXTS(kGeneralInfoTab, "GENERAL_INFO_TAB", 1, 2, 3, 4, 5, 6)                                             \
    TEXTS(kCreateSetupTab, "CREATE_SETUP_TAB", 1, 2, 3, 4, 5, 6, 7, 8, 9)                                    \
    TEXTS(kSetupInfoTab, "SETUP_INFO_TAB", 1, 2, 5, 6, 7, 15, 16, 17, 18, 19, 20, 21, 22, 51, 52)            \
    TEXTS(kRequirementsTab, "REQUIREMENTS_TAB", 1, 2, 3, 4, 5)                                               \
    TEXTS(kDialogsTab, "DIALOGS_TAB", 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, \
          21)                                                                                                \
    TEXTS(kFilePropertiesDialog, "FILE_PROPERTIES_DIALOG", 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 19, 20, 21, \
          22)                                                                                                \
    TEXTS(kShortcutDialog, "SHORTCUT_DIALOG", 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14)              \
    TEXTS(kInternetShortcutDialog, "INTERNET_SHORTCUT_DIALOG", 0, 1, 2, 3, 4, 5)                             \
    TEXTS(kNewKeyDialog, "NEW_KEY_DIALOG", 0, 1, 2, 3)                                                       \
    /* The string value dialog: titles, labels, OK, Cancel, the note on variables, the type's  */       \
    /* label, the three string types and the warning on a line end in a one-line type.          */       \
    TEXTS(kRegistryStringValueDialog, "REGISTRY_STRING_VALUE_DIALOG", 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11)  \
    TEXTS(kRegistryBinaryValueDialog, "REGISTRY_BINARY_VALUE_DIALOG", 0, 1, 2, 3, 4, 5)                      \
    TEXTS(kRegistryDwordValueDialog, "REGISTRY_DWORD_VALUE_DIALOG", 0, 1, 2, 3, 4, 5, 6, 7, 8)               \
    TEXTS(kFileTypePropertiesDialog, "FILE_TYPE_PROPERTIES_DIALOG", 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10)        \
    TEXTS(kSetupWindowsSettingsDialog, "SETUP_WINDOWS_SETTINGS_DIALOG", 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10,    \
          11, 12, 16, 17, 18)                                                                                \
    /* Lists in index order: the defaults of a new project's general information (company, product, */      \
    /* version, description, web address, copyright) and setup information (installation path,       */      \
    /* shortcut folder, Add/Remove Programs description, uninstaller icon), the setup window's text  */      \
    /* alignments 0 to 2, a file's eight replace modes.                                              */      \
    TEXTS(kGeneralInfoDefaults, "GENERAL_INFO_TAB", 11, 12, 13, 14, 15, 16)                                  \
    TEXTS(kSetupInfoDefaults, "SETUP_INFO_TAB", 11, 12, 13, 14)                                              \
    TEXTS(kAlignmentNames, "SETUP_WINDOWS_SETTINGS_DIALOG", 13, 14, 15)                                      \
    TEXTS(kReplaceModes, "FILE_PROPERTIES_DIALOG", 11, 12, 13, 14, 15, 16, 17, 18)

// One numbered key of one section of a builder language file. Only the table makes them.
class TextKey {
public:
    constexpr const char* Section() const { return section_; }
    constexpr int Number() const { return number_; }

private:
    friend class TextKeySet;
    friend struct TextKeys;
    constexpr TextKey(const char* section, int number) : section_(section), number_(number) {}

    const char* section_;
    int number_;
};

// Keys of one section, in the order the table gives them. Asking for a key the set does not
// hold is a fault of the program: it fails to compile where the key is a constant, and throws
// std::out_of_range otherwise.
class TextKeySet {
public:
    // The key numbered `number`.
    constexpr TextKey Key(int number) const {
        for (size_t i = 0; i < count_; ++i)
            if (numbers_[i] == number) return TextKey(section_, number);
        throw std::out_of_range("no such text key in the table");
    }
    // The `index`-th key of the set, from 0.
    constexpr TextKey operator[](size_t index) const {
        return index < count_ ? TextKey(section_, numbers_[index]) : throw std::out_of_range("text key index");
    }
    constexpr size_t Count() const { return count_; }

private:
    friend struct TextKeys;
    template <size_t N>
    constexpr TextKeySet(const char* section, const int (&numbers)[N])
        : section_(section), numbers_(numbers), count_(N) {}

    const char* section_;
    const int* numbers_;
    size_t count_;
};

struct TextKeys {
#define QS_TEXT(name, section, number) static constexpr TextKey name{section, number};
#define QS_TEXTS(name, section, ...)                     \
private:                                                 \
    static constexpr int name##Numbers_[] = {__VA_ARGS__}; \
                                                         \
public:                                                  \
    static constexpr TextKeySet name{section, name##Numbers_};
    QS_BUILDER_TEXTS(QS_TEXT, QS_TEXTS)
#undef QS_TEXT
#undef QS_TEXTS

    // Every key of the table, for the check of the language files.
    static std::vector<TextKey> All() {
        std::vector<TextKey> keys;
#define QS_TEXT(name, section, number) keys.push_back(name);
#define QS_TEXTS(name, section, ...) \
    for (size_t i = 0; i < name.Count(); ++i) keys.push_back(name[i]);
        QS_BUILDER_TEXTS(QS_TEXT, QS_TEXTS)
#undef QS_TEXT
#undef QS_TEXTS
        return keys;
    }
};
