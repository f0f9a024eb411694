// Resource and command ids of the builder, shared by its resource script and its code.
#pragma once

// Icons. The order of the ids is the order of the icons in the executable: the project file
// type shows icon index 10, the project document icon.
#define IDI_APPLICATION_ICON 107
#define IDI_WIZARD 108
#define IDI_NEW_PROJECT 109
#define IDI_OPEN_PROJECT 110
#define IDI_FILE 111
#define IDI_SHORTCUT 112
#define IDI_INTERNET_SHORTCUT 113
#define IDI_REGISTRY_KEY 114
#define IDI_REGISTRY_STRING 115
#define IDI_REGISTRY_BINARY 116
#define IDI_PROJECT_DOCUMENT 117

#define IDD_ABOUT 103
#define IDD_WELCOME 130
#define IDD_WANT_TO_SAVE 159
#define IDR_MAIN_MENU 156
#define IDB_TOOLBAR 212
#define IDR_ACCELERATORS 231

// Controls of the small dialogs. 1073 is the OK button of every dialog template.
#define IDC_OK 1073
#define IDC_CREDITS 1074
#define IDC_ABOUT_ICON 1075
#define IDC_ABOUT_LINE1 1076
#define IDC_ABOUT_LINE2 1077
#define IDC_ABOUT_LINE3 1078
#define IDC_WELCOME_TEXT1 1080
#define IDC_WELCOME_TEXT2 1081
#define IDC_WELCOME_TEXT3 1082
#define IDC_WANT_TO_SAVE_ICON 1083
#define IDC_WANT_TO_SAVE_TEXT 1084
#define IDC_ABOUT_WEB 1086

// Main window children.
#define ID_STATUS_BAR 1000
#define ID_TOOLBAR 1001
#define ID_TAB_CONTROL 1002
#define ID_EDITOR_HOST 1003

// Private commands that the main window posts to itself; dialogs end with them.
#define CMD_NOTHING 2049
#define CMD_SPLIT_POSITION 2054
#define CMD_SAVE_YES 2055
#define CMD_SAVE_NO 2056
#define CMD_SAVE_CANCEL 2057
#define CMD_ABOUT 2059
#define CMD_WELCOME 2060
#define CMD_WIZARD_STEP1 2062
#define CMD_WIZARD_STEP2 2063
#define CMD_WIZARD_STEP3 2064
#define CMD_WIZARD_STEP4 2065
#define CMD_NEW_PROJECT 2067
#define CMD_NEW_FROM_WIZARD 2068
#define CMD_OPEN_PROJECT 2069
#define CMD_CLOSE_PROJECT 2070
#define CMD_SAVE_PROJECT 2071
#define CMD_SAVE_PROJECT_AS 2072
#define CMD_EXIT 2076

// Menu, toolbar and accelerator commands.
#define ID_FILE_NEW 32771
#define ID_FILE_OPEN 32772
#define ID_FILE_SAVE 32773
#define ID_FILE_SAVE_AS 32774
#define ID_FILE_EXIT 32775
#define ID_EDIT_UNDO 32776
#define ID_EDIT_REDO 32777
#define ID_EDIT_CUT 32778
#define ID_EDIT_COPY 32779
#define ID_EDIT_PASTE 32780
#define ID_EDIT_DELETE 32781
#define ID_HELP_ABOUT 32784
#define ID_PROJECT_GENERAL_INFO 32785
#define ID_PROJECT_FILES 32786
#define ID_FILE_CLOSE 32791
#define ID_FILE_WIZARD 32792
#define ID_PROJECT_SETUP_INFO 32828
#define ID_PROJECT_REQUIREMENTS 32829
#define ID_PROJECT_SHORTCUTS 32830
#define ID_PROJECT_REGISTRY 32831
#define ID_PROJECT_DIALOGS 32832
#define ID_PROJECT_CREATE_SETUP 32834
#define ID_PROPERTIES 32859
#define ID_HELP_WEB 32863
#define ID_HELP_TOPICS 32864
#define ID_INSERT_FILES 32867
#define ID_NEW_KEY 32869
#define ID_NEW_STRING 32870
#define ID_NEW_BINARY 32871
#define ID_NEW_DWORD 32872
#define ID_NEW_SHORTCUT 32873
#define ID_NEW_INTERNET_SHORTCUT 32874
#define ID_BUILD_SETUP 32898
#define ID_TEST_RUN 32899
#define ID_NEW_SHORTCUT_FOLDER 32905
#define ID_NEW_FOLDER 32906
#define ID_DELETE 32923
#define ID_NEW_FILE_ASSOCIATION 32944
#define ID_PROJECT_FILE_TYPES 32954
// The Language submenu: one item per builder language, from this id upward.
#define ID_LANGUAGE_FIRST 50000
#define ID_LANGUAGE_LAST 50256
// The placeholder item of the Language submenu in the menu resource.
#define ID_LANGUAGE_PLACEHOLDER 50300
