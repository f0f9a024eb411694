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
// The form pages' tab dialogs, the setup window settings and the build dialog.
#define IDD_SCREENS_TAB 188
#define IDD_SETUP_INFO_TAB 192
#define IDD_REQUIREMENTS_TAB 193
#define IDD_GENERAL_INFO_TAB 195
#define IDD_SETUP_WINDOW_SETTINGS 196
#define IDD_CREATE_SETUP_TAB 197
#define IDD_BUILD 233
#define IDD_CHOOSE_FILE 161
#define IDB_TOOLBAR 212
// The toolbar's images at 16, 24 and 32 pixels, chosen by the window's DPI.
#define IDB_TOOLBAR16 213
#define IDB_TOOLBAR24 214
#define IDB_TOOLBAR32 215

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
#define IDC_WELCOME_TEXT4 1085
#define IDC_WELCOME_RULE 1087
#define IDC_WANT_TO_SAVE_ICON 1083
#define IDC_WANT_TO_SAVE_TEXT 1084
#define IDC_ABOUT_WEB 1086

// The build dialog's log and progress bar.
#define IDC_BUILD_LOG 1031
#define IDC_BUILD_PROGRESS 1118
#define IDC_BUILD_OPEN_FOLDER 1119

// The Create Setup form; Build and Test Run are also the commands the menu's Build items become.
#define IDC_BUILD 1048
#define IDC_TEST_RUN 1049
#define IDC_OUTPUT_FOLDER 1300
#define IDC_OUTPUT_FOLDER_BROWSE 1301
#define IDC_SETUP_FILE_NAME 1302
#define IDC_SETUP_ICON 1303
#define IDC_SETUP_ICON_BROWSE 1304
#define IDC_SELF_EXTRACTING 1305
#define IDC_CREATE_SETUP_LABEL1 1306
#define IDC_CREATE_SETUP_LABEL2 1307
#define IDC_CREATE_SETUP_LABEL3 1308
#define IDC_SMALL_SETUP 1309

// The General Info form: six labels and their fields.
#define IDC_GENERAL_INFO_LABEL1 1200
#define IDC_COMPANY_NAME 1210
#define IDC_PRODUCT_NAME 1211
#define IDC_PRODUCT_VERSION 1212
#define IDC_PRODUCT_DESCRIPTION 1213
#define IDC_PRODUCT_URL 1214
#define IDC_COPYRIGHT_NOTICE 1215

// The Setup Info form.
#define IDC_INSTALLATION_PATH 1220
#define IDC_SHORTCUT_FOLDER 1221
#define IDC_ENABLE_UNINSTALLER 1222
#define IDC_ADD_REMOVE_DESCRIPTION 1223
#define IDC_CREATE_UNINSTALL_ICON 1224
#define IDC_UNINSTALL_ICON_DESCRIPTION 1225
#define IDC_AVAILABLE_LANGUAGES 1226
#define IDC_SELECTED_LANGUAGES 1227
#define IDC_DEFAULT_LANGUAGE 1228
#define IDC_ADD_LANGUAGE 1229
#define IDC_REMOVE_LANGUAGE 1230
#define IDC_SETUP_INFO_LABEL_PATH 1231
#define IDC_SETUP_INFO_LABEL_FOLDER 1232
#define IDC_SETUP_INFO_LABEL_ADD_REMOVE 1233
#define IDC_SETUP_INFO_LABEL_ICON 1234
#define IDC_SETUP_INFO_LABEL_AVAILABLE 1235
#define IDC_SETUP_INFO_LABEL_SELECTED 1236
#define IDC_SETUP_INFO_LABEL_DEFAULT 1237
#define IDC_SETUP_INFO_LABEL_SCOPE 1238
#define IDC_INSTALL_SCOPE 1239

// The Requirements form: "any", then the six versions in the order of their flags.
#define IDC_ANY_WINDOWS 1240
#define IDC_WINDOWS_FIRST 1241
#define IDC_DISK_SPACE 1247
#define IDC_ABORT_INSTALLATION 1248
#define IDC_REQUIREMENTS_GROUP 1249
#define IDC_REQUIREMENTS_LABEL_DISK 1250
#define IDC_WINDOWS_10 1251
#define IDC_WINDOWS_11 1252
#define IDC_ONLY_64BIT 1253

// The Dialogs/Screens form.
#define IDC_SPLASH_SCREEN 1260
#define IDC_SPLASH_BITMAP 1261
#define IDC_SPLASH_BROWSE 1262
#define IDC_SETUP_WINDOW 1263
#define IDC_SETUP_WINDOW_SETTINGS 1264
#define IDC_LANGUAGE_SCREEN 1265
#define IDC_WELCOME_SCREEN 1266
#define IDC_LICENSE_SCREEN 1267
#define IDC_LICENSE_FILE 1268
#define IDC_LICENSE_BROWSE 1269
#define IDC_README_SCREEN 1270
#define IDC_README_FILE 1271
#define IDC_README_BROWSE 1272
#define IDC_TARGET_FOLDER_SCREEN 1273
#define IDC_PROGRAM_GROUP_SCREEN 1274
#define IDC_START_SCREEN 1275
#define IDC_FINISH_SCREEN 1276
#define IDC_VIEW_README 1277
#define IDC_VIEW_README_CHECKED 1278
#define IDC_FINISH_README 1279
#define IDC_FINISH_README_BROWSE 1280
#define IDC_RUN_APPLICATION 1281
#define IDC_RUN_APPLICATION_CHECKED 1282
#define IDC_RUN_APPLICATION_PATH 1283
#define IDC_RUN_APPLICATION_BROWSE 1284
#define IDC_SCREENS_LABEL_BITMAP 1285
#define IDC_SCREENS_LABEL_LICENSE 1286
#define IDC_SCREENS_LABEL_README 1287
#define IDC_SCREENS_LABEL_FINISH_README 1288
#define IDC_SCREENS_LABEL_APPLICATION 1289

// The setup window settings dialog; the three text lines (heading, subheading, footer) have
// their controls at the same offsets from their first id.
#define IDC_GRADIENT_FILL 1320
#define IDC_SOLID_FILL 1321
#define IDC_COLOUR_FROM 1322
#define IDC_COLOUR_TO 1323
#define IDC_COLOUR_FROM_SWATCH 1324
#define IDC_COLOUR_TO_SWATCH 1325
#define IDC_WINDOW_TITLE 1326
#define IDC_SETTINGS_GROUP_BACKGROUND 1327
#define IDC_SETTINGS_GROUP_TEXTS 1328
#define IDC_SETTINGS_LABEL_TITLE 1329
#define IDC_SETTINGS_LABEL_ALIGNMENT 1330
#define IDC_HEADING_FIRST 1340
#define IDC_SUBHEADING_FIRST 1350
#define IDC_FOOTER_FIRST 1360
// Offsets inside one text line's ids.
#define IDC_LINE_LABEL 0
#define IDC_LINE_TEXT 1
#define IDC_LINE_ALIGNMENT 2
#define IDC_LINE_3D 3
#define IDC_LINE_FONT 4

// The choose file dialog: the project's files tree.
#define IDC_CHOOSE_FILE_LABEL 1380
#define IDC_CHOOSE_FILE_TREE 1381

// Main window children.
#define ID_STATUS_BAR 1000
#define ID_TOOLBAR 1001
#define ID_TAB_CONTROL 1002
#define ID_EDITOR_HOST 1003

// Private commands: the main window posts the first group to itself as WM_COMMAND; dialogs end
// with them. The program's own window messages are named in platform/AppMessages.h.
#define CMD_NOTHING 2049
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
#define CMD_OPEN_EXAMPLE 2073
#define CMD_CLOSE_PROJECT 2070
#define CMD_SAVE_PROJECT 2071
#define CMD_SAVE_PROJECT_AS 2072
#define CMD_BUILD_FINISHED 2075
#define CMD_EXIT 2076
// The build dialog's result when a cancelled build has ended.
#define CMD_BUILD_CANCELLED 1056

// Menu, toolbar and accelerator commands: the rows of the command table (commands/CommandTable.cpp).
#define ID_FILE_NEW 32771
#define ID_FILE_OPEN 32772
#define ID_FILE_SAVE 32773
#define ID_FILE_SAVE_AS 32774
#define ID_FILE_EXIT 32775
#define ID_EDIT_UNDO 32776
#define ID_EDIT_REDO 32777
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
// The View menu: the Files page's sizes and dates read again, the next and the previous page.
#define ID_VIEW_REFRESH 32961
#define ID_VIEW_NEXT_PAGE 32962
#define ID_VIEW_PREVIOUS_PAGE 32963
// The File menu's recent projects, most recent first, and the separator below them.
#define ID_RECENT_FIRST 32970
#define ID_RECENT_LAST 32977
#define ID_RECENT_SEPARATOR 32978
// The Language submenu: one item per builder language, from this id upward.
#define ID_LANGUAGE_FIRST 50000
#define ID_LANGUAGE_LAST 50256

// The list pages (Files, Shortcuts, Registry, File types) and the dialogs
// that edit one item. Dialogs take 300 to 399, their controls 3000 to 3999.
#define IDD_NEW_FOLDER 300
#define IDD_NEW_KEY 301
#define IDD_FILE_PROPERTIES 302
#define IDD_SHORTCUT 303
#define IDD_INTERNET_SHORTCUT 304
#define IDD_FILE_TYPE 305
#define IDD_STRING_VALUE 306
#define IDD_BINARY_VALUE 307
#define IDD_DWORD_VALUE 308
// Above IDI_PROJECT_DOCUMENT, so that the project file type keeps icon index 10.
#define IDI_REGISTRY_NUMBER 340

// The controls of each page: the list, the tree and the splitter.
#define IDC_PAGE_LIST 1000
#define IDC_PAGE_TREE 1001
#define IDC_PAGE_SPLITTER 1002
// The files page inside the choose file dialog.
#define IDC_CHOOSE_FILE_PAGE 1987

// The item dialogs: a caption (frame or label) and the name field of the new folder and new key
// dialogs; the labels of the others count up from IDC_ITEM_LABEL.
#define IDC_ITEM_FRAME 3000
#define IDC_ITEM_NAME 3001
#define IDC_ITEM_LABEL 3010
#define IDC_FILE_NAME_TEXT 3020
#define IDC_FILE_TYPE_TEXT 3021
#define IDC_FILE_SOURCE_TEXT 3022
#define IDC_FILE_DESTINATION_TEXT 3023
#define IDC_FILE_OPTION_FIRST 3024
#define IDC_FILE_REPLACE_MODE 3028
#define IDC_FILE_SOURCE_BROWSE 3029
#define IDC_SHORTCUT_TARGET 3030
#define IDC_SHORTCUT_PARAMETERS 3031
#define IDC_SHORTCUT_WORKING_FOLDER 3032
#define IDC_SHORTCUT_ICON_PATH 3033
#define IDC_SHORTCUT_ICON_INDEX 3034
#define IDC_SHORTCUT_RUN 3035
#define IDC_SHORTCUT_TARGET_BROWSE 3036
#define IDC_SHORTCUT_ICON_BROWSE 3037
#define IDC_INTERNET_URL 3040
#define IDC_FILE_TYPE_IDENTIFIER 3050
#define IDC_FILE_TYPE_FULL_NAME 3051
#define IDC_FILE_TYPE_PROGRAM 3052
#define IDC_FILE_TYPE_ICON 3053
#define IDC_FILE_TYPE_ICON_NUMBER 3054
#define IDC_FILE_TYPE_PROGRAM_BROWSE 3055
#define IDC_FILE_TYPE_ICON_BROWSE 3056
#define IDC_VALUE_DATA 3060
#define IDC_VALUE_HEXADECIMAL 3061
#define IDC_VALUE_DECIMAL 3062
#define IDC_VALUE_TYPE 3063

// Menu commands of the pages' context menus.
#define ID_FILES_DELETE 32801
#define ID_SHORTCUTS_DELETE 32804
#define ID_REGISTRY_DELETE_KEY 32807
#define ID_REGISTRY_DELETE 32818
#define ID_FILES_DELETE_SELECTION 32885
#define ID_SHORTCUTS_DELETE_FOLDER 32868
#define ID_SHORTCUTS_DELETE_SELECTION 32890
#define ID_REGISTRY_DELETE_SELECTION 32896
#define ID_FILES_DELETE_FOLDER 32907
#define ID_FILE_TYPES_DELETE 32953

// The New Project Wizard: its four pages and their controls. On every page Back and Next have
// the same ids; on the last page Next is the Finish button.
#define IDD_WIZARD_WELCOME 155
#define IDD_WIZARD_GENERAL_INFO 156
#define IDD_WIZARD_LOCATE_FILES 157
#define IDD_WIZARD_FINISH 158
#define IDC_WIZARD_PICTURE 4000
#define IDC_WIZARD_BACK 4001
#define IDC_WIZARD_NEXT 4002
// The texts of the welcome, locate files and finish pages, from this id upward.
#define IDC_WIZARD_TEXT1 4010
// The general information page: six labels, then their fields in the order of the answers.
#define IDC_WIZARD_LABEL1 4020
#define IDC_WIZARD_COMPANY_NAME 4030
#define IDC_WIZARD_PRODUCT_NAME 4031
#define IDC_WIZARD_PRODUCT_VERSION 4032
#define IDC_WIZARD_PRODUCT_DESCRIPTION 4033
#define IDC_WIZARD_PRODUCT_URL 4034
#define IDC_WIZARD_COPYRIGHT_NOTICE 4035
// The locate files page.
#define IDC_WIZARD_FOLDER_LABEL 4040
#define IDC_WIZARD_FOLDER 4041
#define IDC_WIZARD_BROWSE 4042
#define IDC_WIZARD_SUBFOLDERS 4043
#define IDC_WIZARD_SCOPE_LABEL 4044
#define IDC_WIZARD_SCOPE 4045
// The finish page: what the project will be made of.
#define IDC_WIZARD_SUMMARY 4050

// The builder's options: the Build Options dialog of the Options menu.
#define IDD_BUILD_OPTIONS 400
#define ID_OPTIONS_BUILD 32960
#define IDC_SIGN_COMMAND_LABEL 4100
#define IDC_SIGN_COMMAND 4101
#define IDC_SIGN_COMMAND_HINT 4102
