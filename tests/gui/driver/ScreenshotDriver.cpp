// Brings Quillset.exe into each state worth a screenshot, in English and in German, and waits at
// each for scripts/screenshots.sh: it writes "<name>.ready" into the exchange folder and goes on
// when the script has answered with "<name>.done".
#include <windows.h>

#include <cstdio>
#include <string>

#include "../BuilderProcess.h"
#include "../RemoteControls.h"
#include "resource.h"

namespace {

std::string exchange;

void Pause(const std::string& name) {
    const std::string ready = exchange + "\\" + name + ".ready", done = exchange + "\\" + name + ".done";
    FILE* file = fopen(ready.c_str(), "w");
    if (file) fclose(file);
    WaitFor([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000);
}

void SetLanguage(const char* language) {
    HKEY key;
    RegDeleteTreeA(HKEY_CURRENT_USER, "software\\Varnel Software\\Quillset");
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "software\\Varnel Software\\Quillset", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "language", 0, REG_SZ, reinterpret_cast<const BYTE*>(language), strlen(language));
    RegCloseKey(key);
}

// Opens the dialog of `command` (titled by `key` of `section`), photographs it and cancels it.
bool PhotographDialog(BuilderProcess& builder, UINT command, const char* section, const char* key,
                      const std::string& name, const char* language) {
    builder.Command(command);
    HWND dialog = builder.WaitForDialog(builder.LanguageText(language, section, key));
    if (!dialog) return false;
    Sleep(300);
    Pause(name + "-" + language);
    PressButton(dialog, IDCANCEL);
    return WaitFor([&] { return !IsWindow(dialog); });
}

// The list pages' dialogs, on the example project.
bool DialogTour(BuilderProcess& builder, const char* language) {
    const DWORD process = builder.Id();
    builder.Command(ID_PROJECT_FILES);
    Sleep(300);
    HWND list = GetDlgItem(PageWindow(builder.Main(), 3), IDC_PAGE_LIST);
    if (!PhotographDialog(builder, ID_NEW_FOLDER, "NEW_FOLDER_DIALOG", "0", "new-folder", language)) return false;
    SelectRows(process, list, {ListRowCount(list) - 1});
    if (!PhotographDialog(builder, ID_PROPERTIES, "FILE_PROPERTIES_DIALOG", "0", "file-properties", language))
        return false;
    builder.Command(ID_PROJECT_SHORTCUTS);
    Sleep(300);
    list = GetDlgItem(PageWindow(builder.Main(), 4), IDC_PAGE_LIST);
    if (!PhotographDialog(builder, ID_NEW_SHORTCUT, "CHOOSE_FILE_DIALOG", "0", "choose-file", language)) return false;
    SelectRows(process, list, {0});
    if (!PhotographDialog(builder, ID_PROPERTIES, "SHORTCUT_DIALOG", "1", "shortcut", language)) return false;
    SelectRows(process, list, {2});
    if (!PhotographDialog(builder, ID_PROPERTIES, "INTERNET_SHORTCUT_DIALOG", "1", "internet-shortcut", language))
        return false;
    builder.Command(ID_PROJECT_REGISTRY);
    Sleep(300);
    HWND tree = GetDlgItem(PageWindow(builder.Main(), 5), IDC_PAGE_TREE);
    SelectTreeItem(tree, TreeItemAt(tree, {0, 2, 0, 0, 0}));
    Sleep(300);
    Pause("registry-values-" + std::string(language));
    return PhotographDialog(builder, ID_NEW_KEY, "NEW_KEY_DIALOG", "0", "new-key", language) &&
           PhotographDialog(builder, ID_NEW_STRING, "REGISTRY_STRING_VALUE_DIALOG", "0", "string-value", language) &&
           PhotographDialog(builder, ID_NEW_BINARY, "REGISTRY_BINARY_VALUE_DIALOG", "0", "binary-value", language) &&
           PhotographDialog(builder, ID_NEW_DWORD, "REGISTRY_DWORD_VALUE_DIALOG", "0", "dword-value", language) &&
           PhotographDialog(builder, ID_NEW_FILE_ASSOCIATION, "FILE_TYPE_PROPERTIES_DIALOG", "0", "file-type",
                            language);
}

// The example project on every page, the setup window settings and a finished build.
bool PageTour(const std::string& program, const std::string& project, const char* language) {
    BuilderProcess builder;
    if (!builder.Start(program, "\"" + project + "\"") || !builder.WaitForMainWindow()) return false;
    SetWindowPos(builder.Main(), nullptr, 30, 20, 900, 640, SWP_NOZORDER);
    if (!WaitFor([&] { return builder.Title() != "Quillset"; })) return false;
    const UINT pages[] = {ID_PROJECT_GENERAL_INFO, ID_PROJECT_SETUP_INFO, ID_PROJECT_REQUIREMENTS,
                          ID_PROJECT_FILES,        ID_PROJECT_SHORTCUTS,  ID_PROJECT_REGISTRY,
                          ID_PROJECT_FILE_TYPES,   ID_PROJECT_DIALOGS,    ID_PROJECT_CREATE_SETUP};
    for (int page = 0; page < 9; ++page) {
        builder.Command(pages[page]);
        Sleep(300);
        Pause("page" + std::to_string(page) + "-" + language);
    }
    if (!DialogTour(builder, language)) return false;
    builder.Command(ID_PROJECT_DIALOGS);
    Sleep(300);
    HWND form = builder.FindForm(IDC_SETUP_WINDOW_SETTINGS);
    if (!form) return false;
    PressButton(form, IDC_SETUP_WINDOW_SETTINGS);
    HWND settings = builder.WaitForDialog(builder.LanguageText(language, "SETUP_WINDOWS_SETTINGS_DIALOG", "0"));
    if (!settings) return false;
    Pause(std::string("setup-window-") + language);
    PressButton(settings, IDCANCEL);
    WaitFor([&] { return !IsWindow(settings); });
    builder.Command(ID_BUILD_SETUP);
    HWND build = builder.WaitForDialog("Build");
    if (!build) return false;
    WaitFor([&] { return WindowText(GetDlgItem(build, IDCANCEL)) == "Close"; }, 120000);
    Pause(std::string("build-") + language);
    PressButton(build, IDCANCEL);
    WaitFor([&] { return !IsWindow(build); });
    PostMessageA(builder.Main(), WM_CLOSE, 0, 0);
    return builder.WaitForExit() == 0;
}

// The four pages of the New Project Wizard, left with Next (the locate files page with a folder
// typed in) and the last one with Cancel.
bool WizardTour(BuilderProcess& builder, const char* language) {
    builder.Command(ID_FILE_WIZARD);
    const char* sections[] = {"WIZARD_WELCOME_DIALOG", "WIZARD_GENERAL_INFO_DIALOG", "WIZARD_LOCATE_FILES_DIALOG",
                              "WIZARD_FINISH_DIALOG"};
    for (int step = 0; step < 4; ++step) {
        HWND page = builder.WaitForDialog(builder.LanguageText(language, sections[step], "0"));
        if (!page) return false;
        if (step == 2) Type(page, IDC_WIZARD_FOLDER, "C:\\Products\\My Application");
        Pause("wizard" + std::to_string(step + 1) + "-" + language);
        PressButton(page, step == 3 ? IDCANCEL : IDC_WIZARD_NEXT);
        WaitFor([&] { return !IsWindow(page); });
    }
    return true;
}

bool Tour(const std::string& program, const char* language) {
    SetLanguage(language);
    BuilderProcess builder;
    if (!builder.Start(program) || !builder.WaitForMainWindow()) return false;
    SetWindowPos(builder.Main(), nullptr, 30, 20, 900, 640, SWP_NOZORDER);
    HWND welcome = builder.WaitForDialog();
    if (!welcome) return false;
    Pause(std::string("welcome-") + language);
    PressButton(welcome, IDCANCEL);
    WaitFor([&] { return !IsWindow(welcome); });
    Pause(std::string("no-project-") + language);
    builder.Command(ID_FILE_NEW);
    WaitFor([&] { return builder.Title() != "Quillset"; });
    Pause(std::string("project-") + language);
    if (!WizardTour(builder, language)) return false;
    if (!PhotographDialog(builder, ID_OPTIONS_BUILD, "BUILD_OPTIONS_DIALOG", "0", "build-options", language))
        return false;
    builder.Command(ID_HELP_ABOUT);
    HWND about = builder.WaitForDialog();
    if (!about) return false;
    Pause(std::string("about-") + language);
    PressButton(about, IDC_OK);
    WaitFor([&] { return !IsWindow(about); });
    PostMessageA(builder.Main(), WM_CLOSE, 0, 0);
    return builder.WaitForExit() == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: screenshot_driver QUILLSET_EXE EXCHANGE_FOLDER PROJECT\n");
        return 2;
    }
    exchange = argv[2];
    bool ok = true;
    for (const char* language : {"English", "German"})
        ok = ok && Tour(argv[1], language) && PageTour(argv[1], argv[3], language);
    Pause("finished");
    return ok ? 0 : 1;
}
