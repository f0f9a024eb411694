#include "BuilderTour.h"

#include <cstring>

#include "BuilderProcess.h"
#include "RemoteControls.h"
#include "resource.h"

namespace {

void SetLanguage(const std::string& language) {
    HKEY key;
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "language", 0, REG_SZ, reinterpret_cast<const BYTE*>(language.c_str()),
                   static_cast<DWORD>(language.size()));
    RegCloseKey(key);
}

class Walk {
public:
    explicit Walk(const BuilderTour& tour) : tour_(tour) {}

    bool Start(const std::string& arguments) {
        if (!builder_.Start(tour_.program, arguments) || !builder_.WaitForMainWindow()) return false;
        if (tour_.placeMain) tour_.placeMain(builder_.Main());
        return true;
    }

    void At(const std::string& state, HWND window) const { tour_.atState(state + "-" + tour_.language, window); }
    void AtMain(const std::string& state) {
        Settle();
        At(state, builder_.Main());
    }

    void Settle() const {
        if (tour_.settleMilliseconds) Sleep(tour_.settleMilliseconds);
    }

    // Shows a page of the editor through its command: true once it is the page shown.
    bool ShowPage(UINT command, int page) {
        builder_.Command(command);
        return WaitFor([&] { return IsWindowVisible(PageWindow(builder_.Main(), page)) != FALSE; });
    }

    // Opens the dialog of `command`, shows it and cancels it. The dialog is found as the one
    // dialog of the builder (the one before it is gone), not by its title: titles beyond ASCII
    // read differently in another process.
    bool VisitDialog(UINT command, const std::string& state) {
        builder_.Command(command);
        HWND dialog = builder_.WaitForDialog();
        if (!dialog) return false;
        Settle();
        At(state, dialog);
        return Leave(dialog, IDCANCEL);
    }

    bool Leave(HWND dialog, int button) {
        PressButton(dialog, button);
        return WaitFor([&] { return !IsWindow(dialog); });
    }

    bool Close() {
        PostMessageA(builder_.Main(), WM_CLOSE, 0, 0);
        return builder_.WaitForExit() == 0;
    }

    BuilderProcess& Builder() { return builder_; }

private:
    const BuilderTour& tour_;
    BuilderProcess builder_;
};

// The four pages of the New Project Wizard, left with Next (the locate files page with a folder
// typed in) and the last one with Cancel.
bool WizardTour(Walk& walk) {
    walk.Builder().Command(ID_FILE_WIZARD);
    for (int step = 0; step < 4; ++step) {
        HWND page = walk.Builder().WaitForDialog();
        if (!page) return false;
        if (step == 2) Type(page, IDC_WIZARD_FOLDER, "C:\\Products\\My Application");
        walk.At("wizard" + std::to_string(step + 1), page);
        if (!walk.Leave(page, step == 3 ? IDCANCEL : IDC_WIZARD_NEXT)) return false;
    }
    return true;
}

// The builder without a project: welcome, the empty window, a new project, the wizard, the build
// options and the about box.
bool StartTour(const BuilderTour& tour) {
    SetLanguage(tour.language);
    Walk walk(tour);
    if (!walk.Start("")) return false;
    HWND welcome = walk.Builder().WaitForDialog();
    if (!welcome) return false;
    walk.At("welcome", welcome);
    if (!walk.Leave(welcome, IDCANCEL)) return false;
    walk.AtMain("no-project");
    walk.Builder().Command(ID_FILE_NEW);
    WaitFor([&] { return walk.Builder().Title() != "Quillset"; });
    walk.AtMain("project");
    if (!WizardTour(walk)) return false;
    if (!walk.VisitDialog(ID_OPTIONS_BUILD, "build-options")) return false;
    walk.Builder().Command(ID_HELP_ABOUT);
    HWND about = walk.Builder().WaitForDialog();
    if (!about) return false;
    walk.At("about", about);
    return walk.Leave(about, IDC_OK) && walk.Close();
}

struct PopupSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindPopupMenu(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<PopupSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (process == search->process && IsWindowVisible(window) && strcmp(className, "#32768") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND PopupMenuOf(DWORD process) {
    PopupSearch search{process, nullptr};
    EnumWindows(FindPopupMenu, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The context menu of a page's tree, opened as the menu key opens it, with its first item's
// submenu opened by the keyboard; then closed with Escape.
bool VisitContextMenu(Walk& walk, HWND page, HWND tree, const std::string& state) {
    BuilderProcess& builder = walk.Builder();
    PostMessageA(page, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree), MAKELPARAM(-1, -1));
    HWND menu = nullptr;
    if (!WaitFor([&] { return (menu = PopupMenuOf(builder.Id())) != nullptr; }, 10000)) return false;
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RIGHT, 0);
    walk.AtMain(state);
    for (int escape = 0; escape < 3 && PopupMenuOf(builder.Id()); ++escape) {
        if (HWND open = PopupMenuOf(builder.Id())) PostMessageA(open, WM_KEYDOWN, VK_ESCAPE, 0);
        WaitFor([&] { return PopupMenuOf(builder.Id()) == nullptr; }, 1000);
    }
    return PopupMenuOf(builder.Id()) == nullptr;
}

// The list pages' dialogs, on the example project.
bool DialogTour(Walk& walk) {
    BuilderProcess& builder = walk.Builder();
    const DWORD process = builder.Id();
    if (!walk.ShowPage(ID_PROJECT_FILES, 3)) return false;
    HWND list = GetDlgItem(PageWindow(builder.Main(), 3), IDC_PAGE_LIST);
    if (!walk.VisitDialog(ID_NEW_FOLDER, "new-folder")) return false;
    SelectRows(process, list, {ListRowCount(list) - 1});
    if (!walk.VisitDialog(ID_PROPERTIES, "file-properties")) return false;
    if (!walk.ShowPage(ID_PROJECT_SHORTCUTS, 4)) return false;
    list = GetDlgItem(PageWindow(builder.Main(), 4), IDC_PAGE_LIST);
    if (!walk.VisitDialog(ID_NEW_SHORTCUT, "choose-file")) return false;
    SelectRows(process, list, {0});
    if (!walk.VisitDialog(ID_PROPERTIES, "shortcut")) return false;
    SelectRows(process, list, {2});
    if (!walk.VisitDialog(ID_PROPERTIES, "internet-shortcut")) return false;
    if (!walk.ShowPage(ID_PROJECT_REGISTRY, 5)) return false;
    HWND tree = GetDlgItem(PageWindow(builder.Main(), 5), IDC_PAGE_TREE);
    SelectTreeItem(tree, TreeItemAt(tree, {0, 2, 0, 0, 0}));
    walk.AtMain("registry-values");
    if (!VisitContextMenu(walk, PageWindow(builder.Main(), 5), tree, "registry-menu")) return false;
    return walk.VisitDialog(ID_NEW_KEY, "new-key") &&
           walk.VisitDialog(ID_NEW_STRING, "string-value") &&
           walk.VisitDialog(ID_NEW_BINARY, "binary-value") &&
           walk.VisitDialog(ID_NEW_DWORD, "dword-value") &&
           walk.VisitDialog(ID_NEW_FILE_ASSOCIATION, "file-type");
}

// The example project on every page, the item dialogs, the setup window settings and a build.
bool PageTour(const BuilderTour& tour) {
    SetLanguage(tour.language);
    Walk walk(tour);
    BuilderProcess& builder = walk.Builder();
    if (!walk.Start("\"" + tour.project + "\"")) return false;
    if (!WaitFor([&] { return builder.Title() != "Quillset"; })) return false;
    const UINT pages[] = {ID_PROJECT_GENERAL_INFO, ID_PROJECT_SETUP_INFO, ID_PROJECT_REQUIREMENTS,
                          ID_PROJECT_FILES,        ID_PROJECT_SHORTCUTS,  ID_PROJECT_REGISTRY,
                          ID_PROJECT_FILE_TYPES,   ID_PROJECT_DIALOGS,    ID_PROJECT_CREATE_SETUP};
    for (int page = 0; page < 9; ++page) {
        if (!walk.ShowPage(pages[page], page)) return false;
        walk.AtMain("page" + std::to_string(page));
    }
    if (!DialogTour(walk)) return false;
    builder.Command(ID_PROJECT_DIALOGS);
    HWND form = builder.WaitForForm(IDC_SETUP_WINDOW_SETTINGS);
    if (!form) return false;
    PressButton(form, IDC_SETUP_WINDOW_SETTINGS);
    HWND settings = builder.WaitForDialog();
    if (!settings) return false;
    walk.At("setup-window", settings);
    if (!walk.Leave(settings, IDCANCEL)) return false;
    builder.Command(ID_BUILD_SETUP);
    HWND build = builder.WaitForDialog();
    if (!build) return false;
    const std::string close = builder.LanguageText(tour.language, "BUILD_DIALOG", "3");
    WaitFor([&] { return WindowText(GetDlgItem(build, IDCANCEL)) == close; }, 120000);
    walk.At("build", build);
    return walk.Leave(build, IDCANCEL) && walk.Close();
}

}  // namespace

bool WalkBuilderTour(const BuilderTour& tour) { return StartTour(tour) && PageTour(tour); }
